// kova-cli's files of a completed run, as a process on the bundled examples: the species
// table's type-1 values and groups against the published definition of the indicator value,
// its p-values against a count made species by species over the same groupings, the summary
// against the report's own step sums, the same files for every number of threads, a file
// that cannot be written, and a quiet run on a terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "randomization/run_statistics.h"
#include "randomization/site_shuffle.h"
#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"
#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test_support::ReadWholeFile;
using test_support::ScratchFolder;

void CopyExample(const ScratchFolder& folder, const std::string& example) {
  const fs::path source = test_support::SourceFolder() / "examples" / example;
  for (const char* file : {"data.txt", "groups.txt", "community.csv", "groups.csv"})
    fs::copy_file(source / file, folder.Path() / file);
}

test_support::ProcessResult RunCli(const ScratchFolder& folder,
                                   const std::vector<std::string>& arguments,
                                   const std::map<std::string, std::string>& environment = {}) {
  return test_support::RunProcess(KOVA_CLI_PROGRAM, arguments, "", folder.Path().string(),
                                  environment);
}

std::vector<std::string> Options(const std::string& seed, const std::string& steps) {
  return {"--data", "data.txt", "--groups",         "groups.txt",
          "--seed", seed,       "--randomizations", steps};
}

// A CSV file's rows (after the header) as maps from column to field; fields hold no commas.
std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  std::vector<std::string> columns;
  std::istringstream header(line);
  for (std::string column; std::getline(header, column, ',');)
    columns.push_back(column);
  std::vector<std::map<std::string, std::string>> rows;
  while (std::getline(file, line)) {
    std::map<std::string, std::string>& row = rows.emplace_back();
    std::istringstream fields(line + ",");
    for (std::size_t k = 0; k < columns.size(); ++k)
      std::getline(fields, row[columns[k]], ',');
  }
  return rows;
}

// An example's data file and group file as the analysis reads them.
struct Example {
  int species = 0, sites = 0, groups = 0;
  std::vector<float> abundance;  // species x sites, column by column
  std::vector<std::int32_t> siteGroups;
};

Example ReadExample(const ScratchFolder& folder) {
  Example example;
  std::ifstream data(folder.File("data.txt"));
  std::string title;
  std::getline(data, title);
  data >> example.species >> example.sites >> example.groups;
  example.abundance.resize(static_cast<std::size_t>(example.species * example.sites));
  for (int i = 0; i < example.species; ++i) {
    for (int k = 0; k < example.sites; ++k)
      data >> example.abundance[static_cast<std::size_t>(i + k * example.species)];
  }
  std::ifstream groups(folder.File("groups.txt"));
  example.siteGroups.resize(static_cast<std::size_t>(example.sites));
  for (std::int32_t& group : example.siteGroups)
    groups >> group;
  return example;
}

// Type 1 as Dufrene and Legendre define it, in double precision: the species' relative mean
// abundance in the group times its relative frequency there.
TEST(SpeciesResults, TypeOneValuesAndGroupsOfTheExamplesMatchTheDefinition) {
  for (const char* name : {"dune_management", "mite_shrub", "bci_habitat", "bryceveg_elev5",
                           "syn_s200_n500_g6", "syn_s1000_n1000_g8"}) {
    ScratchFolder folder;
    CopyExample(folder, name);
    std::vector<std::string> arguments = Options("12345", "1");
    arguments.insert(arguments.end(), {"--species-table", "species.csv"});
    ASSERT_EQ(RunCli(folder, arguments).exitCode, 0) << name;
    const auto rows = ReadCsv(folder.File("species.csv"));
    const Example example = ReadExample(folder);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(example.species)) << name;
    for (int i = 0; i < example.species; ++i) {
      const auto groups = static_cast<std::size_t>(example.groups);
      std::vector<double> total(groups), present(groups), size(groups);
      for (int k = 0; k < example.sites; ++k) {
        const auto g =
            static_cast<std::size_t>(example.siteGroups[static_cast<std::size_t>(k)] - 1);
        const double value = example.abundance[static_cast<std::size_t>(i + k * example.species)];
        total[g] += value;
        present[g] += value > 0 ? 1 : 0;
        size[g] += 1;
      }
      double sumOfMeans = 0;
      for (std::size_t g = 0; g < groups; ++g)
        sumOfMeans += total[g] / size[g];
      std::vector<double> indicator(groups);
      std::size_t best = 0;
      for (std::size_t g = 0; g < groups; ++g) {
        indicator[g] =
            sumOfMeans > 0 ? total[g] / size[g] / sumOfMeans * (present[g] / size[g]) : 0;
        if (indicator[g] > indicator[best]) best = g;
      }
      const auto& row = rows[static_cast<std::size_t>(i)];
      const std::string where = std::string(name) + ", species " + std::to_string(i + 1);
      ASSERT_EQ(row.at("species"), std::to_string(i + 1)) << where;
      // Groups whose values differ only by rounding may tie either way; the values reported
      // are computed in double precision at the chosen group.
      const auto chosen = static_cast<std::size_t>(std::stoi(row.at("APCF_group")) - 1);
      EXPECT_NEAR(indicator[chosen], indicator[best], 1e-6) << where;
      EXPECT_NEAR(std::stod(row.at("APCF_value")), indicator[chosen], 1e-14) << where;
      if (indicator[best] == 0) continue;
      EXPECT_NEAR(std::stod(row.at("APCF_A")), total[chosen] / size[chosen] / sumOfMeans, 1e-14)
          << where;
      EXPECT_NEAR(std::stod(row.at("APCF_B")), present[chosen] / size[chosen], 1e-14) << where;
    }
  }
}

