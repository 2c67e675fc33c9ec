#pragma once

#include <cstddef>

namespace kova {

// The READ with format (A) into `byteCount` bytes: a new record's first bytes, padded with
// blanks; the rest of the record is discarded and nothing is converted.
void ReadFormattedA(int unit, void* storage, std::size_t byteCount);

}  // namespace kova
