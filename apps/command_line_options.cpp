#include "apps/command_line_options.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "inputs/input_fault.h"
#include "inputs/number_forms.h"
#include "textio/console.h"

namespace kova::cli {
namespace {

constexpr std::int64_t kSmallestSeed = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLargestNumber = std::numeric_limits<std::int32_t>::max();

// ---- The options ------------------------------------------------------------------------
// Every option once: its name, what its value is, what a fault says it takes, and its help.

enum class Option {
  Data,
  Community,
  Groups,
  Seed,
  Randomizations,
  Blocks,
  Combinations,
  MaxOrder,
  Correlation,
  Bootstrap,
  ConfidenceLevel,
  SpeciesTable,
  Summary,
  Plot,
  SpeciesReport,
  Alpha,
  Quiet
};

// What an option's value is, which decides how it is read and checked.
enum class ValueKind {
  Switch,      // no value
  InputFile,   // a file the run reads
  ResultFile,  // a file the run writes once it completes
  Seed,        // a whole number in the 32-bit range
  Count,       // a whole number from 1
  Fraction,    // a number above 0 and at most 1
  Level,       // a number above 0 and below 1
};

// Which options a run needs.
enum class Need {
  Table,     // one of the options that name the table
  Required,  // always
  Optional,
};

// Where an option's value goes: a field of the run's request, of the statistics it is asked
// for, or of what it adds once complete. A switch sets its flag; the table's two options are
// the one field with a form of its own.
using Target = std::variant<std::monostate, std::string RunRequest::*, std::int32_t RunRequest::*,
                            bool AssociationRequest::*, std::int32_t AssociationRequest::*,
                            double AssociationRequest::*, std::string RunOutputs::*,
                            bool RunOutputs::*, double RunOutputs::*>;

struct OptionDefinition {
  Option option;
  std::string_view name;
  std::string_view value;  // the value as the help shows it; empty for a switch
  ValueKind kind;
  Need need;
  std::string_view expects;  // what the option takes, as a fault says it
  std::string_view help;     // its lines in the help, a line feed between them
  Target target;
};

const OptionDefinition kOptions[] = {
    {Option::Data, "--data", "FILE", ValueKind::InputFile, Need::Table,
     "the name of a data file",
     "data file: a title line, the numbers of species, sites and\n"
     "groups, then a row of abundances per species",
     &RunRequest::tableFile},
    {Option::Community, "--community", "FILE.csv", ValueKind::InputFile, Need::Table,
     "the name of a CSV community table",
     "CSV table instead of --data, as R's write.csv writes a community\n"
     "data frame: species names, then a row per site (its name first)",
     &RunRequest::tableFile},
    {Option::Groups, "--groups", "FILE", ValueKind::InputFile, Need::Required,
     "the name of a groups file",
     "the group number of each site in site order; with --community\n"
     "also a CSV (name ending in .csv) of site names and group labels",
     &RunRequest::groupsFile},
    {Option::Seed, "--seed", "N", ValueKind::Seed, Need::Required,
     "a whole number from -2147483648 to 2147483647",
     "random seed, a whole number whose random numbers do not repeat\n"
     "within the run: any odd seed up to 931166 draws (sites times\n"
     "randomizations less one), 12345 for any run",
     &RunRequest::randomSeed},
    {Option::Randomizations, "--randomizations", "R", ValueKind::Count, Need::Required,
     "a whole number from 1 to 2147483647",
     "number of randomization steps, the observed grouping included\n"
     "(999 is the observed grouping and 998 shuffles), 1 or more",
     &RunRequest::randomizationCount},
    {Option::Blocks, "--blocks", "FILE.csv", ValueKind::InputFile, Need::Optional,
     "the name of a CSV file of site names and block labels",
     "with --community, a CSV of each site's name and block (transect,\n"
     "region, year): every step shuffles the groups only among the\n"
     "sites of the same block, for every statistic of the run",
     &RunRequest::blocksFile},
    {Option::Combinations, "--combinations", "", ValueKind::Switch, Need::Optional, "no value",
     "the species table adds, per species, the combination of groups\n"
     "(one or more) of its largest group-equalized indicator value\n"
     "(IndVal.g), with A, B, its p-value and their adjustments",
     &AssociationRequest::combinations},
    {Option::MaxOrder, "--max-order", "K", ValueKind::Count, Need::Optional,
     "a whole number from 1 to 2147483647",
     "the most groups a combination holds (every group unless given)",
     &AssociationRequest::maxOrder},
    {Option::Correlation, "--rg", "", ValueKind::Switch, Need::Optional, "no value",
     "the species table adds, per species, its largest group-equalized\n"
     "point-biserial correlation r.g: of single groups, or with\n"
     "--combinations of combinations of up to all groups but one",
     &AssociationRequest::correlation},
    {Option::Bootstrap, "--bootstrap", "B", ValueKind::Count, Need::Optional,
     "a whole number from 1 to 2147483647",
     "the species table adds confidence intervals of APCF (and with\n"
     "--combinations of IndVal) at the species' group, from B\n"
     "resamples of the sites within their groups",
     &AssociationRequest::bootstrapResamples},
    {Option::ConfidenceLevel, "--ci", "C", ValueKind::Level, Need::Optional,
     "a number above 0 and below 1, such as 0.95",
     "the share the --bootstrap intervals cover (0.95 unless given)",
     &AssociationRequest::confidenceLevel},
    {Option::SpeciesTable, "--species-table", "FILE.csv", ValueKind::ResultFile, Need::Optional,
     "the name of a CSV file to write",
     "once the run is complete, a CSV table of every species: per\n"
     "variant the group of its largest value, that value (0-1 scale),\n"
     "its p-value and the p-values adjusted by Holm and by Benjamini-\n"
     "Hochberg over the species",
     &RunOutputs::speciesTable},
    {Option::Summary, "--summary", "FILE.csv", ValueKind::ResultFile, Need::Optional,
     "the name of a CSV file to write",
     "once the run is complete, a CSV table of the final table at full\n"
     "precision, with the standard deviation and the p-value",
     &RunOutputs::summary},
    {Option::Plot, "--plot", "FILE.svg", ValueKind::ResultFile, Need::Optional,
     "the name of an SVG file to write",
     "once the run is complete, an SVG picture of the randomization\n"
     "distribution of each variant with the observed sum marked",
     &RunOutputs::plot},
    {Option::SpeciesReport, "--species-report", "", ValueKind::Switch, Need::Optional, "no value",
     "once the run is complete, the indicator species of each group on\n"
     "the console after the final table: the species whose APCF\n"
     "p-value is at most --alpha, the strongest first, with A, B, the\n"
     "value and p",
     &RunOutputs::speciesReport},
    {Option::Alpha, "--alpha", "A", ValueKind::Fraction, Need::Optional,
     "a number above 0 and at most 1, such as 0.05",
     "the largest p-value --species-report lists (0.05 unless given)",
     &RunOutputs::alpha},
    {Option::Quiet, "--quiet", "", ValueKind::Switch, Need::Optional, "no value",
     "the step records go to RESULTS.TXT only, not to the console; on a\n"
     "terminal, standard error shows one line of progress instead",
     {}},
};

// The two that end the program at once, listed with the others.
constexpr std::pair<std::string_view, std::string_view> kProgramOptions[] = {
    {"--help", "this text"}, {"--version", "the version"}};

const OptionDefinition* Named(std::string_view name) {
  for (const OptionDefinition& definition : kOptions) {
    if (definition.name == name) return &definition;
  }
  return nullptr;
}

const OptionDefinition& Definition(Option option) {
  for (const OptionDefinition& definition : kOptions) {
    if (definition.option == option) return definition;
  }
  return kOptions[0];
}

std::string NameOf(Option option) {
  return std::string(Definition(option).name);
}

// "--data, --community, ..., --help or --version", as a fault lists the options.
std::string OptionList() {
  std::string list;
  for (const OptionDefinition& definition : kOptions)
    list += std::string(definition.name) + ", ";
  return list + std::string(kProgramOptions[0].first) + " or " +
         std::string(kProgramOptions[1].first);
}

// ---- The help text ----------------------------------------------------------------------

constexpr std::size_t kHelpColumn = 25;

// "--seed N", or "[--plot FILE.svg]" for an option a run may leave out.
std::string Synopsis(const OptionDefinition& definition) {
  std::string text(definition.name);
  if (!definition.value.empty()) text += " " + std::string(definition.value);
  return definition.need == Need::Optional ? "[" + text + "]" : text;
}

// One option of the list: its name and value, then its help lines from kHelpColumn on.
std::string HelpEntry(std::string_view nameAndValue, std::string_view help) {
  std::string entry = "  " + std::string(nameAndValue);
  std::size_t start = 0;
  for (bool first = true; start <= help.size(); first = false) {
    const std::size_t end = std::min(help.find('\n', start), help.size());
    const std::size_t column = first ? entry.size() - entry.rfind('\n') - 1 : 0;
    entry += (first && column < kHelpColumn ? std::string(kHelpColumn - column, ' ')
                                            : "\n" + std::string(kHelpColumn, ' ')) +
             std::string(help.substr(start, end - start));
    start = end + 1;
  }
  return entry + "\n";
}

// ---- Reading the options ----------------------------------------------------------------

// The options given, each once, with their values.
using GivenOptions = std::map<Option, std::string>;

// Help and faults go to the console, which is the window in the windowed program.
void WriteOutputText(const std::string& text) {
  Console().WriteText(text.data(), text.size(), ConsoleStream::Output);
}

CommandLine Ended(int exitCode) {
  return {exitCode, std::nullopt, {}};
}

CommandLine Faulty(std::string_view program, const InputFault& fault) {
  WriteErrorText(FaultLine(fault, program) + "\n");
  return Ended(kInputFaultExitCode);
}

std::optional<std::int32_t> NumberIn(const std::string& text, std::int64_t smallest) {
  const auto number = WholeNumber(text);
  if (!number || *number < smallest || *number > kLargestNumber) return std::nullopt;
  return static_cast<std::int32_t>(*number);
}

// A number in the range its kind allows.
std::optional<double> FractionIn(const std::string& text, ValueKind kind) {
  const auto number = CsvDouble(text, '.');
  if (!number || !(*number > 0.0)) return std::nullopt;
  if (kind == ValueKind::Level ? !(*number < 1.0) : !(*number <= 1.0)) return std::nullopt;
  return number;
}

// Stores an option's value where it goes, checked as its kind says.
std::optional<InputFault> ApplyValue(const OptionDefinition& definition, const std::string& text,
                                     CommandLine& commandLine) {
  RunRequest& request = *commandLine.request;
  const InputFault fault{std::string(definition.name), Quoted(text),
                         std::string(definition.expects)};
  const auto whole = [&](std::int32_t& field) -> std::optional<InputFault> {
    const auto number = NumberIn(text, definition.kind == ValueKind::Seed ? kSmallestSeed : 1);
    if (!number) return fault;
    field = *number;
    return std::nullopt;
  };
  const auto fraction = [&](double& field) -> std::optional<InputFault> {
    const auto number = FractionIn(text, definition.kind);
    if (!number) return fault;
    field = *number;
    return std::nullopt;
  };
  return std::visit(
      [&](auto target) -> std::optional<InputFault> {
        using T = decltype(target);
        if constexpr (std::is_same_v<T, std::string RunRequest::*>) {
          request.*target = text;
        } else if constexpr (std::is_same_v<T, std::int32_t RunRequest::*>) {
          return whole(request.*target);
        } else if constexpr (std::is_same_v<T, bool AssociationRequest::*>) {
          request.associations.*target = true;
        } else if constexpr (std::is_same_v<T, std::int32_t AssociationRequest::*>) {
          return whole(request.associations.*target);
        } else if constexpr (std::is_same_v<T, double AssociationRequest::*>) {
          return fraction(request.associations.*target);
        } else if constexpr (std::is_same_v<T, std::string RunOutputs::*>) {
          commandLine.outputs.*target = text;
        } else if constexpr (std::is_same_v<T, bool RunOutputs::*>) {
          commandLine.outputs.*target = true;
        } else if constexpr (std::is_same_v<T, double RunOutputs::*>) {
          return fraction(commandLine.outputs.*target);
        } else {
          request.consoleSteps = ConsoleSteps::LeftOut;  // the one switch of the console
        }
        return std::nullopt;
      },
      definition.target);
}

// An option that only means something beside another.
struct Dependence {
  Option option;
  Option needs;
};
constexpr Dependence kDependences[] = {{Option::Blocks, Option::Community},
                                       {Option::MaxOrder, Option::Combinations},
                                       {Option::ConfidenceLevel, Option::Bootstrap},
                                       {Option::Alpha, Option::SpeciesReport}};

std::optional<InputFault> RequestFault(const GivenOptions& given, CommandLine& commandLine) {
  const auto has = [&given](Option option) { return given.contains(option); };
  if (has(Option::Data) == has(Option::Community)) {
    return InputFault{has(Option::Data) ? "--data and --community" : "--data or --community",
                      has(Option::Data) ? "both given" : "missing",
                      "one of --data FILE and --community FILE.csv"};
  }
  for (const OptionDefinition& definition : kOptions) {
    if (definition.need == Need::Required && !has(definition.option)) {
      return InputFault{std::string(definition.name), "missing", std::string(definition.expects)};
    }
  }
  RunRequest& request = *commandLine.request;
  request.tableForm = has(Option::Data) ? TableForm::DataFile : TableForm::Csv;
  if (request.tableForm == TableForm::DataFile && IsCsvFileName(given.at(Option::Groups))) {
    return InputFault{"--groups " + given.at(Option::Groups),
                      "a CSV groups file, whose sites are named, with a data file, whose sites "
                      "are not",
                      "a groups file of numbers with --data, or --community with a CSV"};
  }
  for (const OptionDefinition& definition : kOptions) {
    if (!has(definition.option)) continue;
    if (auto fault = ApplyValue(definition, given.at(definition.option), commandLine)) return fault;
  }
  for (const auto& [option, needs] : kDependences) {
    if (has(option) && !has(needs)) {
      return InputFault{NameOf(option), "without " + NameOf(needs),
                        NameOf(needs) + " beside " + NameOf(option)};
    }
  }
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
std::optional<InputFault> ResultFileFault(const OptionDefinition& definition,
                                          const std::string& name, const RunRequest& request) {
  const std::string where = std::string(definition.name) + " " + name;
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
    return InputFault{where, "a folder", std::string(definition.expects)};
  }
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (::access(exists ? path.c_str() : folder.c_str(), W_OK) != 0) {
    return InputFault{where, std::string("cannot be written (") + std::strerror(errno) + ")",
                      "a file in a folder that exists and can be written"};
  }
  return std::nullopt;
}

// "--species-table, --summary and --plot": the options of a kind, as a fault lists them.
std::string NamesOfKind(ValueKind kind) {
  std::vector<std::string_view> names;
  for (const OptionDefinition& definition : kOptions) {
    if (definition.kind == kind) names.push_back(definition.name);
  }
  std::string list;
  for (std::size_t k = 0; k < names.size(); ++k)
    list += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + std::string(names[k]);
  return list;
}

std::optional<InputFault> ResultFilesFault(const GivenOptions& given, const RunRequest& request,
                                           RunOutputs& files) {
  std::vector<const OptionDefinition*> earlier;
  for (const OptionDefinition& definition : kOptions) {
    if (definition.kind != ValueKind::ResultFile || !given.contains(definition.option)) continue;
    const std::string& name = given.at(definition.option);
    if (auto fault = ResultFileFault(definition, name, request)) return fault;
    for (const OptionDefinition* before : earlier) {
      if (SameFile(name, files.*std::get<std::string RunOutputs::*>(before->target))) {
        return InputFault{std::string(definition.name) + " " + name,
                          "the file " + std::string(before->name) + " names",
                          "a file of its own for each of " + NamesOfKind(ValueKind::ResultFile)};
      }
    }
    earlier.push_back(&definition);
  }
  return std::nullopt;
}

}  // namespace

std::string UsageText(std::string_view program) {
  const std::string name(program);
  std::string text = "usage: " + name + " < answers\n       " + name;
  std::size_t lineStart = text.rfind('\n') + 1;
  bool tableNamed = false;
  for (const OptionDefinition& definition : kOptions) {
    std::string part = Synopsis(definition);
    if (definition.need == Need::Table) {
      if (tableNamed) continue;
      tableNamed = true;
      std::string alternatives;
      for (const OptionDefinition& table : kOptions) {
        if (table.need == Need::Table)
          alternatives += (alternatives.empty() ? "" : " | ") + Synopsis(table);
      }
      part = "(" + alternatives + ")";
    }
    if (text.size() - lineStart + part.size() + 1 > 92) {
      text += "\n" + std::string(name.size() + 8, ' ');
      lineStart = text.rfind('\n') + 1;
    } else {
      text += " ";
    }
    text += part;
  }
  text +=
      "\n\n"
      "Without options, asks for the data file, a random seed, the number of randomizations\n"
      "and the group file, one answer per line. With options, takes the answers from them,\n"
      "checks both files and the seed before anything is written, and writes what the same\n"
      "answers typed or piped in would write.\n\n";
  for (const OptionDefinition& definition : kOptions) {
    std::string nameAndValue(definition.name);
    if (!definition.value.empty()) nameAndValue += " " + std::string(definition.value);
    text += HelpEntry(nameAndValue, definition.help);
  }
  for (const auto& [option, help] : kProgramOptions)
    text += HelpEntry(option, help);
  return text +
         "\n"
         "RESULTS.TXT is written in the current directory. Exit codes: 0 done; 1 missing input\n"
         "file or bad group number (without options); 2 a fault in the options or the input files\n"
         "(with options; nothing is written); 3 a file of --species-table, --summary or --plot\n"
         "could not be written (the console and RESULTS.TXT are complete); 255 run-time error.\n";
}

CommandLine ReadCommandLine(std::string_view program, int argumentCount,
                            const char* const* arguments) {
  if (argumentCount <= 1) return {};
  GivenOptions given;
  for (int index = 1; index < argumentCount; ++index) {
    const std::string_view argument = arguments[index];
    if (argument == "--help" || argument == "-h") {
      WriteOutputText(UsageText(program));
      return Ended(0);
    }
    if (argument == "--version") {
      WriteOutputText(std::string(program) + " " + KOVA_VERSION + "\n");
      return Ended(0);
    }
    // --seed=N is --seed N.
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : argument.npos;
    const OptionDefinition* definition = Named(argument.substr(0, equals));
    if (definition == nullptr) {
      return Faulty(program, {Quoted(argument),
                              argument.starts_with("-") ? "an unknown option"
                                                        : "an argument without an option",
                              OptionList()});
    }
    const Option option = definition->option;
    if (given.contains(option)) {
      return Faulty(program, {NameOf(option), "given twice", "each option once"});
    }
    const std::string expects(definition->expects);
    if (definition->kind == ValueKind::Switch) {
      if (equals != argument.npos) {
        return Faulty(program, {NameOf(option), Quoted(argument.substr(equals + 1)), expects});
      }
      given[option] = "";
      continue;
    }
    std::string value;
    if (equals != argument.npos) {
      value = argument.substr(equals + 1);
    } else if (index + 1 < argumentCount && !std::string_view(arguments[index + 1]).starts_with("--")) {
      value = arguments[++index];
    }
    if (value.empty()) return Faulty(program, {NameOf(option), "no value", expects});
    given[option] = value;
  }
  CommandLine commandLine;
  commandLine.request.emplace();
  commandLine.request->programName = std::string(program);
  commandLine.outputs.program = std::string(program);
  if (const auto fault = RequestFault(given, commandLine)) return Faulty(program, *fault);
  if (const auto fault = ResultFilesFault(given, *commandLine.request, commandLine.outputs)) {
    return Faulty(program, *fault);
  }
  return commandLine;
}

}  // namespace kova::cli
