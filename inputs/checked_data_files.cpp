#include "inputs/checked_data_files.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "inputs/free_format_values.h"
#include "inputs/input_file_faults.h"
#include "inputs/number_forms.h"
#include "textio/numeric_conversion.h"

namespace kova {
namespace {

using Kind = FreeFormatValue::Kind;

constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();
constexpr const char* kNumberExample = "a number, such as 3, 0.5 or 2.5E-1";

std::string Where(const std::string& fileName, std::int64_t line) {
  return line > 0 ? AtLine(fileName, line) : fileName;
}

// A value as a fault shows it.
// Values are taken by copy here and below: a value whose address escapes could not be kept
// in registers in the loops that read millions of them.
std::string Shown(FreeFormatValue value) {
  switch (value.kind) {
    case Kind::Value:
      return Quoted(value.text);
    case Kind::Empty:
      return "an empty value";
    case Kind::AfterSlash:
      return "nothing (a slash ends the values)";
    case Kind::BadRepeatCount:
      return Quoted(std::string(value.text) + "*");
    case Kind::EndOfFile:
      break;
  }
  return "the end of the file";
}

// A read that fails part way shows as an early end of the file; the failure is the fault.
InputFault EndOfFileFault(const FreeFormatValues& values, InputFault fault) {
  return values.Fault() ? *values.Fault() : fault;
}

InputFault RepeatCountFault(const std::string& fileName, FreeFormatValue value) {
  return {AtLine(fileName, value.line), Shown(value) + " as a repeat count",
          "a whole number of 1 or more before the asterisk, as in 3*0"};
}

// Whether the file's first line has fields separated by commas or semicolons and a letter
// among them, as the header of a CSV file has: a groups CSV given a name that does not say so.
bool StartsLikeCsv(const std::string& fileName) {
  std::unique_ptr<ByteSource> source;
  if (OpenInputFile(fileName, source)) return false;
  LineReader lines(std::move(source), kFileBlockSize);
  std::string_view first;
  const ReadOutcome outcome = lines.Next(first);
  if (outcome != ReadOutcome::Line && outcome != ReadOutcome::UnendedLine) return false;
  const bool separated = first.find_first_of(",;") != std::string::npos;
  const bool worded = std::any_of(first.begin(), first.end(), [](char character) {
    return std::isalpha(static_cast<unsigned char>(character)) != 0;
  });
  return separated && worded;
}

// One of the header's three counts: a whole number from `smallest` to the largest 32-bit
// integer.
std::optional<InputFault> ReadCount(FreeFormatValues& values, const char* name,
                                    std::int32_t smallest, std::int32_t& count) {
  const FreeFormatValue value = values.Next();
  const std::string& fileName = values.FileName();
  if (value.kind == Kind::EndOfFile) {
    return EndOfFileFault(values, {Where(fileName, value.line),
                                   std::string("the file ends before the number of ") + name,
                                   "the numbers of species, sites and groups from line 2 on"});
  }
  if (value.kind == Kind::BadRepeatCount) return RepeatCountFault(fileName, value);
  const auto number = value.kind == Kind::Value ? WholeNumber(value.text) : std::nullopt;
  if (!number || *number < smallest || *number > kLargestCount) {
    // The test compares the groups with one another: one group leaves nothing to compare.
    const std::string reason = smallest > 1 ? ", since the test compares groups" : "";
    return InputFault{AtLine(fileName, value.line), Shown(value) + " as the number of " + name,
                      "a whole number from " + std::to_string(smallest) + " to " +
                          std::to_string(kLargestCount) + reason};
  }
  count = static_cast<std::int32_t>(*number);
  return std::nullopt;
}

struct CountOfHeader {
  const char* name;
  std::int32_t smallest;
  std::int32_t AnalysisData::*count;
};

std::optional<InputFault> ReadCounts(FreeFormatValues& values, AnalysisData& data) {
  values.StartStatement();
  constexpr CountOfHeader kCounts[] = {{"species", 1, &AnalysisData::speciesCount},
                                       {"sites", 1, &AnalysisData::siteCount},
                                       {"groups", 2, &AnalysisData::groupCount}};
  for (const CountOfHeader& count : kCounts) {
    if (auto fault = ReadCount(values, count.name, count.smallest, data.*count.count)) {
      return fault;
    }
  }
  if (const auto left = values.LeftOver()) {
    return InputFault{AtLine(values.FileName(), left->line),
                      Shown(*left) + " after the numbers of species, sites and groups",
                      "nothing more on their line"};
  }
  // Each group needs a site of its own, and the tables are allocated for the counts.
  if (data.groupCount > data.siteCount) {
    return InputFault{values.FileName(),
                      std::to_string(data.groupCount) + " groups for " +
                          std::to_string(data.siteCount) + " sites",
                      "no more groups than sites, since every group needs a site"};
  }
  return std::nullopt;
}

// One species row: SiteCount values from a line of its own on, ending on the line where
// its last value stands; the value of site k goes to row[(k - 1) * stride].
std::optional<InputFault> ReadSpeciesRow(FreeFormatValues& values, const AnalysisData& data,
                                         std::int64_t species, float* row, std::int64_t stride) {
  const std::string& fileName = values.FileName();
  const std::int64_t sites = data.siteCount;
  values.StartStatement();
  std::int64_t firstLine = 0;
  for (std::int64_t site = 1; site <= sites; ++site) {
    // Counts first, as many as the line holds in a row; then the value that ended them.
    const std::size_t counts = values.TakeDigitValuesOnLine(
        static_cast<std::size_t>(sites - site + 1), kLongestSmallCount,
        [entry = row + (site - 1) * stride, stride](std::string_view digits) mutable {
          SmallCount(digits, *entry);
          entry += stride;
        });
    if (counts > 0) {
      if (firstLine == 0) firstLine = values.Line();
      site += static_cast<std::int64_t>(counts);
      if (site > sites) break;
    }
    std::string_view text;
    FreeFormatValue value;
    if (values.NextOnLine(text)) {
      if (firstLine == 0) firstLine = values.Line();
      if (SmallCount(text, row[(site - 1) * stride])) continue;
      value = {Kind::Value, text, values.Line()};
    } else {
      value = values.Next();
      if (firstLine == 0) firstLine = value.line;
    }
    switch (value.kind) {
      case Kind::Value:
        if (const auto number = DataFileNumber(value.text); number && *number >= 0.0f) {
          row[(site - 1) * stride] = *number;
          break;
        } else {
          return InputFault{AtLine(fileName, value.line),
                            Shown(value) + " as the abundance of species " +
                                std::to_string(species) + " at site " + std::to_string(site),
                            number ? kAbundanceExpected : kNumberExample};
        }
      case Kind::Empty:
      case Kind::AfterSlash:
        break;  // the abundance stays 0, as the dialogue's reader leaves it
      case Kind::BadRepeatCount:
        return RepeatCountFault(fileName, value);
      case Kind::EndOfFile:
        return EndOfFileFault(
            values,
            {Where(fileName, value.line),
             "the file ends within the row of species " + std::to_string(species) + ", after " +
                 std::to_string(site - 1) + " of its " + std::to_string(sites) + " values",
             std::to_string(data.speciesCount) + " rows of " + std::to_string(sites) +
                 " values, as the header says"});
    }
  }
  const auto left = values.LeftOver();
  if (!left) return std::nullopt;
  const std::string count = std::to_string(sites);
  if (left->line == firstLine) {
    return InputFault{
        AtLine(fileName, left->line),
        Shown(*left) + ", a value beyond the " + count + " of species " + std::to_string(species),
        count + " values in each species row, as the header's number of sites says"};
  }
  // A row that runs on over lines took the values of the next line to make up its count.
  return InputFault{AtLine(fileName, left->line),
                    Shown(*left) + " left over after the " + count + " values of species " +
                        std::to_string(species) + ", which begin on line " +
                        std::to_string(firstLine),
                    "each species row to end with its value for site " + count +
                        ", as the header's number of sites says"};
}

// The table keeps the species of a site together, so a row written straight into it
// touches a cache line (and at first a page) for every site. Rows are read a few dozen at
// a time into a block of at most a megabyte instead, and the block is written out a site at
// a time, several cache lines in a row; a row too long for the block is written straight in.
constexpr std::size_t kRowBlockBytes = std::size_t{1} << 20;
constexpr std::int64_t kRowsInABlock = 64;

std::optional<InputFault> ReadSpeciesRows(FreeFormatValues& values, AnalysisData& data) {
  const std::int64_t species = data.speciesCount;
  const std::int64_t sites = data.siteCount;
  float* table = data.abundanceMatrix.Data();
  const auto rowBytes = static_cast<std::size_t>(sites) * sizeof(float);
  const std::int64_t blockRows =
      std::min<std::int64_t>(kRowsInABlock, static_cast<std::int64_t>(kRowBlockBytes / rowBytes));
  if (blockRows <= 1) {
    for (std::int64_t row = 1; row <= species; ++row) {
      if (auto fault = ReadSpeciesRow(values, data, row, table + (row - 1), species)) return fault;
    }
    return std::nullopt;
  }
  std::vector<float> block(static_cast<std::size_t>(blockRows * sites));
  for (std::int64_t first = 1; first <= species; first += blockRows) {
    const std::int64_t rows = std::min(blockRows, species - first + 1);
    std::fill(block.begin(), block.end(), 0.0f);  // an empty value leaves 0
    for (std::int64_t row = 0; row < rows; ++row) {
      float* blockRow = block.data() + row * sites;
      if (auto fault = ReadSpeciesRow(values, data, first + row, blockRow, 1)) return fault;
    }
    for (std::int64_t site = 0; site < sites; ++site) {
      float* column = table + site * species + (first - 1);
      for (std::int64_t row = 0; row < rows; ++row)
        column[row] = block[static_cast<std::size_t>(row * sites + site)];
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<InputFault> ReadCheckedDataFile(const std::string& fileName, AnalysisData& data) {
  FreeFormatValues values(fileName);
  if (!values.SkipLine()) {
    return EndOfFileFault(values, {fileName, "an empty file",
                                   "a title line, then the numbers of species, sites and groups"});
  }
  if (auto fault = ReadCounts(values, data)) return fault;
  AllocateArrays(data);
  if (auto fault = ReadSpeciesRows(values, data)) return fault;
  if (const auto left = values.LeftOnLaterLines()) {
    return InputFault{AtLine(fileName, left->line), Shown(*left) + " after the last species row",
                      std::to_string(data.speciesCount) + " species rows, as the header says"};
  }
  return values.Fault();
}

const GroupNumberRun& GroupFileNumbers::RunOfSite(std::int64_t site) const {
  std::size_t run = 0;
  for (std::int64_t first = 0; first + runs[run].count <= site; ++run)
    first += runs[run].count;
  return runs[run];
}

void GroupFileNumbers::CopyTo(std::int32_t* siteGroups, std::int64_t sites) const {
  for (const GroupNumberRun& run : runs) {
    const std::int64_t count = std::min(run.count, sites);
    std::fill_n(siteGroups, count, run.group);
    siteGroups += count;
    sites -= count;
  }
}

std::optional<InputFault> ReadGroupNumbers(const std::string& fileName, std::int32_t largestGroup,
                                           const std::string& largestGroupSource,
                                           GroupFileNumbers& groups) {
  FreeFormatValues values(fileName);
  values.StartStatement();
  for (;;) {
    FreeFormatValue value = values.Next();
    if (value.kind == Kind::EndOfFile || value.kind == Kind::AfterSlash) {
      groups.lastLine = value.line;
      break;
    }
    if (value.kind == Kind::BadRepeatCount) return RepeatCountFault(fileName, value);
    const auto number = value.kind == Kind::Value ? WholeNumber(value.text) : std::nullopt;
    if (!number && groups.count == 0 && value.kind == Kind::Value && StartsLikeCsv(fileName)) {
      return InputFault{AtLine(fileName, value.line),
                        Shown(value) + ", the start of a CSV of site names and group labels",
                        "group numbers, or such a CSV in a file whose name ends in .csv (with "
                        "--community)"};
    }
    if (!number || *number < 1 || *number > largestGroup) {
      return InputFault{
          AtLine(fileName, value.line),
          Shown(value) + " as the group of site " + std::to_string(groups.count + 1),
          "a whole number from 1 to " + std::to_string(largestGroup) + largestGroupSource};
    }
    const std::int64_t count = 1 + values.TakeRepeats();
    groups.runs.push_back(
        {static_cast<std::int32_t>(*number), count, value.line, std::string(value.text)});
    groups.count += count;
  }
  if (values.Fault()) return values.Fault();
  // A slash ends the numbers; whatever stands after it on its line is a note.
  if (const auto left = values.LeftOnLaterLines()) {
    return InputFault{AtLine(fileName, left->line),
                      Shown(*left) + " after the slash that ends the group numbers",
                      "no group numbers after the slash"};
  }
  return values.Fault();
}

std::optional<InputFault> GroupCountFault(const std::string& fileName,
                                          const GroupFileNumbers& groups, std::int64_t siteCount) {
  const std::string expected =
      "one group number for each site, " + std::to_string(siteCount) + " in all";
  if (groups.count < siteCount) {
    return InputFault{Where(fileName, groups.lastLine),
                      "the group numbers end after " + std::to_string(groups.count) + " of them",
                      expected};
  }
  if (groups.count > siteCount) {
    const GroupNumberRun& beyond = groups.RunOfSite(siteCount);
    return InputFault{
        AtLine(fileName, beyond.line),
        Quoted(beyond.text) + ", a group number beyond the " + std::to_string(siteCount) + " sites",
        expected};
  }
  return std::nullopt;
}

std::optional<InputFault> ReadCheckedGroupFile(const std::string& fileName, AnalysisData& data) {
  GroupFileNumbers groups;
  const std::string source = ", the number of groups the data file gives";
  if (auto fault = ReadGroupNumbers(fileName, data.groupCount, source, groups)) return fault;
  if (auto fault = GroupCountFault(fileName, groups, data.siteCount)) return fault;
  groups.CopyTo(data.siteGroups.Data(), data.siteCount);
  return std::nullopt;
}

}  // namespace kova
