#include "textio/real_editing.h"

#include <bit>
#include <cmath>

#include "textio/decimal_digits.h"
#include "textio/digit_rounding.h"

namespace kova {
namespace {

constexpr int kFreeFormatDecimals = 7;  // decides the decimal exponent of a free-format real
constexpr int kFixedFormLastExponent = 6;

bool SignBit(float value) { return (std::bit_cast<std::uint32_t>(value) >> 31) != 0; }

const char* SpecialText(float value) { return std::isnan(value) ? "NaN" : "INF"; }

// The integer digits (none below 1), the point and `decimals` decimals of a rounded value.
void AppendFixed(std::string& out, const RoundedDigits& rounded, int decimals) {
  const int integerDigits = rounded.count == 0 ? 0 : rounded.exponent;
  for (int position = 0; position < integerDigits; ++position) {
    out.push_back(DigitAt(rounded, position));
  }
  out.push_back('.');
  for (int decimal = 0; decimal < decimals; ++decimal) {
    out.push_back(rounded.count == 0 ? '0' : DigitAt(rounded, integerDigits + decimal));
  }
}

// d.dddddd, E, the sign and two digits of the exponent.
void AppendExponentForm(std::string& out, const DecimalDigits& digits) {
  const RoundedDigits rounded = RoundToSignificant(digits, kMostSignificantDigits);
  out.push_back(DigitAt(rounded, 0));
  out.push_back('.');
  for (int position = 1; position < kMostSignificantDigits; ++position) {
    out.push_back(DigitAt(rounded, position));
  }
  const int exponent = rounded.exponent - 1;
  const int magnitude = exponent < 0 ? -exponent : exponent;
  out.push_back('E');
  out.push_back(exponent < 0 ? '-' : '+');
  out.push_back(static_cast<char>('0' + magnitude / 10));
  out.push_back(static_cast<char>('0' + magnitude % 10));
}

}  // namespace

void AppendFreeFormatInteger(std::string& out, std::int32_t value) {
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) {
    out.append(" -");
    magnitude = 0U - magnitude;
  } else {
    out.append("  ");
  }
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) out.push_back(digits[--count]);
}

void AppendFreeFormatReal(std::string& out, float value) {
  out.append(SignBit(value) ? " -" : "  ");
  if (!std::isfinite(value)) {
    out.append(SpecialText(value));
    return;
  }
  const DecimalDigits digits = ExactDecimalDigits(value);
  // The exponent that decides the form is the one after rounding to seven decimals; a
  // value that this rounding turns into zero keeps its own.
  const RoundedDigits deciding = RoundToDecimals(digits, kFreeFormatDecimals);
  const int exponent = digits.leadingEight == 0 ? 0 : deciding.exponent;
  if (exponent < 0 || exponent > kFixedFormLastExponent) {
    AppendExponentForm(out, digits);
    return;
  }
  const int decimals = kFixedFormLastExponent - exponent;
  AppendFixed(out, RoundToDecimals(digits, decimals), decimals);
}

void AppendRealF(std::string& out, float value, int width, int decimals) {
  const bool negative = SignBit(value);
  if (!std::isfinite(value)) {
    const int room = width - (negative ? 4 : 3);
    if (room < 0) {
      out.append(static_cast<std::size_t>(width > 0 ? width : 0), '*');
      return;
    }
    out.append(static_cast<std::size_t>(room), ' ');
    if (negative) out.push_back('-');
    out.append(SpecialText(value));
    return;
  }

  const DecimalDigits digits = ExactDecimalDigits(value);
  const RoundedDigits rounded = RoundToDecimals(digits, decimals);
  const int exponent = digits.leadingEight == 0 ? 0 : rounded.exponent;

  if (exponent + decimals <= 0) {  // rounds to zero: no sign
    const int blanks = width - decimals - 2;
    if (blanks > 0) out.append(static_cast<std::size_t>(blanks), ' ');
    if (blanks >= 0) out.push_back('0');
    out.push_back('.');
    out.append(static_cast<std::size_t>(decimals), '0');
    return;
  }

  const int room = width - decimals - 1 - (negative ? 1 : 0);
  const int integerDigits = exponent > 0 ? exponent : 0;
  if (integerDigits > room || room < 0) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  out.append(static_cast<std::size_t>(room - integerDigits), ' ');
  if (negative) out.push_back('-');
  AppendFixed(out, rounded, decimals);
}

}  // namespace kova
