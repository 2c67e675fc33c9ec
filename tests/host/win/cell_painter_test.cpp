// The Input/Output window's paint on an image: each row of the view on its row of cells, the
// selection white on blue, the caret a black cell.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "host/win/cell_painter.h"

namespace kova::win {
namespace {

class Painting : public ::testing::Test {
 protected:
  Painting() : painter_(ConsoleFont()), window_(transcript_) { window_.Resize(20, 40); }

  QImage Paint(const host::ScrollView& view) {
    QImage image(10 * Cells().width, 6 * Cells().height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter surface(&image);
    painter_.PaintRows(surface, window_, view, image.rect());
    painter_.PaintCaret(surface, transcript_, view, {window_.CaretRow(), window_.CaretColumn()});
    return image;
  }
  const CellMetrics& Cells() const { return painter_.Cells(); }
  // Whether any pixel of the cell is dark.
  bool Inked(const QImage& image, int column, int row) const {
    for (int y = row * Cells().height; y < (row + 1) * Cells().height; ++y) {
      for (int x = column * Cells().width; x < (column + 1) * Cells().width; ++x) {
        if (qGray(image.pixel(x, y)) < 128) return true;
      }
    }
    return false;
  }

  CellPainter painter_;
  host::Transcript transcript_;
  host::InputOutputWindow window_;
};

TEST_F(Painting, EachRowOfTheViewShowsItsLineFromTheLeftColumn) {
  for (int line = 1; line <= 8; ++line)
    window_.AppendLine(std::string(static_cast<std::size_t>(line), 'W'));  // line k: k cells
  struct Case {
    int topLine;
    int leftColumn;
  };
  for (const Case view : {Case{0, 0}, Case{3, 0}, Case{3, 2}}) {
    const QImage image = Paint({view.topLine, view.leftColumn, 6, 10});
    for (int row = 0; row < 5; ++row) {
      const int cells = std::max(view.topLine + row + 1 - view.leftColumn, 0);
      for (int column = 0; column < 9; ++column) {
        EXPECT_EQ(Inked(image, column, row), column < cells)
            << "view " << view.topLine << "," << view.leftColumn << " row " << row << " column "
            << column;
      }
    }
  }
}

TEST_F(Painting, TheSelectionIsWhiteOnBlueAndTheCaretABlackCell) {
  window_.AppendLine("abc def");
  window_.DoubleClick(5, 0);  // selects "def", columns 4 to 6
  const QImage image = Paint({0, 0, 6, 10});
  auto centre = [&](int column, int row) {
    return image.pixelColor(column * Cells().width + 1, row * Cells().height + 1);
  };
  EXPECT_EQ(centre(3, 0), QColor(Qt::white));
  for (const int column : {4, 5, 6})
    EXPECT_EQ(centre(column, 0), QColor(Qt::blue)) << column;
  EXPECT_EQ(centre(7, 0), QColor(Qt::white));
  EXPECT_EQ(centre(0, 1), QColor(Qt::black));  // the caret, below the line
  EXPECT_EQ(centre(1, 1), QColor(Qt::white));
}

}  // namespace
}  // namespace kova::win
