// The mouse in the Input/Output window: it selects text on one line and never moves the
// caret.
#include <QMouseEvent>

#include "host/win/input_output_widget.h"

namespace kova::win {
namespace {

int FloorDivide(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

QPoint InputOutputWidget::CellUnder(const QPoint& position) const {
  return QPoint(FloorDivide(position.x(), Cells().width), FloorDivide(position.y(), Cells().height));
}

void InputOutputWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  model_.ButtonDown();
  Refresh();
}

void InputOutputWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint cell = CellUnder(event->position().toPoint());
  model_.PointerMoved(cell.x(), cell.y());
  Refresh();
}

void InputOutputWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  model_.ButtonUp();
  Refresh();
}

void InputOutputWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint cell = CellUnder(event->position().toPoint());
  model_.DoubleClick(cell.x(), cell.y());
  Refresh();
}

}  // namespace kova::win
