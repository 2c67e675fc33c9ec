#include "textio/real_editing.h"

#include <bit>
#include <cmath>

#include "textio/decimal_digits.h"
#include "textio/digit_rounding.h"

namespace kova {
namespace {

constexpr int kFreeFormatDecimals = 7;  // decides the decimal exponent of a free-format real
constexpr int kFixedFormLastExponent = 6;

bool SignBit(float value) {
  return (std::bit_cast<std::uint32_t>(value) >> 31) != 0;
}

const char* SpecialText(float value) {
  return std::isnan(value) ? "NaN" : "INF";
}

// The integer digits (none below 1), the point and `decimals` decimals of a rounded value.
void AppendFixed(std::string& out, const RoundedDigits& rounded, int decimals) {
  const int point = rounded.count == 0 ? 0 : rounded.exponent;
  const int integerDigits = point > 0 ? point : 0;
  const std::size_t start = out.size();
  // Every position the digits do not reach shows 0.
  out.append(static_cast<std::size_t>(integerDigits + 1 + decimals), '0');
  char* text = out.data() + start;
  text[integerDigits] = '.';
  for (int position = 0; position < rounded.count; ++position) {
    if (position < point) {
      text[position] = rounded.digits[position];
    } else if (position - point < decimals) {
      text[integerDigits + 1 + position - point] = rounded.digits[position];
    }
  }
}

// d.dddddd, E, the sign and two digits of the exponent.
void AppendExponentForm(std::string& out, const DecimalDigits& digits) {
  const RoundedDigits rounded = RoundToSignificant(digits, kMostSignificantDigits);
  const int exponent = rounded.exponent - 1;
  const int magnitude = exponent < 0 ? -exponent : exponent;
  const char text[] = {rounded.digits[0],
                       '.',
                       rounded.digits[1],
                       rounded.digits[2],
                       rounded.digits[3],
                       rounded.digits[4],
                       rounded.digits[5],
                       rounded.digits[6],
                       'E',
                       exponent < 0 ? '-' : '+',
                       static_cast<char>('0' + magnitude / 10),
                       static_cast<char>('0' + magnitude % 10)};
  out.append(text, sizeof text);
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
  while (count > 0)
    out.push_back(digits[--count]);
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
  const int exponent = ExponentAfterRounding(digits, kFreeFormatDecimals);
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
