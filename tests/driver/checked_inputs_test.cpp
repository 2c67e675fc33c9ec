// The checked reading of a run started with options fills the data exactly as the dialogue's
// reader does, for every form of a valid file the reader takes: the same counts, the same
// group numbers and the same bits in every abundance.
#include "driver/checked_data_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/input_files.h"
#include "tests/support/console_capture.h"
#include "tests/support/scratch_folder.h"
#include "textio/units.h"

namespace kova {
namespace {

using test_support::ScratchFolder;

void ReadAsTheDialogueDoes(const std::string& dataFile, const std::string& groupFile,
                           AnalysisData& data) {
  const test_support::CapturedRun run = test_support::RunCaptured([&] {
    OpenUnit(kInputUnit, dataFile, OpenStatus::Old);
    ReadDataFile(data);
    OpenUnit(kInputUnit, groupFile, OpenStatus::Old);
    ReadGroupFile(data);
  });
  ASSERT_FALSE(run.ended) << run.error;
}

struct ValidFiles {
  const char* form;
  const char* data;
  const char* groups;
};

TEST(CheckedInputs, ReadValidFilesBitForBitAsTheDialoguesReader) {
  const ValidFiles cases[] = {
      {"one row per line", "title\n2 3 2\n1 0 2\n0 3 1\n", "1 2 2\n"},
      {"an empty title, counts over three lines", "\n2\n3\n2\n1 0 2\n0 3 1\n", "1\n2\n2\n"},
      {"a row over two lines", "t\n2 3 2\n1 0\n2\n0 3 1\n", "1 2 2\n"},
      {"repeat counts", "t\n2 4 2\n3*0 5\n2*1.5 2*,\n", "2*1 2*2\n"},
      {"empty values and slashes", "t\n2 3 2\n1,,3\n4 / 9 9\n", "1,2,2 / note\n"},
      {"a comma after a row's line end", "t\n2 3 2\n1 0\n,2\n0 3 1\n", "1 2\n,2\n"},
      {"tabs, carriage returns and blank lines", "t\r\n2\t3 2\r\n\r\n1\t0 2\r\n\n0 3 1\r\n",
       "1\t2 2\r\n"},
      {"trailing separators", "t\n2 3 2\n1,0,2,\n0 3 1 ,\n", "1, 2, 2,\n"},
      {"every way to write a real",
       "t\n3 4 2\n2.50E-1 2.5d-1 .25 25-2\n-0 +7 1e-40 3.4028234e38\n"
       "0.1 123456789012345678901234 1.00000005 0.30000001\n",
       "1 1 2 2\n"},
      {"blank lines after the last row", "t\n1 2 2\n1 2\n\n   \n", "1 2\n\n"},
  };
  for (const ValidFiles& c : cases) {
    SCOPED_TRACE(c.form);
    ScratchFolder folder;
    const std::string dataFile = folder.Write("data.txt", c.data);
    const std::string groupFile = folder.Write("groups.txt", c.groups);
    AnalysisData expected;
    ReadAsTheDialogueDoes(dataFile, groupFile, expected);
    AnalysisData checked;
    const auto dataFault = ReadCheckedDataFile(dataFile, checked);
    ASSERT_FALSE(dataFault) << dataFault->found;
    const auto groupFault = ReadCheckedGroupFile(groupFile, checked);
    ASSERT_FALSE(groupFault) << groupFault->found;

    EXPECT_EQ(checked.speciesCount, expected.speciesCount);
    EXPECT_EQ(checked.siteCount, expected.siteCount);
    EXPECT_EQ(checked.groupCount, expected.groupCount);
    ASSERT_EQ(checked.abundanceMatrix.Size(), expected.abundanceMatrix.Size());
    EXPECT_EQ(std::memcmp(checked.abundanceMatrix.Data(), expected.abundanceMatrix.Data(),
                          sizeof(float) * checked.abundanceMatrix.Size()),
              0);
    ASSERT_EQ(checked.siteGroups.Size(), expected.siteGroups.Size());
    for (std::int64_t site = 1; site <= checked.siteGroups.Size(); ++site) {
      EXPECT_EQ(checked.siteGroups(site), expected.siteGroups(site)) << "site " << site;
    }
  }
}

}  // namespace
}  // namespace kova
