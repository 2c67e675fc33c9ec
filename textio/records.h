// Reading records: a unit's byte stream becomes records that end at a line feed, with
// carriage returns dropped wherever they stand and tabs expanded to TABSIZE stops.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "textio/run_endings.h"

namespace kova {

// ---- Records from a byte stream ---------------------------------------------------------
// Turns a unit's byte stream into records: a record ends at a line feed, carriage returns
// are dropped wherever they stand, and tabs are expanded to the next tab stop.

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

// The console's records, read a line at a time through the console's ReadLine.
RecordReader& ConsoleInput();

// Forgets console input read ahead of the current line (a fresh console).
void ResetConsoleInput();

// ---- The tab width ----------------------------------------------------------------------

// The tab width for reading records: 8, or the value of the environment variable TABSIZE
// when it is set to a non-empty value of at most 19 characters, read as an optional sign
// and decimal digits up to the first other character. A value below 1 means 8.
long long TabSizeFromEnvironment();

}  // namespace kova
