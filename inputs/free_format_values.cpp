#include "inputs/free_format_values.h"

#include <utility>

#include "inputs/input_file_faults.h"
#include "inputs/number_forms.h"

namespace kova {
namespace {

using Kind = FreeFormatValue::Kind;

// The value that starts `text`, for a report of what is left: an undelimited value with the
// asterisk of a repeat count, or an empty value for a comma.
FreeFormatValue ValueAt(std::string_view text, std::int64_t line) {
  if (text.front() == ',') return {Kind::Empty, {}, line};
  std::size_t end = 0;
  while (end < text.size() && !EndsFreeFormatValue(text[end]))
    ++end;
  if (end < text.size() && text[end] == '*') ++end;
  return {Kind::Value, text.substr(0, end), line};
}

}  // namespace

FreeFormatValues::FreeFormatValues(std::string fileName) : fileName_(std::move(fileName)) {
  std::unique_ptr<ByteSource> source;
  fault_ = OpenInputFile(fileName_, source);
  // A tab is one blank: its width changes no value.
  if (source)
    records_ = std::make_unique<RecordReader>(std::move(source), kLargeBlockSize, RecordRules{});
}

bool FreeFormatValues::NextRecord(std::string_view& record) {
  if (atEnd_ || !records_) {
    atEnd_ = true;
    return false;
  }
  const ReadOutcome outcome = records_->Next(record);
  if (outcome == ReadOutcome::Line || outcome == ReadOutcome::UnendedLine) return true;
  atEnd_ = true;
  if (outcome != ReadOutcome::EndOfFile) fault_ = ReadFault(fileName_, outcome, records_->Error());
  return false;
}

bool FreeFormatValues::SkipLine() {
  std::string_view record;
  return NextRecord(record);
}

void FreeFormatValues::StartStatement() {
  pendingRepeats_ = 0;
  std::string_view record;
  NextRecord(record);
  scanner_.Start(record, records_ ? records_->LineNumber() : 0);
}

// The scanner's next token, its records read as it needs them; an end of record at the end
// of the file.
FreeFormatToken FreeFormatValues::NextToken() {
  for (;;) {
    const FreeFormatToken token = scanner_.Next(Quotes::AreCharacters);
    std::string_view record;
    if (token.kind != FreeFormatToken::Kind::EndOfRecord || !NextRecord(record)) return token;
    scanner_.Continue(record, records_->LineNumber());
  }
}

std::int64_t FreeFormatValues::TakeRepeats() {
  const std::int64_t repeats = pendingRepeats_;
  pendingRepeats_ = 0;
  return repeats;
}

FreeFormatValue FreeFormatValues::Next() {
  if (pendingRepeats_ > 0) {
    --pendingRepeats_;
    return repeated_;
  }
  return Scan();
}

FreeFormatValue FreeFormatValues::Scan() {
  std::optional<std::int64_t> repeatCount;
  FreeFormatToken token = NextToken();
  // A second count before the value replaces the first.
  while (token.kind == FreeFormatToken::Kind::RepeatCount) {
    repeatCount = WholeNumber(token.text);
    if (!repeatCount || *repeatCount < 1 || token.text[0] == '+' || token.text[0] == '-') {
      return {Kind::BadRepeatCount, token.text, token.line};
    }
    token = NextToken();
  }
  FreeFormatValue value;
  switch (token.kind) {
    case FreeFormatToken::Kind::Value:
      value = {Kind::Value, token.text, token.line};
      break;
    case FreeFormatToken::Kind::Null:
      value = {Kind::Empty, {}, token.line};
      break;
    case FreeFormatToken::Kind::Slash:
      value = {Kind::AfterSlash, {}, token.line};
      break;
    case FreeFormatToken::Kind::RepeatCount:
    case FreeFormatToken::Kind::EndOfRecord:
      return {Kind::EndOfFile, {}, records_ ? records_->LineNumber() : 0};
  }
  if (repeatCount) {
    pendingRepeats_ = *repeatCount - 1;
    repeated_ = value;
  }
  return value;
}

std::optional<FreeFormatValue> FreeFormatValues::LeftOver() {
  if (pendingRepeats_ > 0 && repeated_.kind != Kind::AfterSlash) return repeated_;
  if (scanner_.SlashMet() || atEnd_) return std::nullopt;
  std::string_view rest = scanner_.Unscanned();
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos || rest[start] == '/') return std::nullopt;
  return ValueAt(rest.substr(start), records_->LineNumber());
}

std::optional<FreeFormatValue> FreeFormatValues::LeftOnLaterLines() {
  std::string_view record;
  while (NextRecord(record)) {
    const std::size_t start = record.find_first_not_of(' ');
    if (start != std::string_view::npos)
      return ValueAt(record.substr(start), records_->LineNumber());
  }
  return std::nullopt;
}

}  // namespace kova
