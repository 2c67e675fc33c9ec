// The checked reading of a run started with options: it fills the data exactly as the
// dialogue's reader does, for every form of a valid file the reader takes (the same counts,
// the same group numbers and the same bits in every abundance); it refuses tables that would
// run to meaningless results; it numbers group labels as R does.
#include "inputs/checked_data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "inputs/checked_inputs.h"
#include "inputs/input_files.h"
#include "inputs/number_forms.h"
#include "tests/support/console_capture.h"
#include "tests/inputs/input_files_request.h"
#include "tests/support/scratch_folder.h"
#include "textio/numeric_conversion.h"
#include "textio/units.h"

namespace kova {
namespace {

using test_support::Request;

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

void ExpectSameTables(const AnalysisData& checked, const AnalysisData& expected) {
  EXPECT_EQ(checked.speciesCount, expected.speciesCount);
  EXPECT_EQ(checked.siteCount, expected.siteCount);
  EXPECT_EQ(checked.groupCount, expected.groupCount);
  ASSERT_EQ(checked.abundanceMatrix.Size(), expected.abundanceMatrix.Size());
  EXPECT_EQ(std::memcmp(checked.abundanceMatrix.Data(), expected.abundanceMatrix.Data(),
                        sizeof(float) * checked.abundanceMatrix.Size()),
            0);
  ASSERT_EQ(checked.siteGroups.Size(), expected.siteGroups.Size());
  EXPECT_EQ(std::memcmp(checked.siteGroups.Data(), expected.siteGroups.Data(),
                        sizeof(std::int32_t) * checked.siteGroups.Size()),
            0);
}

// Reads the pair with both readers and compares what they fill, bit for bit.
void ExpectBothReadersAgree(const std::string& data, const std::string& groups) {
  ScratchFolder folder;
  const std::string dataFile = folder.Write("data.txt", data);
  const std::string groupFile = folder.Write("groups.txt", groups);
  AnalysisData expected;
  ReadAsTheDialogueDoes(dataFile, groupFile, expected);
  AnalysisData checked;
  const auto dataFault = ReadCheckedDataFile(dataFile, checked);
  ASSERT_FALSE(dataFault) << dataFault->where << ": " << dataFault->found;
  const auto groupFault = ReadCheckedGroupFile(groupFile, checked);
  ASSERT_FALSE(groupFault) << groupFault->where << ": " << groupFault->found;
  ExpectSameTables(checked, expected);
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
    ExpectBothReadersAgree(c.data, c.groups);
  }
}

// ---- Generated valid files --------------------------------------------------------------
// Random data and group files in every form the checked reader takes, each read by both
// readers. A token is written with a separator chosen for the token that follows it, so that
// every file is valid: a null value needs a comma that no separator before it takes.

class ValidFileWriter {
 public:
  explicit ValidFileWriter(unsigned seed) : random_(seed) {}

  std::string DataFile(int species, int sites, int groups) {
    std::string text = Pick({"title", "", "a title, with \"quotes\" / and\ttabs\r"}) + "\n";
    text += std::to_string(species) + Separator(true) + std::to_string(sites) + Separator(true) +
            std::to_string(groups) + Pick({"", " ", ",", " , ", " / the counts"}) + "\n";
    for (int row = 0; row < species; ++row) {
      text += Pick({"", "", "\n", "  \r\n"}) + Row(
                                                   sites, [this] { return Number(); }, true);
    }
    return text + Pick({"", "\n", "  \n\n"});
  }

  std::string GroupFile(int sites, int groups) {
    std::uniform_int_distribution<int> group(1, groups);
    const std::string numbers = Row(
        sites, [&] { return std::to_string(group(random_)); }, false);
    // Nothing may follow the slash that ends the numbers but a note on its line.
    if (numbers.find('/') != std::string::npos) return numbers + Pick({"", "\n"});
    return numbers + Pick({"", "\n", "/ a note\n"});
  }

 private:
  std::string Pick(std::initializer_list<const char*> choices) {
    std::uniform_int_distribution<std::size_t> pick(0, choices.size() - 1);
    return choices.begin()[pick(random_)];
  }

  // What separates a value from the next token; a null needs it to have taken a comma.
  std::string Separator(bool nullFollows) {
    if (nullFollows) return Pick({",", " ,", " , ", "\t,", "\n,", "\r\n ,", " \n", " ,\n"});
    return Pick({" ", "   ", "\t", ",", " , ", "\n", "\r\n", "\n\n  ", "\n,", " \n"});
  }

