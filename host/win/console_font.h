// The Input/Output window's font and the character cell it defines. All of the window's
// geometry is in cells, so every character must advance by exactly one cell width.
#pragma once

#include <QFont>

namespace kova::win {

struct CellMetrics {
  int width = 0;
  int height = 0;
  int ascent = 0;  // from a cell's top to the text's baseline
};

// A truly fixed-pitch family with full hinting: advances are then whole pixels.
QFont ConsoleFont();
CellMetrics MeasureCells(const QFont& font);

}  // namespace kova::win
