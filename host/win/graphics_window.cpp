#include "host/win/graphics_window.h"

#include <QPaintEvent>

namespace kova::win {

GraphicsWidget::GraphicsWidget(PaintRoutine paint, host::MappingMode mode)
    : paint_(std::move(paint)), mode_(mode) {
  setObjectName(QStringLiteral("Graphics"));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
}

void GraphicsWidget::paintEvent(QPaintEvent*) {
  if (!paint_) return;
  QPainter surface(this);
  const host::PixelScale scale = host::ScaleOf(mode_, logicalDpiX(), logicalDpiY());
  surface.scale(scale.x, scale.y);
  paint_(surface);
}

}  // namespace kova::win
