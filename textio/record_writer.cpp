#include "textio/record_writer.h"

#include <string>

#include "textio/console_hooks.h"
#include "textio/failure_codes.h"
#include "textio/unit_numbers.h"
#include "textio/unit_table.h"

namespace kova {
namespace {

constexpr std::size_t kConsolePiece = 256;
constexpr std::string_view kLineEnd = "\r\n";

void WriteConsoleRecord(ConsoleStream stream, std::string_view record,
                        const IoStatement& statement) {
  std::string text;
  text.reserve(record.size() + kLineEnd.size());
  text.append(record).append(kLineEnd);
  for (std::size_t start = 0; start < text.size(); start += kConsolePiece) {
    const std::size_t count = std::min(kConsolePiece, text.size() - start);
    if (Console().WriteText(text.data() + start, count, stream) == 0) {
      ReportRunTimeError(failure::kWriteFault, statement);
    }
  }
}

}  // namespace

void WriteRecord(int unit, std::string_view record, const IoStatement& statement) {
  if (unit == kDefaultUnit || unit == kConsoleOutputUnit) {
    WriteConsoleRecord(ConsoleStream::Output, record, statement);
    return;
  }
  if (unit == kConsoleErrorUnit) {
    WriteConsoleRecord(ConsoleStream::Error, record, statement);
    return;
  }
  FileUnit* file = FindFileUnit(unit);
  if (file == nullptr) ReportRunTimeError(failure::kUnitNotConnected, statement);
  int code = file->Append(record.data(), record.size());
  if (code == 0) code = file->Append(kLineEnd.data(), kLineEnd.size());
  if (code != 0) ReportRunTimeError(code, statement);
}

}  // namespace kova
