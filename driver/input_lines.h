// An input file of a run started with options, read a line at a time and counted, so that a
// fault can name its line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "driver/input_fault.h"

namespace kova {

class InputLines {
 public:
  // Opens the named file for reading; a failure shows in Fault().
  explicit InputLines(std::string fileName);
  ~InputLines();
  InputLines(const InputLines&) = delete;
  InputLines& operator=(const InputLines&) = delete;

  const std::string& FileName() const { return fileName_; }

  // Stores the next line without its line feed and returns true; false at the end of the
  // file or when the file cannot be read (Fault() then says why). Bytes after the last line
  // feed are a line too.
  bool Next(std::string& line);

  // The number of the line Next stored last (1 for the first line), 0 before the first.
  std::int64_t LineNumber() const { return lineNumber_; }

  // The failed open or read, if any.
  const std::optional<InputFault>& Fault() const { return fault_; }

 private:
  std::string fileName_;
  std::FILE* file_ = nullptr;
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  std::int64_t lineNumber_ = 0;
  std::optional<InputFault> fault_;
};

}  // namespace kova
