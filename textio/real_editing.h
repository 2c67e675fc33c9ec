// How one output item becomes text: integers and reals in a free-format record, and reals
// under the F edit descriptor.
#pragma once

#include <cstdint>
#include <string>

namespace kova {

// Two blanks and the digits, or a blank, a minus sign and the digits.
void AppendFreeFormatInteger(std::string& out, std::int32_t value);

// Two blanks, or a blank and a minus sign (the sign bit decides), then NaN, INF, the fixed
// form (.500000, 12.3457, 999999.) or the exponent form (1.234567E+06).
void AppendFreeFormatReal(std::string& out, float value);

// Exactly `width` characters with `decimals` digits after the point; asterisks when the
// value does not fit.
void AppendRealF(std::string& out, float value, int width, int decimals);

}  // namespace kova
