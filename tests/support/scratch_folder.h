// A fresh folder per test, removed afterwards, with helpers to write and read its files.
#pragma once

#include <filesystem>
#include <string>

namespace kova::test_support {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::string& contents) const;

 private:
  std::filesystem::path path_;
};

std::string ReadWholeFile(const std::string& path);

// The folder of the project's sources (for the bundled examples).
std::filesystem::path SourceFolder();

}  // namespace kova::test_support
