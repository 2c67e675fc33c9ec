#include "apps/kova-cli/command_line_options.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
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
    "                [--species-table FILE.csv] [--summary FILE.csv] [--plot FILE.svg] [--quiet]\n"
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
    "  --species-table FILE   once the run is complete, a CSV table of every species: per\n"
    "                         variant the group of its largest value, that value (0-1 scale),\n"
    "                         its p-value and the p-values adjusted by Holm and by Benjamini-\n"
    "                         Hochberg over the species\n"
    "  --summary FILE         once the run is complete, a CSV table of the final table at full\n"
    "                         precision, with the standard deviation and the p-value\n"
    "  --plot FILE            once the run is complete, an SVG picture of the randomization\n"
    "                         distribution of each variant with the observed sum marked\n"
    "  --quiet                the step records go to RESULTS.TXT only, not to the console; on a\n"
    "                         terminal, standard error shows one line of progress instead\n"
    "  --help                 this text\n"
    "  --version              the version\n"
    "\n"
    "RESULTS.TXT is written in the current directory. Exit codes: 0 done; 1 missing input\n"
    "file or bad group number (without options); 2 a fault in the options or the input files\n"
    "(with options; nothing is written); 3 a file of --species-table, --summary or --plot\n"
    "could not be written (the console and RESULTS.TXT are complete); 255 run-time error.\n";

constexpr std::int64_t kSmallestSeed = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLargestNumber = std::numeric_limits<std::int32_t>::max();

enum class Option {
  Data,
  Community,
  Groups,
  Seed,
  Randomizations,
  SpeciesTable,
  Summary,
  Plot,
  Quiet
};

constexpr std::pair<std::string_view, Option> kOptions[] = {
    {"--data", Option::Data},
    {"--community", Option::Community},
    {"--groups", Option::Groups},
    {"--seed", Option::Seed},
    {"--randomizations", Option::Randomizations},
    {"--species-table", Option::SpeciesTable},
    {"--summary", Option::Summary},
    {"--plot", Option::Plot},
    {"--quiet", Option::Quiet},
};

constexpr const char* kOptionList =
    "--data, --community, --groups, --seed, --randomizations, --species-table, --summary, "
    "--plot, --quiet, --help or --version";

// The options that name a file the run writes once it completes.
constexpr Option kResultFileOptions[] = {Option::SpeciesTable, Option::Summary, Option::Plot};

// An option that is a switch takes no value.
bool TakesValue(Option option) {
  return option != Option::Quiet;
}

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
    case Option::SpeciesTable:
    case Option::Summary:
      return "the name of a CSV file to write";
    case Option::Plot:
      return "the name of an SVG file to write";
    case Option::Quiet:
      return "no value";
  }
  return {};
}

CommandLine Ended(int exitCode) {
  return {exitCode, std::nullopt, {}};
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
  if (has(Option::Quiet)) request.consoleSteps = ConsoleSteps::LeftOut;
  return std::nullopt;
}

namespace fs = std::filesystem;

// Whether two names are the same file: the same path once links are followed (even a link to
// a file not there yet) and the path is made absolute, or, for files that exist, the same file
// by any path.
bool SameFile(const std::string& first, const std::string& second) {
  std::error_code firstError;
  std::error_code secondError;
  const fs::path firstPath =
      fs::weakly_canonical(fs::absolute(ResultFilePath(first), firstError), firstError);
  const fs::path secondPath =
      fs::weakly_canonical(fs::absolute(ResultFilePath(second), secondError), secondError);
  if (!firstError && !secondError && firstPath == secondPath) return true;
  std::error_code error;
  return fs::equivalent(first, second, error);
}

// A file the run is to write once it completes: it must not be one the run reads or writes
// otherwise, nor a folder, and it or its folder must be writable, so that nothing is found
// wrong only after a long run.
std::optional<InputFault> ResultFileFault(Option option, const std::string& name,
                                          const RunRequest& request) {
  const std::string where = NameOf(option) + " " + name;
  for (const std::string& other : {request.tableFile, request.groupsFile, std::string("RESULTS.TXT")}) {
    if (SameFile(name, other)) {
      return InputFault{where, "the file " + other + ", which the run " +
                                   (other == "RESULTS.TXT" ? "writes" : "reads"),
                        "another file for the run to write"};
    }
  }
  std::error_code error;
  const fs::path path(ResultFilePath(name));
  const bool exists = fs::exists(path, error);
  if (exists && fs::is_directory(path, error)) {
    return InputFault{where, "a folder", Expects(option)};
  }
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (::access(exists ? path.c_str() : folder.c_str(), W_OK) != 0) {
    return InputFault{where, std::string("cannot be written (") + std::strerror(errno) + ")",
                      "a file in a folder that exists and can be written"};
  }
  return std::nullopt;
}

std::optional<InputFault> ResultFilesFault(const GivenOptions& given, const RunRequest& request,
                                           ResultFiles& files) {
  std::string* names[] = {&files.speciesTable, &files.summary, &files.plot};
  for (std::size_t k = 0; k < std::size(kResultFileOptions); ++k) {
    const Option option = kResultFileOptions[k];
    if (!given.contains(option)) continue;
    const std::string& name = given.at(option);
    if (auto fault = ResultFileFault(option, name, request)) return fault;
    for (std::size_t before = 0; before < k; ++before) {
      if (!names[before]->empty() && SameFile(name, *names[before])) {
        return InputFault{NameOf(option) + " " + name,
                          "the file " + NameOf(kResultFileOptions[before]) + " names",
                          "a file of its own for each of --species-table, --summary and --plot"};
      }
    }
    *names[k] = name;
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
                     kOptionList});
    }
    if (given.contains(*option)) return Faulty({NameOf(*option), "given twice", "each option once"});
    if (!TakesValue(*option)) {
      if (equals != argument.npos) {
        return Faulty({NameOf(*option), Quoted(argument.substr(equals + 1)), Expects(*option)});
      }
      given[*option] = "";
      continue;
    }
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
  if (const auto fault = ResultFilesFault(given, *commandLine.request, commandLine.resultFiles)) {
    return Faulty(*fault);
  }
  return commandLine;
}

}  // namespace kova::cli
