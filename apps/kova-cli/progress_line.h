// The one line a quiet run shows on a terminal's error stream instead of the step records:
// the step, the rate and the time left, redrawn in place at most a few times a second and
// erased before anything else is written, so that no other line ever starts behind it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "textio/console.h"

namespace kova::cli {

using ProgressClock = std::chrono::steady_clock;

// The shortest time between two drawings of the line.
constexpr std::chrono::milliseconds kProgressRedrawInterval{250};

// "step 412 of 999 (41 %), 1830 steps/s, 0:00:01 left": the rate counts the steps after the
// first over the time since the first was done (with a decimal below 10 a second), the time
// left is rounded up; without a rate (the first step, or no time yet) only the step and the
// share are shown.
std::string ProgressText(std::int64_t step, std::int64_t stepCount, double secondsSinceFirst);

// When to draw: at the first step, then whenever kProgressRedrawInterval has passed since the
// line was last drawn; never after the last step, which the next output follows at once.
class ProgressPacing {
 public:
  // The text to draw now, or nothing.
  std::optional<std::string> Step(std::int64_t step, std::int64_t stepCount,
                                  ProgressClock::time_point now);

 private:
  ProgressClock::time_point first_{};
  std::optional<ProgressClock::time_point> drawn_;
};

// The line on a console: Show draws it through the error stream of the console it wraps, and
// the wrapped console's every output and read erases it first.
class ProgressLine {
 public:
  explicit ProgressLine(ConsoleHooks console);
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // The console to install in place of the one given: this object must outlive it.
  ConsoleHooks Hooks();
  // After each step's records.
  void Step(std::int64_t step, std::int64_t stepCount);

 private:
  void Erase();

  ConsoleHooks console_;
  ProgressPacing pacing_;
  bool shown_ = false;
};

}  // namespace kova::cli
