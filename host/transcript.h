// The Input/Output window's transcript: every console line and every typed line, in order.
// Lines lie back to back in one text, each delimited by its start offset; any byte value may
// stand in a line. The transcript grows as needed, so no line is ever lost.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kova::host {

class Transcript {
 public:
  std::size_t LineCount() const { return lineStart_.size() - 1; }
  // Row r (zero-based) holds the bytes from LineStart(r) up to LineStart(r + 1).
  std::size_t LineStart(std::size_t row) const { return lineStart_[row]; }
  std::size_t LineLength(std::size_t row) const { return lineStart_[row + 1] - lineStart_[row]; }
  std::string_view Line(std::size_t row) const {
    return std::string_view(text_).substr(lineStart_[row], LineLength(row));
  }
  std::size_t ByteCount() const { return text_.size(); }

  // A new empty last line.
  void OpenLine();
  // Adds bytes at the end of the last line.
  void AppendToLastLine(std::string_view bytes);
  // A new line holding `bytes`, placed before row `row` (which moves down by one).
  void InsertLine(std::size_t row, std::string_view bytes);
  void InsertByte(std::size_t row, std::size_t column, char byte);
  // Removes `count` bytes of the row from `column` on; every later line boundary moves left.
  void EraseBytes(std::size_t row, std::size_t column, std::size_t count);

  // True while nothing changed since the last successful save; every change clears it.
  bool Saved() const { return saved_; }
  void MarkSaved() { saved_ = true; }

 private:
  void ShiftLaterStarts(std::size_t row, std::ptrdiff_t amount);

  std::string text_;
  std::vector<std::size_t> lineStart_{0};
  bool saved_ = false;
};

}  // namespace kova::host
