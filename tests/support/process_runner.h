// Runs a real program as a process, with standard input from a string, and collects its
// standard output, standard error and exit status.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kova::test_support {

struct ProcessResult {
  int exitCode = -1;  // as the shell sees it (0 to 255); -1 when killed by a signal
  int signal = 0;
  std::string output;
  std::string error;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input, const std::string& workingFolder,
                         const std::map<std::string, std::string>& environment = {});

}  // namespace kova::test_support
