// The operating system's failures in the form the reports and status values use: the
// numeric codes and messages of the original platform, whatever system we run on.
#pragma once

#include <string>

namespace kova {

// Maps an errno value onto the nearest operating-system code.
int SystemErrorCode(int errnoValue);

// The message of an operating-system code, as the report's second line shows it.
std::string SystemErrorMessage(int code);

}  // namespace kova