  // A number of the data file's forms, finite in single precision and not negative.
  std::string Number() {
    std::uniform_int_distribution<int> form(0, 9);
    std::uniform_int_distribution<int> count(0, 30);
    switch (form(random_)) {
      case 0:
      case 1:
      case 2:
        return "0";
      case 3:
        return std::to_string(count(random_));
      case 4:
        return Pick({"2.50E-1", "2.5d-1", ".25", "25-2", "5.", "+7", "-0", "1E+3", "0.1"});
      case 5:
        return Pick({"1e-40", "1.4e-45", "3.4028234e38", "123456789012345678901234", "1.00000005",
                     "0.30000001", "16777217", "9.99999999e-39"});
      default: {
        std::uniform_int_distribution<int> digit(0, 9);
        std::string text;
        for (int k = count(random_) % 12; k >= 0; --k)
          text += static_cast<char>('0' + digit(random_));
        const auto point = static_cast<std::size_t>(count(random_)) % (text.size() + 1);
        text.insert(point, ".");
        return text + Pick({"", "", "e-3", "D2", "-1", "E+05"});
      }
    }
  }

  // `count` values as a statement reads them: repeat counts, nulls where a number may be
  // missing, an early slash, then what may stand after the last value on its line.
  template <typename Value>
  std::string Row(int count, Value value, bool nullsAllowed) {
    std::uniform_int_distribution<int> draw(0, 9);
    std::string text;
    bool afterValue = false;  // the last token was a value, not a null
    for (int left = count; left > 0;) {
      const bool isNull = nullsAllowed && draw(random_) == 0;
      if (afterValue)
        text += Separator(isNull);
      else if (!text.empty())
        text += Pick({"", " ", "\n"});
      if (nullsAllowed && left < count && draw(random_) == 0) return text + "/ the rest are 0\n";
      int repeats = 1;
      if (draw(random_) < 2) {
        repeats = std::uniform_int_distribution<int>(1, left)(random_);
        text += std::to_string(repeats) + "*" + Pick({"", " ", "\n"});
      }
      text += isNull ? std::string(",") : value();
      afterValue = !isNull;
      left -= repeats;
    }
    return text + (afterValue ? Pick({"", " ", ",", " ,", "/", " / a note"}) : "") + "\n";
  }

  std::mt19937 random_;
};

TEST(CheckedInputs, ReadGeneratedValidFilesBitForBitAsTheDialoguesReader) {
  for (unsigned seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    ValidFileWriter writer(seed);
    const int sites = 2 + static_cast<int>(seed % 7);
    const int groups = 2 + static_cast<int>(seed % 3) % (sites - 1);
    const std::string data = writer.DataFile(1 + static_cast<int>(seed % 5), sites, groups);
    ExpectBothReadersAgree(data, writer.GroupFile(sites, groups));
    if (HasFailure()) {
      ADD_FAILURE() << "data file:\n" << data;
      return;
    }
  }
}

// ---- Numbers ----------------------------------------------------------------------------
// The checked readers convert a number through std::from_chars where that gives the reader's
// bits; the reader's conversion decides every number. Generated numbers of every length,
// exponent and form, with subnormals, huge exponents and long mantissas among them.

// Halfway between two floats, normal or subnormal, to 6 to 17 digits: where rounding through
// double precision and rounding once part ways.
std::string NearAHalfway(std::mt19937& random) {
  const float below =
      std::bit_cast<float>(std::uniform_int_distribution<std::uint32_t>(1, 0x7F7FFFFEU)(random));
  const double halfway =
      (static_cast<double>(below) +
       static_cast<double>(std::nextafter(below, std::numeric_limits<float>::infinity()))) /
      2;
  char text[40];
  std::snprintf(text, sizeof text, "%.*g", std::uniform_int_distribution<int>(6, 17)(random),
                halfway);
  return text;
}

std::string GeneratedNumber(std::mt19937& random) {
  std::uniform_int_distribution<int> draw(0, 99);
  if (draw(random) < 20) return NearAHalfway(random);
  std::string text;
  const int digits = draw(random) < 70 ? 1 + draw(random) % 8 : 1 + draw(random) % 30;
  for (int k = 0; k < digits; ++k)
    text += static_cast<char>(
        '0' + (k == 0 && draw(random) < 80 ? 1 + draw(random) % 9 : draw(random) % 10));
  if (draw(random) < 60)
    text.insert(static_cast<std::size_t>(draw(random)) % (text.size() + 1), ".");
  const int exponentShape = draw(random);
  if (exponentShape < 40) {
    const int exponent = exponentShape < 25   ? draw(random) % 25 - 12
                         : exponentShape < 35 ? draw(random) - 60
                                              : draw(random) * 1000 - 50000;
    const char* letters[] = {"e", "E", "d", "D", ""};
    const char* letter = letters[draw(random) % (exponent < 0 ? 5 : 4)];
    text += letter + std::string(exponent >= 0 && draw(random) < 50 ? "+" : "") +
            std::to_string(exponent);
  }
  const int sign = draw(random);
  return (sign < 10 ? "-" : sign < 15 ? "+" : "") + text;
}

TEST(CheckedInputs, NumbersHaveTheReadersBits) {
  std::mt19937 random(2024);
  int compared = 0;
  for (int k = 0; k < 300000; ++k) {
    const std::string text = GeneratedNumber(random);
    float expected = 0.0f;
    ASSERT_TRUE(ConvertReal(text, expected)) << text;
    const bool finite = std::isfinite(expected);
    const auto number = DataFileNumber(text);
    ASSERT_EQ(number.has_value(), finite) << text;
    if (!finite) continue;
    ++compared;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(*number), std::bit_cast<std::uint32_t>(expected))
        << text;
    // The CSV forms: no D exponents and no exponents without their letter; a decimal comma.
    if (text.find_first_of("Dd") != std::string::npos) continue;
    if (text.find_first_of("eE") == std::string::npos &&
        text.find_first_of("+-", 1) != std::string::npos)
      continue;
    std::string withComma = text;
    std::replace(withComma.begin(), withComma.end(), '.', ',');
    for (const auto& [form, mark] : {std::pair{text, '.'}, std::pair{withComma, ','}}) {
      const auto csv = CsvNumber(form, mark);
      ASSERT_TRUE(csv) << form;
      ASSERT_EQ(std::bit_cast<std::uint32_t>(*csv), std::bit_cast<std::uint32_t>(expected)) << form;
    }
  }
  EXPECT_GT(compared, 250000);
}

