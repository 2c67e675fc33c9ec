#include "textio/records.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "textio/console.h"

namespace kova {

// ---- Byte sources -----------------------------------------------------------------------

namespace {

class FileSource : public ByteSource {
 public:
  explicit FileSource(int descriptor) : descriptor_(descriptor) {}

  long Read(char* buffer, std::size_t capacity) override {
    for (;;) {
      const ssize_t count = ::read(descriptor_, buffer, capacity);
      if (count >= 0) return static_cast<long>(count);
      if (errno != EINTR) return -errno;
    }
  }

 protected:
  int descriptor_;
};

class OwnedFileSource : public FileSource {
 public:
  using FileSource::FileSource;
  ~OwnedFileSource() override { ::close(descriptor_); }
};

class ConsoleSource : public ByteSource {
 public:
  long Read(char* buffer, std::size_t capacity) override {
    const std::size_t count = Console().ReadLine(buffer, capacity);
    return static_cast<long>(count < capacity ? count : capacity);
  }
};

}  // namespace

std::unique_ptr<ByteSource> MakeFileSource(int descriptor) {
  return std::make_unique<FileSource>(descriptor);
}

std::unique_ptr<ByteSource> OpenFileSource(const std::string& fileName, int& error) {
  const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    error = errno;
    return nullptr;
  }
  return std::make_unique<OwnedFileSource>(descriptor);
}

std::unique_ptr<ByteSource> MakeConsoleSource() {
  return std::make_unique<ConsoleSource>();
}

// ---- Lines ------------------------------------------------------------------------------

LineReader::LineReader(std::unique_ptr<ByteSource> source, std::size_t blockSize)
    : source_(std::move(source)), block_(blockSize) {}

void LineReader::DiscardBuffered() {
  position_ = filled_ = 0;
}

// Reads into the whole block, as a source that hands out a line per read (the console)
// needs its full capacity.
bool LineReader::Refill() {
  const long count = source_->Read(block_.data(), block_.size());
  position_ = 0;
  filled_ = count > 0 ? static_cast<std::size_t>(count) : 0;
  error_ = count < 0 ? static_cast<int>(-count) : 0;
  return count > 0;
}

ReadOutcome LineReader::Next(std::string_view& line) {
  spanning_.clear();
  try {
    for (;;) {
      if (position_ == filled_ && !Refill()) {
        if (error_ != 0) return ReadOutcome::Failed;
        if (spanning_.empty()) return ReadOutcome::EndOfFile;
        ++lineNumber_;
        line = spanning_;
        return ReadOutcome::UnendedLine;
      }
      const char* begin = block_.data() + position_;
      const std::size_t available = filled_ - position_;
      const auto* lineFeed = static_cast<const char*>(std::memchr(begin, '\n', available));
      if (lineFeed == nullptr) {
        spanning_.append(begin, available);
        position_ = filled_;
        continue;
      }
      const auto length = static_cast<std::size_t>(lineFeed - begin);
      position_ += length + 1;
      ++lineNumber_;
      if (spanning_.empty()) {
        line = std::string_view(begin, length);
      } else {
        spanning_.append(begin, length);
        line = spanning_;
      }
      return ReadOutcome::Line;
    }
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return ReadOutcome::NoRoom;
}

// ---- Records ----------------------------------------------------------------------------

namespace {

// Records longer than this cannot be held by a unit.
constexpr std::size_t kLongestUnitRecord = 2147483647;

}  // namespace

RecordRules UnitRecordRules() {
  return {TabSizeFromEnvironment(), kLongestUnitRecord};
}

RecordReader::RecordReader(std::unique_ptr<ByteSource> source, std::size_t blockSize,
                           RecordRules rules)
    : lines_(std::move(source), blockSize), rules_(rules) {}

ReadOutcome RecordReader::Next(std::string_view& record) {
  std::string_view line;
  const ReadOutcome outcome = lines_.Next(line);
  if (outcome != ReadOutcome::Line && outcome != ReadOutcome::UnendedLine) return outcome;
  const bool plain = std::memchr(line.data(), '\r', line.size()) == nullptr &&
                     std::memchr(line.data(), '\t', line.size()) == nullptr;
  if (plain) {
    if (line.size() > rules_.longestRecord) return ReadOutcome::NoRoom;
    record = line;
    return outcome;
  }
  if (!Rewrite(line)) return ReadOutcome::NoRoom;
  record = record_;
  return outcome;
}

// Drops the carriage returns and expands the tabs; false when the record cannot be held.
bool RecordReader::Rewrite(std::string_view line) {
  record_.clear();
  try {
    for (const char byte : line) {
      if (byte == '\r') continue;
      if (byte != '\t') {
        record_.push_back(byte);
        continue;
      }
      const auto column = static_cast<long long>(record_.size());
      const long long blanks = rules_.tabSize - column % rules_.tabSize;
      if (static_cast<unsigned long long>(blanks) > rules_.longestRecord - record_.size()) {
        return false;
      }
      record_.append(static_cast<std::size_t>(blanks), ' ');
    }
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return record_.size() <= rules_.longestRecord;
}

RecordReader& ConsoleInput() {
  static RecordReader reader(MakeConsoleSource(), kConsoleBlockSize, UnitRecordRules());
  return reader;
}

void ResetConsoleInput() {
  ConsoleInput().DiscardBuffered();
}

// ---- The tab width ----------------------------------------------------------------------

namespace {

constexpr long long kDefaultTabSize = 8;
constexpr std::size_t kLongestSetting = 19;

}  // namespace

long long TabSizeFromEnvironment() {
  const char* setting = std::getenv("TABSIZE");
  if (setting == nullptr) return kDefaultTabSize;
  const std::size_t length = std::strlen(setting);
  if (length == 0 || length > kLongestSetting) return kDefaultTabSize;

  std::size_t position = 0;
  bool negative = false;
  if (setting[0] == '+' || setting[0] == '-') {
    negative = setting[0] == '-';
    position = 1;
  }
  // Nineteen digits can exceed the range; such a width is as good as infinite.
  long long value = 0;
  for (; position < length && setting[position] >= '0' && setting[position] <= '9'; ++position) {
    const int digit = setting[position] - '0';
    if (value > (std::numeric_limits<long long>::max() - digit) / 10) {
      value = std::numeric_limits<long long>::max();
      break;
    }
    value = value * 10 + digit;
  }
  if (negative || value < 1) return kDefaultTabSize;
  return value;
}

}  // namespace kova
