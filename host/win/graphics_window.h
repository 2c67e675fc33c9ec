// The graphics window "MDIGRAPH" a program may open: a white surface that the program's
// paint routine draws on, in the mapping mode the program chose.
#pragma once

#include <QPainter>
#include <QWidget>
#include <functional>

#include "host/mapping_mode.h"

namespace kova::win {

// Draws on the surface it is given; called whenever the window must be painted.
using PaintRoutine = std::function<void(QPainter& surface)>;

class GraphicsWidget : public QWidget {
 public:
  GraphicsWidget(PaintRoutine paint, host::MappingMode mode);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PaintRoutine paint_;
  host::MappingMode mode_;
};

}  // namespace kova::win
