// kova-cli as a process on real files: exit codes, standard streams and "RESULTS.TXT".
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/smallest_example.h"

namespace kova {
namespace {

using test_support::ReadWholeFile;
using test_support::ScratchFolder;

struct CliRun {
  test_support::ProcessResult process;
  std::string results;  // "RESULTS.TXT", empty when absent
  bool resultsExist = false;
};

CliRun RunCli(const ScratchFolder& folder, const std::string& answers) {
  CliRun run;
  run.process = test_support::RunProcess(KOVA_CLI_PROGRAM, {}, answers, folder.Path().string());
  run.resultsExist = std::filesystem::exists(folder.File("RESULTS.TXT"));
  if (run.resultsExist) run.results = ReadWholeFile(folder.File("RESULTS.TXT"));
  return run;
}

// Copies a bundled example's data and group files into the folder.
void CopyExample(const ScratchFolder& folder, const std::string& example) {
  const auto source = test_support::SourceFolder() / "examples" / example;
  std::filesystem::copy_file(source / "data.txt", folder.Path() / "data.txt");
  std::filesystem::copy_file(source / "groups.txt", folder.Path() / "groups.txt");
}

class SmallestExampleCli : public test_support::SmallestExampleFolder {};

TEST_F(SmallestExampleCli, RunsOfZeroOneAndTwoSteps) {
  const CliRun none = RunCli(folder_, "data.txt\n5\n0\ngroups.txt\n");
  EXPECT_EQ(none.process.exitCode, 0);
  EXPECT_EQ(none.process.output, test_support::PromptRecords());
  EXPECT_EQ(none.process.error, " STOP  \n");
  EXPECT_TRUE(none.resultsExist);
  EXPECT_EQ(none.results, "");

  const CliRun one = RunCli(folder_, "data.txt\n5\n1\ngroups.txt\n");
  EXPECT_EQ(one.process.exitCode, 0);
  EXPECT_EQ(one.process.output, test_support::PromptRecords() + test_support::SmallestStepRecords(1, false));
  EXPECT_EQ(one.results, test_support::SmallestStepRecords(1, true));

  const CliRun two = RunCli(folder_, "data.txt\n5\n2\ngroups.txt\n");
  const std::string steps =
      test_support::SmallestStepRecords(1, false) + test_support::SmallestStepRecords(2, false);
  EXPECT_EQ(two.process.exitCode, 0);
  EXPECT_EQ(two.process.output, test_support::PromptRecords() + steps + test_support::SmallestFinalTable());
  EXPECT_EQ(two.process.error, " STOP  \n");
  EXPECT_EQ(two.results, steps);
}

TEST_F(SmallestExampleCli, AnswersWithWindowsLineEndsOrNoFinalLineEnd) {
  const CliRun crlf = RunCli(folder_, "data.txt\r\n5\r\n1\r\ngroups.txt\r\n");
  EXPECT_EQ(crlf.process.exitCode, 0);
  EXPECT_EQ(crlf.results, test_support::SmallestStepRecords(1, true));
  const CliRun unended = RunCli(folder_, "data.txt\n5\n1\ngroups.txt");
  EXPECT_EQ(unended.process.exitCode, 0);
  EXPECT_EQ(unended.results, test_support::SmallestStepRecords(1, true));
}

TEST_F(SmallestExampleCli, ALongerOldResultsFileKeepsOnlyTheNewRecords) {
  folder_.Write("RESULTS.TXT", std::string(200000, 'o') + "\r\n");
  const CliRun run = RunCli(folder_, "data.txt\n5\n2\ngroups.txt\n");
  EXPECT_EQ(run.process.exitCode, 0);
  EXPECT_EQ(run.results,
            test_support::SmallestStepRecords(1, false) + test_support::SmallestStepRecords(2, false));
}

TEST_F(SmallestExampleCli, MissingInputFilesFailWithExitCodeOne) {
  const CliRun data = RunCli(folder_, "absent.txt\n5\n1\ngroups.txt\n");
  EXPECT_EQ(data.process.exitCode, 1);
  EXPECT_EQ(data.process.output, "  ENTER INPUT FILENAME\r\n INPUT FILE DOES NOT EXIST!!\r\n");
  EXPECT_EQ(data.process.error, " STOP  \n");
  EXPECT_FALSE(data.resultsExist);

  const CliRun groups = RunCli(folder_, "data.txt\n5\n1\nabsent.txt\n");
  EXPECT_EQ(groups.process.exitCode, 1);
  EXPECT_EQ(groups.process.output, test_support::PromptRecords() + " INPUT FILE DOES NOT EXIST!!\r\n");
  EXPECT_EQ(groups.process.error, " STOP  \n");
  EXPECT_FALSE(groups.resultsExist);
}

TEST_F(SmallestExampleCli, BadDataFilesEndWithTheRunTimeReport) {
  folder_.Write("short.txt", "title\n2 2 2\n1 0\n");
  const CliRun shortFile = RunCli(folder_, "short.txt\n5\n1\ngroups.txt\n");
  EXPECT_EQ(shortFile.process.exitCode, 255);
  EXPECT_EQ(shortFile.process.output, "  ENTER INPUT FILENAME\r\n");
  EXPECT_EQ(shortFile.process.error,
            "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=1,...\n");

  folder_.Write("letters.txt", "title\n1 2 2\n1 x\n");
  const CliRun letters = RunCli(folder_, "letters.txt\n5\n1\ngroups.txt\n");
  EXPECT_EQ(letters.process.exitCode, 255);
  EXPECT_EQ(letters.process.error,
            "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n? READ(UNIT=1,...\n");
  EXPECT_FALSE(letters.resultsExist);
}

// A file typed at the first prompt is read by what it holds: a data file named .csv as a data
// file, a CSV table with the checks of a run with options, whose fault ends the run with its
// one line and exit code 2 before anything is written.
TEST_F(SmallestExampleCli, TablesAtTheFirstPromptAreReadByWhatTheyHold) {
  folder_.Write("data.csv", test_support::kSmallestData);
  const CliRun named = RunCli(folder_, "data.csv\n5\n2\ngroups.txt\n");
  const CliRun plain = RunCli(folder_, "data.txt\n5\n2\ngroups.txt\n");
  EXPECT_EQ(named.process.exitCode, 0);
  EXPECT_EQ(named.process.output, plain.process.output);
  EXPECT_EQ(named.results, plain.results);

  folder_.Write("community.csv", "\"\",\"sp1\"\n\"s1\",1\n\"s2\",NA\n");
  folder_.Write("groups.csv", "site,group\ns1,a\ns2,b\n");
  std::filesystem::remove(folder_.File("RESULTS.TXT"));
  const CliRun faulty = RunCli(folder_, "community.csv\n5\n2\ngroups.csv\n");
  EXPECT_EQ(faulty.process.exitCode, 2);
  EXPECT_EQ(faulty.process.output, test_support::PromptRecords());
  EXPECT_EQ(faulty.process.error,
            "kova-cli: community.csv, line 3: \"NA\" for species \"sp1\" at site \"s2\"; expected "
            "a number, such as 3, 0.5 or 2.5e-1\n");
  EXPECT_FALSE(faulty.resultsExist);
}

TEST_F(SmallestExampleCli, AGroupNumberOutOfRangeLeavesNoResults) {
  folder_.Write("bad-groups.txt", "1 5\n");
  const CliRun run = RunCli(folder_, "data.txt\n5\n1\nbad-groups.txt\n");
  EXPECT_EQ(run.process.exitCode, 1);
  EXPECT_EQ(
      run.process.output,
      test_support::PromptRecords() +
          " GROUP NUMBER 5 OF SITE 2 IS OUT OF RANGE: GROUP NUMBERS MUST LIE BETWEEN 1 AND 2\r\n");
  EXPECT_EQ(run.process.error, " STOP  \n");
  EXPECT_FALSE(run.resultsExist);
}

// A seed whose random numbers repeat within the draws the run makes is warned of on the error
// stream once the count is read; the run goes on, and the console shows nothing of it.
TEST(KovaCli, TheDialogueWarnsOfASeedThatRepeatsWithinTheRun) {
  const struct {
    const char* seed;
    const char* count;
    std::string warning;
  } cases[] = {
      {"1024", "999",
       "Warning: the random seed 1024 gives random numbers that repeat from draw 8376 on, within "
       "the 19960 draws the run makes, so the shuffles repeat too; a seed such as 12345 does not "
       "repeat\n"},
      {"1024", "20", ""},  // 380 draws end before the repeat
      {"0", "2",
       "Warning: the random seed 0 gives random numbers that repeat from draw 2 on, within the 20 "
       "draws the run makes, so the shuffles repeat too; a seed such as 12345 does not repeat\n"},
      {"0", "1", ""},  // the observed grouping alone needs no draw
  };
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  for (const auto& c : cases) {
    const CliRun run =
        RunCli(folder, std::string("data.txt\n") + c.seed + "\n" + c.count + "\ngroups.txt\n");
    EXPECT_EQ(run.process.exitCode, 0);
    EXPECT_EQ(run.process.error, c.warning + " STOP  \n") << c.seed << ", " << c.count;
    EXPECT_EQ(run.process.output.find("Warning"), std::string::npos);
  }
}

TEST(KovaCli, DuneManagementRunsAreReproducible) {
  ScratchFolder first;
  ScratchFolder second;
  CopyExample(first, "dune_management");
  CopyExample(second, "dune_management");
  const std::string answers = "data.txt\n1\n999\ngroups.txt\n";
  const CliRun a = RunCli(first, answers);
  const CliRun b = RunCli(second, answers);
  EXPECT_EQ(a.process.exitCode, 0);
  EXPECT_EQ(a.process.output, b.process.output);
  EXPECT_EQ(a.results, b.results);
  // Sixteen summary records per step and no full tables.
  std::size_t records = 0;
  for (std::size_t at = a.results.find("\r\n"); at != std::string::npos;
       at = a.results.find("\r\n", at + 2)) {
    ++records;
  }
  EXPECT_EQ(records, 999U * 16U);
  EXPECT_EQ(a.results.find("BORSAK TYPE"), std::string::npos);
  EXPECT_NE(a.process.output.find("  INDEX  ACTUAL   MEAN  Z-SCORE  \r\n APCF  10.4273"),
            std::string::npos);

  const CliRun otherSeed = RunCli(second, "data.txt\n2\n999\ngroups.txt\n");
  EXPECT_NE(otherSeed.results, a.results);
}

// A library that sets flush-to-zero and denormals-are-zero before the program starts must not
// change a result: the analysis sets its own floating-point mode.
TEST(KovaCli, ASubnormalAbundanceCountsWhateverModeTheProcessStartedIn) {
  ScratchFolder plain;
  ScratchFolder flushed;
  for (const ScratchFolder* folder : {&plain, &flushed}) {
    folder->Write("data.txt", "subnormal\n2 4 2\n1e-40 0 0 0\n1 1 0 0\n");
    folder->Write("groups.txt", "1 1 2 2\n");
  }
  const std::string answers = "data.txt\n3\n1\ngroups.txt\n";
  const CliRun expected = RunCli(plain, answers);
  const auto run = test_support::RunProcess(
      KOVA_CLI_PROGRAM, {}, answers, flushed.Path().string(),
      {{"LD_PRELOAD", KOVA_FLUSH_SUBNORMALS}, {"ASAN_OPTIONS", "verify_asan_link_order=0"}});
  EXPECT_EQ(run.exitCode, 0) << run.error;
  EXPECT_EQ(run.output, expected.process.output);
  EXPECT_EQ(ReadWholeFile(flushed.File("RESULTS.TXT")), expected.results);
  // With options the files are read before the analysis starts: in its mode all the same.
  const auto optionRun = test_support::RunProcess(
      KOVA_CLI_PROGRAM,
      {"--data", "data.txt", "--groups", "groups.txt", "--seed", "3", "--randomizations", "1"}, "",
      flushed.Path().string(),
      {{"LD_PRELOAD", KOVA_FLUSH_SUBNORMALS}, {"ASAN_OPTIONS", "verify_asan_link_order=0"}});
  EXPECT_EQ(optionRun.exitCode, 0) << optionRun.error;
  EXPECT_EQ(ReadWholeFile(flushed.File("RESULTS.TXT")), expected.results);
  // The species at one site of group 1 is found there: half of that group's sites.
  EXPECT_NE(expected.results.find("BORSAK TYPE   1\r\n   .5000   .0000\r\n  1.0000   .0000\r\n"),
            std::string::npos)
      << expected.results;
}

// kova-cli with standard input and output on pipes, driven as a script drives it: each answer
// is written only once its prompt has been read.
class ScriptedDialogue {
 public:
  explicit ScriptedDialogue(const ScratchFolder& folder) {
    int input[2];
    int output[2];
    if (::pipe(input) != 0 || ::pipe(output) != 0) throw std::runtime_error("pipe failed");
    child_ = ::fork();
    if (child_ < 0) throw std::runtime_error("fork failed");
    if (child_ == 0) {
      ::dup2(input[0], STDIN_FILENO);
      ::dup2(output[1], STDOUT_FILENO);
      ::close(input[1]);
      ::close(output[0]);
      if (::chdir(folder.Path().c_str()) != 0) ::_exit(127);
      ::execl(KOVA_CLI_PROGRAM, KOVA_CLI_PROGRAM, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    toProgram_ = input[1];
    fromProgram_ = output[0];
  }
  ~ScriptedDialogue() {
    if (toProgram_ >= 0) ::close(toProgram_);
    ::close(fromProgram_);
    if (child_ > 0) ::waitpid(child_, nullptr, 0);
  }
  ScriptedDialogue(const ScriptedDialogue&) = delete;
  ScriptedDialogue& operator=(const ScriptedDialogue&) = delete;

  // Reads until the output seen so far ends with `text`; false after ten seconds without it.
  bool WaitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!seen_.ends_with(text)) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd ready{fromProgram_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
        return false;
      }
      if (!ReadSome()) return false;
    }
    return true;
  }