// Each step's five tables from the index routines themselves, on the groupings the run's
// seed gives, and each species' maximum found and counted here, ties within the tables'
// rounding included.
TEST(SpeciesResults, PValuesOfA999StepRunAreACountOverTheSameGroupings) {
  constexpr std::int32_t kSteps = 999;
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  std::vector<std::string> arguments = Options("1", std::to_string(kSteps));
  arguments.insert(arguments.end(), {"--species-table", "species.csv", "--summary", "summary.csv"});
  ASSERT_EQ(RunCli(folder, arguments).exitCode, 0);
  const auto rows = ReadCsv(folder.File("species.csv"));

  Example example = ReadExample(folder);
  std::vector<float> presence(example.abundance.size());
  for (std::size_t entry = 0; entry < presence.size(); ++entry)
    presence[entry] = example.abundance[entry] > 0 ? 1.0f : 0.0f;
  const auto species = static_cast<std::size_t>(example.species);
  std::vector<std::int32_t> sizes(static_cast<std::size_t>(example.groups));
  std::vector<float> table(species * static_cast<std::size_t>(example.groups));
  std::vector<float> observed(5 * species);
  std::vector<int> counts(5 * species, 0);
  std::int32_t seed = 1;
  for (std::int32_t step = 1; step <= kSteps; ++step) {
    if (step >= 2) ShuffleSiteGroups(example.siteGroups.data(), example.sites, seed);
    RecountGroupSizes(example.siteGroups.data(), example.sites, sizes.data(), example.groups);
    for (std::int32_t type = 1; type <= 5; ++type) {
      bool computed = false;
      if (type == 1) {
        computed = AbundancePresenceIndex(example.species, example.sites, example.groups,
                                          example.abundance.front(), example.siteGroups.front(),
                                          sizes.front(), presence.front(), table.front());
      } else if (type <= 3) {
        computed = AbundanceIndex(example.species, example.sites, example.groups,
                                  example.siteGroups.front(), sizes.front(),
                                  example.abundance.front(), table.front(), type);
      } else {
        computed = PresenceIndex(example.species, example.sites, example.groups,
                                 example.siteGroups.front(), sizes.front(), presence.front(),
                                 table.front(), type);
      }
      EXPECT_TRUE(computed) << "type " << type;
      for (std::size_t i = 0; i < species; ++i) {
        float maximum = 0.0f;
        for (std::size_t g = 0; g < static_cast<std::size_t>(example.groups); ++g) {
          const float entry = table[i + g * species];
          if (std::fabs(entry) > std::fabs(maximum)) maximum = entry;
        }
        const std::size_t at = static_cast<std::size_t>(type - 1) * species + i;
        if (step == 1) observed[at] = std::fabs(maximum);
        const double tolerance =
            ValueTieTolerance(type, example.sites, example.groups, observed[at]);
        counts[at] += std::fabs(maximum) >= observed[at] - tolerance ? 1 : 0;
      }
    }
  }
  const char* codes[] = {"APCF", "ACF", "ASF", "PCF", "PSF"};
  int belowOne = 0;
  for (std::size_t type = 0; type < 5; ++type) {
    for (std::size_t i = 0; i < species; ++i) {
      const double p = std::stod(rows[i].at(std::string(codes[type]) + "_p"));
      EXPECT_EQ(p, counts[type * species + i] / static_cast<double>(kSteps))
          << codes[type] << ", species " << i + 1;
      belowOne += p < 0.05 ? 1 : 0;
    }
  }
  EXPECT_GT(belowOne, 10);  // dune meadows have indicator species
}

