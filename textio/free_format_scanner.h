// The free-format grammar, scanned one token at a time. Its two readers share it and keep
// their own policies: the run-time reader (repeat counts in wrap-around arithmetic, quoted
// character values, failures that end the run) and the checked reader of a run started
// with options (faults with their line and value). The scanner reads nothing itself: it
// asks for the statement's next record with an end-of-record token, so what the end of the
// file or a failed read means stays with the reader.
//
// The grammar: blanks, commas and record ends separate values; a comma with nothing before
// it is a null value; a slash ends the values of a statement (it stays in place, so every
// later value of the statement is the slash too); r* before a value repeats it r times; the
// one comma that follows a value ended by its record only separates; a blank that ends a
// value takes further blanks and one comma of its record with it; where the reader asks for
// quotes, an apostrophe or a quotation mark delimits a value that may run over record ends,
// with a doubled quote standing for one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kova {

struct FreeFormatToken {
  enum class Kind {
    Value,        // `text` is the value
    Null,         // a comma with no value before it
    Slash,        // the statement's values have ended
    RepeatCount,  // `text` stood before an asterisk: the token after it is the value repeated
    EndOfRecord,  // Continue with the statement's next record, then ask again
  };
  Kind kind = Kind::EndOfRecord;
  std::string_view text;  // valid until the next token or record
  std::int64_t line = 0;  // the line of the record the token stands on
};

enum class Quotes {
  AreCharacters,  // a numeric item: quotes are characters of an undelimited value
  Delimit,        // a character item: a quote starts a quoted value
};

// Characters that end an undelimited value, or turn what precedes them into a repeat count.
constexpr bool EndsFreeFormatValue(char character) {
  return character == ' ' || character == ',' || character == '/' || character == '*';
}

inline constexpr std::array<bool, 256> kEndsFreeFormatValue = [] {
  std::array<bool, 256> ends{};
  for (int character = 0; character < 256; ++character)
    ends[static_cast<std::size_t>(character)] = EndsFreeFormatValue(static_cast<char>(character));
  return ends;
}();

class FreeFormatScanner {
 public:
  // Starts a statement on its first record, line `line` of its file.
  void Start(std::string_view record, std::int64_t line);
  // Goes on with the statement's next record after an end-of-record token.
  void Continue(std::string_view record, std::int64_t line);

  FreeFormatToken Next(Quotes quotes);

  // The next token when it is a value that the current record holds, without a repeat count,
  // into `text`: the common case, taken without building a token (inline, since a large table
  // has millions). False, with nothing taken, for any other token.
  bool NextValueOnRecord(Quotes quotes, std::string_view& text) {
    const char* data = record_.data();
    const std::size_t size = record_.size();
    std::size_t start = position_;
    while (start < size && data[start] == ' ')
      ++start;
    if (start == size || lineEnded_ || slashMet_ || quote_ != 0) return false;
    const char first = data[start];
    if (first == ',' || first == '/' ||
        (quotes == Quotes::Delimit && (first == '\'' || first == '"'))) {
      return false;
    }
    const std::size_t end = UndelimitedEnd(start);
    if (end < size && data[end] == '*') return false;
    text = record_.substr(start, end - start);
    position_ = end;
    SkipSeparatorAfterValue();
    return true;
  }

  // Values of decimal digits alone, at most `longest` each, taken one after another from the
  // current record as NextValueOnRecord takes them, each handed to `take` as its text: the
  // bulk of a table of counts, in one loop. Stops after `most` values, at the record's end,
  // or before the first value of any other form (or followed by a slash or an asterisk),
  // which stays for the other calls. Returns how many were taken.
  template <typename Take>
  std::size_t TakeDigitValuesOnRecord(std::size_t most, std::size_t longest, Take take) {
    if (lineEnded_ || slashMet_ || quote_ != 0) return 0;
    const char* data = record_.data();
    const std::size_t size = record_.size();
    std::size_t position = position_;
    std::size_t taken = 0;
    while (taken < most) {
      std::size_t start = position;
      while (start < size && data[start] == ' ')
        ++start;
      std::size_t end = start;
      while (end < size && static_cast<unsigned char>(data[end] - '0') <= 9)
        ++end;
      if (end == start || end - start > longest) break;
      if (end < size && data[end] != ' ' && data[end] != ',') break;
      take(std::string_view(data + start, end - start));
      ++taken;
      position = end;
      if (position == size) {
        lineEnded_ = true;
        break;
      }
      // As SkipSeparatorAfterValue: a comma, or blanks and one comma.
      if (data[position++] == ',') continue;
      while (position < size && data[position] == ' ')
        ++position;
      if (position < size && data[position] == ',') ++position;
    }
    position_ = position;
    return taken;
  }

  // The line of the current record.
  std::int64_t Line() const { return line_; }

  // What the statement has not scanned of its current record.
  std::string_view Unscanned() const { return record_.substr(position_); }
  bool SlashMet() const { return slashMet_; }

 private:
  FreeFormatToken Undelimited();
  FreeFormatToken Quoted();

  // Where the undelimited value that starts at `start` ends.
  std::size_t UndelimitedEnd(std::size_t start) const {
    std::size_t end = start;
    while (end < record_.size() && !kEndsFreeFormatValue[static_cast<unsigned char>(record_[end])])
      ++end;
    return end;
  }

  // After a value: the record's end marks it as ended by its record; a comma is taken; a
  // blank takes further blanks and one comma of its record with it; any other character
  // stays for the next token.
  void SkipSeparatorAfterValue() {
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

  std::string_view record_;
  std::int64_t line_ = 0;
  std::size_t position_ = 0;
  bool lineEnded_ = false;  // the last value ended at the end of its record
  bool slashMet_ = false;
  std::int64_t slashLine_ = 0;
  char quote_ = 0;  // the quote of a quoted value still open at a record's end
  std::string quoted_;
};

}  // namespace kova
