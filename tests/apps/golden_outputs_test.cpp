// The whole outputs of the runs listed in golden/cases.txt, byte for byte: the console, the
// error stream, "RESULTS.TXT" and the exit code, as recorded by scripts/make-golden-outputs.sh
// from a build known to be right. A step that shuffled the wrong arrangement, or a wrong
// sum, mean or z-score, shows here. Every run is made with 1, 2, 3 and 8 threads computing
// the steps: the pinned outputs are those of one thread, and no other number may change them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/sha256.h"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test_support::ReadWholeFile;
using test_support::ScratchFolder;

const fs::path kGoldenFolder = KOVA_GOLDEN_DIR;

struct PinnedRun {
  std::string input;  // folder of data.txt and groups.txt, relative to the source tree
  std::string seed;
  std::string count;

  fs::path Folder() const {
    return kGoldenFolder / (fs::path(input).filename().string() + "-s" + seed + "-r" + count);
  }
  std::string Name() const {
    std::string name = Folder().filename().string();
    for (char& c : name) {
      if (c == '-') c = '_';
    }
    return name;
  }
};

void PrintTo(const PinnedRun& run, std::ostream* out) {
  *out << run.input << " seed " << run.seed << ", " << run.count << " randomizations";
}

std::vector<PinnedRun> ReadPinnedRuns() {
  std::vector<PinnedRun> runs;
  std::ifstream cases(kGoldenFolder / "cases.txt");
  std::string line;
  while (std::getline(cases, line)) {
    if (line.empty() || line[0] == '#') continue;
    PinnedRun run;
    std::istringstream(line) >> run.input >> run.seed >> run.count;
    runs.push_back(run);
  }
  return runs;
}

// Where two texts first differ, by line, for a readable failure.
std::string FirstDifference(const std::string& actual, const std::string& expected) {
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
    ++at;
  const std::size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
  const auto lineAt = [from](const std::string& text) {
    return text.substr(from, text.find('\n', from) - from);
  };
  const auto lineNumber = 1 + std::count(expected.begin(), expected.begin() + from, '\n');
  return "first difference at byte " + std::to_string(at) + " (line " + std::to_string(lineNumber) +
         "): got \"" + lineAt(actual) + "\", expected \"" + lineAt(expected) + "\"; sizes " +
         std::to_string(actual.size()) + " and " + std::to_string(expected.size());
}

// Compares one output with its pinned file, or with its pinned digest and last lines.
::testing::AssertionResult MatchesPinned(const std::string& actual, const fs::path& pinned) {
  if (fs::exists(pinned)) {
    const std::string expected = ReadWholeFile(pinned.string());
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << pinned << ": " << FirstDifference(actual, expected);
  }
  const fs::path digestFile = pinned.string() + ".sha256";
  const fs::path tailFile = pinned.string() + ".tail";
  if (!fs::exists(digestFile) || !fs::exists(tailFile)) {
    return ::testing::AssertionFailure() << "nothing pinned for " << pinned;
  }
  const std::string tail = ReadWholeFile(tailFile.string());
  if (actual.size() < tail.size() ||
      actual.compare(actual.size() - tail.size(), tail.size(), tail) != 0) {
    return ::testing::AssertionFailure() << tailFile << " is not how the output ends";
  }
  std::string digest = ReadWholeFile(digestFile.string());
  digest = digest.substr(0, digest.find_first_of(" \n"));
  if (test_support::Sha256Hex(actual) != digest) {
    return ::testing::AssertionFailure() << pinned << ": the digest differs";
  }
  return ::testing::AssertionSuccess();
}

class PinnedRunTest : public ::testing::TestWithParam<std::tuple<PinnedRun, std::string>> {};

TEST_P(PinnedRunTest, ReproducesTheWholeOutputs) {
  const auto& [pinned, threads] = GetParam();
  ScratchFolder folder;
  const fs::path input = test_support::SourceFolder() / pinned.input;
  fs::copy_file(input / "data.txt", folder.Path() / "data.txt");
  fs::copy_file(input / "groups.txt", folder.Path() / "groups.txt");
  const std::string answers = "data.txt\n" + pinned.seed + "\n" + pinned.count + "\ngroups.txt\n";

  const test_support::ProcessResult run = test_support::RunProcess(
      KOVA_CLI_PROGRAM, {}, answers, folder.Path().string(), {{"KOVA_THREADS", threads}});
  const fs::path expected = pinned.Folder();
  EXPECT_EQ(std::to_string(run.exitCode) + "\n", ReadWholeFile((expected / "exit-code").string()));
  EXPECT_TRUE(MatchesPinned(run.output, expected / "console.txt"));
  EXPECT_TRUE(MatchesPinned(run.error, expected / "error.txt"));
  EXPECT_TRUE(MatchesPinned(ReadWholeFile(folder.File("RESULTS.TXT")), expected / "RESULTS.TXT"));
}

