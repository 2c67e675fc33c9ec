// kova-cli on generated tables and on runs that fail half-way, with 1, 2, 3 and 8 threads
// computing the steps and 1, 2 and 4 groupings to a pass, against the same run with one
// thread and one grouping a pass: console, error stream, "RESULTS.TXT" and exit code, byte
// for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;

struct Outputs {
  int exitCode = 0;
  int signal = 0;
  std::string console;
  std::string error;
  std::string results;  // "(none)" when RESULTS.TXT does not exist
};

// The entries of a generated data file: counts, zeros, decimals, and with `special` also
// negative values, infinities and NaNs. Written as text, the way users write data files.
std::string ValueText(std::mt19937& engine, bool special) {
  const int kind = std::uniform_int_distribution<int>(0, special ? 19 : 15)(engine);
  if (kind < 9) return "0";
  if (kind < 13) return std::to_string(std::uniform_int_distribution<int>(1, 30)(engine));
  if (kind < 16) return std::to_string(std::uniform_int_distribution<int>(1, 999)(engine)) + ".25";
  const char* specials[] = {"-3", "Inf", "-Inf", "NaN"};
  return specials[kind - 16];
}

// A data file of `species` rows over `sites` sites, with group numbers dealt out over
// `usedGroups` of the `groups` groups (the others stay empty).
void WriteGeneratedTable(const ScratchFolder& folder, int species, int sites, int groups,
                         int usedGroups, bool special, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::ofstream data(folder.File("data.txt"), std::ios::binary);
  data << "generated table\n" << species << " " << sites << " " << groups << "\n";
  for (int i = 0; i < species; ++i) {
    // One species in eight is absent everywhere.
    const bool absent = i % 8 == 3;
    for (int k = 0; k < sites; ++k)
      data << (k == 0 ? "" : " ") << (absent ? "0" : ValueText(engine, special));
    data << "\n";
  }
  std::ofstream groupFile(folder.File("groups.txt"), std::ios::binary);
  for (int k = 0; k < sites; ++k)
    groupFile << std::uniform_int_distribution<int>(1, usedGroups)(engine) << "\n";
}

void CopyExample(const ScratchFolder& folder, const std::string& example) {
  const fs::path source = test_support::SourceFolder() / "examples" / example;
  fs::copy_file(source / "data.txt", folder.Path() / "data.txt");
  fs::copy_file(source / "groups.txt", folder.Path() / "groups.txt");
}

// How a case's folder is prepared before each run.
enum class Setting { Nothing, ResultsOnFullDevice, OutputOnFullDevice };

// The error stream without the lines a sanitizer's allocator writes itself when it refuses
// an allocation ("==pid==WARNING: ... failed to allocate ..."): the builds under the address
// sanitizer announce a table too large for memory before the program reports it.
std::string WithoutAllocatorWarnings(const std::string& error) {
  std::string kept;
  std::size_t start = 0;
  while (start < error.size()) {
    std::size_t end = error.find('\n', start);
    end = end == std::string::npos ? error.size() : end + 1;
    const std::string line = error.substr(start, end - start);
    const bool warning = line.rfind("==", 0) == 0 && line.find("WARNING:") != std::string::npos &&
                         line.find("failed to allocate") != std::string::npos;
    if (!warning) kept += line;
    start = end;
  }
  return kept;
}

Outputs RunWithThreads(const ScratchFolder& folder, const std::string& answers, Setting setting,
                       const std::string& threads, const std::string& groupings = "") {
  const fs::path results = folder.Path() / "RESULTS.TXT";
  fs::remove(results);
  if (setting == Setting::ResultsOnFullDevice) fs::create_symlink("/dev/full", results);
  std::vector<std::string> arguments;
  std::string program = KOVA_CLI_PROGRAM;
  if (setting == Setting::OutputOnFullDevice) {
    // Standard output on a device that takes no byte: the first write out fails.
    arguments = {"-c", "exec \"$0\" > /dev/full", program};
    program = "/bin/sh";
  }
  const test_support::ProcessResult run = test_support::RunProcess(
      program, arguments, answers, folder.Path().string(),
      {{"KOVA_THREADS", threads}, {"KOVA_GROUPINGS_PER_PASS", groupings}});
  Outputs outputs{run.exitCode, run.signal, run.output, WithoutAllocatorWarnings(run.error),
                  "(none)"};
  if (setting != Setting::ResultsOnFullDevice && fs::exists(results)) {
    outputs.results = test_support::ReadWholeFile(results.string());
  }
  return outputs;
}

struct Case {
  const char* name;
  std::function<void(const ScratchFolder&)> prepare;
  std::string answers;
  Setting setting;
  int exitCode;  // of every run
};

