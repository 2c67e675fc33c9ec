// Every fault of a run's files and seed that the checked reading finds before anything is
// written, as the one line kova-cli ends such a run with: where it is, what stands there and
// what was expected.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "inputs/checked_inputs.h"
#include "tests/inputs/input_files_request.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

using test_support::ScratchFolder;

// Two species at four sites in two groups, in both forms.
const std::map<std::string, std::string> kTables = {
    {"data.txt", "two species\n2 4 2\n1 0 2 0.5\n0 3 0 2.5E-1\n"},
    {"groups.txt", "1 1 2 2\n"},
    {"community.csv",
     "\"\",\"sp1\",\"sp2\"\n\"s1\",1,0\n\"s2\",0,3\n\"s3\",2,0\n\"s4\",0.5,2.5e-1\n"},
    {"groups.csv", "\"site\",\"group\"\n\"s1\",\"a\"\n\"s2\",\"a\"\n\"s3\",\"b\"\n\"s4\",\"b\"\n"},
};

InputFiles Files(const std::string& table, const std::string& groups, std::int32_t seed = 5,
                 std::int32_t randomizations = 3) {
  return test_support::Request(table,
                               table.ends_with(".csv") ? TableForm::Csv : TableForm::DataFile,
                               groups, seed, randomizations);
}

struct FaultCase {
  FaultCase(InputFiles files, std::string fault, std::map<std::string, std::string> written = {})
      : files(std::move(files)), fault(std::move(fault)), written(std::move(written)) {}

  InputFiles files;
  std::string fault;                           // the line kova-cli writes, without its start
  std::map<std::string, std::string> written;  // over the two tables
};

// Each case reads in a folder with both tables, whatever else it writes.
void ExpectFaults(const std::vector<FaultCase>& cases) {
  for (const FaultCase& c : cases) {
    ScratchFolder folder;
    for (const auto& [name, contents] : kTables)
      folder.Write(name, contents);
    for (const auto& [name, contents] : c.written)
      folder.Write(name, contents);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    AnalysisData data;
    const auto fault = ReadCheckedInputs(c.files, data);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(fault) << c.fault;
    EXPECT_EQ(FaultLine(*fault, "kova-cli"), "kova-cli: " + c.fault);
  }
}

TEST(InputFaults, DataFile) {
  const std::string rows = "2 rows of 4 values, as the header says";
  ExpectFaults({
      // The header says 3 sites where the rows hold 4.
      {Files("data.txt", "groups.txt"),
       "data.txt, line 3: \"0.5\", a value beyond the 3 of species 1; expected 3 values in each "
       "species row, as the header's number of sites says",
       {{"data.txt", "t\n2 3 2\n1 0 2 0.5\n0 3 0 2.5E-1\n"}}},
      // The header says 5 sites: the first row takes the first value of the second.
      {Files("data.txt", "groups.txt"),
       "data.txt, line 4: \"3\" left over after the 5 values of species 1, which begin on line "
       "3; expected each species row to end with its value for site 5, as the header's number "
       "of sites says",
       {{"data.txt", "t\n2 5 2\n1 0 2 0.5\n0 3 0 2.5E-1\n"}}},
      {Files("data.txt", "groups.txt"),
       "data.txt, line 4: \"NA\" as the abundance of species 2 at site 2; expected a number, "
       "such as 3, 0.5 or 2.5E-1",
       {{"data.txt", "t\n2 4 2\n1 0 2 0.5\n0 NA 0 1\n"}}},
      {Files("data.txt", "groups.txt"),
       "data.txt, line 3: \"Infinity\" as the abundance of species 1 at site 3; expected a "
       "number, such as 3, 0.5 or 2.5E-1",
       {{"data.txt", "t\n2 4 2\n1 0 Infinity 0\n0 1 0 1\n"}}},
      {Files("data.txt", "groups.txt"),
       "data.txt, line 6: \"7\" after the last species row; expected 2 species rows, as the "
       "header says",
       {{"data.txt", "t\n2 4 2\n1 0 2 0\n0 3 0 1\n\n7\n"}}},
      {Files("data.txt", "groups.txt"),
       "data.txt, line 4: the file ends within the row of species 2, after 2 of its 4 values; "
       "expected " +
           rows,
       {{"data.txt", "t\n2 4 2\n1 0 2 0\n0 3\n"}}},
      {Files("data.txt", "groups.txt"),
       "data.txt, line 2: \"4.0\" as the number of sites; expected a whole number from 1 to "
       "2147483647",
       {{"data.txt", "t\n2 4.0 2\n"}}},
      {Files("data.txt", "groups.txt"),
       "data.txt: 5 groups for 4 sites; expected no more groups than sites, since every group "
       "needs a site",
       {{"data.txt", "t\n2 4 5\n1 0 2 0\n0 3 0 1\n"}}},
  });
}

