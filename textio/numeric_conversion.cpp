#include "textio/numeric_conversion.h"

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace kova {
namespace {

// Mantissa digits are taken while the mantissa stays below this (about 1.8e18).
constexpr std::uint64_t kMantissaLimit = 429496730ULL << 32;
constexpr std::int64_t kLargestTypedExponent = 100000;
constexpr int kLargestDoublePower = 308;
// The NaN that an invalid operation produces: sign bit set, quiet.
constexpr std::uint32_t kDefaultNaN = 0xFFC00000U;

constexpr bool IsDigit(char character) {
  return character >= '0' && character <= '9';
}

// 10^k nearest in double precision, for k = 0 to 308.
const std::array<double, kLargestDoublePower + 1> kPowersOfTen = [] {
  std::array<double, kLargestDoublePower + 1> table{};
  for (int k = 0; k <= kLargestDoublePower; ++k) {
    const std::string text = "1e" + std::to_string(k);
    table[static_cast<std::size_t>(k)] = std::strtod(text.c_str(), nullptr);
  }
  return table;
}();

double PowerOfTen(std::int64_t exponent) {
  if (exponent > kLargestDoublePower) return std::numeric_limits<double>::infinity();
  return kPowersOfTen[static_cast<std::size_t>(exponent)];
}

// Beyond 2^53 the low bits that do not fit are dropped, not rounded.
double TruncatedToDouble(std::uint64_t mantissa) {
  const int bits = std::bit_width(mantissa);
  if (bits > 53) mantissa &= ~((std::uint64_t{1} << (bits - 53)) - 1);
  return static_cast<double>(mantissa);
}

constexpr std::array<bool, 256> kRealCharacters = [] {
  std::array<bool, 256> allowed{};
  for (const char character : std::string_view("0123456789+-.DEde")) {
    allowed[static_cast<unsigned char>(character)] = true;
  }
  return allowed;
}();

bool IsRealCharacter(char character) {
  return kRealCharacters[static_cast<unsigned char>(character)];
}

// Adds a digit to the mantissa when it stays below the limit and the product fits.
bool TakeDigit(std::uint64_t& mantissa, char digit) {
  if (mantissa >= kMantissaLimit) return false;
  const auto value = static_cast<std::uint64_t>(digit - '0');
  if (mantissa > (std::numeric_limits<std::uint64_t>::max() - value) / 10) return false;
  mantissa = mantissa * 10 + value;
  return true;
}

struct DecimalParts {
  std::uint64_t mantissa = 0;
  std::int64_t exponent = 0;
};

// The longest prefix of the real form; whatever follows it is ignored.
DecimalParts ParseDecimal(std::string_view text) {
  DecimalParts parts;
  std::size_t position = 0;
  while (position < text.size() && IsDigit(text[position])) {
    if (!TakeDigit(parts.mantissa, text[position])) ++parts.exponent;
    ++position;
  }
  if (position < text.size() && text[position] == '.') {
    ++position;
    while (position < text.size() && IsDigit(text[position])) {
      if (TakeDigit(parts.mantissa, text[position])) --parts.exponent;
      ++position;
    }
  }
  if (position == text.size()) return parts;

  const char marker = text[position];
  const bool letter = marker == 'E' || marker == 'D' || marker == 'e' || marker == 'd';
  const bool sign = marker == '+' || marker == '-';
  if (!letter && !sign) return parts;
  if (letter) ++position;
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position] == '-';
    ++position;
  }
  std::int64_t typed = 0;
  while (position < text.size() && IsDigit(text[position])) {
    if (typed < kLargestTypedExponent) typed = typed * 10 + (text[position] - '0');
    ++position;
  }
  parts.exponent += negative ? -typed : typed;
  return parts;
}

struct SignedText {
  bool negative;
  std::string_view rest;  // what follows the sign
};

SignedText SplitSign(std::string_view text) {
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) return {text[0] == '-', text.substr(1)};
  return {false, text};
}

// The common shape [sign] digits [. digits] with at most 15 digits, whose mantissa is exact
// in double precision: the same result as the general rule, in one pass. Returns false for
// any other text, which then takes the general path.
constexpr int kExactMantissaDigits = 15;

bool ConvertPlainDecimal(std::string_view text, float& value) {
  const auto [negative, rest] = SplitSign(text);
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fractionDigits = -1;  // -1 until the point
  for (const char character : rest) {
    if (IsDigit(character)) {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(character - '0');
      ++digits;
      if (fractionDigits >= 0) ++fractionDigits;
    } else if (character == '.' && fractionDigits < 0) {
      fractionDigits = 0;
    } else {
      return false;
    }
  }
  if (digits > kExactMantissaDigits) return false;
  double magnitude = static_cast<double>(mantissa);
  if (fractionDigits > 0 && mantissa != 0)
    magnitude /= kPowersOfTen[static_cast<std::size_t>(fractionDigits)];
  value = static_cast<float>(negative ? -magnitude : magnitude);
  return true;
}

}  // namespace

bool ConvertInteger(std::string_view text, std::int32_t& value) {
  const auto [negative, digits] = SplitSign(text);
  std::uint32_t magnitude = 0;
  for (const char digit : digits) {
    if (!IsDigit(digit)) return false;
    magnitude = magnitude * 10U + static_cast<std::uint32_t>(digit - '0');
  }
  value = static_cast<std::int32_t>(negative ? 0U - magnitude : magnitude);
  return true;
}

bool ConvertReal(std::string_view text, float& value) {
  if (ConvertPlainDecimal(text, value)) return true;
  const auto [negative, rest] = SplitSign(text);
  if (!rest.empty() && (rest[0] == 'I' || rest[0] == 'i' || rest[0] == 'N' || rest[0] == 'n')) {
    if (rest[0] == 'N' || rest[0] == 'n') {
      value = std::bit_cast<float>(kDefaultNaN);
    } else {
      const float infinity = std::numeric_limits<float>::infinity();
      value = negative ? -infinity : infinity;
    }
    return true;
  }
  for (const char character : rest) {
    if (!IsRealCharacter(character)) return false;
  }

  const DecimalParts parts = ParseDecimal(rest);
  double magnitude = 0.0;
  if (parts.mantissa != 0) {
    magnitude = TruncatedToDouble(parts.mantissa);
    if (parts.exponent > 0) magnitude *= PowerOfTen(parts.exponent);
    if (parts.exponent < 0) magnitude /= PowerOfTen(-parts.exponent);
  }
  value = static_cast<float>(negative ? -magnitude : magnitude);
  return true;
}

void ConvertCharacter(std::string_view text, char* storage, std::size_t length) {
  const std::size_t count = text.size() < length ? text.size() : length;
  std::memcpy(storage, text.data(), count);
  std::memset(storage + count, ' ', length - count);
}

}  // namespace kova
