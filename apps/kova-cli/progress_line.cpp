#include "apps/kova-cli/progress_line.h"

#include <cmath>

namespace kova::cli {
namespace {

// Back to the line's start, and everything from there to its end erased.
constexpr std::string_view kEraseLine = "\r\x1b[K";

std::string Clock(std::int64_t seconds) {
  const std::int64_t minutes = seconds / 60 % 60;
  const std::int64_t second = seconds % 60;
  return std::to_string(seconds / 3600) + (minutes < 10 ? ":0" : ":") + std::to_string(minutes) +
         (second < 10 ? ":0" : ":") + std::to_string(second);
}

}  // namespace

std::string ProgressText(std::int64_t step, std::int64_t stepCount, double secondsSinceFirst) {
  std::string text = "step " + std::to_string(step) + " of " + std::to_string(stepCount) + " (" +
                     std::to_string(step * 100 / stepCount) + " %)";
  if (step <= 1 || !(secondsSinceFirst > 0)) return text;
  const double rate = static_cast<double>(step - 1) / secondsSinceFirst;
  const auto left =
      static_cast<std::int64_t>(std::ceil(static_cast<double>(stepCount - step) / rate));
  // A slow rate keeps a decimal, so that it never shows as 0.
  const std::string rateText = rate < 10 ? std::to_string(std::llround(rate * 10) / 10) + "." +
                                               std::to_string(std::llround(rate * 10) % 10)
                                         : std::to_string(std::llround(rate));
  return text + ", " + rateText + " steps/s, " + Clock(left) + " left";
}

std::optional<std::string> ProgressPacing::Step(std::int64_t step, std::int64_t stepCount,
                                                ProgressClock::time_point now) {
  if (step == 1) first_ = now;
  if (step >= stepCount) return std::nullopt;
  if (drawn_ && now - *drawn_ < kProgressRedrawInterval) return std::nullopt;
  drawn_ = now;
  return ProgressText(step, stepCount, std::chrono::duration<double>(now - first_).count());
}

ProgressLine::ProgressLine(ConsoleHooks console) : console_(std::move(console)) {}

ConsoleHooks ProgressLine::Hooks() {
  ConsoleHooks hooks = console_;
  hooks.ReadLine = [this](char* buffer, std::size_t capacity) {
    Erase();
    return console_.ReadLine(buffer, capacity);
  };
  hooks.WriteText = [this](const char* text, std::size_t count, ConsoleStream stream) {
    Erase();
    return console_.WriteText(text, count, stream);
  };
  hooks.EndOfRun = [this](int exitCode) {
    Erase();
    console_.EndOfRun(exitCode);
  };
  return hooks;
}

void ProgressLine::Step(std::int64_t step, std::int64_t stepCount) {
  const std::optional<std::string> text = pacing_.Step(step, stepCount, ProgressClock::now());
  if (!text) return;
  const std::string line = std::string("\r") + *text + "\x1b[K";
  console_.WriteText(line.data(), line.size(), ConsoleStream::Error);
  shown_ = true;
}

void ProgressLine::Erase() {
  if (!shown_) return;
  shown_ = false;
  console_.WriteText(kEraseLine.data(), kEraseLine.size(), ConsoleStream::Error);
}

}  // namespace kova::cli
