#include "textio/free_format_input.h"

#include <string_view>
#include <type_traits>

#include "textio/console.h"
#include "textio/failures.h"
#include "textio/free_format_scanner.h"
#include "textio/numeric_conversion.h"
#include "textio/units.h"

namespace kova {

// ---- Records of a statement -------------------------------------------------------------

namespace {

// The record a READ statement needs next: false at the end of the file, where bytes after
// the last line feed are no record. A failed read, or a record that cannot be held, is
// reported against the statement and ends the run.
bool NextRecord(RecordReader& records, std::string_view& record, const IoStatement& statement) {
  switch (records.Next(record)) {
    case ReadOutcome::Line:
      return true;
    case ReadOutcome::UnendedLine:
    case ReadOutcome::EndOfFile:
      return false;
    case ReadOutcome::Failed:
      ReportRunTimeError(SystemErrorCode(records.Error()), statement);
    case ReadOutcome::NoRoom:
      break;
  }
  ReportRunTimeError(failure::kBufferAllocationFailed, statement);
}

std::string_view NeededRecord(RecordReader& records, const IoStatement& statement) {
  std::string_view record;
  if (!NextRecord(records, record, statement)) {
    ReportRunTimeError(failure::kReadPastEndOfFile, statement);
  }
  return record;
}

}  // namespace

// ---- Values of a statement --------------------------------------------------------------
// The run-time reader's policy over the free-format scanner: a repeat count is read as
// r = r * 10 + (code - 48) for every character in 32-bit wrap-around, quotes delimit a
// value only for a character item, and the end of the file ends the run.

struct ScannedValue {
  bool isNull = true;     // null values leave their item unchanged
  std::string_view text;  // valid until the next value is scanned
};

class ValueScanner {
 public:
  // Starts the statement by reading a new record.
  ValueScanner(RecordReader& records, const IoStatement& statement);

  // The value for the next item.
  ScannedValue Next(Quotes quotes);

  // Values of digits alone that follow on the current record, at most `most` of them, each
  // handed to `take` as Next would give it: the bulk of a table of counts, in one loop.
  template <typename Take>
  std::size_t TakeDigitValues(std::size_t most, Take take) {
    constexpr std::size_t kAnyLength = ~std::size_t{0};
    return pendingRepeats_ == 0 ? scanner_.TakeDigitValuesOnRecord(most, kAnyLength, take) : 0;
  }

 private:
  FreeFormatToken NextToken(Quotes quotes);

  RecordReader& records_;
  IoStatement statement_;
  FreeFormatScanner scanner_;
  std::uint32_t pendingRepeats_ = 0;  // further items that receive `repeated_`
  ScannedValue repeated_;
};

namespace {

std::uint32_t RepeatCount(std::string_view text) {
  std::uint32_t count = 0;
  for (const char character : text) {
    count = count * 10U + (static_cast<unsigned char>(character) - 48U);
  }
  return count;
}

}  // namespace

ValueScanner::ValueScanner(RecordReader& records, const IoStatement& statement)
    : records_(records), statement_(statement) {
  scanner_.Start(NeededRecord(records_, statement_), records_.LineNumber());
}

FreeFormatToken ValueScanner::NextToken(Quotes quotes) {
  for (;;) {
    const FreeFormatToken token = scanner_.Next(quotes);
    if (token.kind != FreeFormatToken::Kind::EndOfRecord) return token;
    scanner_.Continue(NeededRecord(records_, statement_), records_.LineNumber());
  }
}

ScannedValue ValueScanner::Next(Quotes quotes) {
  if (pendingRepeats_ > 0) {
    --pendingRepeats_;
    return repeated_;
  }
  FreeFormatToken token = NextToken(quotes);
  bool repeats = false;
  std::uint32_t repeatCount = 0;
  // A second count before the value replaces the first.
  while (token.kind == FreeFormatToken::Kind::RepeatCount) {
    repeats = true;
    repeatCount = RepeatCount(token.text);
    token = NextToken(quotes);
  }
  ScannedValue value;
  if (token.kind == FreeFormatToken::Kind::Value) value = {false, token.text};
  if (repeats) {
    pendingRepeats_ = repeatCount > 1 ? repeatCount - 1 : 0;
    repeated_ = value;
  }
  return value;
}

// ---- Free-format READ -------------------------------------------------------------------

namespace {

template <typename T, typename Convert>
void ReadElements(ValueScanner& scanner, const InputItem& item, const IoStatement& statement,
                  Convert convert) {
  T* element = static_cast<T*>(item.first);
  for (std::ptrdiff_t index = 0; index < item.count; ++index, element += item.stride) {
    // Plain digit values in a row first, each converted as Next's would be.
    const std::size_t digitValues = scanner.TakeDigitValues(
        static_cast<std::size_t>(item.count - index),
        [&statement, &convert, next = element,
         stride = item.stride](std::string_view text) mutable {
          bool converted = false;
          if constexpr (std::is_same_v<T, float>) converted = SmallCount(text, *next);
          if (!converted && !convert(text, *next)) {
            ReportRunTimeError(failure::kIllegalNumericCharacter, statement);
          }
          next += stride;
        });
    index += static_cast<std::ptrdiff_t>(digitValues);
    element += static_cast<std::ptrdiff_t>(digitValues) * item.stride;
    if (index == item.count) break;
    const ScannedValue value = scanner.Next(Quotes::AreCharacters);
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
    const ScannedValue value = scanner.Next(Quotes::Delimit);
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

// ---- READ with format (A) ---------------------------------------------------------------

void ReadFormattedA(int unit, void* storage, std::size_t byteCount) {
  if (!IsConsoleUnit(unit)) Console().Poll();
  const IoStatement statement{Statement::Read, unit};
  const std::string_view record = NeededRecord(InputRecords(unit, statement), statement);
  ConvertCharacter(record, static_cast<char*>(storage), byteCount);
}

}  // namespace kova
