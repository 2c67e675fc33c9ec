// The window's side of the console's line traffic: how a piece of output becomes one line,
// and how a completed line is handed to a waiting read.
#pragma once

#include <cstddef>
#include <string_view>

namespace kova::host {

// The output's length without its line end: one LF, then one CR, are dropped. Whatever is
// left becomes one line, even when it is empty or holds an LF of its own.
std::size_t LineLengthWithoutEnd(const char* text, std::size_t length);

// Copies a completed line for a read: at most capacity - 2 bytes of it (the rest is lost),
// then CR LF. Returns the number of bytes stored. Capacity is at least 2.
std::size_t CopyLineForRead(std::string_view line, char* buffer, std::size_t capacity);

}  // namespace kova::host
