#include "host/win/cell_painter.h"

#include <algorithm>

namespace kova::win {
namespace {

const QColor kSelectionBackground(0x00, 0x00, 0xFF);
const QColor kSelectionText(0xFF, 0xFF, 0xFF);
// A control byte stands in its line unchanged and is shown as this mark, one cell wide.
constexpr char16_t kControlMark = u'\u00B7';

// The bytes of a line as characters, one per cell.
QString CellText(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    const bool control = code < 0x20 || (code >= 0x7F && code < 0xA0);
    *out++ = control ? QChar(kControlMark) : QChar(code);
  }
  return text;
}

// The part of a line that falls within `columns` columns from the left one.
std::string_view VisiblePart(std::string_view line, int leftColumn, int columns) {
  if (leftColumn >= static_cast<int>(line.size())) return {};
  return line.substr(static_cast<std::size_t>(leftColumn), static_cast<std::size_t>(columns));
}

}  // namespace

CellPainter::CellPainter(const QFont& font) : font_(font), cells_(MeasureCells(font)) {}

void CellPainter::PaintRows(QPainter& painter, const host::InputOutputWindow& window,
                            const host::ScrollView& view, const QRect& area) const {
  painter.setFont(font_);
  painter.setPen(Qt::black);
  const host::Transcript& lines = window.Lines();
  const int lineCount = static_cast<int>(lines.LineCount());
  const int first = std::max(view.topLine + area.top() / cells_.height - 1, 0);
  const int last = std::min(lineCount - 1, view.topLine + area.bottom() / cells_.height);
  // Every column that reaches into the area, a partly covered last one included.
  const int columns = (area.right() + cells_.width) / cells_.width;
  for (int row = first; row <= last; ++row) {
    const std::string_view line =
        VisiblePart(lines.Line(static_cast<std::size_t>(row)), view.leftColumn, columns);
    if (line.empty()) continue;
    const int y = (row - view.topLine) * cells_.height + cells_.ascent;
    painter.drawText(QPoint(0, y), CellText(line));
  }
  PaintSelection(painter, window, view);
}

void CellPainter::PaintSelection(QPainter& painter, const host::InputOutputWindow& window,
                                 const host::ScrollView& view) const {
  const auto& selection = window.CurrentSelection();
  if (!selection || selection->Width() == 0) return;
  if (selection->row < view.topLine || selection->row > view.topLine + view.visibleRows) return;
  const std::string_view line = window.Lines().Line(static_cast<std::size_t>(selection->row));
  const std::string_view selected = line.substr(static_cast<std::size_t>(selection->start),
                                                static_cast<std::size_t>(selection->Width()));
  const QRect cells =
      CellRectangle({selection->start - view.leftColumn, selection->row - view.topLine,
                     selection->end - view.leftColumn, selection->row - view.topLine + 1});
  painter.fillRect(cells, kSelectionBackground);
  painter.setPen(kSelectionText);
  painter.drawText(QPoint(cells.left(), cells.top() + cells_.ascent), CellText(selected));
  painter.setPen(Qt::black);
}

void CellPainter::PaintCaret(QPainter& painter, const host::Transcript& lines,
                             const host::ScrollView& view, TranscriptCell caret) const {
  const QRect cell = CaretRectangle(view, caret);
  painter.fillRect(cell, Qt::black);
  const auto row = static_cast<std::size_t>(caret.row);
  const auto column = static_cast<std::size_t>(caret.column);
  if (row < lines.LineCount() && column < lines.LineLength(row)) {
    painter.setFont(font_);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(cell.left(), cell.top() + cells_.ascent),
                     CellText(lines.Line(row).substr(column, 1)));
    painter.setPen(Qt::black);
  }
}

QRect CellPainter::CellRectangle(const host::CellRect& cells) const {
  return QRect(cells.left * cells_.width, cells.top * cells_.height,
               (cells.right - cells.left) * cells_.width,
               (cells.bottom - cells.top) * cells_.height);
}

QRect CellPainter::CaretRectangle(const host::ScrollView& view, TranscriptCell caret) const {
  return QRect((caret.column - view.leftColumn) * cells_.width,
               (caret.row - view.topLine) * cells_.height, cells_.width, cells_.height);
}

}  // namespace kova::win
