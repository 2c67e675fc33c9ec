#include "textio/free_format_writer.h"

#include "textio/console_hooks.h"
#include "textio/real_editing.h"
#include "textio/record_writer.h"

namespace kova {

std::string FreeFormatRecord(std::initializer_list<OutputItem> items) {
  std::string record = " ";
  // A text follows a text directly but is set off by one blank after a number.
  bool afterNumber = false;
  for (const OutputItem& item : items) {
    if (const auto* text = std::get_if<std::string_view>(&item)) {
      if (afterNumber) record.push_back(' ');
      record.append(*text);
      afterNumber = false;
    } else if (const auto* integer = std::get_if<std::int32_t>(&item)) {
      AppendFreeFormatInteger(record, *integer);
      afterNumber = true;
    } else {
      AppendFreeFormatReal(record, std::get<float>(item));
      afterNumber = true;
    }
  }
  return record;
}

void WriteFreeFormat(int unit, std::initializer_list<OutputItem> items) {
  Console().Poll();
  WriteRecord(unit, FreeFormatRecord(items), {Statement::Write, unit});
}

}  // namespace kova
