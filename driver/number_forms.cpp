#include "driver/number_forms.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "textio/numeric_conversion.h"

namespace kova {
namespace {

constexpr bool IsDigit(char character) {
  return character >= '0' && character <= '9';
}

// Moves `position` over the digits there; returns how many it passed.
std::size_t SkipDigits(std::string_view text, std::size_t& position) {
  const std::size_t start = position;
  while (position < text.size() && IsDigit(text[position]))
    ++position;
  return position - start;
}

void SkipSign(std::string_view text, std::size_t& position) {
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) ++position;
}

// Digits with an optional point: true when there is at least one digit.
bool SkipMantissa(std::string_view text, std::size_t& position) {
  std::size_t digits = SkipDigits(text, position);
  if (position < text.size() && text[position] == '.') {
    ++position;
    digits += SkipDigits(text, position);
  }
  return digits > 0;
}

bool IsExponentLetter(char character, bool fortranLetters) {
  return character == 'E' || character == 'e' ||
         (fortranLetters && (character == 'D' || character == 'd'));
}

// The exponent of the data file's form, which may be a bare sign and digits.
bool SkipDataFileExponent(std::string_view text, std::size_t& position) {
  if (position == text.size()) return true;
  if (IsExponentLetter(text[position], true)) ++position;
  else if (text[position] != '+' && text[position] != '-') return false;
  SkipSign(text, position);
  return SkipDigits(text, position) > 0;
}

bool SkipCsvExponent(std::string_view text, std::size_t& position) {
  if (position == text.size()) return true;
  if (!IsExponentLetter(text[position], false)) return false;
  ++position;
  SkipSign(text, position);
  return SkipDigits(text, position) > 0;
}

// The reader's conversion of a text already known to be a number; empty beyond the range.
std::optional<float> Converted(std::string_view text) {
  float value = 0.0f;
  if (!ConvertReal(text, value) || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  std::size_t position = 0;
  SkipSign(text, position);
  const bool negative = position == 1 && text[0] == '-';
  const std::size_t firstDigit = position;
  if (SkipDigits(text, position) == 0 || position != text.size()) return std::nullopt;
  constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
  std::int64_t magnitude = 0;
  for (std::size_t at = firstDigit; at < text.size(); ++at) {
    const int digit = text[at] - '0';
    magnitude = magnitude > (kLargest - digit) / 10 ? kLargest : magnitude * 10 + digit;
  }
  return negative ? -magnitude : magnitude;
}

std::optional<float> DataFileNumber(std::string_view text) {
  std::size_t position = 0;
  SkipSign(text, position);
  if (!SkipMantissa(text, position) || !SkipDataFileExponent(text, position) ||
      position != text.size()) {
    return std::nullopt;
  }
  return Converted(text);
}

namespace {

// Whether `text` has the CSV form: an optional sign, digits with an optional point, an
// optional exponent.
bool HasCsvForm(std::string_view text) {
  std::size_t position = 0;
  SkipSign(text, position);
  return SkipMantissa(text, position) && SkipCsvExponent(text, position) &&
         position == text.size();
}

// The text with a decimal comma turned into a point, in `copy` when it must change.
std::string_view WithDecimalPoint(std::string_view text, char decimalMark, std::string& copy) {
  if (decimalMark == '.' || text.find(decimalMark) == std::string_view::npos) return text;
  copy = text;
  for (char& character : copy) {
    if (character == decimalMark) character = '.';
  }
  return copy;
}

}  // namespace

std::optional<float> CsvNumber(std::string_view text, char decimalMark) {
  std::string copy;
  text = WithDecimalPoint(text, decimalMark, copy);
  if (!HasCsvForm(text)) return std::nullopt;
  return Converted(text);
}

std::optional<double> CsvDouble(std::string_view text, char decimalMark) {
  std::string copy;
  text = WithDecimalPoint(text, decimalMark, copy);
  if (!HasCsvForm(text)) return std::nullopt;
  // from_chars takes no plus sign.
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace kova