// The summary's values are those of the final table, and its p-value counts the sums that
// "RESULTS.TXT" reports.
TEST(SpeciesResults, TheSummaryAgreesWithTheReport) {
  ScratchFolder folder;
  CopyExample(folder, "mite_shrub");
  std::vector<std::string> arguments = Options("12345", "500");
  arguments.insert(arguments.end(), {"--summary", "summary.csv"});
  const auto run = RunCli(folder, arguments);
  ASSERT_EQ(run.exitCode, 0);
  std::vector<std::vector<double>> sums(5);
  std::istringstream results(ReadWholeFile(folder.File("RESULTS.TXT")));
  for (std::string line; std::getline(results, line);) {
    int type = 0;
    double sum = 0;
    if (std::sscanf(line.c_str(), "  Borsak %d  SUM= %lf", &type, &sum) == 2) {
      sums[static_cast<std::size_t>(type - 1)].push_back(sum);
    }
  }
  const auto rows = ReadCsv(folder.File("summary.csv"));
  ASSERT_EQ(rows.size(), 5U);
  const char* codes[] = {"\"APCF\"", "\"ACF\"", "\"ASF\"", "\"PCF\"", "\"PSF\""};
  for (std::size_t type = 0; type < 5; ++type) {
    const auto& row = rows[type];
    EXPECT_EQ(row.at("index"), codes[type]);
    ASSERT_EQ(sums[type].size(), 500U);
    const double observed = std::stod(row.at("observed"));
    EXPECT_NEAR(observed, sums[type][0], 1e-5 * observed);
    const auto atLeast = std::count_if(sums[type].begin(), sums[type].end(),
                                       [&](double sum) { return sum >= sums[type][0]; });
    EXPECT_EQ(std::stod(row.at("p")), static_cast<double>(atLeast) / 500) << codes[type];
    EXPECT_NEAR(std::stod(row.at("z")),
                (observed - std::stod(row.at("mean"))) / std::stod(row.at("sd")), 1e-5);
    // The console's final row shows the same observed sum and z-score, rounded.
    const std::string code =
        std::string(codes[type]).substr(1, std::string(codes[type]).size() - 2);
    const std::size_t at = run.output.find("\r\n " + code + " ");
    ASSERT_NE(at, std::string::npos) << code;
    double printedObserved = 0, printedMean = 0, printedZ = 0;
    std::istringstream(run.output.substr(at + 2 + 1 + 4)) >> printedObserved >> printedMean >>
        printedZ;
    EXPECT_NEAR(printedObserved, observed, 1e-5 * observed);
    EXPECT_NEAR(printedZ, std::stod(row.at("z")), 1e-4 * std::fabs(printedZ));
  }
}

TEST(SpeciesResults, EveryNumberOfThreadsWritesTheSameFiles) {
  ScratchFolder folder;
  CopyExample(folder, "syn_s200_n500_g6");
  std::vector<std::string> arguments = {
      "--community", "community.csv",    "--groups", "groups.csv",      "--seed",
      "1001",        "--randomizations", "60",       "--species-table", "species.csv",
      "--summary",   "summary.csv",      "--plot",   "plot.svg"};
  std::string expected[3];
  for (const char* threads : {"1", "2", "3"}) {
    ASSERT_EQ(RunCli(folder, arguments, {{"KOVA_THREADS", threads}}).exitCode, 0) << threads;
    const std::string files[3] = {ReadWholeFile(folder.File("species.csv")),
                                  ReadWholeFile(folder.File("summary.csv")),
                                  ReadWholeFile(folder.File("plot.svg"))};
    for (int k = 0; k < 3; ++k) {
      if (expected[k].empty()) expected[k] = files[k];
      EXPECT_TRUE(files[k] == expected[k]) << "file " << k << ", " << threads << " threads";
    }
  }
  EXPECT_EQ(std::count(expected[0].begin(), expected[0].end(), '\n'), 201);
}

