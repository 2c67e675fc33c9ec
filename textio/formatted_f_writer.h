#pragma once

#include <cstddef>

namespace kova {

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
