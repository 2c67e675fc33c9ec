// The smallest complete analysis: one species at two sites in two groups. Whatever the
// shuffle, every variant gives the species one value 1.0 and one zero, so the output is
// known to the character.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scratch_folder.h"

namespace kova::test_support {

constexpr const char* kSmallestData = "one species, two sites, two groups\n1 2 2\n1 0\n";
constexpr const char* kSmallestGroups = "1 2\n";

// The four prompts, as the console shows them.
std::string PromptRecords();

// The records of one step (the full tables only in the results file of a one-step run).
std::string SmallestStepRecords(int step, bool withTables);

// The final table of a run of two or more steps: every z-score is the default NaN.
std::string SmallestFinalTable();

// Tests that run in a scratch folder holding the smallest example's two files.
class SmallestExampleFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("data.txt", kSmallestData);
    folder_.Write("groups.txt", kSmallestGroups);
  }
  ScratchFolder folder_;
};

}  // namespace kova::test_support