TEST(SpeciesResults, AFileThatCannotBeWrittenEndsWithCodeThreeAfterEverythingElse) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  ScratchFolder plain;
  CopyExample(plain, "dune_management");
  std::vector<std::string> arguments = Options("1", "20");
  const auto expected = RunCli(plain, arguments);
  arguments.insert(arguments.end(), {"--summary", "/dev/full", "--plot", "plot.svg"});
  const auto run = RunCli(folder, arguments);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_EQ(run.output, expected.output);
  EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")), ReadWholeFile(plain.File("RESULTS.TXT")));
  EXPECT_EQ(run.error,
            "kova-cli: /dev/full: could not be written (No space left on device); the console and "
            "RESULTS.TXT are complete\n STOP  \n");
  EXPECT_NE(ReadWholeFile(folder.File("plot.svg")).find("</svg>"), std::string::npos);
}

// The console's report of indicator species lists, group by group, exactly the species of the
// species table whose APCF p-value is at most alpha, the strongest first.
TEST(SpeciesResults, TheSpeciesReportListsTheTablesIndicatorsByGroup) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  for (const char* alpha : {"0.05", "0.2"}) {
    SCOPED_TRACE(alpha);
    const auto run = RunCli(folder, {"--community", "community.csv", "--groups", "groups.csv",
                                     "--seed", "1", "--randomizations", "999", "--quiet",
                                     "--species-table", "species.csv", "--species-report",
                                     "--alpha", alpha});
    ASSERT_EQ(run.exitCode, 0) << run.error;
    // Label -> species, as the table gives them (its fields quoted) and as the report lists them.
    std::map<std::string, std::vector<std::pair<double, std::string>>> fromTable;
    for (const auto& row : ReadCsv(folder.File("species.csv"))) {
      if (row.at("APCF_p") == "NA" || std::stod(row.at("APCF_p")) > std::stod(alpha)) continue;
      fromTable["\"" + row.at("APCF_label").substr(1, 2) + "\""].emplace_back(
          -std::stod(row.at("APCF_value")), row.at("name"));
    }
    std::map<std::string, std::string> expected;
    for (auto& [label, species] : fromTable) {
      std::stable_sort(species.begin(), species.end());
      for (const auto& [value, name] : species)
        expected[label] += " " + name;
    }
    std::map<std::string, std::string> listed;
    std::string group;
    std::istringstream report(run.output.substr(run.output.find(" Indicator species:")));
    for (std::string line; std::getline(report, line);) {
      std::istringstream words(line);
      std::vector<std::string> word(std::istream_iterator<std::string>(words), {});
      if (word.size() >= 2 && word[0] == "Group") {
        group = "\"" + word[1].substr(0, word[1].size() - 1) + "\"";
      } else if (word.size() == 5 && word[0] != "species" && word[1] != "species") {
        listed[group] += " \"" + word[0] + "\"";
      }
    }
    EXPECT_EQ(listed, expected);
    EXPECT_NE(run.output.find(std::to_string(30) + " species tested, "), std::string::npos);
  }
}

// What a run writes cannot be turned against the user's files: a link to "RESULTS.TXT" named
// as a result file is refused even while the file is not there, a link to another file is
// written through, a file that cannot be written whole leaves its older version as it was,
// and a program started without standard output does not write its console into the first
// file it opens.
TEST(SpeciesResults, FilesAreWrittenWholeAndOnlyWhereTheyAreMeant) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  namespace fs = std::filesystem;
  std::vector<std::string> arguments = Options("1", "20");
  arguments.insert(arguments.end(), {"--species-table", "link.csv"});

  fs::create_symlink("RESULTS.TXT", folder.Path() / "link.csv");
  const auto refused = RunCli(folder, arguments);
  EXPECT_EQ(refused.exitCode, 2) << refused.error;
  EXPECT_FALSE(fs::exists(folder.Path() / "RESULTS.TXT"));
  fs::remove(folder.Path() / "link.csv");

  fs::create_symlink("species.csv", folder.Path() / "link.csv");
  ASSERT_EQ(RunCli(folder, arguments).exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.csv"));
  const std::string species = ReadWholeFile(folder.File("species.csv"));
  EXPECT_EQ(species.rfind("species,name,", 0), 0U);

  // A limit on the size of files the process may write stands for a full disk: the results
  // file fits, the species table does not.
  folder.Write("species.csv", "older\n");
  const std::string command = "trap '' XFSZ; ulimit -f 4; exec " + std::string(KOVA_CLI_PROGRAM) +
                              " --data data.txt --groups groups.txt --seed 1 --randomizations 2 "
                              "--species-table link.csv";
  const auto full = test_support::RunProcess("/bin/sh", {"-c", command}, "", folder.Path().string());
  EXPECT_EQ(full.exitCode, 3) << full.error;
  EXPECT_EQ(ReadWholeFile(folder.File("species.csv")), "older\n");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder.Path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"RESULTS.TXT", "community.csv", "data.txt",
                                            "groups.csv", "groups.txt", "link.csv",
                                            "species.csv"}));

  const auto closed = test_support::RunProcess(
      "/bin/sh", {"-c", std::string(KOVA_CLI_PROGRAM) + " --data data.txt --groups groups.txt "
                  "--seed 1 --randomizations 2 >&-"},
      "", folder.Path().string());
  EXPECT_EQ(closed.exitCode, 0) << closed.error;
  EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")).rfind("  Randomization step   1\r\n", 0), 0U);
}

