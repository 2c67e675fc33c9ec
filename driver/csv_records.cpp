#include "driver/csv_records.h"

namespace kova {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char character) {
  return character == ' ' || character == '\t';
}

std::size_t SkipBlanks(const std::string& line, std::size_t position) {
  while (position < line.size() && IsBlank(line[position]))
    ++position;
  return position;
}

// Commas are the separator unless the line has semicolons and no commas outside quotes.
char SeparatorOf(const std::string& line) {
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
bool SeparatedByTabs(const std::string& line) {
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

}  // namespace

bool CsvRecords::NextLine() {
  if (!lines_.Next(line_)) {
    if (lines_.Fault()) fault_ = lines_.Fault();
    return false;
  }
  if (lines_.LineNumber() == 1 && line_.starts_with(kByteOrderMark)) {
    line_.erase(0, kByteOrderMark.size());
  }
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  return true;
}

// The field that starts with a quote at `position`; it ends at the next single quote, on
// this line or a later one.
bool CsvRecords::ReadQuotedField(std::string& field, std::size_t& position,
                                 std::int64_t firstLine) {
  ++position;
  for (;;) {
    const std::size_t quote = line_.find('"', position);
    if (quote == std::string::npos) {
      field.append(line_, position, std::string::npos);
      field += '\n';
      if (!NextLine()) {
        if (!fault_) {
          fault_ = InputFault{AtLine(lines_.FileName(), firstLine),
                              "a quoted field that the file never closes",
                              "a closing double quote"};
        }
        return false;
      }
      position = 0;
      continue;
    }
    field.append(line_, position, quote - position);
    position = quote + 1;
    if (position < line_.size() && line_[position] == '"') {
      field += '"';
      ++position;
      continue;
    }
    return true;
  }
}

bool CsvRecords::Next(CsvRecord& record) {
  if (fault_) return false;
  do {
    if (!NextLine()) return false;
  } while (line_.find_first_not_of(" \t") == std::string::npos);
  if (separator_ == 0) {
    separator_ = SeparatorOf(line_);
    if (SeparatedByTabs(line_)) {
      fault_ = InputFault{AtLine(lines_.FileName(), lines_.LineNumber()),
                          "fields separated by tabs",
                          "fields separated by commas, or by semicolons, as write.csv and "
                          "write.csv2 write them"};
      return false;
    }
  }

  record.line = lines_.LineNumber();
  std::size_t count = 0;
  std::size_t position = 0;
  for (;;) {
    if (record.fields.size() <= count) record.fields.emplace_back();
    std::string& field = record.fields[count++];
    field.clear();
    position = SkipBlanks(line_, position);
    if (position < line_.size() && line_[position] == '"') {
      if (!ReadQuotedField(field, position, record.line)) return false;
      position = SkipBlanks(line_, position);
      if (position < line_.size() && line_[position] != separator_) {
        fault_ = InputFault{AtLine(lines_.FileName(), lines_.LineNumber()),
                            Quoted(line_.substr(position, 1)) + " after the closing quote of field " +
                                std::to_string(count),
                            std::string("the separator ") + Quoted(std::string(1, separator_)) +
                                " or the end of the line"};
        return false;
      }
    } else {
      std::size_t end = line_.find(separator_, position);
      if (end == std::string::npos) end = line_.size();
      std::size_t last = end;
      while (last > position && IsBlank(line_[last - 1]))
        --last;
      field.assign(line_, position, last - position);
      position = end;
    }
    if (position == line_.size()) break;
    ++position;  // the separator
  }
  record.fields.resize(count);
  return true;
}

}  // namespace kova
