#include "apps/kova-cli/command_line_options.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <utility>
#include <string>
#include <string_view>

#include "driver/input_fault.h"
#include "driver/number_forms.h"

namespace kova::cli {
namespace {

constexpr const char* kUsage =
    "usage: kova-cli < answers\n"
    "       kova-cli --data FILE --groups FILE --seed N --randomizations R\n"
    "       kova-cli --community FILE.csv --groups FILE --seed N --randomizations R\n"
    "\n"
    "Without options, asks for the data file, a random seed, the number of randomizations\n"
    "and the group file, one answer per line on standard input. With options, takes the\n"
    "answers from them, checks both files and the seed before anything is written, and\n"
    "writes what the same answers piped in would write.\n"
    "\n"
    "  --data FILE            data file: a title line, the numbers of species, sites and\n"
    "                         groups, then a row of abundances per species\n"
    "  --community FILE       CSV table instead of --data, as R's write.csv writes a community\n"
    "                         data frame: species names, then a row per site (its name first)\n"
    "  --groups FILE          the group number of each site in site order; with --community\n"
    "                         also a CSV (name ending in .csv) of site names and group labels\n"
    "  --seed N               random seed, a whole number whose random numbers do not repeat\n"
    "                         within the run: any odd seed up to 931166 draws (sites times\n"
    "                         randomizations less one), 12345 for any run\n"
    "  --randomizations R     number of randomization steps, the observed grouping included\n"
    "                         (999 is the observed grouping and 998 shuffles), 1 or more\n"
    "  --help                 this text\n"
    "  --version              the version\n"
    "\n"
    "RESULTS.TXT is written in the current directory. Exit codes: 0 done; 1 missing input\n"
    "file or bad group number (without options); 2 a fault in the options or the input files\n"
    "(with options; nothing is written); 255 run-time error.\n";

constexpr std::int64_t kSmallestSeed = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLargestNumber = std::numeric_limits<std::int32_t>::max();

enum class Option { Data, Community, Groups, Seed, Randomizations };

constexpr std::pair<std::string_view, Option> kOptions[] = {
    {"--data", Option::Data},
    {"--community", Option::Community},
    {"--groups", Option::Groups},
    {"--seed", Option::Seed},
    {"--randomizations", Option::Randomizations},
};

std::optional<Option> OptionNamed(std::string_view name) {
  for (const auto& [optionName, option] : kOptions) {
    if (optionName == name) return option;
  }
  return std::nullopt;
}

std::string NameOf(Option option) {
  for (const auto& [name, named] : kOptions) {
    if (named == option) return std::string(name);
  }
  return {};
}

// What each option takes, as a fault says it.
std::string Expects(Option option) {
  switch (option) {
    case Option::Data:
      return "the name of a data file";
    case Option::Community:
      return "the name of a CSV community table";
    case Option::Groups:
      return "the name of a groups file";
    case Option::Seed:
      return "a whole number from " + std::to_string(kSmallestSeed) + " to " +
             std::to_string(kLargestNumber);
    case Option::Randomizations:
      return "a whole number from 1 to " + std::to_string(kLargestNumber);
  }
  return {};
}

CommandLine Ended(int exitCode) {
  return {exitCode, std::nullopt};
}

CommandLine Faulty(const InputFault& fault) {
  std::fprintf(stderr, "%s\n", FaultLine(fault).c_str());
  return Ended(kInputFaultExitCode);
}

// The options given, each once, with their values.
using GivenOptions = std::map<Option, std::string>;

std::optional<std::int32_t> NumberIn(const std::string& text, std::int64_t smallest) {
  const auto number = WholeNumber(text);
  if (!number || *number < smallest || *number > kLargestNumber) return std::nullopt;
  return static_cast<std::int32_t>(*number);
}

std::optional<InputFault> RequestFault(const GivenOptions& given, RunRequest& request) {
  const auto has = [&given](Option option) { return given.contains(option); };
  if (has(Option::Data) == has(Option::Community)) {
    return InputFault{has(Option::Data) ? "--data and --community" : "--data or --community",
                      has(Option::Data) ? "both given" : "missing",
                      "one of --data FILE and --community FILE.csv"};
  }
  for (const Option required : {Option::Groups, Option::Seed, Option::Randomizations}) {
    if (!has(required)) return InputFault{NameOf(required), "missing", Expects(required)};
  }
  const Option table = has(Option::Data) ? Option::Data : Option::Community;
  request.tableForm = table == Option::Data ? TableForm::DataFile : TableForm::Csv;
  request.tableFile = given.at(table);
  request.groupsFile = given.at(Option::Groups);
  if (table == Option::Data && IsCsvFileName(request.groupsFile)) {
    return InputFault{"--groups " + request.groupsFile,
                      "a CSV groups file, whose sites are named, with a data file, whose sites "
                      "are not",
                      "a groups file of numbers with --data, or --community with a CSV"};
  }
  const std::pair<Option, std::int64_t> numbers[] = {{Option::Seed, kSmallestSeed},
                                                      {Option::Randomizations, 1}};
  for (const auto& [option, smallest] : numbers) {
    const std::string& text = given.at(option);
    const auto number = NumberIn(text, smallest);
    if (!number) return InputFault{NameOf(option), Quoted(text), Expects(option)};
    (option == Option::Seed ? request.randomSeed : request.randomizationCount) = *number;
  }
  return std::nullopt;
}

}  // namespace

CommandLine ReadCommandLine(int argumentCount, const char* const* arguments) {
  if (argumentCount <= 1) return {};
  GivenOptions given;
  for (int index = 1; index < argumentCount; ++index) {
    const std::string_view argument = arguments[index];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return Ended(0);
    }
    if (argument == "--version") {
      std::printf("kova-cli %s\n", KOVA_VERSION);
      return Ended(0);
    }
    // --seed=N is --seed N.
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : argument.npos;
    const std::string_view name = argument.substr(0, equals);
    const auto option = OptionNamed(name);
    if (!option) {
      return Faulty({Quoted(argument),
                     argument.starts_with("-") ? "an unknown option" : "an argument without an option",
                     "--data, --community, --groups, --seed, --randomizations, --help or "
                     "--version"});
    }
    if (given.contains(*option)) return Faulty({NameOf(*option), "given twice", "each option once"});
    std::string value;
    if (equals != argument.npos) {
      value = argument.substr(equals + 1);
    } else if (index + 1 < argumentCount && !std::string_view(arguments[index + 1]).starts_with("--")) {
      value = arguments[++index];
    }
    if (value.empty()) return Faulty({NameOf(*option), "no value", Expects(*option)});
    given[*option] = value;
  }
  CommandLine commandLine;
  commandLine.request.emplace();
  if (const auto fault = RequestFault(given, *commandLine.request)) return Faulty(*fault);
  return commandLine;
}

}  // namespace kova::cli