std::vector<Case> Cases() {
  const auto generated = [](int species, int sites, int groups, int usedGroups, bool special) {
    return [=](const ScratchFolder& folder) {
      WriteGeneratedTable(folder, species, sites, groups, usedGroups, special, 2024);
    };
  };
  const auto example = [](const char* name) {
    return [name](const ScratchFolder& folder) { CopyExample(folder, name); };
  };
  return {
      {"special values and an empty group", generated(400, 300, 7, 6, true),
       "data.txt\n99\n37\ngroups.txt\n", Setting::Nothing, 0},
      {"one group", generated(150, 80, 1, 1, true), "data.txt\n-5\n25\ngroups.txt\n",
       Setting::Nothing, 0},
      {"many species", generated(3000, 200, 5, 5, false), "data.txt\n7\n30\ngroups.txt\n",
       Setting::Nothing, 0},
      {"fewer steps than threads", generated(60, 40, 3, 3, false), "data.txt\n7\n2\ngroups.txt\n",
       Setting::Nothing, 0},
      {"one step with its tables", generated(60, 40, 3, 3, true), "data.txt\n7\n1\ngroups.txt\n",
       Setting::Nothing, 0},
      {"no step", generated(60, 40, 3, 3, false), "data.txt\n7\n-3\ngroups.txt\n", Setting::Nothing,
       0},
      {"a seed that stays zero", generated(60, 40, 3, 3, false), "data.txt\n0\n12\ngroups.txt\n",
       Setting::Nothing, 0},
      {"results on a full device", example("syn_s1000_n1000_g8"), "data.txt\n1\n60\ngroups.txt\n",
       Setting::ResultsOnFullDevice, 255},
      {"console on a full device", example("dune_management"), "data.txt\n1\n300\ngroups.txt\n",
       Setting::OutputOnFullDevice, 255},
      {"a missing group file", example("dune_management"), "data.txt\n1\n300\nnone.txt\n",
       Setting::Nothing, 1},
      {"answers that end early", example("dune_management"), "data.txt\n1\n", Setting::Nothing,
       255},
      {"a table too large for memory",
       [](const ScratchFolder& folder) {
         folder.Write("data.txt", "huge\n2000000000 2000000000 3\n");
         folder.Write("groups.txt", "1\n");
       },
       "data.txt\n1\n5\ngroups.txt\n", Setting::Nothing, 255},
  };
}

TEST(ThreadCounts, EveryNumberOfThreadsAndOfGroupingsAPassGivesTheOutputsOfOne) {
  for (const Case& c : Cases()) {
    ScratchFolder folder;
    c.prepare(folder);
    const Outputs single = RunWithThreads(folder, c.answers, c.setting, "1", "1");
    EXPECT_EQ(single.exitCode, c.exitCode) << c.name << "\n" << single.error;
    EXPECT_EQ(single.signal, 0) << c.name;
    // Every number of threads and of groupings a pass, each with another of the other.
    const std::pair<const char*, const char*> settings[] = {
        {"1", "2"}, {"1", "4"}, {"2", "1"}, {"2", "4"}, {"3", "2"}, {"8", "1"}, {"8", "4"}};
    for (const auto& [threads, groupings] : settings) {
      const Outputs run = RunWithThreads(folder, c.answers, c.setting, threads, groupings);
      const std::string where = std::string(c.name) + ", " + threads + " threads, " +
                                groupings + " groupings a pass";
      EXPECT_EQ(run.exitCode, single.exitCode) << where;
      EXPECT_EQ(run.signal, 0) << where;
      EXPECT_TRUE(run.console == single.console) << where;
      EXPECT_EQ(run.error, single.error) << where;
      EXPECT_TRUE(run.results == single.results) << where;
    }
  }
}

// The per-species results beyond the five variants too: associations over combinations of
// groups, r.g, shuffles within blocks and bootstrap intervals.
TEST(ThreadCounts, SpeciesResultsWithEveryStatisticAreTheSameForEveryNumberOfThreads) {
  ScratchFolder folder;
  const fs::path example = test_support::SourceFolder() / "examples/dune_management";
  const std::vector<std::string> arguments = {
      "--community", (example / "community.csv").string(), "--groups",
      (example / "groups.csv").string(), "--blocks", (example / "blocks.csv").string(),
      "--seed", "3", "--randomizations", "300", "--quiet", "--combinations", "--rg",
      "--bootstrap", "99", "--species-table", "species.csv"};
  std::string single;
  for (const char* threads : {"1", "2", "8"}) {
    for (const char* groupings : {"1", "4"}) {
      const test_support::ProcessResult run = test_support::RunProcess(
          KOVA_CLI_PROGRAM, arguments, "", folder.Path().string(),
          {{"KOVA_THREADS", threads}, {"KOVA_GROUPINGS_PER_PASS", groupings}});
      ASSERT_EQ(run.exitCode, 0) << run.error;
      const std::string species = test_support::ReadWholeFile((folder.Path() / "species.csv").string());
      if (single.empty()) {
        single = species;
        EXPECT_NE(single.find("IndVal_groups"), std::string::npos);
      }
      EXPECT_TRUE(species == single) << threads << " threads, " << groupings << " a pass";
    }
  }
}

// The failing runs end where the single-threaded run always has: at the write that fails, or
// at the storage that cannot be obtained.
TEST(ThreadCounts, FailedWritesEndTheRunWithTheReport) {
  ScratchFolder folder;
  CopyExample(folder, "syn_s1000_n1000_g8");
  const Outputs results =
      RunWithThreads(folder, "data.txt\n1\n300\ngroups.txt\n", Setting::ResultsOnFullDevice, "8");
  EXPECT_EQ(results.error,
            "? System Error:\n? There is not enough space on the disk.\n? WRITE(UNIT=2,...\n");
  EXPECT_NE(results.console.find("Randomization step   19\r\n"), std::string::npos);
  EXPECT_EQ(results.console.find("Randomization step   20"), std::string::npos);

  const Outputs console =
      RunWithThreads(folder, "data.txt\n1\n300\ngroups.txt\n", Setting::OutputOnFullDevice, "8");
  EXPECT_EQ(console.error,
            "? System Error:\n? The system cannot write to the specified device.\n"
            "? WRITE(UNIT=*,...\n");

  folder.Write("data.txt", "huge\n2000000000 2000000000 3\n");
  const Outputs memory =
      RunWithThreads(folder, "data.txt\n1\n5\ngroups.txt\n", Setting::Nothing, "8");
  EXPECT_EQ(memory.error, "? FORTRAN Runtime Error:\n? Buffer allocation failed\n");
}

}  // namespace
}  // namespace kova
