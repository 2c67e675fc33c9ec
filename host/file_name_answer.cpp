#include "host/file_name_answer.h"

namespace kova::host {
namespace {

// The characters that end or split an unquoted value of a free-format read.
bool NeedsQuotes(std::string_view name) {
  return name.find_first_of(" \t/,'\"") != std::string_view::npos;
}

// In apostrophes, an apostrophe inside doubled.
std::string Quoted(std::string_view name) {
  std::string quoted = "'";
  for (const char c : name) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

}  // namespace

std::string FileNameAnswer(std::string_view workingFolder, std::string_view chosen) {
  std::string_view name = chosen;
  // The root's files keep their slash: "/" plus the name would lose it.
  if (workingFolder.size() > 1 && chosen.size() > workingFolder.size() + 1 &&
      chosen.starts_with(workingFolder) && chosen[workingFolder.size()] == '/') {
    name = chosen.substr(workingFolder.size() + 1);
  }
  return NeedsQuotes(name) ? Quoted(name) : std::string(name);
}

}  // namespace kova::host
