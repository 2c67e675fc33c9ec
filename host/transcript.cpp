#include "host/transcript.h"

namespace kova::host {

void Transcript::OpenLine() {
  lineStart_.push_back(text_.size());
  saved_ = false;
}

void Transcript::AppendToLastLine(std::string_view bytes) {
  text_.append(bytes);
  lineStart_.back() = text_.size();
  saved_ = false;
}

void Transcript::InsertLine(std::size_t row, std::string_view bytes) {
  const std::size_t start = lineStart_[row];
  text_.insert(start, bytes);
  lineStart_.insert(lineStart_.begin() + static_cast<std::ptrdiff_t>(row), start);
  ShiftLaterStarts(row, static_cast<std::ptrdiff_t>(bytes.size()));
  saved_ = false;
}

void Transcript::InsertByte(std::size_t row, std::size_t column, char byte) {
  text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(lineStart_[row] + column), byte);
  ShiftLaterStarts(row, 1);
  saved_ = false;
}

void Transcript::EraseBytes(std::size_t row, std::size_t column, std::size_t count) {
  text_.erase(lineStart_[row] + column, count);
  ShiftLaterStarts(row, -static_cast<std::ptrdiff_t>(count));
  saved_ = false;
}

// Moves the end of `row` and every boundary after it.
void Transcript::ShiftLaterStarts(std::size_t row, std::ptrdiff_t amount) {
  for (std::size_t k = row + 1; k < lineStart_.size(); ++k) {
    lineStart_[k] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(lineStart_[k]) + amount);
  }
}

}  // namespace kova::host
