#include "textio/real_editing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "textio/decimal_digits.h"
#include "textio/digit_rounding.h"

namespace kova {
namespace {

constexpr int kFreeFormatDecimals = 7;  // decides the decimal exponent of a free-format real
constexpr int kFixedFormLastExponent = 6;
constexpr std::size_t kLongestFreeFormatReal = 16;
constexpr std::size_t kStackText = 64;

bool SignBit(float value) {
  return (std::bit_cast<std::uint32_t>(value) >> 31) != 0;
}

const char* SpecialText(float value) {
  return std::isnan(value) ? "NaN" : "INF";
}

char* Put(char* text, const char* what) {
  const std::size_t length = std::strlen(what);
  std::memcpy(text, what, length);
  return text + length;
}

char* PutRepeated(char* text, char character, int count) {
  if (count <= 0) return text;
  std::memset(text, character, static_cast<std::size_t>(count));
  return text + count;
}

// The integer digits (none below 1), the point and `decimals` decimals of a rounded value;
// every position the digits do not reach shows 0.
char* PutFixed(char* text, const RoundedDigits& rounded, int decimals) {
  const int point = rounded.count == 0 ? 0 : rounded.exponent;
  const int integerDigits = point > 0 ? point : 0;
  const int length = integerDigits + 1 + decimals;
  PutRepeated(text, '0', length);
  text[integerDigits] = '.';
  std::uint32_t digits = rounded.digits;
  for (int position = rounded.count - 1; position >= 0; --position, digits /= 10) {
    const int index = position < point ? position : integerDigits + 1 + position - point;
    if (index < length) text[index] = static_cast<char>('0' + digits % 10);
  }
  return text + length;
}

// d.dddddd, E, the sign and two digits of the exponent.
char* PutExponentForm(char* text, const DecimalDigits& digits) {
  const RoundedDigits rounded = RoundToSignificant(digits, kMostSignificantDigits);
  std::uint32_t remaining = rounded.digits;
  for (int position = kMostSignificantDigits; position >= 2; --position, remaining /= 10) {
    text[position] = static_cast<char>('0' + remaining % 10);
  }
  text[0] = static_cast<char>('0' + remaining);
  text[1] = '.';
  const int exponent = rounded.exponent - 1;
  const int magnitude = exponent < 0 ? -exponent : exponent;
  text[8] = 'E';
  text[9] = exponent < 0 ? '-' : '+';
  text[10] = static_cast<char>('0' + magnitude / 10);
  text[11] = static_cast<char>('0' + magnitude % 10);
  return text + 12;
}

char* PutFreeFormatReal(char* text, float value) {
  *text++ = ' ';
  *text++ = SignBit(value) ? '-' : ' ';
  if (!std::isfinite(value)) return Put(text, SpecialText(value));
  const DecimalDigits digits = ExactDecimalDigits(value);
  // The exponent that decides the form is the one after rounding to seven decimals; a
  // value that this rounding turns into zero keeps its own.
  const int exponent = RoundToDecimals(digits, kFreeFormatDecimals).exponent;
  if (exponent < 0 || exponent > kFixedFormLastExponent) return PutExponentForm(text, digits);
  const int decimals = kFixedFormLastExponent - exponent;
  return PutFixed(text, RoundToDecimals(digits, decimals), decimals);
}

char* PutRealF(char* text, float value, int width, int decimals) {
  const bool negative = SignBit(value);
  if (!std::isfinite(value)) {
    const int room = width - (negative ? 4 : 3);
    if (room < 0) return PutRepeated(text, '*', width);
    text = PutRepeated(text, ' ', room);
    if (negative) *text++ = '-';
    return Put(text, SpecialText(value));
  }

  const DecimalDigits digits = ExactDecimalDigits(value);
  const RoundedDigits rounded = RoundToDecimals(digits, decimals);
  const int exponent = digits.leadingEight == 0 ? 0 : rounded.exponent;

  if (exponent + decimals <= 0) {  // rounds to zero: no sign
    const int blanks = width - decimals - 2;
    text = PutRepeated(text, ' ', blanks);
    if (blanks >= 0) *text++ = '0';
    *text++ = '.';
    return PutRepeated(text, '0', decimals);
  }

  const int room = width - decimals - 1 - (negative ? 1 : 0);
  const int integerDigits = exponent > 0 ? exponent : 0;
  if (integerDigits > room || room < 0) return PutRepeated(text, '*', width);
  text = PutRepeated(text, ' ', room - integerDigits);
  if (negative) *text++ = '-';
  return PutFixed(text, rounded, decimals);
}

}  // namespace

void AppendFreeFormatInteger(std::string& out, std::int32_t value) {
  // The magnitude of the most negative value only exists as an unsigned number.
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) magnitude = 0U - magnitude;
  char text[12];
  char* const end = text + sizeof text;
  char* start = end;
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  out.append(value < 0 ? " -" : "  ");
  out.append(start, static_cast<std::size_t>(end - start));
}

void AppendFreeFormatReal(std::string& out, float value) {
  char text[kLongestFreeFormatReal];
  const char* end = PutFreeFormatReal(text, value);
  out.append(text, static_cast<std::size_t>(end - text));
}

void AppendRealF(std::string& out, float value, int width, int decimals) {
  width = std::max(width, 0);
  decimals = std::max(decimals, 0);
  const std::size_t longest = static_cast<std::size_t>(std::max(width, decimals + 2)) + 1;
  if (longest <= kStackText) {
    char text[kStackText];
    const char* end = PutRealF(text, value, width, decimals);
    out.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  std::string text(longest, ' ');
  const char* end = PutRealF(text.data(), value, width, decimals);
  out.append(text.data(), static_cast<std::size_t>(end - text.data()));
}

}  // namespace kova
