#include "textio/formatted_f_writer.h"

#include <string>

#include "textio/console_hooks.h"
#include "textio/real_editing.h"
#include "textio/record_writer.h"

namespace kova {

void WriteFormattedF(int unit, StridedReals reals, int perRecord, int width, int decimals) {
  Console().Poll();
  const IoStatement statement{Statement::Write, unit};
  if (perRecord < 1) perRecord = 1;
  std::string record;
  std::ptrdiff_t index = 0;
  do {
    record.clear();
    for (int inRecord = 0; inRecord < perRecord && index < reals.count; ++inRecord, ++index) {
      AppendRealF(record, reals.first[index * reals.stride], width, decimals);
    }
    WriteRecord(unit, record, statement);
  } while (index < reals.count);
}

}  // namespace kova
