#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace kova {

// A text (written as it stands, blanks included), a 32-bit integer or a single-precision real.
using OutputItem = std::variant<std::string_view, std::int32_t, float>;

// One free-format WRITE: one record holding the items, led by a blank.
void WriteFreeFormat(int unit, std::initializer_list<OutputItem> items);

// The record WriteFreeFormat writes, without its line end.
std::string FreeFormatRecord(std::initializer_list<OutputItem> items);

}  // namespace kova
