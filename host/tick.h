// The tick service offered to programs: a flag that turns true 100 ms after it is armed,
// kept as a deadline on a steady clock.
#pragma once

#include <chrono>

namespace kova::host {

class Tick {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kDelay = std::chrono::milliseconds(100);

  // Arms the tick; the flag is false until the delay has passed. Returns the tick's id.
  int Arm(Clock::time_point now) {
    deadline_ = now + kDelay;
    return ++armed_;
  }
  // True at start, and from the delay after the last arming on.
  bool Fired(Clock::time_point now) const { return armed_ == 0 || now >= deadline_; }

 private:
  Clock::time_point deadline_{};
  int armed_ = 0;
};

}  // namespace kova::host
