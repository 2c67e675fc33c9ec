// kova-cli with options, as a process on real files: every fault in the options, the data
// file, the group file, the CSV tables or the seed ends the run with one line on standard
// error and exit code 2 before anything is written; valid CSV tables, as R and spreadsheets
// write them, give the results of the same table in the data-file form.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

using test_support::ReadWholeFile;
using test_support::ScratchFolder;

// Two species at four sites in two groups, in both forms.
const std::map<std::string, std::string> kTables = {
    {"data.txt", "two species\n2 4 2\n1 0 2 0.5\n0 3 0 2.5E-1\n"},
    {"groups.txt", "1 1 2 2\n"},
    {"community.csv", "\"\",\"sp1\",\"sp2\"\n\"s1\",1,0\n\"s2\",0,3\n\"s3\",2,0\n\"s4\",0.5,2.5e-1\n"},
    {"groups.csv", "\"site\",\"group\"\n\"s1\",\"a\"\n\"s2\",\"a\"\n\"s3\",\"b\"\n\"s4\",\"b\"\n"},
};
const std::string kOldResults = "earlier results\r\n";

struct FaultCase {
  FaultCase(std::vector<std::string> arguments, std::string fault,
            std::map<std::string, std::string> files = {})
      : arguments(std::move(arguments)), fault(std::move(fault)), files(std::move(files)) {}

  std::vector<std::string> arguments;
  std::string fault;                          // the line on standard error, without its start
  std::map<std::string, std::string> files;  // written over the two tables
};

