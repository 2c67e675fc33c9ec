#include "textio/tab_size.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace kova {
namespace {

constexpr long long kDefaultTabSize = 8;
constexpr std::size_t kLongestSetting = 19;

}  // namespace

long long TabSizeFromEnvironment() {
  const char* setting = std::getenv("TABSIZE");
  if (setting == nullptr) return kDefaultTabSize;
  const std::size_t length = std::strlen(setting);
  if (length == 0 || length > kLongestSetting) return kDefaultTabSize;

  std::size_t position = 0;
  bool negative = false;
  if (setting[0] == '+' || setting[0] == '-') {
    negative = setting[0] == '-';
    position = 1;
  }
  // Nineteen digits can exceed the range; such a width is as good as infinite.
  long long value = 0;
  for (; position < length && setting[position] >= '0' && setting[position] <= '9'; ++position) {
    const int digit = setting[position] - '0';
    if (value > (std::numeric_limits<long long>::max() - digit) / 10) {
      value = std::numeric_limits<long long>::max();
      break;
    }
    value = value * 10 + digit;
  }
  if (negative || value < 1) return kDefaultTabSize;
  return value;
}

}  // namespace kova
