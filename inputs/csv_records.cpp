#include "inputs/csv_records.h"

#include <cstring>
#include <utility>

#include "inputs/input_file_faults.h"

namespace kova {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char character) {
  return character == ' ' || character == '\t';
}

std::size_t SkipBlanks(std::string_view line, std::size_t position) {
  while (position < line.size() && IsBlank(line[position]))
    ++position;
  return position;
}

// Commas are the separator unless the line has semicolons and no commas outside quotes.
char SeparatorOf(std::string_view line) {
  bool quoted = false;
  bool comma = false;
  bool semicolon = false;
  for (const char character : line) {
    if (character == '"') quoted = !quoted;
    if (quoted) continue;
    comma = comma || character == ',';
    semicolon = semicolon || character == ';';
  }
  return semicolon && !comma ? ';' : ',';
}

// A line with tabs and no comma or semicolon outside quotes: a file R's write.table or a
// spreadsheet wrote tab-separated.
bool SeparatedByTabs(std::string_view line) {
  bool quoted = false;
  bool tab = false;
  for (const char character : line) {
    if (character == '"') quoted = !quoted;
    if (quoted) continue;
    if (character == ',' || character == ';') return false;
    tab = tab || character == '\t';
  }
  return tab;
}

// The end of the unquoted field that starts at `position`: the next separator or the line's
// end.
std::size_t FieldEnd(std::string_view line, std::size_t position, char separator) {
  const char* data = line.data();
  const std::size_t size = line.size();
  while (position < size && data[position] != separator)
    ++position;
  return position;
}

// The unquoted field from `position` to `end` without the blanks at its end.
std::string_view UnquotedField(std::string_view line, std::size_t position, std::size_t end) {
  while (end > position && IsBlank(line[end - 1]))
    --end;
  return line.substr(position, end - position);
}

}  // namespace

CsvRecords::CsvRecords(std::string fileName) : fileName_(std::move(fileName)) {
  std::unique_ptr<ByteSource> source;
  fault_ = OpenInputFile(fileName_, source);
  if (source) lines_ = std::make_unique<LineReader>(std::move(source), kLargeBlockSize);
}

bool CsvRecords::NextLine() {
  if (!lines_) return false;
  const ReadOutcome outcome = lines_->Next(line_);
  if (outcome == ReadOutcome::EndOfFile) return false;
  if (outcome != ReadOutcome::Line && outcome != ReadOutcome::UnendedLine) {
    fault_ = ReadFault(fileName_, outcome, lines_->Error());
    return false;
  }
  if (lines_->LineNumber() == 1 && line_.starts_with(kByteOrderMark)) {
    line_.remove_prefix(kByteOrderMark.size());
  }
  if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
  return true;
}

InputFault CsvRecords::AfterClosingQuoteFault(std::size_t position, std::size_t field) const {
  return {AtLine(fileName_, lines_->LineNumber()),
          Quoted(line_.substr(position, 1)) + " after the closing quote of field " +
              std::to_string(field),
          std::string("the separator ") + Quoted(std::string(1, separator_)) +
              " or the end of the line"};
}

bool CsvRecords::Next(CsvRecord& record) {
  if (fault_) return false;
  do {
    if (!NextLine()) return false;
  } while (line_.find_first_not_of(" \t") == std::string_view::npos);
  if (separator_ == 0) {
    separator_ = SeparatorOf(line_);
    if (SeparatedByTabs(line_)) {
      fault_ = InputFault{AtLine(fileName_, lines_->LineNumber()), "fields separated by tabs",
                          "fields separated by commas, or by semicolons, as write.csv and "
                          "write.csv2 write them"};
      return false;
    }
  }
  record.line = lines_->LineNumber();
  return ScanInPlace(record) || (!fault_ && ScanCopying(record));
}

// The fields of a record that lies on its line and whose quoted fields hold no doubled
// quote, as views into the line. False, with nothing read beyond the line, for any other
// record (and on a fault).
bool CsvRecords::ScanInPlace(CsvRecord& record) {
  record.fields.clear();
  const std::string_view line = line_;
  std::size_t position = 0;
  for (;;) {
    position = SkipBlanks(line, position);
    if (position < line.size() && line[position] == '"') {
      const std::size_t quote = line.find('"', position + 1);
      if (quote == std::string_view::npos) return false;
      if (quote + 1 < line.size() && line[quote + 1] == '"') return false;
      record.fields.push_back(line.substr(position + 1, quote - position - 1));
      position = SkipBlanks(line, quote + 1);
      if (position < line.size() && line[position] != separator_) {
        fault_ = AfterClosingQuoteFault(position, record.fields.size());
        return false;
      }
    } else {
      const std::size_t end = FieldEnd(line, position, separator_);
      record.fields.push_back(UnquotedField(line, position, end));
      position = end;
    }
    if (position == line.size()) return true;
    ++position;  // the separator
  }
}

// Any record, its fields copied: a quoted field may run on over lines.
bool CsvRecords::ScanCopying(CsvRecord& record) {
  std::size_t count = 0;
  std::size_t position = 0;
  for (;;) {
    if (copied_.size() <= count) copied_.emplace_back();
    std::string& field = copied_[count++];
    field.clear();
    position = SkipBlanks(line_, position);
    if (position < line_.size() && line_[position] == '"') {
      if (!ReadQuotedField(field, position, record.line)) return false;
      position = SkipBlanks(line_, position);
      if (position < line_.size() && line_[position] != separator_) {
        fault_ = AfterClosingQuoteFault(position, count);
        return false;
      }
    } else {
      const std::size_t end = FieldEnd(line_, position, separator_);
      field = UnquotedField(line_, position, end);
      position = end;
    }
    if (position == line_.size()) break;
    ++position;  // the separator
  }
  record.fields.assign(copied_.begin(), copied_.begin() + static_cast<std::ptrdiff_t>(count));
  return true;
}

// The field that starts with a quote at `position`; it ends at the next single quote, on
// this line or a later one.
bool CsvRecords::ReadQuotedField(std::string& field, std::size_t& position,
                                 std::int64_t firstLine) {
  ++position;
  for (;;) {
    const std::size_t quote = line_.find('"', position);
    if (quote == std::string_view::npos) {
      field.append(line_.substr(position));
      field += '\n';
      if (!NextLine()) {
        if (!fault_) {
          fault_ =
              InputFault{AtLine(fileName_, firstLine), "a quoted field that the file never closes",
                         "a closing double quote"};
        }
        return false;
      }
      position = 0;
      continue;
    }
    field.append(line_.substr(position, quote - position));
    position = quote + 1;
    if (position < line_.size() && line_[position] == '"') {
      field += '"';
      ++position;
      continue;
    }
    return true;
  }
}

}  // namespace kova
