// libFuzzer target: the checked reading of a run's files on arbitrary bytes, a data file or a
// CSV community with its groups (and, with a CSV, its blocks), written into a scratch folder.
// The first byte chooses the form, the rest is the table, then after the first NUL byte the
// groups and after a second one the blocks. Reading reports a fault or fills the data; it must
// never crash, hang or take memory the files do not call for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/run_ended.h"
#include "inputs/analysis_data.h"
#include "inputs/checked_inputs.h"
#include "tests/support/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const kova::test_support::ScratchFolder folder;
  static const bool ready = (kova::fuzz::EndRunsByThrowing(), true);
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
  request.tableFile = folder.Write(csv ? "table.csv" : "table.txt", std::string(table));
  request.groupsFile = folder.Write(csv ? "groups.csv" : "groups.txt", std::string(groups));
  if (withBlocks) request.blocksFile = folder.Write("blocks.csv", std::string(blocks));
  request.randomSeed = 12345;
  request.randomizationCount = 9;
  try {
    kova::AnalysisData analysis;
    (void)kova::ReadCheckedInputs(request, analysis);
  } catch (const kova::fuzz::RunEnded&) {
  }
  return 0;
}
