// The system's rules for a single command line: splitting it into arguments, finding the
// tail that follows the program's name, and the program's title.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kova::host {

// Splits a command line into its arguments, the program's name first. Quotes group blanks
// into an argument; "" and \" each give one quote character; a closing quote ends the
// argument even when letters follow. A line that begins with white space has no arguments.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// What follows the program's name (quoted or not) and the blanks and TABs after it.
std::string_view CommandTail(std::string_view commandLine);

// The file-name part of the program's path, extension included: the frame's title.
std::string_view ProgramTitle(std::string_view programPath);

}  // namespace kova::host
