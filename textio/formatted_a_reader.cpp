#include "textio/formatted_a_reader.h"

#include <string>

#include "textio/console_hooks.h"
#include "textio/failure_codes.h"
#include "textio/numeric_conversion.h"
#include "textio/unit_numbers.h"
#include "textio/unit_table.h"

namespace kova {

void ReadFormattedA(int unit, void* storage, std::size_t byteCount) {
  if (!IsConsoleUnit(unit)) Console().Poll();
  const IoStatement statement{Statement::Read, unit};
  std::string record;
  if (!InputRecords(unit, statement).Next(record, statement)) {
    ReportRunTimeError(failure::kReadPastEndOfFile, statement);
  }
  ConvertCharacter(record, static_cast<char*>(storage), byteCount);
}

}  // namespace kova
