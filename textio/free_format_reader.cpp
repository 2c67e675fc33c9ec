#include "textio/free_format_reader.h"

#include "textio/console_hooks.h"
#include "textio/failure_codes.h"
#include "textio/numeric_conversion.h"
#include "textio/unit_numbers.h"
#include "textio/unit_table.h"
#include "textio/value_scanner.h"

namespace kova {
namespace {

// Stores one scanned value in one element of an item; a null value leaves it unchanged.
void Assign(const InputItem& item, std::ptrdiff_t index, const ScannedValue& value,
            const IoStatement& statement) {
  if (value.isNull) return;
  bool converted = true;
  switch (item.kind) {
    case InputKind::Integer:
      converted =
          ConvertInteger(value.text, static_cast<std::int32_t*>(item.first)[index * item.stride]);
      break;
    case InputKind::Real:
      converted = ConvertReal(value.text, static_cast<float*>(item.first)[index * item.stride]);
      break;
    case InputKind::Character: {
      char* storage = static_cast<char*>(item.first) +
                      index * item.stride * static_cast<std::ptrdiff_t>(item.length);
      ConvertCharacter(value.text, storage, item.length);
      break;
    }
  }
  if (!converted) ReportRunTimeError(failure::kIllegalNumericCharacter, statement);
}

}  // namespace

void ReadFreeFormat(int unit, std::initializer_list<InputItem> items) {
  if (!IsConsoleUnit(unit)) Console().Poll();
  const IoStatement statement{Statement::Read, unit};
  ValueScanner scanner(InputRecords(unit, statement), statement);
  for (const InputItem& item : items) {
    const bool forCharacter = item.kind == InputKind::Character;
    for (std::ptrdiff_t index = 0; index < item.count; ++index) {
      Assign(item, index, scanner.Next(forCharacter), statement);
    }
  }
}

}  // namespace kova
