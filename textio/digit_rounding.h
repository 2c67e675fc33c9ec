// The one rounding rule of output editing: half away from zero on the exact value, at most
// seven significant digits, the eighth digit deciding.
#pragma once

#include "textio/decimal_digits.h"

namespace kova {

constexpr int kMostSignificantDigits = 7;

struct RoundedDigits {
  char digits[kMostSignificantDigits] = {};  // `count` significant digits, as characters
  int count = 0;                             // 0 when the value rounds to zero
  int exponent = 0;  // the value is 0.digits x 10^exponent; a zero keeps the value's own
};

// Rounds to `significant` digits (capped at seven); zero or fewer digits round to zero
// unless the first digit carries.
RoundedDigits RoundToSignificant(const DecimalDigits& value, int significant);

// Rounds to `decimals` digits after the decimal point.
inline RoundedDigits RoundToDecimals(const DecimalDigits& value, int decimals) {
  return RoundToSignificant(value, value.exponent + decimals);
}

// Only the exponent after rounding to `decimals` decimals: the value's own, raised by one when
// the rounding carries into a new leading digit.
int ExponentAfterRounding(const DecimalDigits& value, int decimals);

// The digit at `position` (0 is the first significant digit); 0 outside the digits.
inline char DigitAt(const RoundedDigits& rounded, int position) {
  if (position < 0 || position >= rounded.count) return '0';
  return rounded.digits[position];
}

}  // namespace kova