TEST(InputFaults, GroupFile) {
  const std::string perSite = "expected one group number for each site, 4 in all";
  ExpectFaults({
      {Files("data.txt", "groups.txt"),
       "groups.txt, line 2: \"1\", a group number beyond the 4 sites; " + perSite,
       {{"groups.txt", "1 1 2 2\n1\n"}}},
      {Files("data.txt", "groups.txt"),
       "groups.txt, line 1: the group numbers end after 3 of them; " + perSite,
       {{"groups.txt", "1 1 2\n"}}},
      {Files("data.txt", "groups.txt"),
       "groups.txt, line 1: \"3\" as the group of site 4; expected a whole number from 1 to 2, "
       "the number of groups the data file gives",
       {{"groups.txt", "1 1 2 3\n"}}},
      {Files("data.txt", "groups.txt"),
       "groups.txt, line 1: an empty value as the group of site 2; expected a whole number from "
       "1 to 2, the number of groups the data file gives",
       {{"groups.txt", "1,,2 2\n"}}},
      // The header has one group more than the group file uses.
      {Files("data.txt", "groups.txt"),
       "groups.txt: no site in group 3; expected a site in every group from 1 to 3 (the number "
       "of groups the data file gives)",
       {{"data.txt", "t\n2 4 3\n1 0 2 0\n0 3 0 1\n"}}},
  });
}

TEST(InputFaults, Csv) {
  const std::string community = "\"\",\"sp1\",\"sp2\"\n\"s1\",1,0\n";
  const std::string number = "expected a number, such as 3, 0.5 or 2.5e-1";
  ExpectFaults({
      {Files("community.csv", "groups.csv"),
       "community.csv, line 3: 2 fields; expected 3 fields, as the header has: the site's name "
       "and 2 species",
       {{"community.csv", community + "\"s2\",0\n\"s3\",2,0\n\"s4\",0,1\n"}}},
      {Files("community.csv", "groups.csv"),
       "community.csv, line 3: \"NA\" for species \"sp2\" at site \"s2\"; " + number,
       {{"community.csv", community + "\"s2\",0,NA\n\"s3\",2,0\n\"s4\",0,1\n"}}},
      {Files("community.csv", "groups.csv"),
       "community.csv, line 4: an empty field for species \"sp1\" at site \"s3\"; " + number,
       {{"community.csv", community + "\"s2\",0,3\n\"s3\",,0\n\"s4\",0,1\n"}}},
      {Files("community.csv", "groups.csv"),
       "community.csv, line 5: site \"s4\", which groups.csv does not name; expected every site "
       "of the community in the groups file",
       {{"groups.csv", "site,group\ns1,a\ns2,a\ns3,b\n"}}},
      {Files("community.csv", "groups.csv"),
       "groups.csv, line 6: site \"s1\" again, first on line 2; expected each site once",
       {{"groups.csv", "site,group\ns1,a\ns2,a\ns3,b\ns4,b\ns1,b\n"}}},
      {Files("community.csv", "groups.csv"),
       "groups.csv, line 6: site \"s5\", which community.csv does not have; expected only the "
       "sites of the community",
       {{"groups.csv", "site,group\ns1,a\ns2,a\ns3,b\ns4,b\ns5,b\n"}}},
      {Files("community.csv", "groups.csv"),
       "community.csv, line 5: site \"s2\" again, first on line 3; expected each site once",
       {{"community.csv", community + "\"s2\",0,3\n\"s3\",2,0\n\"s2\",0,1\n"}}},
      {Files("community.csv", "groups.csv"),
       "community.csv, line 5: a quoted field that the file never closes; expected a closing "
       "double quote",
       {{"community.csv", community + "\"s2\",0,3\n\"s3\",2,0\n\"s4,0,1\n"}}},
      {Files("community.csv", "groups.csv"),
       "groups.csv, line 3: \"NA\" for site \"s2\"; expected a group label for every site",
       {{"groups.csv", "site,group\ns1,a\ns2,NA\ns3,b\ns4,b\n"}}},
      {Files("community.csv", "groups.csv"),
       "community.csv, line 3: \"-3\" for species \"sp2\" at site \"s2\"; expected an "
       "abundance of 0 or more, such as a count, a cover or a biomass",
       {{"community.csv", community + "\"s2\",0,-3\n\"s3\",2,0\n\"s4\",0,1\n"}}},
      {Files("community.csv", "groups.txt"),
       "groups.txt: 5 group numbers for the 4 sites of community.csv; expected one group number "
       "for each site",
       {{"groups.txt", "1 1 2 2 2\n"}}},
  });
}

TEST(InputFaults, SeedsThatCannotRandomize) {
  const std::string expected =
      "expected a seed whose random numbers do not repeat within the run: any odd seed for runs "
      "of up to 931166 draws (sites times randomizations less one), 12345 for any run";
  auto withSeed = [](const std::string& seed) {
    return Files("data.txt", "groups.txt", std::stoi(seed), 20);
  };
  ExpectFaults({
      {withSeed("0"),
       "--seed 0: random numbers that repeat from draw 2 on, within the 76 draws "
       "the run makes; " +
           expected},
      {withSeed("-2147483648"),
       "--seed -2147483648: random numbers that repeat from draw 2 on, "
       "within the 76 draws the run makes; " +
           expected},
      {withSeed("16777216"),
       "--seed 16777216: random numbers that repeat from draw 11 on, "
       "within the 76 draws the run makes; " +
           expected},
      {withSeed("1073741824"),
       "--seed 1073741824: random numbers that repeat from draw 2 on, "
       "within the 76 draws the run makes; " +
           expected},
  });
}

}  // namespace
}  // namespace kova
