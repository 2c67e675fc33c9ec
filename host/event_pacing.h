// How often streaming console output lets the window handle its events. Output can arrive
// a line every microsecond, far faster than a person acts or a screen redraws; handling the
// events after every line would cost more than the analysis itself. Handling them whenever
// a few milliseconds have passed keeps the window as live as the eye can tell.
#pragma once

#include <chrono>

namespace kova::host {

class EventPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kInterval = std::chrono::milliseconds(4);

  // True when the events are due at `now`: the first time, and then once the interval has
  // passed since they were last due.
  bool Due(Clock::time_point now) {
    if (started_ && now - last_ < kInterval) return false;
    started_ = true;
    last_ = now;
    return true;
  }

 private:
  bool started_ = false;
  Clock::time_point last_{};
};

}  // namespace kova::host