INSTANTIATE_TEST_SUITE_P(GoldenOutputs, PinnedRunTest,
                         ::testing::Combine(::testing::ValuesIn(ReadPinnedRuns()),
                                            ::testing::Values(std::string("1"), std::string("2"),
                                                              std::string("3"), std::string("8"))),
                         [](const ::testing::TestParamInfo<PinnedRunTest::ParamType>& info) {
                           return std::get<0>(info.param).Name() + "_threads" +
                                  std::get<1>(info.param);
                         });

// The runs of the bundled examples again with the answers as options, from the data file and
// from the example's CSV tables (dune_management's as R wrote them), and with every file the
// options can add, and with the CSV tables typed at the dialogue's prompts: the same console,
// error stream and "RESULTS.TXT" as the piped answers without them. The options refuse a seed
// of 0, so its run is left out here.
std::vector<PinnedRun> ExampleRunsOptionsAccept() {
  std::vector<PinnedRun> runs;
  for (const PinnedRun& run : ReadPinnedRuns()) {
    if (run.input.starts_with("examples/") && run.seed != "0") runs.push_back(run);
  }
  return runs;
}

class OptionRunTest : public ::testing::TestWithParam<std::tuple<PinnedRun, std::string>> {};

TEST_P(OptionRunTest, GivesThePipedAnswersOutputs) {
  const auto& [pinned, form] = GetParam();
  ScratchFolder folder;
  const fs::path input = test_support::SourceFolder() / pinned.input;
  for (const char* file : {"data.txt", "groups.txt", "community.csv", "groups.csv"}) {
    fs::copy_file(input / file, folder.Path() / file);
  }
  std::vector<std::string> arguments = {"--data", "data.txt", "--groups", "groups.txt"};
  if (form == "csv") arguments = {"--community", "community.csv", "--groups", "groups.csv"};
  arguments.insert(arguments.end(), {"--seed", pinned.seed, "--randomizations", pinned.count,
                                     "--species-table", "species.csv", "--summary", "summary.csv",
                                     "--plot", "plot.svg"});
  // The CSV tables typed at the dialogue's prompts are read as the options read them.
  std::string answers;
  if (form == "dialogue_csv") {
    arguments.clear();
    answers = "community.csv\n" + pinned.seed + "\n" + pinned.count + "\ngroups.csv\n";
  }

  const test_support::ProcessResult run =
      test_support::RunProcess(KOVA_CLI_PROGRAM, arguments, answers, folder.Path().string());
  const fs::path expected = pinned.Folder();
  EXPECT_EQ(std::to_string(run.exitCode) + "\n", ReadWholeFile((expected / "exit-code").string()));
  EXPECT_TRUE(MatchesPinned(run.output, expected / "console.txt"));
  EXPECT_TRUE(MatchesPinned(run.error, expected / "error.txt"));
  EXPECT_TRUE(MatchesPinned(ReadWholeFile(folder.File("RESULTS.TXT")), expected / "RESULTS.TXT"));
  if (form == "dialogue_csv") return;
  // And the files are there: a row per species, one per variant, five panels.
  const std::string species = ReadWholeFile(folder.File("species.csv"));
  std::ifstream data(folder.File("data.txt"));
  std::string title;
  std::getline(data, title);
  long speciesCount = 0;
  data >> speciesCount;
  EXPECT_EQ(std::count(species.begin(), species.end(), '\n'), speciesCount + 1);
  const std::string summary = ReadWholeFile(folder.File("summary.csv"));
  EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 6);
  const std::string plot = ReadWholeFile(folder.File("plot.svg"));
  std::size_t panels = 0;
  for (std::size_t at = plot.find("<g class=\"panel\""); at != std::string::npos;
       at = plot.find("<g class=\"panel\"", at + 1)) {
    ++panels;
  }
  EXPECT_EQ(panels, 5U);
}

INSTANTIATE_TEST_SUITE_P(Options, OptionRunTest,
                         ::testing::Combine(::testing::ValuesIn(ExampleRunsOptionsAccept()),
                                            ::testing::Values(std::string("data_file"),
                                                              std::string("csv"),
                                                              std::string("dialogue_csv"))),
                         [](const ::testing::TestParamInfo<OptionRunTest::ParamType>& info) {
                           return std::get<0>(info.param).Name() + "_" + std::get<1>(info.param);
                         });

// The digests above are only as good as the digest function.
TEST(GoldenOutputs, Sha256GivesThePublishedDigests) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: two last blocks
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
  };
  for (const auto& [bytes, digest] : cases) {
    EXPECT_EQ(test_support::Sha256Hex(bytes), digest) << bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace kova
