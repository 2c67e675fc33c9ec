// libFuzzer target: the checked reading of a run's files on arbitrary bytes, a data file or a
// CSV community with its groups (and, with a CSV, its blocks). The first byte chooses the form,
// the rest is the table, then after the first NUL byte the groups and after a second one the
// blocks. Reading reports a fault or fills the data; it must never crash, hang or take memory
// the files do not call for.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "inputs/analysis_data.h"
#include "inputs/checked_inputs.h"
#include "textio/run_endings.h"

namespace {

struct RunEnded {};

[[noreturn]] void ThrowRunEnded(int) {
  throw RunEnded{};
}

// A folder of its own for the files, removed when the fuzzer ends.
class Folder {
 public:
  Folder() {
    char pattern[] = "/tmp/kova-fuzz.XXXXXX";
    if (::mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~Folder() {
    if (path_.empty()) return;
    for (const char* name :
         {"/table.txt", "/table.csv", "/groups.txt", "/groups.csv", "/blocks.csv"})
      ::unlink((path_ + name).c_str());
    ::rmdir(path_.c_str());
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Writes `text` to the file `name` of the folder and returns its path, empty on failure.
  std::string Write(const char* name, std::string_view text) const {
    if (path_.empty()) return {};
    const std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? file : std::string();
  }

 private:
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Folder folder;
  static const bool ready = (kova::SetProcessExit(&ThrowRunEnded), true);
  (void)ready;
  if (size == 0) return 0;
  const bool csv = (data[0] & 1) != 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t split = bytes.find('\0');
  const std::string_view table = bytes.substr(0, split);
  std::string_view groups =
      split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
  const std::size_t blocksSplit = groups.find('\0');
  const bool withBlocks = csv && blocksSplit != std::string_view::npos;
  const std::string_view blocks = withBlocks ? groups.substr(blocksSplit + 1) : std::string_view();
  if (withBlocks) groups = groups.substr(0, blocksSplit);

  kova::InputFiles request;
  request.tableForm = csv ? kova::TableForm::Csv : kova::TableForm::DataFile;
  request.tableFile = folder.Write(csv ? "table.csv" : "table.txt", table);
  request.groupsFile = folder.Write(csv ? "groups.csv" : "groups.txt", groups);
  if (withBlocks) {
    request.blocksFile = folder.Write("blocks.csv", blocks);
    if (request.blocksFile.empty()) return 0;
  }
  request.randomSeed = 12345;
  request.randomizationCount = 9;
  if (request.tableFile.empty() || request.groupsFile.empty()) return 0;
  try {
    kova::AnalysisData analysis;
    (void)kova::ReadCheckedInputs(request, analysis);
  } catch (const RunEnded&) {
  }
  return 0;
}
