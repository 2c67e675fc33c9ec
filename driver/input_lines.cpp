#include "driver/input_lines.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kova {
namespace {

InputFault FileFault(const std::string& fileName, const char* failure, int error) {
  return {fileName, std::string(failure) + " (" + std::strerror(error) + ")", "a readable file"};
}

}  // namespace

InputLines::InputLines(std::string fileName) : fileName_(std::move(fileName)) {
  file_ = std::fopen(fileName_.c_str(), "rb");
  if (file_ == nullptr) fault_ = FileFault(fileName_, "cannot be opened", errno);
}

InputLines::~InputLines() {
  std::free(buffer_);
  if (file_ != nullptr) std::fclose(file_);
}

bool InputLines::Next(std::string& line) {
  if (file_ == nullptr || fault_) return false;
  errno = 0;
  const ssize_t count = ::getline(&buffer_, &capacity_, file_);
  if (count < 0) {
    // A directory opens, and fails at its first read.
    if (std::ferror(file_)) fault_ = FileFault(fileName_, "cannot be read", errno);
    return false;
  }
  std::size_t length = static_cast<std::size_t>(count);
  if (length > 0 && buffer_[length - 1] == '\n') --length;
  line.assign(buffer_, length);
  ++lineNumber_;
  return true;
}

}  // namespace kova
