// The records of a CSV file as R's write.csv and write.csv2 write them, and as spreadsheets
// save them: fields separated by commas, or by semicolons when the first record has
// semicolons and no commas outside quotes; a field in double quotes may hold separators,
// line ends and doubled quotes; blanks around a field are not part of it. A UTF-8
// byte-order mark at the start, carriage returns before line feeds and empty lines are
// passed over. The lines come from the text layer's line reader, in large blocks; a field
// is a view into its line, and only a quoted field that holds a doubled quote or runs over
// a line end is copied.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inputs/input_fault.h"
#include "textio/records.h"

namespace kova {

struct CsvRecord {
  std::int64_t line = 0;                 // where the record begins
  std::vector<std::string_view> fields;  // valid until the next record is read
};

class CsvRecords {
 public:
  // Opens the named file; a failure shows in Fault().
  explicit CsvRecords(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  // Stores the next record and returns true; false at the end of the file or on a fault.
  bool Next(CsvRecord& record);

  // ',' or ';', known once the first record has been read.
  char Separator() const { return separator_; }

  // A record that cannot be read as CSV, or a failed open or read of the file.
  const std::optional<InputFault>& Fault() const { return fault_; }

 private:
  bool NextLine();
  bool ScanInPlace(CsvRecord& record);
  bool ScanCopying(CsvRecord& record);
  bool ReadQuotedField(std::string& field, std::size_t& position, std::int64_t firstLine);
  InputFault AfterClosingQuoteFault(std::size_t position, std::size_t field) const;

  std::string fileName_;
  std::unique_ptr<LineReader> lines_;  // none when the file cannot be opened
  std::string_view line_;
  char separator_ = 0;
  std::vector<std::string> copied_;  // the fields of a record read by copying
  std::optional<InputFault> fault_;
};

}  // namespace kova
