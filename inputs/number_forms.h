// The forms a number may take in a run started with options. They are narrower than what
// the dialogue's reader takes (where any word beginning with N or I is a NaN or an
// infinity, and "1.2.3" reads as 1.2): a value is a number only when all of it is one.
// The conversion itself is the reader's, so a value gives the same bits either way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kova {

// An optional sign and decimal digits. Values beyond 64 bits come back as the largest
// 64-bit value of their sign, which no range a caller asks for contains.
std::optional<std::int64_t> WholeNumber(std::string_view text);

// A number of the data file: an optional sign, digits with an optional point, and an
// optional exponent (E, D, e or d with an optional sign and digits, or a sign and digits:
// 25-2 is 0.25), with at least one digit before the exponent. Empty when the text is not of
// that form or its value lies beyond the single-precision range.
std::optional<float> DataFileNumber(std::string_view text);

// A number of a CSV table: an optional sign, digits with an optional point and an optional
// exponent (e or E, an optional sign and digits). `decimalMark` is '.' or ',' (a table
// separated by semicolons may write 0,5); a point is always taken. Empty as above.
std::optional<float> CsvNumber(std::string_view text, char decimalMark);

// A CSV field of that form read in double precision, as R's read.csv reads a column of
// numbers (a group label, say). Empty when the text is not of that form.
std::optional<double> CsvDouble(std::string_view text, char decimalMark);

}  // namespace kova
