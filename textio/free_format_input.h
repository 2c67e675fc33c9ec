// The READ statements: free-format reading of integers, reals and texts, and the READ with
// format (A) of the data file's title line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "textio/records.h"
#include "textio/run_endings.h"

namespace kova {

// ---- Free-format READ -------------------------------------------------------------------

enum class InputKind { Integer, Real, Character };

// A variable of a READ statement, or a run of them spaced `stride` elements apart (a row of
// a column-major table).
struct InputItem {
  InputKind kind = InputKind::Integer;
  void* first = nullptr;
  std::ptrdiff_t count = 1;
  std::ptrdiff_t stride = 1;
  std::size_t length = 0;  // characters of a character variable
};

inline InputItem IntegerItem(std::int32_t& variable) {
  return {InputKind::Integer, &variable, 1, 1, 0};
}
inline InputItem RealItem(float& variable) {
  return {InputKind::Real, &variable, 1, 1, 0};
}
inline InputItem CharacterItem(char* variable, std::size_t length) {
  return {InputKind::Character, variable, 1, 1, length};
}
inline InputItem IntegerItems(std::int32_t* first, std::ptrdiff_t count,
                              std::ptrdiff_t stride = 1) {
  return {InputKind::Integer, first, count, stride, 0};
}
inline InputItem RealItems(float* first, std::ptrdiff_t count, std::ptrdiff_t stride = 1) {
  return {InputKind::Real, first, count, stride, 0};
}

// One free-format READ statement on the console (the default unit or unit 5) or on a file
// unit. It starts on a new record and discards what is left of its last one. Returns only
// on success: end of file and illegal characters are reported and end the run.
void ReadFreeFormat(int unit, std::initializer_list<InputItem> items);

// ---- READ with format (A) ---------------------------------------------------------------

// The READ with format (A) into `byteCount` bytes: a new record's first bytes, padded with
// blanks; the rest of the record is discarded and nothing is converted.
void ReadFormattedA(int unit, void* storage, std::size_t byteCount);

}  // namespace kova
