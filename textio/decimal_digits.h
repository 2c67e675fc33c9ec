// The exact decimal digits of a single-precision value: |v| = 0.d1 d2 d3 ... x 10^X, d1 != 0.
#pragma once

#include <cstdint>

namespace kova {

struct DecimalDigits {
  // d1 ... d8 of the exact value, truncated, as an integer in [10^7, 10^8); 0 for zero.
  std::uint32_t leadingEight = 0;
  // X; 0 for zero.
  int exponent = 0;
};

// The digits of the magnitude of a finite value (the sign is ignored).
DecimalDigits ExactDecimalDigits(float value);

}  // namespace kova
