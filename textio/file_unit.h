// A unit connected to a file: its descriptor, its record reader and its output block.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "textio/records.h"

namespace kova {

class FileUnit {
 public:
  FileUnit(int number, std::string fileName, int descriptor, bool cutAtFirstWrite);
  ~FileUnit();
  FileUnit(const FileUnit&) = delete;
  FileUnit& operator=(const FileUnit&) = delete;

  int Number() const { return number_; }
  const std::string& FileName() const { return fileName_; }

  RecordReader& Reader();

  // Collects output in a block of 8192 bytes and writes each full block. Returns 0 or an
  // operating-system code.
  int Append(const char* data, std::size_t count);

  // Writes the unwritten block and closes the file. Returns 0 or an operating-system code;
  // the file is closed either way.
  int Close();

 private:
  int WriteBlock();

  int number_;
  std::string fileName_;
  int descriptor_;
  // Set at OPEN: the file is cut where the first data is written, so nothing of an older
  // file of the same name survives after it, even when that write fails.
  bool cutAtFirstWrite_;
  std::vector<char> block_;
  std::size_t filled_ = 0;
  std::unique_ptr<RecordReader> reader_;
};

}  // namespace kova
