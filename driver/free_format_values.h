// The values of a data file or a group file cut as the dialogue's reader cuts them, each
// with the line it stands on, for the checks of a run started with options: blanks, commas
// and line ends separate values; two commas hold an empty value between them; a slash ends
// the values of a statement; r*v stands for r values v; a comma that follows a value ended
// by its line only separates; each statement starts on a new line. Carriage returns are
// dropped wherever they stand and tabs are blanks, as for the reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "driver/input_lines.h"

namespace kova {

struct FreeFormatValue {
  enum class Kind {
    Value,            // `text` is the value
    Empty,            // an empty value: the item keeps what it held
    AfterSlash,       // a slash ended the statement's values; `line` is the slash's
    BadRepeatCount,   // `text` stands before an asterisk but is not a count of 1 or more
    EndOfFile,        // `line` is the file's last line
  };
  Kind kind = Kind::EndOfFile;
  std::string text;
  std::int64_t line = 0;
};

class FreeFormatValues {
 public:
  explicit FreeFormatValues(InputLines& lines) : lines_(lines) {}

  // Passes over the next line whatever it holds; false at the end of the file.
  bool SkipLine();

  // Starts a statement on the next line, as every read does.
  void StartStatement();

  // The statement's next value.
  FreeFormatValue Next();

  // After Next: how many more times it gives the same value, from a repeat count (r*v), which
  // are then taken, so that a caller can keep r values as one without counting them out.
  std::int64_t TakeRepeats();

  // Once a statement has taken its last value: the first value it left over, on the rest
  // of its line or still due from a repeat count. What follows a slash is not left over.
  std::optional<FreeFormatValue> LeftOver();

  // The first value on the lines after the current one.
  std::optional<FreeFormatValue> LeftOnLaterLines();

 private:
  bool ReadLine();
  bool SkipToValue();
  FreeFormatValue Scan();
  std::size_t AfterBlankSeparator(std::size_t position) const;
  FreeFormatValue ValueAt(std::size_t position) const;

  InputLines& lines_;
  std::string line_;
  std::size_t position_ = 0;
  bool atEnd_ = false;
  bool lineEnded_ = false;  // the last value ended at the end of its line
  bool slashMet_ = false;
  std::int64_t slashLine_ = 0;
  std::int64_t pendingRepeats_ = 0;  // further values that are `repeated_`
  FreeFormatValue repeated_;
};

}  // namespace kova
