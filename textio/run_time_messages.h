#pragma once

#include <string_view>

namespace kova {

// The message of a run-time failure code (10000 to 10070).
std::string_view RunTimeMessage(int code);

}  // namespace kova
