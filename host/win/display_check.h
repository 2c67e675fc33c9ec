// Whether the window system can be reached, decided before Qt is started: Qt ends the
// process itself when its platform cannot connect to a display.
#pragma once

#include <optional>
#include <string>

namespace kova::win {

// Why no window can be opened, or nothing when one can.
std::optional<std::string> DisplayProblem(int argumentCount, char** arguments);

}  // namespace kova::win
