// The rules behind the services offered to programs and the About box: printed pages, timer
// slots, menu item ids and texts, mapping modes, the tick and the machine's facts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/mapping_mode.h"
#include "host/print_layout.h"
#include "host/program_menu_items.h"
#include "host/system_facts.h"
#include "host/tick.h"
#include "host/timer_table.h"

namespace kova::host {
namespace {

std::vector<std::size_t> PageSizes(const std::vector<LineRange>& pages) {
  std::vector<std::size_t> sizes;
  for (const LineRange& page : pages)
    sizes.push_back(page.Count());
  return sizes;
}

TEST(PrintLayout, LinesFillPagesAndPageRangesPickTheirLines) {
  EXPECT_EQ(LinesPerPage(3000, 50), 60);
  EXPECT_EQ(LinesPerPage(3049, 50), 60);
  EXPECT_EQ(LinesPerPage(40, 50), 1);  // a line taller than the page still prints

  const LineRange all = LinesToPrint(130, 60, std::nullopt);
  EXPECT_EQ(all, (LineRange{1, 130}));
  EXPECT_EQ(PageSizes(PagesOfCopy(all, 60)), (std::vector<std::size_t>{60, 60, 10}));

  const LineRange secondAndThird = LinesToPrint(130, 60, PageRange{2, 3});
  EXPECT_EQ(secondAndThird, (LineRange{61, 130}));
  EXPECT_EQ(PagesOfCopy(secondAndThird, 60), (std::vector<LineRange>{{61, 120}, {121, 130}}));

  // A range that ends at a page's end feeds no empty page after it.
  EXPECT_EQ(PageSizes(PagesOfCopy(LinesToPrint(130, 60, PageRange{1, 2}), 60)),
            (std::vector<std::size_t>{60, 60}));
  // Pages beyond the transcript print nothing but one empty page.
  EXPECT_TRUE(LinesToPrint(130, 60, PageRange{4, 5}).Empty());
  EXPECT_EQ(PageSizes(PagesOfCopy(LinesToPrint(130, 60, PageRange{4, 5}), 60)),
            (std::vector<std::size_t>{0}));
  EXPECT_EQ(PageSizes(PagesOfCopy(LinesToPrint(0, 60, std::nullopt), 60)),
            (std::vector<std::size_t>{0}));
}

TEST(TimerTable, HundredSlotsEachWithItsIdAndCallback) {
  TimerTable table;
  std::vector<int> fired;
  for (int id = 1; id <= 100; ++id) {
    ASSERT_TRUE(table.Add(id, [&fired, id] { fired.push_back(id); }));
  }
  EXPECT_FALSE(table.Add(101, {}));                              // every slot taken
  EXPECT_TRUE(table.Add(7, [&fired] { fired.push_back(-7); }));  // the same id keeps its slot
  (*table.Find(7))();
  (*table.Find(42))();
  EXPECT_EQ(fired, (std::vector<int>{-7, 42}));
  table.Remove(42);
  EXPECT_EQ(table.Find(42), nullptr);
  EXPECT_TRUE(table.Add(101, {}));  // the freed slot is taken again
  EXPECT_TRUE(table.Holds(101));
  EXPECT_EQ(table.Find(101), nullptr);  // a timer without a callback
  EXPECT_FALSE(table.Add(0, {}));
}

TEST(ProgramMenuItems, IdsCountUpFromEightHundred) {
  ProgramMenuItems items;
  EXPECT_EQ(items.NextId(), 800);
  bool seen = false;
  EXPECT_EQ(items.Add([&seen](bool& checked) { seen = checked; }), 800);
  EXPECT_EQ(items.Add({}), 801);
  EXPECT_EQ(items.NextId(), 802);
  bool checked = true;
  (*items.Callback(800))(checked);
  EXPECT_TRUE(seen);
  EXPECT_EQ(items.Callback(801), nullptr);
  EXPECT_EQ(items.Callback(799), nullptr);

  EXPECT_EQ(ItemText("Plot   "), "Plot");
  EXPECT_EQ(ItemText("   "), "");
  EXPECT_EQ(ItemText(" a b "), " a b");
  EXPECT_EQ(ItemText(std::string(2000, 'x')).size(), kLongestItemText);
}

TEST(MappingMode, LogicalUnitsInPixels) {
  struct Case {
    int code;
    PixelScale scale;
  };
  const Case cases[] = {
      {1, {1, 1}},
      {2, {0.4, -0.4}},
      {3, {0.04, -0.04}},
      {4, {1.016, -1.016}},
      {5, {0.1016, -0.1016}},
      {6, {101.6 / 1440, -101.6 / 1440}},
      {7, {1, 1}},
      {8, {1, 1}},
      {0, {1, 1}},
      {9, {1, 1}},
  };
  for (const Case& c : cases) {
    const PixelScale scale = ScaleOf(MappingModeOf(c.code), 101.6, 101.6);
    EXPECT_NEAR(scale.x, c.scale.x, 1e-12) << c.code;
    EXPECT_NEAR(scale.y, c.scale.y, 1e-12) << c.code;
  }
}

TEST(Tick, FiresOneHundredMillisecondsAfterItIsArmed) {
  Tick tick;
  const Tick::Clock::time_point start{};
  EXPECT_TRUE(tick.Fired(start));
  const int first = tick.Arm(start);
  EXPECT_FALSE(tick.Fired(start));
  EXPECT_FALSE(tick.Fired(start + std::chrono::milliseconds(99)));
  EXPECT_TRUE(tick.Fired(start + std::chrono::milliseconds(100)));
  EXPECT_NE(tick.Arm(start + std::chrono::seconds(1)), first);
  EXPECT_FALSE(tick.Fired(start + std::chrono::milliseconds(1050)));
}

TEST(SystemFacts, AddressesProcessorsAndPages) {
  struct Address {
    std::uint64_t value;
    std::string text;
  };
  for (const Address& a :
       {Address{0, "0x00000000"}, Address{0x10000, "0x00010000"}, Address{0x7ffeffff, "0x7ffeffff"},
        Address{0x7ffffffeffff, "0x7ffffffeffff"},
        Address{0xffffffffffffffff, "0xffffffffffffffff"}}) {
    EXPECT_EQ(AddressText(a.value), a.text);
  }
  EXPECT_EQ(ProcessorTypeCode("x86_64"), 8664u);
  EXPECT_EQ(ProcessorTypeCode("i686"), 586u);
  EXPECT_EQ(ProcessorTypeCode("i386"), 386u);
  EXPECT_EQ(ProcessorTypeCode("ia64"), 2200u);
  EXPECT_EQ(ProcessorTypeCode("riscv64"), 0u);

  EXPECT_EQ(HighestMappedAddress("55d0c8a00000-55d0c8a02000 r--p 00000000 08:01 1 /bin/kova\n"
                                 "7ffc1b3d2000-7ffc1b3f4000 rw-p 00000000 00:00 0 [stack]\n"
                                 "ffffffffff600000-ffffffffff601000 --xp 00000000 00:00 0 "
                                 "[vsyscall]\n"),
            0x7ffc1b3f3fffu);

  const SystemFacts facts = ReadSystemFacts();
  EXPECT_EQ(facts.pageSize, static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)));
  EXPECT_GT(facts.minimumAddress, 0u);
  EXPECT_LT(facts.minimumAddress, facts.maximumAddress);
  EXPECT_GE(facts.processorCount, 1u);
#if defined(__x86_64__)
  EXPECT_EQ(facts.processorType, 8664u);
#endif
}

}  // namespace
}  // namespace kova::host
