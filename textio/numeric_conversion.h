// Conversion of a scanned free-format value to the type of the item that receives it.
#pragma once

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

// The first `length` characters of the text, padded with blanks.
void ConvertCharacter(std::string_view text, char* storage, std::size_t length);

}  // namespace kova
