#include "host/win/display_check.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace kova::win {
namespace {

// The platform Qt will use: the -platform argument, else QT_QPA_PLATFORM, else X11.
std::string PlatformName(int argumentCount, char** arguments) {
  std::string name;
  if (const char* fromEnvironment = std::getenv("QT_QPA_PLATFORM")) name = fromEnvironment;
  for (int k = 1; k + 1 < argumentCount; ++k) {
    if (std::string_view(arguments[k]) == "-platform") name = arguments[k + 1];
  }
  if (name.empty()) name = "xcb";
  return name.substr(0, name.find_first_of(":;"));
}

std::string DisplayName(int argumentCount, char** arguments) {
  for (int k = 1; k + 1 < argumentCount; ++k) {
    if (std::string_view(arguments[k]) == "-display") return arguments[k + 1];
  }
  const char* display = std::getenv("DISPLAY");
  return display != nullptr ? display : "";
}

}  // namespace

DisplayProbe::DisplayProbe(int argumentCount, char** arguments) {
  if (PlatformName(argumentCount, arguments) != "xcb") return;
  const std::string display = DisplayName(argumentCount, arguments);
  if (display.empty()) {
    problem_ =
        "no display: DISPLAY is not set (use kova-cli for a terminal, or run with "
        "QT_QPA_PLATFORM=offscreen)";
    return;
  }
  connection_ = xcb_connect(display.c_str(), nullptr);
  if (xcb_connection_has_error(connection_) != 0) {
    problem_ = "cannot open the display \"" + display + "\"";
  }
}

DisplayProbe::~DisplayProbe() {
  if (connection_ != nullptr) xcb_disconnect(connection_);
}

}  // namespace kova::win
