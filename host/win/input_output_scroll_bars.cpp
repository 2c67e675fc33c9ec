// The Input/Output window's scroll bars, set from the model's view; a move of either bar by
// the user is a scroll request to the model.
#include <QScrollBar>
#include <algorithm>

#include "host/win/input_output_widget.h"

namespace kova::win {
namespace {

constexpr int kHorizontalPage = 8;

}  // namespace

void InputOutputWidget::SyncScrollBars() {
  const host::ScrollView& view = model_.View();
  syncingBars_ = true;
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, view.VerticalMaximum(model_.Lines().LineCount()));
  vertical->setPageStep(std::max(view.visibleRows, 1));
  vertical->setSingleStep(1);
  vertical->setValue(view.topLine);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, view.HorizontalMaximum());
  horizontal->setPageStep(kHorizontalPage);
  horizontal->setSingleStep(1);
  horizontal->setValue(view.leftColumn);
  syncingBars_ = false;
}

// Called whenever a bar's value changes; only the user's changes are requests.
void InputOutputWidget::scrollContentsBy(int dx, int dy) {
  if (syncingBars_) return;
  if (dy != 0) model_.ScrollVertically(host::ScrollCode::ThumbTrack, verticalScrollBar()->value());
  if (dx != 0) {
    model_.ScrollHorizontally(host::ScrollCode::ThumbPosition, horizontalScrollBar()->value());
  }
  Refresh();
}

}  // namespace kova::win
