#include "textio/free_format_scanner.h"

namespace kova {

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
  const std::size_t start = position_;
  const std::size_t end = UndelimitedEnd(start);
  const std::string_view text = record_.substr(start, end - start);
  position_ = end;
  if (end < record_.size() && record_[end] == '*') {
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

}  // namespace kova
