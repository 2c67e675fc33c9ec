#include "textio/digit_rounding.h"

namespace kova {
namespace {

constexpr std::uint32_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};

}  // namespace

RoundedDigits RoundToSignificant(const DecimalDigits& value, int significant) {
  const RoundedDigits zero{0, 0, value.exponent};
  if (value.leadingEight == 0 || significant < 0) return zero;
  if (significant == 0) {
    if (value.leadingEight < 50000000U) return zero;
    return {1, 1, value.exponent + 1};
  }
  const int count = significant < kMostSignificantDigits ? significant : kMostSignificantDigits;
  std::uint32_t digits = value.leadingEight / kPowersOfTen[8 - count];
  const std::uint32_t next = value.leadingEight / kPowersOfTen[7 - count] % 10;
  int exponent = value.exponent;
  if (next >= 5 && ++digits == kPowersOfTen[count]) {
    digits = kPowersOfTen[count - 1];
    ++exponent;
  }
  return {digits, count, exponent};
}

char DigitAt(const RoundedDigits& rounded, int position) {
  if (position < 0 || position >= rounded.count) return '0';
  return static_cast<char>('0' + rounded.digits / kPowersOfTen[rounded.count - 1 - position] % 10);
}

}  // namespace kova
