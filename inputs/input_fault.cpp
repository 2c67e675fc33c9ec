#include "inputs/input_fault.h"

#include "textio/console.h"
#include "textio/run_endings.h"

namespace kova {
namespace {

// Longer values are shown by their start: a whole line of a file says no more than that.
constexpr std::size_t kLongestQuotedValue = 40;

}  // namespace

std::string AtLine(std::string_view file, std::int64_t line) {
  return std::string(file) + ", line " + std::to_string(line);
}

std::string Quoted(std::string_view value) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const bool cut = value.size() > kLongestQuotedValue;
  if (cut) value = value.substr(0, kLongestQuotedValue);
  std::string quoted = "\"";
  for (const char character : value) {
    const auto code = static_cast<unsigned char>(character);
    if (character == '"' || character == '\\') {
      quoted += '\\';
      quoted += character;
    } else if (code < 0x20 || code == 0x7F) {
      quoted += "\\x";
      quoted += kHexDigits[code >> 4];
      quoted += kHexDigits[code & 0xF];
    } else {
      quoted += character;
    }
  }
  quoted += cut ? "...\"" : "\"";
  return quoted;
}

std::string FaultLine(const InputFault& fault, std::string_view program) {
  return std::string(program) + ": " + fault.where + ": " + fault.found + "; expected " +
         fault.expected;
}

void ReportInputFault(const InputFault& fault, std::string_view program) {
  WriteErrorText(FaultLine(fault, program) + "\n");
  EndRun(kInputFaultExitCode);
}

}  // namespace kova
