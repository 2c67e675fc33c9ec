// Turns a unit's byte stream into records: a record ends at a line feed, carriage returns
// are dropped wherever they stand, and tabs are expanded to the next tab stop.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "textio/run_time_error.h"

namespace kova {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Stores up to capacity bytes; returns the count, 0 at end of input, or minus an
  // operating-system code on failure.
  virtual long Read(char* buffer, std::size_t capacity) = 0;
};

class RecordReader {
 public:
  RecordReader(std::unique_ptr<ByteSource> source, std::size_t blockSize);

  // Reads the next record into `record`. Returns false at end of file, which includes
  // bytes after the last line feed. Read failures and a record that cannot be held are
  // reported against `statement` and end the run.
  bool Next(std::string& record, const IoStatement& statement);

  // Forgets the bytes read ahead of the current record.
  void DiscardBuffered();

 private:
  bool Refill(const IoStatement& statement);
  void Append(std::string& record, const char* begin, const char* end) const;

  std::unique_ptr<ByteSource> source_;
  std::vector<char> block_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  long long tabSize_;
};

// A file descriptor's bytes, read in blocks.
std::unique_ptr<ByteSource> MakeFileSource(int descriptor);
// The console's lines, one ReadLine call per block.
std::unique_ptr<ByteSource> MakeConsoleSource();

constexpr std::size_t kFileBlockSize = 8192;
constexpr std::size_t kConsoleBlockSize = 256;

}  // namespace kova
