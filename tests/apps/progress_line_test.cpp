// The progress line of a quiet run: its text, when it is drawn, and its erasure before any
// other output.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "apps/kova-cli/progress_line.h"

namespace kova::cli {
namespace {

TEST(ProgressLine, TextGivesTheStepTheRateAndTheTimeLeft) {
  const struct {
    std::int64_t step, count;
    double seconds;
    const char* text;
  } cases[] = {
      {1, 999, 0.0, "step 1 of 999 (0 %)"},
      {5, 999, 0.0, "step 5 of 999 (0 %)"},  // no time yet, no rate
      {101, 999, 0.5, "step 101 of 999 (10 %), 200 steps/s, 0:00:05 left"},
      {3, 10, 4.0, "step 3 of 10 (30 %), 0.5 steps/s, 0:00:14 left"},
      {2, 100001, 1.0, "step 2 of 100001 (0 %), 1.0 steps/s, 27:46:39 left"},
      {998, 999, 2.0, "step 998 of 999 (99 %), 499 steps/s, 0:00:01 left"},
      {12, 20, 1.0, "step 12 of 20 (60 %), 11 steps/s, 0:00:01 left"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgressText(c.step, c.count, c.seconds), c.text);
}

TEST(ProgressLine, DrawnAtTheFirstStepThenAtMostFourTimesASecond) {
  const ProgressClock::time_point start{};
  const auto at = [start](int milliseconds) {
    return start + std::chrono::milliseconds(milliseconds);
  };
  const struct {
    std::int64_t step;
    int milliseconds;
    bool drawn;
  } steps[] = {{1, 0, true},     {2, 10, false},   {3, 249, false}, {4, 250, true},
               {5, 300, false},  {6, 499, false},  {7, 520, true},  {8, 1000, true},
               {9, 1001, false}, {10, 2000, false}};  // the last step is followed at once
  ProgressPacing pacing;
  for (const auto& s : steps) {
    const std::optional<std::string> text = pacing.Step(s.step, 10, at(s.milliseconds));
    EXPECT_EQ(text.has_value(), s.drawn) << "step " << s.step;
  }
}

// A console that records what reaches it.
struct Recorder {
  std::vector<std::string> writes;  // "E:" or "O:" and the text
  ConsoleHooks Hooks() {
    ConsoleHooks hooks = StandardStreamHooks();
    hooks.WriteText = [this](const char* text, std::size_t count, ConsoleStream stream) {
      writes.push_back((stream == ConsoleStream::Error ? "E:" : "O:") + std::string(text, count));
      return count;
    };
    hooks.EndOfRun = [this](int) { writes.push_back("end"); };
    return hooks;
  }
};

TEST(ProgressLine, AnyOtherOutputErasesTheLineFirst) {
  Recorder recorder;
  ProgressLine line(recorder.Hooks());
  const ConsoleHooks console = line.Hooks();
  console.WriteText("a\r\n", 3, ConsoleStream::Output);  // nothing shown: nothing to erase
  line.Step(1, 3);
  console.WriteText("table\r\n", 7, ConsoleStream::Output);
  console.WriteText(" STOP  \n", 8, ConsoleStream::Error);  // erased already
  line.Step(2, 3);                                          // too soon after the first drawing
  console.EndOfRun(0);
  EXPECT_EQ(recorder.writes,
            (std::vector<std::string>{"O:a\r\n", "E:\rstep 1 of 3 (33 %)\x1b[K", "E:\r\x1b[K",
                                      "O:table\r\n", "E: STOP  \n", "end"}));
}

}  // namespace
}  // namespace kova::cli
