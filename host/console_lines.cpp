#include "host/console_lines.h"

#include <algorithm>
#include <cstring>

namespace kova::host {

std::size_t LineLengthWithoutEnd(const char* text, std::size_t length) {
  if (length > 0 && text[length - 1] == '\n') --length;
  if (length > 0 && text[length - 1] == '\r') --length;
  return length;
}

std::size_t CopyLineForRead(std::string_view line, char* buffer, std::size_t capacity) {
  const std::size_t count = std::min(line.size(), capacity - 2);
  std::memcpy(buffer, line.data(), count);
  buffer[count] = '\r';
  buffer[count + 1] = '\n';
  return count + 2;
}

}  // namespace kova::host
