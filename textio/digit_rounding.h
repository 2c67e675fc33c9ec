// The one rounding rule of output editing: half away from zero on the exact value, at most
// seven significant digits, the eighth digit deciding.
#pragma once

#include <cstdint>

#include "textio/decimal_digits.h"

namespace kova {

constexpr int kMostSignificantDigits = 7;

struct RoundedDigits {
  std::uint32_t digits = 0;  // `count` significant digits as an integer
  int count = 0;             // 0 when the value rounds to zero
  int exponent = 0;          // the value is 0.digits x 10^exponent; a zero keeps the value's own
};

// Rounds to `significant` digits (capped at seven); zero or fewer digits round to zero
// unless the first digit carries.
RoundedDigits RoundToSignificant(const DecimalDigits& value, int significant);

// Rounds to `decimals` digits after the decimal point.
inline RoundedDigits RoundToDecimals(const DecimalDigits& value, int decimals) {
  return RoundToSignificant(value, value.exponent + decimals);
}

}  // namespace kova
