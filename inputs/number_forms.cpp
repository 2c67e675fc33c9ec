#include "inputs/number_forms.h"

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

bool IsExponentLetter(char character, bool fortranLetters) {
  return character == 'E' || character == 'e' ||
         (fortranLetters && (character == 'D' || character == 'd'));
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

namespace {

// A number's form, checked in one pass, with what its conversion needs.
struct NumberParts {
  bool negative = false;
  std::uint64_t mantissa = 0;  // the digits' value, or a value beyond kExactMantissa
  std::int32_t fractionDigits = 0;
  std::int64_t exponent = 0;  // as typed, capped far beyond the range of any power used
  bool plain = true;          // digits only, after the sign: an integer as written
};

// Values up to 2^24 are exact in single precision.
constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 24;
constexpr std::int64_t kExponentCap = 1000000;
// 10^10 = 2^10 * 5^10 and 5^10 < 2^24: powers of ten up to here are exact in single precision.
constexpr std::int64_t kExactPower = 10;

enum class ExponentForm {
  DataFile,  // E, D, e or d with an optional sign, or a bare sign: 25-2 is 0.25
  Csv,       // e or E with an optional sign
};

// Past 2^24 the mantissa's value no longer matters: the reader's conversion takes over.
void TakeMantissaDigit(NumberParts& parts, char digit) {
  if (parts.mantissa <= kExactMantissa) {
    parts.mantissa = parts.mantissa * 10 + static_cast<std::uint64_t>(digit - '0');
  }
}

// Whether std::from_chars reads `text` as written: no plus sign before it, no exponent
// letter D or d, and no exponent without its letter.
bool FromCharsForm(std::string_view text) {
  if (text.front() == '+') return false;
  for (std::size_t position = 1; position < text.size(); ++position) {
    const char character = text[position];
    if (character == 'D' || character == 'd') return false;
    if ((character == '+' || character == '-') && text[position - 1] != 'e' &&
        text[position - 1] != 'E') {
      return false;
    }
  }
  return true;
}

// The parts of `text` when all of it has the form: an optional sign, digits with an
// optional point (`point`, or '.'), at least one digit, and an optional exponent.
std::optional<NumberParts> ScanNumber(std::string_view text, char point, ExponentForm form) {
  NumberParts parts;
  const char* position = text.data();
  const char* const end = position + text.size();
  if (position != end && (*position == '+' || *position == '-')) {
    parts.negative = *position == '-';
    ++position;
  }
  std::size_t digits = 0;
  for (; position != end && IsDigit(*position); ++position, ++digits)
    TakeMantissaDigit(parts, *position);
  if (position != end && (*position == '.' || *position == point)) {
    parts.plain = false;
    for (++position; position != end && IsDigit(*position); ++position, ++digits) {
      TakeMantissaDigit(parts, *position);
      ++parts.fractionDigits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (position == end) return parts;

  parts.plain = false;
  const bool letter = IsExponentLetter(*position, form == ExponentForm::DataFile);
  const bool sign = *position == '+' || *position == '-';
  if (!letter && !(sign && form == ExponentForm::DataFile)) return std::nullopt;
  if (letter) ++position;
  bool negativeExponent = false;
  if (position != end && (*position == '+' || *position == '-')) {
    negativeExponent = *position == '-';
    ++position;
  }
  if (position == end || !IsDigit(*position)) return std::nullopt;
  for (; position != end && IsDigit(*position); ++position) {
    if (parts.exponent < kExponentCap) parts.exponent = parts.exponent * 10 + (*position - '0');
  }
  if (position != end) return std::nullopt;
  if (negativeExponent) parts.exponent = -parts.exponent;
  return parts;
}

// The value of a text of the checked form, with the bits the reader's conversion gives it.
// An integer of up to 2^24 is exact; so is a product or quotient of a mantissa of up to
// 2^24 and a power of ten of up to 10^10: both are exact in single precision, so the
// reader's one operation in double precision, rounded again to single, is correctly
// rounded (53 >= 2 * 24 + 2 bits), as std::from_chars is. Every other number goes through
// the reader's conversion itself.
std::optional<float> Converted(std::string_view text, const NumberParts& parts) {
  if (parts.mantissa <= kExactMantissa) {
    if (parts.mantissa == 0 || parts.plain) {
      const float magnitude = static_cast<float>(parts.mantissa);
      return parts.negative ? -magnitude : magnitude;
    }
    const std::int64_t power = parts.exponent - parts.fractionDigits;
    if (power >= -kExactPower && power <= kExactPower && FromCharsForm(text)) {
      float value = 0.0f;
      std::from_chars(text.data(), text.data() + text.size(), value);
      return value;
    }
  }
  return Converted(text);
}

}  // namespace

std::optional<float> DataFileNumber(std::string_view text) {
  const auto parts = ScanNumber(text, '.', ExponentForm::DataFile);
  if (!parts) return std::nullopt;
  return Converted(text, *parts);
}

namespace {

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
  const auto parts = ScanNumber(text, decimalMark, ExponentForm::Csv);
  if (!parts) return std::nullopt;
  if (decimalMark == '.') return Converted(text, *parts);
  std::string copy;
  return Converted(WithDecimalPoint(text, decimalMark, copy), *parts);
}

std::optional<double> CsvDouble(std::string_view text, char decimalMark) {
  std::string copy;
  text = WithDecimalPoint(text, decimalMark, copy);
  if (!ScanNumber(text, '.', ExponentForm::Csv)) return std::nullopt;
  // from_chars takes no plus sign.
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace kova
