// Whether the window system can be reached, decided before Qt is started: Qt ends the
// process itself when its platform cannot connect to a display.
#pragma once

#include <optional>
#include <string>

struct xcb_connection_t;

namespace kova::win {

// A connection to the display Qt will use, held until Qt has made its own: a server whose
// last client leaves resets itself, and Qt's connection must not meet that reset.
class DisplayProbe {
 public:
  DisplayProbe(int argumentCount, char** arguments);
  ~DisplayProbe();
  DisplayProbe(const DisplayProbe&) = delete;
  DisplayProbe& operator=(const DisplayProbe&) = delete;

  // Why no window can be opened, or nothing when one can.
  const std::optional<std::string>& Problem() const { return problem_; }

 private:
  xcb_connection_t* connection_ = nullptr;
  std::optional<std::string> problem_;
};

}  // namespace kova::win
