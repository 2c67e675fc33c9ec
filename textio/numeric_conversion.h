// Conversion of a scanned free-format value to the type of the item that receives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kova {

// An optional sign and decimal digits, taken modulo 2^32 and read as signed; a sign alone
// is 0. Returns false for any other character.
bool ConvertInteger(std::string_view text, std::int32_t& value);

// An optional sign, digits, an optional point and digits and an optional exponent (a letter
// E, D, e or d with an optional sign and digits, or a sign and digits), converted through a
// 64-bit mantissa and a power of ten in double precision, then rounded to single precision.
// A value whose first character after the sign is I or N reads as the signed infinity or as
// the default NaN. Returns false for a character outside digits and + - . D E d e.
bool ConvertReal(std::string_view text, float& value);

// Digits alone, at most seven: a count, as most entries of a community table are, whose
// value (exact in single precision, as ConvertReal gives it) goes to `value`. False for any
// other text. Inline, for the readers of tables that hold a hundred million numbers to try
// first.
constexpr std::size_t kLongestSmallCount = 7;  // below 2^24

inline bool SmallCount(std::string_view text, float& value) {
  if (text.empty() || text.size() > kLongestSmallCount) return false;
  std::uint32_t count = 0;
  for (const char character : text) {
    const auto digit = static_cast<std::uint32_t>(static_cast<unsigned char>(character)) - '0';
    if (digit > 9) return false;
    count = count * 10 + digit;
  }
  value = static_cast<float>(count);
  return true;
}

// The first `length` characters of the text, padded with blanks.
void ConvertCharacter(std::string_view text, char* storage, std::size_t length);

}  // namespace kova
