// Painting the Input/Output window on a grid of character cells: the rows of a paint
// rectangle, the selection white on blue, and a solid caret one cell wide. What is drawn
// depends only on the window's model, the view it is seen through and the cell size, so the
// same paint serves the screen and an image alike.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRect>

#include "host/input_output_window.h"
#include "host/repaint_plan.h"
#include "host/scroll_view.h"
#include "host/win/console_font.h"

namespace kova::win {

// A cell of the transcript: its row (the line, from 0) and column.
struct TranscriptCell {
  int row = 0;
  int column = 0;
};

class CellPainter {
 public:
  explicit CellPainter(const QFont& font);

  const CellMetrics& Cells() const { return cells_; }

  // The transcript's rows that reach into `area` (pixels from the view's top left corner),
  // as `view` shows them, and the selection over them.
  void PaintRows(QPainter& painter, const host::InputOutputWindow& window,
                 const host::ScrollView& view, const QRect& area) const;
  // The caret inverts the cell `caret`: black, with the character under it in white.
  void PaintCaret(QPainter& painter, const host::Transcript& lines, const host::ScrollView& view,
                  TranscriptCell caret) const;

  // The pixels of a rectangle of cells counted from the view's top left cell.
  QRect CellRectangle(const host::CellRect& cells) const;
  // The caret's cell in pixels, as `view` shows it.
  QRect CaretRectangle(const host::ScrollView& view, TranscriptCell caret) const;

 private:
  void PaintSelection(QPainter& painter, const host::InputOutputWindow& window,
                      const host::ScrollView& view) const;

  QFont font_;
  CellMetrics cells_;
};

}  // namespace kova::win
