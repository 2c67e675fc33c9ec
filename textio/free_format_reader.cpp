#include "textio/free_format_reader.h"

#include "textio/console_hooks.h"
#include "textio/failure_codes.h"
#include "textio/numeric_conversion.h"
#include "textio/unit_numbers.h"
#include "textio/unit_table.h"
#include "textio/value_scanner.h"

namespace kova {
namespace {

template <typename T, typename Convert>
void ReadElements(ValueScanner& scanner, const InputItem& item, const IoStatement& statement,
                  Convert convert) {
  T* element = static_cast<T*>(item.first);
  for (std::ptrdiff_t index = 0; index < item.count; ++index, element += item.stride) {
    const ScannedValue value = scanner.Next(false);
    // A null value leaves the element unchanged.
    if (!value.isNull && !convert(value.text, *element)) {
      ReportRunTimeError(failure::kIllegalNumericCharacter, statement);
    }
  }
}

void ReadCharacters(ValueScanner& scanner, const InputItem& item) {
  char* element = static_cast<char*>(item.first);
  const std::ptrdiff_t step = item.stride * static_cast<std::ptrdiff_t>(item.length);
  for (std::ptrdiff_t index = 0; index < item.count; ++index, element += step) {
    const ScannedValue value = scanner.Next(true);
    if (!value.isNull) ConvertCharacter(value.text, element, item.length);
  }
}

}  // namespace

void ReadFreeFormat(int unit, std::initializer_list<InputItem> items) {
  if (!IsConsoleUnit(unit)) Console().Poll();
  const IoStatement statement{Statement::Read, unit};
  ValueScanner scanner(InputRecords(unit, statement), statement);
  for (const InputItem& item : items) {
    switch (item.kind) {
      case InputKind::Integer:
        ReadElements<std::int32_t>(scanner, item, statement, ConvertInteger);
        break;
      case InputKind::Real:
        ReadElements<float>(scanner, item, statement, ConvertReal);
        break;
      case InputKind::Character:
        ReadCharacters(scanner, item);
        break;
    }
  }
}

}  // namespace kova
