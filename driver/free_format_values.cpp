#include "driver/free_format_values.h"

#include "driver/number_forms.h"

namespace kova {
namespace {

// Characters that end a value, or turn what stands before them into a repeat count.
constexpr bool EndsValue(char character) {
  return character == ' ' || character == ',' || character == '/' || character == '*';
}

// The reader's record: no carriage returns, tabs as blanks (their width changes no value).
void AsRecord(std::string& line) {
  std::size_t kept = 0;
  for (const char character : line) {
    if (character == '\r') continue;
    line[kept++] = character == '\t' ? ' ' : character;
  }
  line.resize(kept);
}

}  // namespace

bool FreeFormatValues::ReadLine() {
  if (atEnd_ || !lines_.Next(line_)) {
    atEnd_ = true;
    line_.clear();
    position_ = 0;
    return false;
  }
  AsRecord(line_);
  position_ = 0;
  return true;
}

bool FreeFormatValues::SkipLine() {
  return ReadLine();
}

void FreeFormatValues::StartStatement() {
  lineEnded_ = false;
  slashMet_ = false;
  pendingRepeats_ = 0;
  ReadLine();
}

FreeFormatValue FreeFormatValues::Next() {
  if (pendingRepeats_ > 0) {
    --pendingRepeats_;
    return repeated_;
  }
  if (slashMet_) return {FreeFormatValue::Kind::AfterSlash, "", slashLine_};
  return Scan();
}

std::int64_t FreeFormatValues::TakeRepeats() {
  const std::int64_t repeats = pendingRepeats_;
  pendingRepeats_ = 0;
  return repeats;
}

// Skips blanks, blank lines and the one comma that follows a value ended by its line.
bool FreeFormatValues::SkipToValue() {
  if (atEnd_) return false;
  for (;;) {
    while (position_ < line_.size() && line_[position_] == ' ')
      ++position_;
    if (position_ == line_.size()) {
      if (!ReadLine()) return false;
      continue;
    }
    if (line_[position_] == ',' && lineEnded_) {
      lineEnded_ = false;
      ++position_;
      continue;
    }
    return true;
  }
}

FreeFormatValue FreeFormatValues::Scan() {
  std::optional<std::int64_t> repeatCount;
  FreeFormatValue value;
  for (;;) {
    if (!SkipToValue()) return {FreeFormatValue::Kind::EndOfFile, "", lines_.LineNumber()};
    lineEnded_ = false;
    const std::int64_t line = lines_.LineNumber();
    std::size_t position = position_;
    if (line_[position] == '/') {
      slashMet_ = true;  // left in place: it ends every later value of the statement
      slashLine_ = line;
      value = {FreeFormatValue::Kind::AfterSlash, "", line};
      break;
    }
    if (line_[position] == ',') {
      position_ = position + 1;
      value = {FreeFormatValue::Kind::Empty, "", line};
      break;
    }
    const std::size_t start = position;
    while (position < line_.size() && !EndsValue(line_[position]))
      ++position;
    std::string text = line_.substr(start, position - start);
    if (position < line_.size() && line_[position] == '*') {
      repeatCount = WholeNumber(text);
      if (!repeatCount || *repeatCount < 1 || text[0] == '+' || text[0] == '-') {
        return {FreeFormatValue::Kind::BadRepeatCount, text, line};
      }
      position_ = position + 1;
      continue;
    }
    value = {FreeFormatValue::Kind::Value, std::move(text), line};
    if (position == line_.size()) {
      lineEnded_ = true;
    } else if (line_[position] == ',') {
      ++position;
    } else if (line_[position] == ' ') {
      position = AfterBlankSeparator(position + 1);
    }
    position_ = position;
    break;
  }
  if (repeatCount) {
    pendingRepeats_ = *repeatCount - 1;
    repeated_ = value;
  }
  return value;
}

// A blank that ends a value takes further blanks and one comma of its line with it.
std::size_t FreeFormatValues::AfterBlankSeparator(std::size_t position) const {
  while (position < line_.size() && line_[position] == ' ')
    ++position;
  if (position < line_.size() && line_[position] == ',') ++position;
  return position;
}

// The value that starts at `position` of the current line, for a report of what is left.
FreeFormatValue FreeFormatValues::ValueAt(std::size_t position) const {
  const std::int64_t line = lines_.LineNumber();
  if (line_[position] == ',') return {FreeFormatValue::Kind::Empty, "", line};
  std::size_t end = position;
  while (end < line_.size() && !EndsValue(line_[end]))
    ++end;
  if (end < line_.size() && line_[end] == '*') ++end;
  return {FreeFormatValue::Kind::Value, line_.substr(position, end - position), line};
}

std::optional<FreeFormatValue> FreeFormatValues::LeftOver() {
  if (pendingRepeats_ > 0 && repeated_.kind != FreeFormatValue::Kind::AfterSlash) return repeated_;
  if (slashMet_ || atEnd_) return std::nullopt;
  std::size_t position = position_;
  while (position < line_.size() && line_[position] == ' ')
    ++position;
  if (position == line_.size() || line_[position] == '/') return std::nullopt;
  return ValueAt(position);
}

std::optional<FreeFormatValue> FreeFormatValues::LeftOnLaterLines() {
  while (ReadLine()) {
    const std::size_t position = line_.find_first_not_of(' ');
    if (position != std::string::npos) return ValueAt(position);
  }
  return std::nullopt;
}

}  // namespace kova
