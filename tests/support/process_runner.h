// Runs a real program as a process, with standard input from a string, and collects its
// standard output, standard error and exit status.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

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

// A program running in the background, with standard output and error going to files and
// standard input a pipe that stays open until Finish: a program waiting for input waits.
class RunningProcess {
 public:
  RunningProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& input, const std::string& workingFolder);
  ~RunningProcess();
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;

  void Signal(int signal) const;
  // Waits, up to `timeout`, until the program's standard output holds `text`; false if it
  // did not in time.
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout) const;
  // Closes standard input, waits for the program to end and collects what it wrote.
  ProcessResult Finish();

 private:
  ScratchFolder streams_;  // holds the output files
  int child_ = -1;
  int input_ = -1;
};

}  // namespace kova::test_support
