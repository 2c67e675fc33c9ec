#include "tests/support/process_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "tests/support/scratch_folder.h"

namespace kova::test_support {

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input, const std::string& workingFolder,
                         const std::map<std::string, std::string>& environment) {
  // Files, not pipes: no process can block on a full pipe.
  ScratchFolder streams;
  const std::string inputPath = streams.Write("stdin", input);
  const std::string outputPath = streams.File("stdout");
  const std::string errorPath = streams.File("stderr");

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int in = ::open(inputPath.c_str(), O_RDONLY);
    const int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) ::_exit(127);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    if (::chdir(workingFolder.c_str()) != 0) ::_exit(127);
    for (const auto& [name, value] : environment)
      ::setenv(name.c_str(), value.c_str(), 1);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }

  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  ProcessResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.output = ReadWholeFile(outputPath);
  result.error = ReadWholeFile(errorPath);
  return result;
}

RunningProcess::RunningProcess(const std::string& program,
                               const std::vector<std::string>& arguments, const std::string& input,
                               const std::string& workingFolder) {
  const std::string outputPath = streams_.File("stdout");
  const std::string errorPath = streams_.File("stderr");
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  child_ = ::fork();
  if (child_ < 0) throw std::runtime_error("fork failed");
  if (child_ == 0) {
    const int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) ::_exit(127);
    ::dup2(pipeEnds[0], STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::close(pipeEnds[1]);
    if (::chdir(workingFolder.c_str()) != 0) ::_exit(127);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeEnds[0]);
  input_ = pipeEnds[1];
  if (!input.empty() && ::write(input_, input.data(), input.size()) < 0) {
    throw std::runtime_error("writing the input failed");
  }
}

RunningProcess::~RunningProcess() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    Finish();
  }
}

void RunningProcess::Signal(int signal) const {
  ::kill(child_, signal);
}

bool RunningProcess::WaitForOutput(const std::string& text,
                                   std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (ReadWholeFile(streams_.File("stdout")).find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

ProcessResult RunningProcess::Finish() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
  int status = 0;
  while (::waitpid(child_, &status, 0) < 0) {
  }
  child_ = -1;
  ProcessResult result;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.output = ReadWholeFile(streams_.File("stdout"));
  result.error = ReadWholeFile(streams_.File("stderr"));
  return result;
}

}  // namespace kova::test_support
