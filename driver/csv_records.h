// The records of a CSV file as R's write.csv and write.csv2 write them, and as spreadsheets
// save them: fields separated by commas, or by semicolons when the first record has
// semicolons and no commas outside quotes; a field in double quotes may hold separators,
// line ends and doubled quotes; blanks around a field are not part of it. A UTF-8
// byte-order mark at the start, carriage returns before line feeds and empty lines are
// passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/input_fault.h"
#include "driver/input_lines.h"

namespace kova {

struct CsvRecord {
  std::int64_t line = 0;  // where the record begins
  std::vector<std::string> fields;
};

class CsvRecords {
 public:
  explicit CsvRecords(InputLines& lines) : lines_(lines) {}

  // Stores the next record and returns true; false at the end of the file or on a fault.
  bool Next(CsvRecord& record);

  // ',' or ';', known once the first record has been read.
  char Separator() const { return separator_; }

  // A record that cannot be read as CSV, or a failed read of the file.
  const std::optional<InputFault>& Fault() const { return fault_; }

 private:
  bool NextLine();
  bool ReadQuotedField(std::string& field, std::size_t& position, std::int64_t firstLine);

  InputLines& lines_;
  std::string line_;
  char separator_ = 0;
  std::optional<InputFault> fault_;
};

}  // namespace kova
