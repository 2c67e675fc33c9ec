#include "textio/free_format_input.h"

#include <array>
#include <string>

#include "textio/console.h"
#include "textio/failures.h"
#include "textio/numeric_conversion.h"
#include "textio/units.h"

namespace kova {

// ---- Values of a statement --------------------------------------------------------------
// Walks the records of one free-format READ statement and cuts them into values: blanks,
// commas and line ends separate values, a slash ends them, r* repeats one, and quotes
// delimit a character value.

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

namespace {

// Characters that end an undelimited value, or turn what precedes them into a repeat count.
constexpr std::array<bool, 256> kValueEnds = [] {
  std::array<bool, 256> ends{};
  ends[static_cast<unsigned char>(' ')] = true;
  ends[static_cast<unsigned char>(',')] = true;
  ends[static_cast<unsigned char>('/')] = true;
  ends[static_cast<unsigned char>('*')] = true;
  return ends;
}();

// r = r * 10 + (code - 48) for every character, in 32-bit wrap-around.
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
  ReadRecord();
}

void ValueScanner::ReadRecord() {
  if (!records_.Next(record_, statement_)) {
    ReportRunTimeError(failure::kReadPastEndOfFile, statement_);
  }
  position_ = 0;
}

ScannedValue ValueScanner::Next(bool forCharacterItem) {
  if (pendingRepeats_ > 0) {
    --pendingRepeats_;
    return repeated_;
  }
  if (slashMet_) return {};
  return Scan(forCharacterItem);
}

// Skips blanks, empty records and the one comma that follows a value ended by its record.
void ValueScanner::SkipToValue() {
  for (;;) {
    const char* data = record_.data();
    const std::size_t size = record_.size();
    std::size_t position = position_;
    while (position < size && data[position] == ' ')
      ++position;
    position_ = position;
    if (position == size) {
      ReadRecord();
      continue;
    }
    if (data[position] == ',' && lineEnded_) {
      lineEnded_ = false;
      ++position_;
      continue;
    }
    return;
  }
}

ScannedValue ValueScanner::Scan(bool forCharacterItem) {
  bool repeats = false;
  std::uint32_t repeatCount = 0;
  ScannedValue value;
  for (;;) {
    SkipToValue();
    lineEnded_ = false;
    const char* data = record_.data();
    const std::size_t size = record_.size();
    std::size_t position = position_;
    const char first = data[position];
    if (first == '/') {
      slashMet_ = true;  // left in place: it ends every later value of the statement
      break;
    }
    if (first == ',') {
      position_ = position + 1;
      break;
    }
    if (forCharacterItem && (first == '\'' || first == '"')) {
      value = ScanQuoted(first);
      break;
    }

    const std::size_t start = position;
    while (position < size && !kValueEnds[static_cast<unsigned char>(data[position])])
      ++position;
    const std::string_view text(data + start, position - start);
    if (position < size && data[position] == '*') {
      repeats = true;
      repeatCount = RepeatCount(text);
      position_ = position + 1;
      continue;
    }
    value = {false, text};
    if (position == size) {
      lineEnded_ = true;
    } else if (data[position] == ',') {
      ++position;
    } else if (data[position] == ' ') {
      position = AfterBlankSeparator(position + 1);
    }
    position_ = position;
    break;
  }
  if (repeats) {
    pendingRepeats_ = repeatCount > 1 ? repeatCount - 1 : 0;
    repeated_ = value;
  }
  return value;
}

// A blank that ends a value takes further blanks and one comma of its record with it;
// returns the position after them.
std::size_t ValueScanner::AfterBlankSeparator(std::size_t position) const {
  const std::size_t size = record_.size();
  while (position < size && record_[position] == ' ')
    ++position;
  if (position < size && record_[position] == ',') ++position;
  return position;
}

// A quoted string may run over line ends (nothing is inserted for them); a doubled quote
// stands for one quote, and an empty string is one blank.
ScannedValue ValueScanner::ScanQuoted(char quote) {
  quoted_.clear();
  ++position_;
  for (;;) {
    if (position_ == record_.size()) {
      ReadRecord();
      continue;
    }
    const std::size_t closing = record_.find(quote, position_);
    if (closing == std::string::npos) {
      quoted_.append(record_, position_, std::string::npos);
      position_ = record_.size();
      continue;
    }
    quoted_.append(record_, position_, closing - position_);
    position_ = closing + 1;
    if (position_ < record_.size() && record_[position_] == quote) {
      quoted_.push_back(quote);
      ++position_;
      continue;
    }
    break;
  }
  if (quoted_.empty()) quoted_.push_back(' ');

  if (position_ == record_.size()) {
    lineEnded_ = true;
  } else if (record_[position_] == ',') {
    ++position_;
  } else if (record_[position_] == ' ') {
    position_ = AfterBlankSeparator(position_ + 1);
  }
  return {false, quoted_};
}

// ---- Free-format READ -------------------------------------------------------------------

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

// ---- READ with format (A) ---------------------------------------------------------------

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
