// Output editing, in layers: the exact decimal digits of a float, the one rounding rule, the
// layout of one item, and the WRITE statements that put items into records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace kova {

// ---- Exact decimal digits ---------------------------------------------------------------
// The exact decimal digits of a single-precision value: |v| = 0.d1 d2 d3 ... x 10^X, d1 != 0.

struct DecimalDigits {
  // d1 ... d8 of the exact value, truncated, as an integer in [10^7, 10^8); 0 for zero.
  std::uint32_t leadingEight = 0;
  // X; 0 for zero.
  int exponent = 0;
};

// The digits of the magnitude of a finite value (the sign is ignored).
DecimalDigits ExactDecimalDigits(float value);

// ---- The rounding rule ------------------------------------------------------------------
// The one rounding rule of output editing: half away from zero on the exact value, at most
// seven significant digits, the eighth digit deciding.

constexpr int kMostSignificantDigits = 7;

struct RoundedDigits {
  std::uint32_t digits = 0;  // `count` significant digits as an integer
  int count = 0;             // 0 when the value rounds to zero
  int exponent = 0;          // the value is 0.digits x 10^exponent; a zero keeps the value's own
};

// Rounds to `significant` digits (capped at seven); zero or fewer digits round to zero
// unless the first digit carries.
RoundedDigits RoundToSignificant(const DecimalDigits& value, int significant);

// Rounds to `decimals` digits after the decimal point.
inline RoundedDigits RoundToDecimals(const DecimalDigits& value, int decimals) {
  return RoundToSignificant(value, value.exponent + decimals);
}

// ---- Item layout ------------------------------------------------------------------------
// How one output item becomes text: integers and reals in a free-format record, and reals
// under the F edit descriptor.

// Two blanks and the digits, or a blank, a minus sign and the digits.
void AppendFreeFormatInteger(std::string& out, std::int32_t value);

// Two blanks, or a blank and a minus sign (the sign bit decides), then NaN, INF, the fixed
// form (.500000, 12.3457, 999999.) or the exponent form (1.234567E+06).
void AppendFreeFormatReal(std::string& out, float value);

// Exactly `width` characters with `decimals` digits after the point; asterisks when the
// value does not fit.
void AppendRealF(std::string& out, float value, int width, int decimals);

// ---- Free-format WRITE ------------------------------------------------------------------

// A text (written as it stands, blanks included), a 32-bit integer or a single-precision real.
using OutputItem = std::variant<std::string_view, std::int32_t, float>;

// One free-format WRITE: one record holding the items, led by a blank.
void WriteFreeFormat(int unit, std::initializer_list<OutputItem> items);

// The record WriteFreeFormat writes, without its line end.
std::string FreeFormatRecord(std::initializer_list<OutputItem> items);

// ---- WRITE with format (nFw.d) ----------------------------------------------------------

// Reals spaced `stride` floats apart in memory, as a row of a column-major table.
struct StridedReals {
  const float* first = nullptr;
  std::ptrdiff_t count = 0;
  std::ptrdiff_t stride = 1;
};

// The WRITE with format (nFw.d): `perRecord` values to a record, each edited in `width`
// characters with `decimals` decimals, no leading blank. No values write one empty record.
void WriteFormattedF(int unit, StridedReals reals, int perRecord, int width, int decimals);

}  // namespace kova
