// Reading lines and records: a byte stream becomes lines that end at a line feed, read in
// blocks and handed out in place; a record is a line as the free-format readers see it, with
// carriage returns dropped wherever they stand and tabs expanded to tab stops. What a
// failure of reading means is the caller's to decide: the run-time reader ends the run, the
// checked readers report the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

// ---- Byte sources -----------------------------------------------------------------------

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Stores up to capacity bytes; returns the count, 0 at end of input, or minus the errno
  // value of a failure.
  virtual long Read(char* buffer, std::size_t capacity) = 0;
};

// A file descriptor's bytes, read in blocks; the descriptor stays the caller's.
std::unique_ptr<ByteSource> MakeFileSource(int descriptor);
// The named file's bytes; the file is closed with the source. Empty, with the errno value
// in `error`, when the file cannot be opened.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& fileName, int& error);
// The console's lines, one ReadLine call per block.
std::unique_ptr<ByteSource> MakeConsoleSource();

constexpr std::size_t kFileBlockSize = 8192;
constexpr std::size_t kConsoleBlockSize = 256;
// Readers that take a whole file at once read it in blocks this large.
constexpr std::size_t kLargeBlockSize = std::size_t{1} << 20;

// ---- Lines ------------------------------------------------------------------------------

// What a reader found where the next line or record was to be.
enum class ReadOutcome {
  Line,         // a line that a line feed ends
  UnendedLine,  // the bytes after the last line feed: a line to some readers, none to others
  EndOfFile,
  Failed,  // the source failed; Error() gives its errno value
  NoRoom,  // the line or record cannot be held
};

class LineReader {
 public:
  LineReader(std::unique_ptr<ByteSource> source, std::size_t blockSize);

  // The next line without its line feed, in `line` until the next call. A line that lies
  // in one block is not copied.
  ReadOutcome Next(std::string_view& line);

  // The number of the line Next gave last (1 for the first), 0 before the first.
  std::int64_t LineNumber() const { return lineNumber_; }
  // The errno value of the failed read.
  int Error() const { return error_; }

  // Forgets the bytes read ahead of the current line.
  void DiscardBuffered();

 private:
  bool Refill();

  std::unique_ptr<ByteSource> source_;
  std::vector<char> block_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  std::string spanning_;  // a line that runs over blocks
  std::int64_t lineNumber_ = 0;
  int error_ = 0;
};

// ---- Records ----------------------------------------------------------------------------

struct RecordRules {
  long long tabSize = 1;                 // a tab runs to the next multiple of this
  std::size_t longestRecord = SIZE_MAX;  // a longer record cannot be held
};

// The units' rules: tabs to TABSIZE stops, and records of at most 2147483647 characters.
RecordRules UnitRecordRules();

class RecordReader {
 public:
  RecordReader(std::unique_ptr<ByteSource> source, std::size_t blockSize, RecordRules rules);

  // The next record, in `record` until the next call; the outcomes are the lines'. A line
  // without carriage returns and tabs is its own record and is not copied.
  ReadOutcome Next(std::string_view& record);

  std::int64_t LineNumber() const { return lines_.LineNumber(); }
  int Error() const { return lines_.Error(); }
  void DiscardBuffered() { lines_.DiscardBuffered(); }

 private:
  bool Rewrite(std::string_view line);

  LineReader lines_;
  RecordRules rules_;
  std::string record_;
};

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
