#include "host/transcript_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace kova::host {
namespace {

// Lines are gathered into blocks of about this size, so that a long transcript is not
// written two system calls per line.
constexpr std::size_t kBlockSize = 1 << 16;

bool WriteAll(int descriptor, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

bool WriteLines(int descriptor, const Transcript& transcript) {
  std::string block;
  block.reserve(kBlockSize + 2);
  for (std::size_t row = 0; row < transcript.LineCount(); ++row) {
    block.append(transcript.Line(row)).append("\r\n");
    if (block.size() >= kBlockSize) {
      if (!WriteAll(descriptor, block)) return false;
      block.clear();
    }
  }
  return WriteAll(descriptor, block);
}

}  // namespace

SaveOutcome SaveTranscript(Transcript& transcript, const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) return SaveOutcome::CannotCreate;
  const bool written = WriteLines(descriptor, transcript);
  // A file system may report a failed write only when the file is closed.
  const bool closed = ::close(descriptor) == 0;
  if (!written || !closed) return SaveOutcome::WriteFailed;
  transcript.MarkSaved();
  return SaveOutcome::Saved;
}

std::string FileTitle(const std::string& path) {
  const std::size_t separator = path.find_last_of('/');
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string PdfFileFor(const std::string& savedFile, const std::string& workingFolder) {
  if (savedFile.empty()) return (std::filesystem::path(workingFolder) / "transcript.pdf").string();
  return std::filesystem::path(savedFile).replace_extension(".pdf").string();
}

}  // namespace kova::host
