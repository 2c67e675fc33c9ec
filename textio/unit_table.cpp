#include "textio/unit_table.h"

#include <algorithm>

#include "textio/failure_codes.h"
#include "textio/unit_numbers.h"

namespace kova {
namespace {

std::vector<std::unique_ptr<FileUnit>>& FileUnits() {
  static std::vector<std::unique_ptr<FileUnit>> units;
  return units;
}

RecordReader& ConsoleInput() {
  static RecordReader reader(MakeConsoleSource(), kConsoleBlockSize);
  return reader;
}

}  // namespace

FileUnit* FindFileUnit(int unit) {
  for (const auto& connected : FileUnits()) {
    if (connected->Number() == unit) return connected.get();
  }
  return nullptr;
}

void AddFileUnit(std::unique_ptr<FileUnit> unit) {
  FileUnits().push_back(std::move(unit));
}

std::unique_ptr<FileUnit> RemoveFileUnit(int unit) {
  auto& units = FileUnits();
  const auto found = std::find_if(units.begin(), units.end(), [unit](const auto& connected) {
    return connected->Number() == unit;
  });
  if (found == units.end()) return nullptr;
  std::unique_ptr<FileUnit> removed = std::move(*found);
  units.erase(found);
  return removed;
}

std::vector<int> ConnectedFileUnits() {
  std::vector<int> numbers;
  for (const auto& connected : FileUnits())
    numbers.push_back(connected->Number());
  return numbers;
}

RecordReader& InputRecords(int unit, const IoStatement& statement) {
  if (unit == kDefaultUnit || unit == kConsoleInputUnit) return ConsoleInput();
  if (FileUnit* file = FindFileUnit(unit)) return file->Reader();
  ReportRunTimeError(failure::kUnitNotConnected, statement);
}

void ResetConsoleInput() {
  ConsoleInput().DiscardBuffered();
}

}  // namespace kova
