#include "textio/file_unit.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "textio/failures.h"

namespace kova {
namespace {

int WriteAll(int descriptor, const char* data, std::size_t count) {
  std::size_t written = 0;
  while (written < count) {
    const ssize_t result = ::write(descriptor, data + written, count - written);
    if (result < 0 && errno == EINTR) continue;
    if (result < 0) return SystemErrorCode(errno);
    if (result == 0) return SystemErrorCode(ENOSPC);
    written += static_cast<std::size_t>(result);
  }
  return 0;
}

int CutAtCurrentPosition(int descriptor) {
  const off_t position = ::lseek(descriptor, 0, SEEK_CUR);
  if (position < 0 || ::ftruncate(descriptor, position) != 0) return SystemErrorCode(errno);
  return 0;
}

}  // namespace

FileUnit::FileUnit(int number, std::string fileName, int descriptor, bool cutAtFirstWrite)
    : number_(number),
      fileName_(std::move(fileName)),
      descriptor_(descriptor),
      cutAtFirstWrite_(cutAtFirstWrite) {}

FileUnit::~FileUnit() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

RecordReader& FileUnit::Reader() {
  if (!reader_)
    reader_ = std::make_unique<RecordReader>(MakeFileSource(descriptor_), kFileBlockSize,
                                             UnitRecordRules());
  return *reader_;
}

int FileUnit::Append(const char* data, std::size_t count) {
  if (block_.empty()) block_.resize(kFileBlockSize);
  while (count > 0) {
    const std::size_t room = block_.size() - filled_;
    const std::size_t part = count < room ? count : room;
    std::memcpy(block_.data() + filled_, data, part);
    filled_ += part;
    data += part;
    count -= part;
    if (filled_ == block_.size()) {
      if (const int code = WriteBlock(); code != 0) return code;
    }
  }
  return 0;
}

// The file is cut where the first block goes, before it is written: a write that fails
// part-way then leaves what it wrote and nothing of the old file after it.
int FileUnit::WriteBlock() {
  if (filled_ == 0) return 0;
  const std::size_t count = filled_;
  filled_ = 0;
  if (cutAtFirstWrite_) {
    cutAtFirstWrite_ = false;
    if (const int code = CutAtCurrentPosition(descriptor_); code != 0) return code;
  }
  return WriteAll(descriptor_, block_.data(), count);
}

int FileUnit::Close() {
  int code = WriteBlock();
  if (::close(descriptor_) != 0 && code == 0) code = SystemErrorCode(errno);
  descriptor_ = -1;
  return code;
}

}  // namespace kova
