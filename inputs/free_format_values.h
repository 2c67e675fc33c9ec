// The values of a data file or a group file cut as the dialogue's reader cuts them, each
// with the line it stands on, for the checks of a run started with options. The grammar is
// the text layer's free-format scanner; this is the checked reader's policy over it: a
// repeat count must be a whole number of 1 or more, the end of the file and a failed read
// are values the checks report, and quotes are characters like any other. Carriage returns
// are dropped wherever they stand and a tab is a blank, as for the reader; a last line
// without a line feed is a line.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "inputs/input_fault.h"
#include "textio/free_format_scanner.h"
#include "textio/records.h"

namespace kova {

struct FreeFormatValue {
  enum class Kind {
    Value,           // `text` is the value
    Empty,           // an empty value: the item keeps what it held
    AfterSlash,      // a slash ended the statement's values; `line` is the slash's
    BadRepeatCount,  // `text` stands before an asterisk but is not a count of 1 or more
    EndOfFile,       // `line` is the file's last line
  };
  Kind kind = Kind::EndOfFile;
  std::string_view text;  // valid until the next value is read
  std::int64_t line = 0;
};

class FreeFormatValues {
 public:
  // Opens the named file; a failure shows in Fault().
  explicit FreeFormatValues(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  // The failed open or read, if any: the file's values end where it happened.
  const std::optional<InputFault>& Fault() const { return fault_; }

  // Passes over the next line whatever it holds; false at the end of the file.
  bool SkipLine();

  // Starts a statement on the next line, as every read does.
  void StartStatement();

  // The statement's next value.
  FreeFormatValue Next();

  // The statement's next value when it is a value on the current line without a repeat
  // count, into `text`: the common case, taken without building a value. False, with
  // nothing taken, for any other; Next gives it.
  bool NextOnLine(std::string_view& text) {
    return pendingRepeats_ == 0 && scanner_.NextValueOnRecord(Quotes::AreCharacters, text);
  }

  // Values of digits alone, at most `longest` each, on the current line as NextOnLine takes
  // them, each handed to `take` as its text (FreeFormatScanner::TakeDigitValuesOnRecord):
  // the counts that make up most of a large table. Returns how many were taken.
  template <typename Take>
  std::size_t TakeDigitValuesOnLine(std::size_t most, std::size_t longest, Take take) {
    return pendingRepeats_ == 0 ? scanner_.TakeDigitValuesOnRecord(most, longest, take) : 0;
  }

  // The line of the value NextOnLine or TakeDigitValuesOnLine gave.
  std::int64_t Line() const { return scanner_.Line(); }

  // After Next: how many more times it gives the same value, from a repeat count (r*v), which
  // are then taken, so that a caller can keep r values as one without counting them out.
  std::int64_t TakeRepeats();

  // Once a statement has taken its last value: the first value it left over, on the rest
  // of its line or still due from a repeat count. What follows a slash is not left over.
  std::optional<FreeFormatValue> LeftOver();

  // The first value on the lines after the current one.
  std::optional<FreeFormatValue> LeftOnLaterLines();

 private:
  bool NextRecord(std::string_view& record);
  FreeFormatToken NextToken();
  FreeFormatValue Scan();

  std::string fileName_;
  std::unique_ptr<RecordReader> records_;  // none when the file cannot be opened
  FreeFormatScanner scanner_;
  std::optional<InputFault> fault_;
  bool atEnd_ = false;
  std::int64_t pendingRepeats_ = 0;  // further values that are `repeated_`
  FreeFormatValue repeated_;
};

}  // namespace kova