std::vector<std::string> Arguments(const std::string& table, const std::string& groups,
                                   const std::string& seed = "5",
                                   const std::string& randomizations = "3",
                                   const std::vector<std::string>& more = {}) {
  const bool csv = table.ends_with(".csv");
  std::vector<std::string> arguments = {csv ? "--community" : "--data", table, "--groups", groups,
                                        "--seed", seed, "--randomizations", randomizations};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

// Each case runs in a folder with both tables and an older "RESULTS.TXT".
void ExpectFaults(const std::vector<FaultCase>& cases) {
  for (const FaultCase& c : cases) {
    ScratchFolder folder;
    for (const auto& [name, contents] : kTables)
      folder.Write(name, contents);
    for (const auto& [name, contents] : c.files)
      folder.Write(name, contents);
    folder.Write("RESULTS.TXT", kOldResults);
    const auto run = test_support::RunProcess(KOVA_CLI_PROGRAM, c.arguments, "", folder.Path().string());
    EXPECT_EQ(run.exitCode, 2) << c.fault;
    EXPECT_EQ(run.error, "kova-cli: " + c.fault + "\n");
    EXPECT_EQ(run.output, "") << c.fault;
    EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")), kOldResults) << c.fault;
  }
}

TEST(CommandLine, OptionFaults) {
  const std::string seedRange = "a whole number from -2147483648 to 2147483647";
  const std::string countRange = "a whole number from 1 to 2147483647";
  const std::string options =
      "--data, --community, --groups, --seed, --randomizations, --blocks, --combinations, "
      "--max-order, --rg, --bootstrap, --ci, --species-table, --summary, --plot, "
      "--species-report, --alpha, --quiet, --help or --version";
  auto withSeed = [](const std::string& seed) { return Arguments("data.txt", "groups.txt", seed); };
  ExpectFaults({
      {{"--frobnicate"}, "\"--frobnicate\": an unknown option; expected " + options},
      {{"data.txt"}, "\"data.txt\": an argument without an option; expected " + options},
      {{"--data", "data.txt", "--seed"}, "--seed: no value; expected " + seedRange},
      {{"--data", "--groups", "groups.txt"}, "--data: no value; expected the name of a data file"},
      {{"--data="}, "--data: no value; expected the name of a data file"},
      {withSeed("1.5"), "--seed: \"1.5\"; expected " + seedRange},
      {withSeed("2147483648"), "--seed: \"2147483648\"; expected " + seedRange},
      {Arguments("data.txt", "groups.txt", "5", "0"), "--randomizations: \"0\"; expected " + countRange},
      {Arguments("data.txt", "groups.txt", "5", "ten"),
       "--randomizations: \"ten\"; expected " + countRange},
      {{"--seed=1", "--seed", "2"}, "--seed: given twice; expected each option once"},
      {{"--data", "data.txt", "--seed", "1", "--randomizations", "9"},
       "--groups: missing; expected the name of a groups file"},
      {{"--groups", "groups.txt", "--seed", "1", "--randomizations", "9"},
       "--data or --community: missing; expected one of --data FILE and --community FILE.csv"},
      {{"--data", "data.txt", "--community", "community.csv"},
       "--data and --community: both given; expected one of --data FILE and --community FILE.csv"},
      {Arguments("data.txt", "groups.csv"),
       "--groups groups.csv: a CSV groups file, whose sites are named, with a data file, whose "
       "sites are not; expected a groups file of numbers with --data, or --community with a CSV"},
      {Arguments("absent.txt", "groups.txt"),
       "absent.txt: cannot be opened (No such file or directory); expected a readable file"},
      {Arguments("data.txt", "."), ".: cannot be read (Is a directory); expected a readable file"},
      {{"--quiet=yes"}, "--quiet: \"yes\"; expected no value"},
      // Options that shape a statistic need their statistic, and a level below 1.
      {Arguments("community.csv", "groups.csv", "5", "3", {"--max-order", "2"}),
       "--max-order: without --combinations; expected --combinations beside --max-order"},
      {Arguments("data.txt", "groups.txt", "5", "3", {"--blocks", "blocks.csv"}),
       "--blocks: without --community; expected --community beside --blocks"},
      {Arguments("community.csv", "groups.csv", "5", "3", {"--bootstrap", "99", "--ci", "1"}),
       "--ci: \"1\"; expected a number above 0 and below 1, such as 0.95"},
      {{"--quiet", "--quiet"}, "--quiet: given twice; expected each option once"},
  });
}

// The files to write once the run completes are checked before it starts, as the inputs are.
TEST(CommandLine, ResultFileFaults) {
  const auto with = [](std::vector<std::string> more) {
    std::vector<std::string> arguments = Arguments("data.txt", "groups.txt");
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
  };
  const std::string own = "a file of its own for each of --species-table, --summary and --plot";
  ExpectFaults({
      {with({"--plot"}), "--plot: no value; expected the name of an SVG file to write"},
      {with({"--summary", "--quiet"}),
       "--summary: no value; expected the name of a CSV file to write"},
      {with({"--species-table", "none/species.csv"}),
       "--species-table none/species.csv: cannot be written (No such file or directory); "
       "expected a file in a folder that exists and can be written"},
      {with({"--plot", "."}), "--plot .: a folder; expected the name of an SVG file to write"},
      {with({"--summary", "groups.txt"}),
       "--summary groups.txt: the file groups.txt, which the run reads; expected another file "
       "for the run to write"},
      {with({"--species-table", "./RESULTS.TXT"}),
       "--species-table ./RESULTS.TXT: the file RESULTS.TXT, which the run writes; expected "
       "another file for the run to write"},
      {with({"--species-table", "out.csv", "--summary", "./out.csv"}),
       "--summary ./out.csv: the file --species-table names; expected " + own},
  });
}

// The checked reading's faults are tested in-process (tests/inputs); a few here show the
// whole program's refusal: one line, exit code 2, nothing written.
TEST(CommandLine, InputFaultsEndTheRunBeforeAnythingIsWritten) {
  const std::string community = "\"\",\"sp1\",\"sp2\"\n\"s1\",1,0\n";
  ExpectFaults({
      {Arguments("data.txt", "groups.txt"),
       "groups.txt, line 1: the group numbers end after 3 of them; expected one group number "
       "for each site, 4 in all",
       {{"groups.txt", "1 1 2\n"}}},
      {Arguments("community.csv", "groups.csv"),
       "community.csv, line 3: \"-3\" for species \"sp2\" at site \"s2\"; expected an "
       "abundance of 0 or more, such as a count, a cover or a biomass",
       {{"community.csv", community + "\"s2\",0,-3\n\"s3\",2,0\n\"s4\",0,1\n"}}},
      {Arguments("data.txt", "groups.txt", "0", "20"),
       "--seed 0: random numbers that repeat from draw 2 on, within the 76 draws the run makes; "
       "expected a seed whose random numbers do not repeat within the run: any odd seed for runs "
       "of up to 931166 draws (sites times randomizations less one), 12345 for any run"},
  });
}

// Runs kova-cli with the arguments in a folder holding `files` and returns "RESULTS.TXT".
std::string ResultsOf(const std::map<std::string, std::string>& files,
                      const std::vector<std::string>& arguments) {
  ScratchFolder folder;
  for (const auto& [name, contents] : files)
    folder.Write(name, contents);
  const auto run = test_support::RunProcess(KOVA_CLI_PROGRAM, arguments, "", folder.Path().string());
  EXPECT_EQ(run.exitCode, 0) << run.error;
  return ReadWholeFile(folder.File("RESULTS.TXT"));
}

// The same table as CSV in the forms R's write.csv and write.csv2 and spreadsheets give it,
// and groupings by labels, numbers and site order: every one the results of the data file.
TEST(CommandLine, CsvFormsGiveTheDataFileResults) {
  const struct {
    const char* form;
    std::string community;
    std::string groups;
  } cases[] = {
      {"write.csv", kTables.at("community.csv"), kTables.at("groups.csv")},
      {"write.csv2: semicolons and decimal commas",
       "\"\";\"sp1\";\"sp2\"\n\"s1\";1;0\n\"s2\";0;3\n\"s3\";2;0\n\"s4\";0,5;2,5e-1\n",
       "\"site\";\"group\"\n\"s1\";\"a\"\n\"s2\";\"a\"\n\"s3\";\"b\"\n\"s4\";\"b\"\n"},
      {"a byte-order mark, CR LF, blanks and bare names",
       "\xEF\xBB\xBF,sp1,sp2\r\ns1, 1, 0\r\ns2 , 0 ,3\r\ns3,2,0\r\ns4,0.5,2.5e-1\r\n",
       "\xEF\xBB\xBFsite,group\r\ns1,a\r\ns2,a\r\ns3,b\r\ns4,b\r\n"},
      {"names with separators, quotes and line ends",
       "\"\",\"sp, \"\"one\"\"\",\"sp\ntwo\"\n\"s,1\",1,0\n\"s2\",0,3\n\"s3\",2,0\n\"s4\",0.5,2.5e-1\n",
       "site,group\n\"s,1\",a\ns2,a\ns3,b\ns4,b\n"},
      {"sites in another order in the groups file", kTables.at("community.csv"),
       "site,group\ns4,b\ns2,a\ns3,b\ns1,a\n"},
      {"labels numbered in sorted order", kTables.at("community.csv"),
       "site,group\ns1,Few\ns2,Few\ns3,Many\ns4,Many\n"},
      {"whole-number labels", kTables.at("community.csv"), "site,group\ns1,1\ns2,1\ns3,2\ns4,2\n"},
      {"group numbers in site order", kTables.at("community.csv"), "1 1\n2 2\n"},
  };
  const std::string expected = ResultsOf(kTables, Arguments("data.txt", "groups.txt", "5", "1"));
  ASSERT_NE(expected, "");
  for (const auto& c : cases) {
    const std::string groups = c.groups.find(',') != std::string::npos ||
                                       c.groups.find(';') != std::string::npos
                                   ? "g.csv"
                                   : "g.txt";
    EXPECT_EQ(ResultsOf({{"c.csv", c.community}, {groups, c.groups}},
                        Arguments("c.csv", groups, "5", "1")),
              expected)
        << c.form;
  }
  // Labels in another sorted order number the groups the other way round.
  EXPECT_NE(ResultsOf({{"c.csv", kTables.at("community.csv")},
                       {"g.csv", "site,group\ns1,b\ns2,b\ns3,a\ns4,a\n"}},
                      Arguments("c.csv", "g.csv", "5", "1")),
            expected);
}

TEST(CommandLine, HelpListsEveryOptionAndVersionTheVersion) {
  ScratchFolder folder;
  const auto help = test_support::RunProcess(KOVA_CLI_PROGRAM, {"--help"}, "", folder.Path().string());
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--data", "--community", "--groups", "--seed", "--randomizations",
                             "--species-table", "--summary", "--plot", "--quiet", "--help",
                             "--version"}) {
    EXPECT_NE(help.output.find(option), std::string::npos) << option;
  }
  const auto version =
      test_support::RunProcess(KOVA_CLI_PROGRAM, {"--version"}, "", folder.Path().string());
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, "kova-cli " KOVA_VERSION "\n");
  EXPECT_FALSE(std::filesystem::exists(folder.File("RESULTS.TXT")));
}

}  // namespace
}  // namespace kova
