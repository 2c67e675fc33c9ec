#include "host/win/input_output_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace kova::win {
namespace {

// Streaming output is drawn at most this often.
constexpr int kRefreshMilliseconds = 15;

}  // namespace

InputOutputWidget::InputOutputWidget(host::InputOutputWindow& model, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model), painter_(ConsoleFont()) {
  setObjectName(QStringLiteral("InputOutput"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAutoFillBackground(true);
  QPalette colours = viewport()->palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Window, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  viewport()->setPalette(colours);
  viewport()->setBackgroundRole(QPalette::Base);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Sideways the view moves when the thumb is released, not while it is dragged.
  horizontalScrollBar()->setTracking(false);
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setInterval(kRefreshMilliseconds);
  connect(&refreshTimer_, &QTimer::timeout, this, &InputOutputWidget::Refresh);
}

void InputOutputWidget::AppendLine(std::string_view text) {
  model_.AppendLine(text);
  RefreshSoon();
}

void InputOutputWidget::RefreshSoon() {
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

int InputOutputWidget::ViewRows() const {
  return (viewport()->height() + Cells().height - 1) / Cells().height;
}

int InputOutputWidget::ViewColumns() const {
  return (viewport()->width() + Cells().width - 1) / Cells().width;
}

void InputOutputWidget::Refresh() {
  refreshTimer_.stop();
  const host::RepaintWork work = model_.Repaint().Take(ViewRows(), ViewColumns());
  if (work.scrollBars) SyncScrollBars();
  if (work.everything) {
    viewport()->update();
  } else {
    if (work.scrollRows != 0 || work.scrollColumns != 0) {
      const QPoint offset(-work.scrollColumns * Cells().width, -work.scrollRows * Cells().height);
      viewport()->scroll(offset.x(), offset.y());
      viewport()->update(caretShown_.translated(offset));  // the caret moved with the text
    }
    for (const host::CellRect& cells : work.cells)
      viewport()->update(painter_.CellRectangle(cells));
  }
  InvalidateCaret();
}

void InputOutputWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  model_.Resize(viewport()->height() / Cells().height, viewport()->width() / Cells().width);
  Refresh();
}

void InputOutputWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter_.PaintRows(painter, model_, model_.View(), event->rect());
  if (hasFocus()) painter_.PaintCaret(painter, model_, model_.View());
}

// Redraws the cell the caret left and the one it is in now.
void InputOutputWidget::InvalidateCaret() {
  const QRect now = hasFocus() ? painter_.CaretRectangle(model_, model_.View()) : QRect();
  if (now == caretShown_) return;
  viewport()->update(caretShown_);
  viewport()->update(now);
  caretShown_ = now;
}

void InputOutputWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  InvalidateCaret();
}

void InputOutputWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  InvalidateCaret();
}

}  // namespace kova::win
