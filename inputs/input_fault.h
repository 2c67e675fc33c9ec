// The one way a fault in a run's options or input files ends a run started with options:
// one line on the error stream that says where the fault is, what was found there and what
// was expected, and exit code 2. Every fault is found before anything is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

constexpr int kInputFaultExitCode = 2;

struct InputFault {
  std::string where;     // "data.txt, line 3", "groups.csv" or an option such as "--seed"
  std::string found;     // what stands there, its value quoted
  std::string expected;  // what would have been right
};

// What an abundance read with options must be: the indicator values share out a species'
// abundance among the groups, which a negative abundance makes meaningless.
inline constexpr const char* kAbundanceExpected =
    "an abundance of 0 or more, such as a count, a cover or a biomass";

// "FILE, line N": where a fault on a line of a file is.
std::string AtLine(std::string_view file, std::int64_t line);

// A value as a message shows it: in double quotes, with quotes, backslashes and control
// characters escaped and a long value cut short.
std::string Quoted(std::string_view value);

// "PROGRAM: WHERE: FOUND; expected EXPECTED", without a line end.
std::string FaultLine(const InputFault& fault, std::string_view program);

// Writes the fault's line to the error stream and ends the run with exit code 2.
[[noreturn]] void ReportInputFault(const InputFault& fault, std::string_view program);

}  // namespace kova
