#include "host/command_line.h"

namespace kova::host {
namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

// Reads one argument from `position` on and leaves `position` after it.
std::string ReadArgument(std::string_view line, std::size_t& position) {
  std::string argument;
  bool quoted = false;
  while (position < line.size()) {
    const char c = line[position];
    if (!quoted && IsWhiteSpace(c)) break;
    if (c != '"') {
      argument += c;
      ++position;
      continue;
    }
    if (!argument.empty() && argument.back() == '\\') {
      argument.back() = '"';  // \" is a quote character
      ++position;
    } else if (position + 1 < line.size() && line[position + 1] == '"') {
      argument += '"';  // so is ""
      position += 2;
    } else if (quoted) {
      ++position;  // the closing quote ends the argument
      break;
    } else {
      quoted = true;
      ++position;
    }
  }
  return argument;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t position = 0;
  for (;;) {
    std::string argument = ReadArgument(commandLine, position);
    // The first empty argument ends the line: its end, or white space at its very start.
    if (argument.empty()) break;
    arguments.push_back(std::move(argument));
    while (position < commandLine.size() && IsWhiteSpace(commandLine[position]))
      ++position;
  }
  return arguments;
}

std::string_view CommandTail(std::string_view commandLine) {
  std::size_t position = 0;
  if (!commandLine.empty() && commandLine.front() == '"') {
    const std::size_t closing = commandLine.find('"', 1);
    position = closing == std::string_view::npos ? commandLine.size() : closing + 1;
  } else {
    while (position < commandLine.size() && !IsBlankOrTab(commandLine[position]))
      ++position;
  }
  while (position < commandLine.size() && IsBlankOrTab(commandLine[position]))
    ++position;
  return commandLine.substr(position);
}

std::string_view ProgramTitle(std::string_view programPath) {
  const std::size_t separator = programPath.find_last_of("\\/");
  return separator == std::string_view::npos ? programPath : programPath.substr(separator + 1);
}

}  // namespace kova::host
