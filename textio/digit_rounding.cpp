#include "textio/digit_rounding.h"

#include <cstdint>

namespace kova {
namespace {

constexpr std::uint32_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};

// value / 10^k with a constant divisor per case, which compiles to a multiplication.
std::uint32_t DivideByPowerOfTen(std::uint32_t value, int k) {
  switch (k) {
    case 0:
      return value;
    case 1:
      return value / 10U;
    case 2:
      return value / 100U;
    case 3:
      return value / 1000U;
    case 4:
      return value / 10000U;
    case 5:
      return value / 100000U;
    case 6:
      return value / 1000000U;
    case 7:
      return value / 10000000U;
    default:
      return value / 100000000U;
  }
}

}  // namespace

RoundedDigits RoundToSignificant(const DecimalDigits& value, int significant) {
  const RoundedDigits zero{0, 0, value.exponent};
  if (value.leadingEight == 0 || significant < 0) return zero;
  if (significant == 0) {
    if (value.leadingEight < 50000000U) return zero;
    return {1, 1, value.exponent + 1};
  }
  const int count = significant < kMostSignificantDigits ? significant : kMostSignificantDigits;
  const std::uint32_t withNext = DivideByPowerOfTen(value.leadingEight, 7 - count);
  std::uint32_t digits = withNext / 10;
  int exponent = value.exponent;
  if (withNext % 10 >= 5 && ++digits == kPowersOfTen[count]) {
    digits = kPowersOfTen[count - 1];
    ++exponent;
  }
  return {digits, count, exponent};
}

}  // namespace kova
