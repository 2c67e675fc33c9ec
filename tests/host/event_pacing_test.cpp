// Streaming output lets the window handle its events once per interval, not per line.
#include "host/event_pacing.h"

#include <gtest/gtest.h>

namespace kova::host {
namespace {

TEST(EventPacer, EventsAreDueOncePerInterval) {
  using std::chrono::microseconds;
  EventPacer pacer;
  const EventPacer::Clock::time_point start{};
  EXPECT_TRUE(pacer.Due(start));  // the first line lets the window catch up
  EXPECT_FALSE(pacer.Due(start + microseconds(10)));
  EXPECT_FALSE(pacer.Due(start + EventPacer::kInterval - microseconds(1)));
  EXPECT_TRUE(pacer.Due(start + EventPacer::kInterval));
  EXPECT_FALSE(pacer.Due(start + EventPacer::kInterval + microseconds(1)));
  EXPECT_TRUE(pacer.Due(start + 5 * EventPacer::kInterval));
}

}  // namespace
}  // namespace kova::host
