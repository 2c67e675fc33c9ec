#include "textio/records.h"

#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "textio/console.h"
#include "textio/failures.h"

namespace kova {

// ---- Records from a byte stream ---------------------------------------------------------

namespace {

// Records longer than this cannot be held by a unit.
constexpr std::size_t kLongestRecord = 2147483647;

class FileSource : public ByteSource {
 public:
  explicit FileSource(int descriptor) : descriptor_(descriptor) {}

  long Read(char* buffer, std::size_t capacity) override {
    for (;;) {
      const ssize_t count = ::read(descriptor_, buffer, capacity);
      if (count >= 0) return static_cast<long>(count);
      if (errno != EINTR) return -SystemErrorCode(errno);
    }
  }

 private:
  int descriptor_;
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

std::unique_ptr<ByteSource> MakeConsoleSource() {
  return std::make_unique<ConsoleSource>();
}

RecordReader::RecordReader(std::unique_ptr<ByteSource> source, std::size_t blockSize)
    : source_(std::move(source)), block_(blockSize), tabSize_(TabSizeFromEnvironment()) {}

void RecordReader::DiscardBuffered() {
  position_ = filled_ = 0;
}

bool RecordReader::Refill(const IoStatement& statement) {
  const long count = source_->Read(block_.data(), block_.size());
  if (count < 0) ReportRunTimeError(static_cast<int>(-count), statement);
  position_ = 0;
  filled_ = static_cast<std::size_t>(count);
  return count > 0;
}

bool RecordReader::Next(std::string& record, const IoStatement& statement) {
  record.clear();
  try {
    for (;;) {
      if (position_ == filled_ && !Refill(statement)) return false;
      const char* begin = block_.data() + position_;
      const char* limit = block_.data() + filled_;
      const auto* lineFeed = static_cast<const char*>(std::memchr(begin, '\n', limit - begin));
      const char* end = lineFeed != nullptr ? lineFeed : limit;
      Append(record, begin, end);
      position_ = static_cast<std::size_t>(end - block_.data()) + (lineFeed != nullptr ? 1 : 0);
      if (lineFeed != nullptr) return true;
    }
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  ReportRunTimeError(failure::kBufferAllocationFailed, statement);
}

void RecordReader::Append(std::string& record, const char* begin, const char* end) const {
  const std::size_t length = static_cast<std::size_t>(end - begin);
  const bool plain =
      std::memchr(begin, '\r', length) == nullptr && std::memchr(begin, '\t', length) == nullptr;
  if (plain) {
    if (record.size() + length > kLongestRecord) throw std::length_error("record");
    record.append(begin, length);
    return;
  }
  for (const char* byte = begin; byte != end; ++byte) {
    if (*byte == '\r') continue;
    if (*byte != '\t') {
      record.push_back(*byte);
      continue;
    }
    const auto column = static_cast<long long>(record.size());
    const long long blanks = tabSize_ - column % tabSize_;
    if (blanks > static_cast<long long>(kLongestRecord - record.size())) {
      throw std::length_error("record");
    }
    record.append(static_cast<std::size_t>(blanks), ' ');
  }
  if (record.size() > kLongestRecord) throw std::length_error("record");
}

RecordReader& ConsoleInput() {
  static RecordReader reader(MakeConsoleSource(), kConsoleBlockSize);
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
