#include "textio/free_format_scanner.h"

#include <array>

namespace kova {
namespace {

constexpr std::array<bool, 256> kValueEnds = [] {
  std::array<bool, 256> ends{};
  for (int character = 0; character < 256; ++character)
    ends[static_cast<std::size_t>(character)] = EndsFreeFormatValue(static_cast<char>(character));
  return ends;
}();

}  // namespace

void FreeFormatScanner::Start(std::string_view record, std::int64_t line) {
  lineEnded_ = false;
  slashMet_ = false;
  quote_ = 0;
  Continue(record, line);
}

void FreeFormatScanner::Continue(std::string_view record, std::int64_t line) {
  record_ = record;
  line_ = line;
  position_ = 0;
}

FreeFormatToken FreeFormatScanner::Next(Quotes quotes) {
  if (quote_ != 0) return Quoted();
  if (slashMet_) return {FreeFormatToken::Kind::Slash, {}, slashLine_};
  // Blanks, and the one comma that follows a value ended by its record.
  for (;;) {
    while (position_ < record_.size() && record_[position_] == ' ')
      ++position_;
    if (position_ == record_.size()) return {FreeFormatToken::Kind::EndOfRecord, {}, line_};
    if (record_[position_] != ',' || !lineEnded_) break;
    lineEnded_ = false;
    ++position_;
  }
  lineEnded_ = false;
  const char first = record_[position_];
  if (first == '/') {
    slashMet_ = true;  // left in place: it ends every later value of the statement
    slashLine_ = line_;
    return {FreeFormatToken::Kind::Slash, {}, line_};
  }
  if (first == ',') {
    ++position_;
    return {FreeFormatToken::Kind::Null, {}, line_};
  }
  if (quotes == Quotes::Delimit && (first == '\'' || first == '"')) {
    quote_ = first;
    quoted_.clear();
    ++position_;
    return Quoted();
  }
  return Undelimited();
}

FreeFormatToken FreeFormatScanner::Undelimited() {
  const char* data = record_.data();
  const std::size_t size = record_.size();
  const std::size_t start = position_;
  std::size_t position = start;
  while (position < size && !kValueEnds[static_cast<unsigned char>(data[position])])
    ++position;
  const std::string_view text(data + start, position - start);
  position_ = position;
  if (position < size && data[position] == '*') {
    ++position_;
    return {FreeFormatToken::Kind::RepeatCount, text, line_};
  }
  SkipSeparatorAfterValue();
  return {FreeFormatToken::Kind::Value, text, line_};
}

// A quoted value continues on the next record where its record ends, with nothing for the
// record's end; an empty one is one blank.
FreeFormatToken FreeFormatScanner::Quoted() {
  for (;;) {
    if (position_ == record_.size()) return {FreeFormatToken::Kind::EndOfRecord, {}, line_};
    const std::size_t closing = record_.find(quote_, position_);
    if (closing == std::string_view::npos) {
      quoted_.append(record_.substr(position_));
      position_ = record_.size();
      continue;
    }
    quoted_.append(record_.substr(position_, closing - position_));
    position_ = closing + 1;
    if (position_ < record_.size() && record_[position_] == quote_) {
      quoted_.push_back(quote_);
      ++position_;
      continue;
    }
    break;
  }
  quote_ = 0;
  if (quoted_.empty()) quoted_.push_back(' ');
  SkipSeparatorAfterValue();
  return {FreeFormatToken::Kind::Value, quoted_, line_};
}

// The record's end marks the value as ended by it; a comma is taken; a blank takes further
// blanks and one comma of its record with it.
void FreeFormatScanner::SkipSeparatorAfterValue() {
  const std::size_t size = record_.size();
  if (position_ == size) {
    lineEnded_ = true;
    return;
  }
  if (record_[position_] == ',') {
    ++position_;
    return;
  }
  if (record_[position_] != ' ') return;
  ++position_;
  while (position_ < size && record_[position_] == ' ')
    ++position_;
  if (position_ < size && record_[position_] == ',') ++position_;
}

}  // namespace kova
