#include "driver/checked_data_files.h"

#include <limits>

#include "driver/free_format_values.h"
#include "driver/number_forms.h"

namespace kova {
namespace {

using Kind = FreeFormatValue::Kind;

constexpr std::int32_t kLargestCount = std::numeric_limits<std::int32_t>::max();
constexpr const char* kNumberExample = "a number, such as 3, 0.5 or 2.5E-1";

std::string Where(const std::string& fileName, std::int64_t line) {
  return line > 0 ? AtLine(fileName, line) : fileName;
}

// A value as a fault shows it.
std::string Shown(const FreeFormatValue& value) {
  switch (value.kind) {
    case Kind::Value:
      return Quoted(value.text);
    case Kind::Empty:
      return "an empty value";
    case Kind::AfterSlash:
      return "nothing (a slash ends the values)";
    case Kind::BadRepeatCount:
      return Quoted(value.text + "*");
    case Kind::EndOfFile:
      break;
  }
  return "the end of the file";
}

// A read that fails part way shows as an early end of the file; the failure is the fault.
InputFault EndOfFileFault(const InputLines& lines, InputFault fault) {
  return lines.Fault() ? *lines.Fault() : fault;
}

InputFault RepeatCountFault(const std::string& fileName, const FreeFormatValue& value) {
  return {AtLine(fileName, value.line), Shown(value) + " as a repeat count",
          "a whole number of 1 or more before the asterisk, as in 3*0"};
}

// One of the header's three counts: a whole number from 1 to the largest 32-bit integer.
std::optional<InputFault> ReadCount(FreeFormatValues& values, const InputLines& lines,
                                    const char* name, std::int32_t& count) {
  const FreeFormatValue value = values.Next();
  const std::string& fileName = lines.FileName();
  if (value.kind == Kind::EndOfFile) {
    return EndOfFileFault(lines, {Where(fileName, value.line),
                                  std::string("the file ends before the number of ") + name,
                                  "the numbers of species, sites and groups from line 2 on"});
  }
  if (value.kind == Kind::BadRepeatCount) return RepeatCountFault(fileName, value);
  const auto number = value.kind == Kind::Value ? WholeNumber(value.text) : std::nullopt;
  if (!number || *number < 1 || *number > kLargestCount) {
    return InputFault{AtLine(fileName, value.line), Shown(value) + " as the number of " + name,
                      "a whole number from 1 to " + std::to_string(kLargestCount)};
  }
  count = static_cast<std::int32_t>(*number);
  return std::nullopt;
}

std::optional<InputFault> ReadCounts(FreeFormatValues& values, const InputLines& lines,
                                     AnalysisData& data) {
  values.StartStatement();
  for (const auto& [name, count] : {std::pair<const char*, std::int32_t*>{"species", &data.speciesCount},
                                    {"sites", &data.siteCount},
                                    {"groups", &data.groupCount}}) {
    if (auto fault = ReadCount(values, lines, name, *count)) return fault;
  }
  if (const auto left = values.LeftOver()) {
    return InputFault{AtLine(lines.FileName(), left->line),
                      Shown(*left) + " after the numbers of species, sites and groups",
                      "nothing more on their line"};
  }
  // Each group needs a site of its own, and the tables are allocated for the counts.
  if (data.groupCount > data.siteCount) {
    return InputFault{lines.FileName(),
                      std::to_string(data.groupCount) + " groups for " +
                          std::to_string(data.siteCount) + " sites",
                      "no more groups than sites, since every group needs a site"};
  }
  return std::nullopt;
}

// One species row: SiteCount values from a line of its own on, ending on the line where
// its last value stands.
std::optional<InputFault> ReadSpeciesRow(FreeFormatValues& values, const InputLines& lines,
                                         AnalysisData& data, std::int64_t species) {
  const std::string& fileName = lines.FileName();
  const std::int64_t sites = data.siteCount;
  values.StartStatement();
  std::int64_t firstLine = 0;
  for (std::int64_t site = 1; site <= sites; ++site) {
    const FreeFormatValue value = values.Next();
    if (firstLine == 0) firstLine = value.line;
    switch (value.kind) {
      case Kind::Value:
        if (const auto number = DataFileNumber(value.text)) {
          data.abundanceMatrix(species + (site - 1) * data.speciesCount) = *number;
          break;
        }
        return InputFault{AtLine(fileName, value.line),
                          Shown(value) + " as the abundance of species " + std::to_string(species) +
                              " at site " + std::to_string(site),
                          kNumberExample};
      case Kind::Empty:
      case Kind::AfterSlash:
        break;  // the abundance stays 0, as the dialogue's reader leaves it
      case Kind::BadRepeatCount:
        return RepeatCountFault(fileName, value);
      case Kind::EndOfFile:
        return EndOfFileFault(
            lines, {Where(fileName, value.line),
                    "the file ends within the row of species " + std::to_string(species) +
                        ", after " + std::to_string(site - 1) + " of its " +
                        std::to_string(sites) + " values",
                    std::to_string(data.speciesCount) + " rows of " + std::to_string(sites) +
                        " values, as the header says"});
    }
  }
  const auto left = values.LeftOver();
  if (!left) return std::nullopt;
  const std::string count = std::to_string(sites);
  if (left->line == firstLine) {
    return InputFault{AtLine(fileName, left->line),
                      Shown(*left) + ", a value beyond the " + count + " of species " +
                          std::to_string(species),
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

}  // namespace

std::optional<InputFault> ReadCheckedDataFile(const std::string& fileName, AnalysisData& data) {
  InputLines lines(fileName);
  FreeFormatValues values(lines);
  if (!values.SkipLine()) {
    return EndOfFileFault(lines, {fileName, "an empty file",
                                  "a title line, then the numbers of species, sites and groups"});
  }
  if (auto fault = ReadCounts(values, lines, data)) return fault;
  AllocateArrays(data);
  for (std::int64_t species = 1; species <= data.speciesCount; ++species) {
    if (auto fault = ReadSpeciesRow(values, lines, data, species)) return fault;
  }
  if (const auto left = values.LeftOnLaterLines()) {
    return InputFault{AtLine(fileName, left->line), Shown(*left) + " after the last species row",
                      std::to_string(data.speciesCount) + " species rows, as the header says"};
  }
  return lines.Fault();
}

std::optional<InputFault> ReadGroupNumbers(const std::string& fileName, std::int32_t largestGroup,
                                           const std::string& largestGroupSource,
                                           GroupFileNumbers& groups) {
  InputLines lines(fileName);
  FreeFormatValues values(lines);
  values.StartStatement();
  for (;;) {
    FreeFormatValue value = values.Next();
    if (value.kind == Kind::EndOfFile || value.kind == Kind::AfterSlash) {
      groups.lastLine = value.line;
      break;
    }
    if (value.kind == Kind::BadRepeatCount) return RepeatCountFault(fileName, value);
    const auto number = value.kind == Kind::Value ? WholeNumber(value.text) : std::nullopt;
    if (!number || *number < 1 || *number > largestGroup) {
      return InputFault{
          AtLine(fileName, value.line),
          Shown(value) + " as the group of site " + std::to_string(groups.numbers.size() + 1),
          "a whole number from 1 to " + std::to_string(largestGroup) + largestGroupSource};
    }
    groups.numbers.push_back({static_cast<std::int32_t>(*number), value.line, value.text});
  }
  if (lines.Fault()) return lines.Fault();
  // A slash ends the numbers; whatever stands after it on its line is a note.
  if (const auto left = values.LeftOnLaterLines()) {
    return InputFault{AtLine(fileName, left->line),
                      Shown(*left) + " after the slash that ends the group numbers",
                      "no group numbers after the slash"};
  }
  return lines.Fault();
}

std::optional<InputFault> GroupCountFault(const std::string& fileName,
                                          const GroupFileNumbers& groups, std::int64_t siteCount) {
  const auto count = static_cast<std::int64_t>(groups.numbers.size());
  const std::string expected =
      "one group number for each site, " + std::to_string(siteCount) + " in all";
  if (count < siteCount) {
    return InputFault{Where(fileName, groups.lastLine),
                      "the group numbers end after " + std::to_string(count) + " of them",
                      expected};
  }
  if (count > siteCount) {
    const GroupNumber& beyond = groups.numbers[static_cast<std::size_t>(siteCount)];
    return InputFault{AtLine(fileName, beyond.line),
                      Quoted(beyond.text) + ", a group number beyond the " +
                          std::to_string(siteCount) + " sites",
                      expected};
  }
  return std::nullopt;
}

std::optional<InputFault> ReadCheckedGroupFile(const std::string& fileName, AnalysisData& data) {
  GroupFileNumbers groups;
  const std::string source = ", the number of groups the data file gives";
  if (auto fault = ReadGroupNumbers(fileName, data.groupCount, source, groups)) return fault;
  if (auto fault = GroupCountFault(fileName, groups, data.siteCount)) return fault;
  for (std::size_t site = 0; site < groups.numbers.size(); ++site) {
    data.siteGroups.Data()[site] = groups.numbers[site].group;
  }
  return std::nullopt;
}

}  // namespace kova
