// Painting the Input/Output window: the rows of the paint rectangle, the selection white on
// blue, and a solid caret one cell wide. What is drawn depends only on the model, the rows
// asked for and the cell size.
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "host/win/input_output_widget.h"

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

// The part of a line that falls within the view's columns.
std::string_view VisiblePart(std::string_view line, int leftColumn, int columns) {
  if (leftColumn >= static_cast<int>(line.size())) return {};
  return line.substr(static_cast<std::size_t>(leftColumn), static_cast<std::size_t>(columns));
}

}  // namespace

void InputOutputWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setFont(font_);
  painter.setPen(Qt::black);
  const host::ScrollView& view = model_.View();
  const QRect area = event->rect();
  const int lineCount = static_cast<int>(model_.Lines().LineCount());
  const int first = std::max(view.topLine + area.top() / cells_.height - 1, 0);
  const int last = std::min(lineCount - 1, view.topLine + area.bottom() / cells_.height);
  for (int row = first; row <= last; ++row)
    PaintRow(painter, row);
  PaintSelection(painter);
  PaintCaret(painter);
}

void InputOutputWidget::PaintRow(QPainter& painter, int row) const {
  const host::ScrollView& view = model_.View();
  const std::string_view line = VisiblePart(model_.Lines().Line(static_cast<std::size_t>(row)),
                                            view.leftColumn, ViewColumns());
  if (line.empty()) return;
  const int y = (row - view.topLine) * cells_.height + cells_.ascent;
  painter.drawText(QPoint(0, y), CellText(line));
}

void InputOutputWidget::PaintSelection(QPainter& painter) const {
  const auto& selection = model_.CurrentSelection();
  const host::ScrollView& view = model_.View();
  if (!selection || selection->Width() == 0) return;
  if (selection->row < view.topLine || selection->row > view.topLine + view.visibleRows) return;
  const std::string_view line = model_.Lines().Line(static_cast<std::size_t>(selection->row));
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

// The caret inverts its cell: black, with the character under it in white.
void InputOutputWidget::PaintCaret(QPainter& painter) const {
  if (!hasFocus()) return;
  const QRect cell = CaretRectangle();
  painter.fillRect(cell, Qt::black);
  const auto row = static_cast<std::size_t>(model_.CaretRow());
  const auto column = static_cast<std::size_t>(model_.CaretColumn());
  if (row < model_.Lines().LineCount() && column < model_.Lines().LineLength(row)) {
    painter.setPen(Qt::white);
    painter.drawText(QPoint(cell.left(), cell.top() + cells_.ascent),
                     CellText(model_.Lines().Line(row).substr(column, 1)));
    painter.setPen(Qt::black);
  }
}

QRect InputOutputWidget::CellRectangle(const host::CellRect& cells) const {
  return QRect(cells.left * cells_.width, cells.top * cells_.height,
               (cells.right - cells.left) * cells_.width,
               (cells.bottom - cells.top) * cells_.height);
}

QRect InputOutputWidget::CaretRectangle() const {
  const host::ScrollView& view = model_.View();
  return QRect((model_.CaretColumn() - view.leftColumn) * cells_.width,
               (model_.CaretRow() - view.topLine) * cells_.height, cells_.width, cells_.height);
}

// Redraws the cell the caret left and the one it is in now.
void InputOutputWidget::InvalidateCaret() {
  const QRect now = hasFocus() ? CaretRectangle() : QRect();
  if (now == caretShown_) return;
  viewport()->update(caretShown_);
  viewport()->update(now);
  caretShown_ = now;
}

}  // namespace kova::win