// kova-cli with its error stream on a pseudo-terminal and its output on a pipe.
struct TerminalRun {
  int exitCode = -1;
  std::string output;
  std::string terminal;
};

TerminalRun RunWithErrorsOnATerminal(const ScratchFolder& folder,
                                     const std::vector<std::string>& arguments) {
  int terminal = -1, device = -1, output[2];
  if (::openpty(&terminal, &device, nullptr, nullptr, nullptr) != 0 || ::pipe(output) != 0) {
    ADD_FAILURE() << "no pseudo-terminal";
    return {};
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(device, STDERR_FILENO);
    ::dup2(output[1], STDOUT_FILENO);
    ::close(STDIN_FILENO);
    if (::chdir(folder.Path().c_str()) != 0) ::_exit(127);
    std::vector<char*> argv = {const_cast<char*>(KOVA_CLI_PROGRAM)};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(KOVA_CLI_PROGRAM, argv.data());
    ::_exit(127);
  }
  ::close(device);
  ::close(output[1]);
  TerminalRun run;
  pollfd streams[2] = {{terminal, POLLIN, 0}, {output[0], POLLIN, 0}};
  std::string* texts[2] = {&run.terminal, &run.output};
  int open = 2;
  while (open > 0 && ::poll(streams, 2, 20000) > 0) {
    for (int k = 0; k < 2; ++k) {
      if (streams[k].fd < 0 || streams[k].revents == 0) continue;
      char buffer[4096];
      const ssize_t count = ::read(streams[k].fd, buffer, sizeof buffer);
      if (count <= 0) {  // a closed pipe, or a terminal whose last holder has gone (EIO)
        ::close(streams[k].fd);
        streams[k].fd = -1;
        --open;
      } else {
        texts[k]->append(buffer, static_cast<std::size_t>(count));
      }
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(SpeciesResults, AQuietRunShowsOneProgressLineOnATerminalAndNoSteps) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  ScratchFolder plain;
  CopyExample(plain, "dune_management");
  const auto loud = RunCli(plain, Options("1", "999"));
  std::vector<std::string> arguments = Options("1", "999");
  arguments.push_back("--quiet");
  const TerminalRun run = RunWithErrorsOnATerminal(folder, arguments);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")), ReadWholeFile(plain.File("RESULTS.TXT")));
  // The prompts and the final table, without a step between them.
  const std::size_t table = loud.output.rfind(" \r\n  INDEX");
  EXPECT_EQ(run.output, loud.output.substr(0, loud.output.find("  Randomization step")) +
                            loud.output.substr(table));
  // The line is drawn at the first step, redrawn in place, and erased before the stop.
  EXPECT_EQ(run.terminal.rfind("\rstep 1 of 999 (0 %)\x1b[K", 0), 0U) << run.terminal;
  EXPECT_NE(run.terminal.find("\r\x1b[K STOP  \r\n"), std::string::npos) << run.terminal;
  EXPECT_EQ(run.terminal.find('\n'), run.terminal.size() - 1) << run.terminal;

  // Off a terminal, no line at all.
  const auto piped = RunCli(folder, arguments);
  EXPECT_EQ(piped.error, " STOP  \n");
  EXPECT_EQ(piped.output, run.output);
}

}  // namespace
}  // namespace kova