  void Answer(const std::string& line) {
    const std::string text = line + "\n";
    ASSERT_EQ(::write(toProgram_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }

  // Reads the rest of the output and returns the exit code.
  int Finish() {
    ::close(toProgram_);
    toProgram_ = -1;
    while (ReadSome()) {
    }
    int status = 0;
    ::waitpid(child_, &status, 0);
    child_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  const std::string& Seen() const { return seen_; }

 private:
  bool ReadSome() {
    char buffer[4096];
    const ssize_t count = ::read(fromProgram_, buffer, sizeof buffer);
    if (count <= 0) return false;
    seen_.append(buffer, static_cast<std::size_t>(count));
    return true;
  }

  pid_t child_ = -1;
  int toProgram_ = -1;
  int fromProgram_ = -1;
  std::string seen_;
};

// Output to a pipe goes out in blocks, but every prompt is out before its answer is read.
TEST(KovaCli, AScriptSeesEachPromptBeforeItAnswers) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  ScriptedDialogue dialogue(folder);
  const std::pair<const char*, const char*> steps[] = {
      {"  ENTER INPUT FILENAME\r\n", "data.txt"},
      {"  enter random seed\r\n", "1"},
      {"  enter number of randomizations\r\n", "20"},
      {"  ENTER INPUT FILENAME FOR GROUP MEMBERSHIPS\r\n", "groups.txt"},
  };
  for (const auto& [prompt, answer] : steps) {
    ASSERT_TRUE(dialogue.WaitFor(prompt)) << "no prompt " << prompt << " in " << dialogue.Seen();
    dialogue.Answer(answer);
  }
  EXPECT_EQ(dialogue.Finish(), 0);
  EXPECT_EQ(dialogue.Seen(),
            ReadWholeFile((test_support::SourceFolder() / "tests/apps/golden/dune_management-s1-r20/"
                                                     "console.txt")
                              .string()));
}

// With both streams on one file, the lines come in the order the run wrote them.
TEST(KovaCli, OutputAndErrorStreamsKeepTheirOrderOnOneFile) {
  struct Case {
    const char* answers;
    std::string expected;
  };
  const std::string prompts = test_support::PromptRecords();
  const Case cases[] = {
      {"data.txt\n5\n2\ngroups.txt\n", prompts + test_support::SmallestStepRecords(1, false) +
                                           test_support::SmallestStepRecords(2, false) +
                                           test_support::SmallestFinalTable() + " STOP  \n"},
      {"data.txt\n5\n",
       "  ENTER INPUT FILENAME\r\n  enter random seed\r\n  enter number of randomizations\r\n"
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=*,...\n"},
      {"data.txt\n5\n2\nnone.txt\n", prompts + " INPUT FILE DOES NOT EXIST!!\r\n STOP  \n"},
  };
  ScratchFolder folder;
  folder.Write("data.txt", test_support::kSmallestData);
  folder.Write("groups.txt", test_support::kSmallestGroups);
  for (const Case& c : cases) {
    const auto run = test_support::RunProcess("/bin/sh", {"-c", "exec \"$0\" 2>&1", KOVA_CLI_PROGRAM},
                                         c.answers, folder.Path().string());
    EXPECT_EQ(run.output, c.expected) << c.answers;
  }
}

// The type-1 table against the published definition of the indicator value: the species'
// relative mean abundance in the group times its relative frequency there.
TEST(KovaCli, TypeOneTableOfDuneManagementMatchesTheDefinition) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  const CliRun run = RunCli(folder, "data.txt\n1\n1\ngroups.txt\n");
  ASSERT_EQ(run.process.exitCode, 0);

  std::ifstream data(folder.File("data.txt"));
  std::string title;
  std::getline(data, title);
  int species = 0, sites = 0, groups = 0;
  data >> species >> sites >> groups;
  std::vector<std::vector<double>> abundance(species, std::vector<double>(sites));
  for (auto& row : abundance) {
    for (double& value : row)
      data >> value;
  }
  std::ifstream groupFile(folder.File("groups.txt"));
  std::vector<int> siteGroup(sites);
  for (int& group : siteGroup)
    groupFile >> group;

  std::istringstream results(run.results);
  std::string line;
  while (std::getline(results, line) && line.rfind("  BORSAK TYPE   1", 0) != 0) {
  }
  ASSERT_FALSE(results.eof());
  for (int i = 0; i < species; ++i) {
    std::vector<double> total(groups), present(groups), size(groups);
    for (int j = 0; j < sites; ++j) {
      const int g = siteGroup[j] - 1;
      total[g] += abundance[i][j];
      present[g] += abundance[i][j] > 0 ? 1 : 0;
      size[g] += 1;
    }
    double sumOfMeans = 0;
    for (int g = 0; g < groups; ++g)
      sumOfMeans += total[g] / size[g];
    ASSERT_TRUE(std::getline(results, line));
    for (int g = 0; g < groups; ++g) {
      const double printed = std::stod(line.substr(static_cast<std::size_t>(8 * g), 8));
      const double definition = (total[g] / size[g]) / sumOfMeans * (present[g] / size[g]);
      EXPECT_NEAR(printed, definition, 0.00005 + 1e-6) << "species " << i + 1 << " group " << g + 1;
    }
  }
}

}  // namespace
}  // namespace kova
