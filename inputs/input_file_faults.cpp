#include "inputs/input_file_faults.h"

#include <cerrno>
#include <cstring>

namespace kova {
namespace {

InputFault FileFault(const std::string& fileName, const char* failure, int error) {
  return {fileName, std::string(failure) + " (" + std::strerror(error) + ")", "a readable file"};
}

}  // namespace

std::optional<InputFault> OpenInputFile(const std::string& fileName,
                                        std::unique_ptr<ByteSource>& source) {
  int error = 0;
  source = OpenFileSource(fileName, error);
  if (!source) return FileFault(fileName, "cannot be opened", error);
  return std::nullopt;
}

// A directory opens, and fails at its first read.
InputFault ReadFault(const std::string& fileName, ReadOutcome outcome, int error) {
  return FileFault(fileName, "cannot be read", outcome == ReadOutcome::NoRoom ? ENOMEM : error);
}

}  // namespace kova