// ---- A CSV community and its data file ----------------------------------------------------
// The same generated table of a few MB as R's write.csv writes it and as a data file: the
// CSV reader, the checked reader of data files and the dialogue's reader fill the same data.

TEST(CheckedInputs, ReadACsvTableAndItsDataFileAlike) {
  constexpr int kSpecies = 700;
  constexpr int kSites = 1500;
  constexpr int kGroups = 6;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> draw(0, 99);
  const char* decimals[] = {"0.5", "12.25", "1e-04", "3.33333333333333", "2e+05", "0.1"};
  std::vector<std::string> values(static_cast<std::size_t>(kSpecies) * kSites);
  for (std::string& value : values) {
    const int shape = draw(random);
    value = shape < 90 ? "0" : shape < 98 ? std::to_string(draw(random)) : decimals[shape % 6];
  }
  std::string csv = "\"\"";
  for (int species = 1; species <= kSpecies; ++species)
    csv += ",\"sp" + std::to_string(species) + "\"";
  std::string groupsCsv = "\"site\",\"group\"\n";
  std::string groups;
  for (int site = 0; site < kSites; ++site) {
    const std::string name = "\"s" + std::to_string(site + 1) + "\"";
    csv += "\n" + name;
    for (int species = 0; species < kSpecies; ++species)
      csv += "," + values[static_cast<std::size_t>(site) * kSpecies + species];
    groupsCsv += name + "," + std::to_string(site % kGroups + 1) + "\n";
    groups += std::to_string(site % kGroups + 1) + "\n";
  }
  std::string data = "title\n" + std::to_string(kSpecies) + " " + std::to_string(kSites) + " " +
                     std::to_string(kGroups) + "\n";
  for (int species = 0; species < kSpecies; ++species) {
    for (int site = 0; site < kSites; ++site)
      data += values[static_cast<std::size_t>(site) * kSpecies + species] + " ";
    data.back() = '\n';
  }
  ScratchFolder folder;
  AnalysisData fromCsv;
  const InputFiles csvRequest = Request(folder.Write("community.csv", csv + "\n"), TableForm::Csv,
                              folder.Write("groups.csv", groupsCsv), 12345, 9);
  const auto csvFault = ReadCheckedInputs(csvRequest, fromCsv);
  ASSERT_FALSE(csvFault) << csvFault->where << ": " << csvFault->found;
  AnalysisData fromDataFile;
  const InputFiles dataRequest = Request(folder.Write("data.txt", data), TableForm::DataFile,
                               folder.Write("groups.txt", groups), 12345, 9);
  const auto dataFault = ReadCheckedInputs(dataRequest, fromDataFile);
  ASSERT_FALSE(dataFault) << dataFault->where << ": " << dataFault->found;
  ExpectSameTables(fromCsv, fromDataFile);
  AnalysisData fromDialogue;
  ReadAsTheDialogueDoes(dataRequest.tableFile, dataRequest.groupsFile, fromDialogue);
  ExpectSameTables(fromDataFile, fromDialogue);
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// Tables that would run to meaningless results, or cost far more than they are worth, are
// refused before anything is written; each fault names what it found where.
struct RefusedInputs {
  const char* why;
  // The table first, the groups second, the blocks third if any.
  std::vector<std::pair<std::string, std::string>> files;
  std::string fault;  // "where: found; expected ..." up to the expected part
};

TEST(CheckedInputs, RefuseWhatWouldRunToNonsense) {
  const std::string community = "\"\",\"sp1\",\"sp2\"\n\"s1\",1,0\n\"s2\",0,3\n";
  const std::string groups = "\"site\",\"group\"\n\"s1\",\"a\"\n\"s2\",\"b\"\n";
  const std::string data = "t\n2 4 2\n1 0 2 0\n0 3 0 1\n";
  const RefusedInputs cases[] = {
      {"a negative abundance in a data file",
       {{"data.txt", "t\n2 4 2\n1 0 2 0\n0 3 -0.5 1\n"}, {"groups.txt", "1 1 2 2\n"}},
       "data.txt, line 4: \"-0.5\" as the abundance of species 2 at site 3; expected an "
       "abundance of 0 or more"},
      {"a negative abundance in a CSV table",
       {{"community.csv", community + "\"s3\",-2,0\n"}, {"groups.csv", groups + "\"s3\",\"a\"\n"}},
       "community.csv, line 4: \"-2\" for species \"sp1\" at site \"s3\"; expected an abundance"},
      {"one group in a data file",
       {{"data.txt", "t\n2 4 1\n1 0 2 0\n0 3 0 1\n"}, {"groups.txt", "1 1 1 1\n"}},
       "data.txt, line 2: \"1\" as the number of groups; expected a whole number from 2"},
      {"one label in a groups CSV",
       {{"community.csv", community}, {"groups.csv", "site,group\ns1,a\ns2,a\n"}},
       "groups.csv: every site in one group (\"a\"); expected sites in 2 groups or more"},
      {"one group number with a CSV table",
       {{"community.csv", community}, {"groups.txt", "1 1\n"}},
       "groups.txt: every site in group 1; expected sites in 2 groups or more"},
      {"group totals beyond the range of a float",
       {{"community.csv", community + "\"s3\",3e38,0\n\"s4\",3e38,1\n"},
        {"groups.csv", groups + "\"s3\",\"b\"\n\"s4\",\"b\"\n"}},
       "community.csv: abundances of species \"sp1\" that sum to 6e+38 in group 2 (\"b\"), 6e+38 "
       "at all sites, beyond the range"},
      {"a groups CSV whose name does not say so",
       {{"community.csv", community}, {"groups.txt", groups}},
       "groups.txt, line 1: \"\\\"site\\\"\", the start of a CSV of site names and group labels;"},
      {"a CSV table without its header",
       {{"community.csv", "\"s1\",1,0\n\"s2\",0,3\n"}, {"groups.csv", groups}},
       "community.csv, line 1: numbers where the header belongs (\"s1\", \"1\", ...)"},
      {"a tab-separated table",
       {{"community.csv", "\"\"\t\"sp1\"\t\"sp2\"\n\"s1\"\t1\t0\n"}, {"groups.csv", groups}},
       "community.csv, line 1: fields separated by tabs; expected fields separated by commas"},
      {"a table with species as rows",
       {{"community.csv", "\"\",\"s1\",\"s2\"\n\"sp1\",1,0\n\"sp2\",0,3\n"},
        {"groups.csv", groups}},
       "community.csv, line 1: a header of the sites of groups.csv (\"s1\", ...)"},
      // A few bytes that repeat a group number billions of times are counted, not expanded.
      {"a repeat count far beyond the sites, with a data file",
       {{"data.txt", data}, {"groups.txt", "1 1 2 2 100000000*2\n"}},
       "groups.txt, line 1: \"2\", a group number beyond the 4 sites;"},
      {"a repeat count far beyond the sites, with a CSV table",
       {{"community.csv", community}, {"groups.txt", "2147483647*1\n"}},
       "groups.txt, line 1: \"1\", a group number beyond the 4 lines of community.csv;"},
      {"a block file without a site",
       {{"community.csv", community}, {"groups.csv", groups}, {"blocks.csv", "site,use\ns1,x\n"}},
       "blocks.csv: no block for site \"s2\"; expected a block for every site of community.csv"},
      {"a block of one site",
       {{"community.csv", community + "\"s3\",1,1\n"},
        {"groups.csv", groups + "\"s3\",\"a\"\n"},
        {"blocks.csv", "site,use\ns1,x\ns2,y\ns3,x\n"}},
       "blocks.csv: block \"y\" of one site (\"s2\"); expected blocks of 2 sites or more"},
  };
  for (const RefusedInputs& c : cases) {
    SCOPED_TRACE(c.why);
    ScratchFolder folder;
    for (const auto& [name, contents] : c.files)
      folder.Write(name, contents);
    InputFiles request;
    request.tableFile = c.files[0].first;
    request.tableForm = request.tableFile.ends_with(".csv") ? TableForm::Csv : TableForm::DataFile;
    request.groupsFile = c.files[1].first;
    request.randomSeed = 12345;
    request.randomizationCount = 99;
    if (c.files.size() > 2) request.blocksFile = c.files[2].first;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    AnalysisData data;
    const auto fault = ReadCheckedInputs(request, data);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(fault);
    const std::string line = fault->where + ": " + fault->found + "; expected " + fault->expected;
    EXPECT_EQ(line.substr(0, c.fault.size()), c.fault);
  }
}

// Group labels are numbered as R numbers a factor's levels: numbers in numeric order, kept
// as labels unless they are the numbers 1 to G, with 1 and 1.0 one level; other labels in
// byte order.
TEST(CheckedInputs, GroupLabelsAreNumberedAsRNumbersAFactorsLevels) {
  const struct {
    const char* labels;  // of four sites
    std::vector<std::int32_t> groups;
    std::vector<std::string> groupLabels;
  } cases[] = {
      {"1 2 4 5", {1, 2, 3, 4}, {"1", "2", "4", "5"}},
      {"2 1 2 1", {2, 1, 2, 1}, {}},
      {"1.0 1 2 2.0", {1, 1, 2, 2}, {}},
      {"10 9 0.5 -1", {4, 3, 2, 1}, {"-1", "0.5", "9", "10"}},
      {"b a B a", {3, 2, 1, 2}, {"B", "a", "b"}},
      {"1 a 2 a", {1, 3, 2, 3}, {"1", "2", "a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.labels);
    ScratchFolder folder;
    std::istringstream labels(c.labels);
    std::string groups = "site,group\n";
    std::string community = "\"\",\"sp1\"\n";
    for (int site = 1; site <= 4; ++site) {
      std::string label;
      labels >> label;
      groups += "s" + std::to_string(site) + "," + label + "\n";
      community += "s" + std::to_string(site) + ",1\n";
    }
    const InputFiles request = Request(folder.Write("community.csv", community), TableForm::Csv,
                       folder.Write("groups.csv", groups), 12345, 9);
    AnalysisData data;
    const auto fault = ReadCheckedInputs(request, data);
    ASSERT_FALSE(fault) << fault->found;
    EXPECT_EQ(std::vector<std::int32_t>(data.siteGroups.Data(), data.siteGroups.Data() + 4),
              c.groups);
    EXPECT_EQ(data.groupLabels, c.groupLabels);
  }
}

}  // namespace
}  // namespace kova

namespace kova {
namespace {

// The dialogue tells a CSV community table from a data file by what the file holds, never by
// its name.
TEST(CheckedInputs, CsvCommunitiesAreToldFromDataFilesByContent) {
  const struct {
    const char* contents;
    bool csv;
  } cases[] = {
      {"Dune meadows: 3 species at 5 sites\n3 5 2\n1 3 0 0 2\n", false},
      {"title, with commas, in it\n3 5 2\n1 3 0 0 2\n", false},
      {"a,b\n3,5,2\n1 3 0 0 2\n", false},                  // counts after commas
      {"t;u\n30\n20\n4\n", false},                         // counts over three lines
      {"\"\",\"sp1\",\"sp2\"\n\"s1\",1,0\n", true},         // as write.csv writes it
      {"site,sp1,sp2,sp3\n1,1,0,3\n", true},                // unquoted, numbered sites
      {"\"\";\"sp1\"\n\"s1\";0,5\n", true},                 // as write.csv2 writes it
      {"\"\",\"sp1\",\"sp2\"\r\n\"s1\",1,0\r\n", true},     // Windows line ends
      {"only a title\n", false},
  };
  for (const auto& c : cases) {
    ScratchFolder folder;
    EXPECT_EQ(HoldsCsvCommunity(folder.Write("table.csv", c.contents)), c.csv) << c.contents;
  }
  EXPECT_FALSE(HoldsCsvCommunity("/nonexistent/table.csv"));
}

}  // namespace
}  // namespace kova
