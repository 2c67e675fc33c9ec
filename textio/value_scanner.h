// Walks the records of one free-format READ statement and cuts them into values: blanks,
// commas and line ends separate values, a slash ends them, r* repeats one, and quotes
// delimit a character value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "textio/record_reader.h"
#include "textio/run_time_error.h"

namespace kova {

struct ScannedValue {
  bool isNull = true;     // null values leave their item unchanged
  std::string_view text;  // valid until the next value is scanned
};

class ValueScanner {
 public:
  // Starts the statement by reading a new record.
  ValueScanner(RecordReader& records, const IoStatement& statement);

  // The value for the next item. Quotes delimit a value only for a character item.
  ScannedValue Next(bool forCharacterItem);

 private:
  ScannedValue Scan(bool forCharacterItem);
  void SkipToValue();
  ScannedValue ScanQuoted(char quote);
  std::size_t AfterBlankSeparator(std::size_t position) const;
  void ReadRecord();

  RecordReader& records_;
  IoStatement statement_;
  std::string record_;
  std::size_t position_ = 0;
  bool lineEnded_ = false;  // the last value ended at the end of its record
  bool slashMet_ = false;
  std::uint32_t pendingRepeats_ = 0;  // further items that receive `repeated_`
  ScannedValue repeated_;
  std::string quoted_;
};

}  // namespace kova
