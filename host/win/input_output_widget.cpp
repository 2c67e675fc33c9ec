#include "host/win/input_output_widget.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "host/main_menu.h"
#include "host/win/clipboard.h"

namespace kova::win {
namespace {

// Streaming output is drawn at most this often.
constexpr int kRefreshMilliseconds = 15;
constexpr int kHorizontalPage = 8;

struct KeyBinding {
  Qt::Key key;
  host::EditKey editKey;
};

constexpr KeyBinding kEditKeys[] = {
    {Qt::Key_PageUp, host::EditKey::PageUp}, {Qt::Key_PageDown, host::EditKey::PageDown},
    {Qt::Key_End, host::EditKey::End},       {Qt::Key_Home, host::EditKey::Home},
    {Qt::Key_Up, host::EditKey::Up},         {Qt::Key_Down, host::EditKey::Down},
    {Qt::Key_Left, host::EditKey::Left},     {Qt::Key_Right, host::EditKey::Right},
    {Qt::Key_Insert, host::EditKey::Insert}, {Qt::Key_Delete, host::EditKey::Delete},
};

std::optional<host::EditKey> EditKeyOf(int key) {
  for (const KeyBinding& binding : kEditKeys) {
    if (binding.key == key) return binding.editKey;
  }
  return std::nullopt;
}

// The accelerators belong to the frame; when their command is gray they do nothing rather
// than type a control character.
bool IsAccelerator(const QKeyEvent& event) {
  const QKeySequence pressed(event.keyCombination());
  for (const host::Accelerator& accelerator : host::MdiAccel()) {
    const QKeySequence keys(QString::fromLatin1(accelerator.keys.data(),
                                                static_cast<qsizetype>(accelerator.keys.size())));
    if (keys.matches(pressed) == QKeySequence::ExactMatch) return true;
  }
  return false;
}

int FloorDivide(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

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

// ---- Output and refreshing ------------------------------------------------------------------

void InputOutputWidget::AppendLine(std::string_view text) {
  model_.AppendLine(text);
  RefreshSoon();
}

void InputOutputWidget::RefreshSoon() {
  if (!refreshTimer_.isActive()) refreshTimer_.start();
}

int InputOutputWidget::ViewRows() const {
  const int height = painter_.Cells().height;
  return (viewport()->height() + height - 1) / height;
}

int InputOutputWidget::ViewColumns() const {
  const int width = painter_.Cells().width;
  return (viewport()->width() + width - 1) / width;
}

void InputOutputWidget::Refresh() {
  refreshTimer_.stop();
  const host::RepaintWork work = model_.Repaint().Take(ViewRows(), ViewColumns());
  QRect caretDrawn = ShownCaretRectangle();
  shown_ = model_.View();
  if (work.scrollBars) SyncScrollBars();
  if (work.everything) {
    viewport()->update();
  } else {
    if (work.scrollRows != 0 || work.scrollColumns != 0) {
      const CellMetrics& cells = painter_.Cells();
      const QPoint offset(-work.scrollColumns * cells.width, -work.scrollRows * cells.height);
      viewport()->scroll(offset.x(), offset.y());
      caretDrawn.translate(offset);  // the caret moved with the text
    }
    for (const host::CellRect& cells : work.cells)
      viewport()->update(painter_.CellRectangle(cells));
  }
  ShowCaret(caretDrawn);
}

// The caret goes where the model has it, in the view the screen now shows; the cell it was
// drawn in and the cell it is in now are redrawn.
void InputOutputWidget::ShowCaret(const QRect& drawnAt) {
  shownCaret_.reset();
  if (hasFocus()) shownCaret_ = TranscriptCell{model_.CaretRow(), model_.CaretColumn()};
  viewport()->update(drawnAt);
  viewport()->update(ShownCaretRectangle());
}

QRect InputOutputWidget::ShownCaretRectangle() const {
  return shownCaret_ ? painter_.CaretRectangle(shown_, *shownCaret_) : QRect();
}

void InputOutputWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter_.PaintRows(painter, model_, shown_, event->rect());
  if (shownCaret_) painter_.PaintCaret(painter, model_.Lines(), shown_, *shownCaret_);
}

void InputOutputWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  const CellMetrics& cells = painter_.Cells();
  model_.Resize(viewport()->height() / cells.height, viewport()->width() / cells.width);
  Refresh();
}

// The caret shows only while the window has the keyboard focus.
void InputOutputWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  Refresh();
}

void InputOutputWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  Refresh();
}

// ---- Keys -----------------------------------------------------------------------------------
// Enter, Backspace and TAB are characters with rules of their own, the movement and editing
// keys are requests, and every other character is typed, control characters included.

void InputOutputWidget::keyPressEvent(QKeyEvent* event) {
  // Alt combinations are the menus' mnemonics, never text.
  if (event->modifiers() & Qt::AltModifier || IsAccelerator(*event)) {
    event->ignore();
    return;
  }
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    model_.Character(host::kEnter);
  } else if (key == Qt::Key_Backspace) {
    model_.Character(host::kBackspace);
  } else if (key == Qt::Key_Tab) {
    model_.Character(host::kTab);
  } else if (const std::optional<host::EditKey> editKey = EditKeyOf(key)) {
    model_.Key(*editKey);
  } else {
    const QString text = event->text();
    if (text.isEmpty()) {
      event->ignore();
      return;
    }
    for (const QChar character : text) {
      const char16_t code = character.unicode();
      model_.Character(code <= 0xFF ? static_cast<unsigned char>(code) : '?');
    }
  }
  event->accept();
  Refresh();
}

// TAB is typed text here, not a move to the next widget.
bool InputOutputWidget::focusNextPrevChild(bool) {
  return false;
}

// ---- The mouse ------------------------------------------------------------------------------
// It selects text on one line and never moves the caret.

QPoint InputOutputWidget::CellUnder(const QPoint& position) const {
  const CellMetrics& cells = painter_.Cells();
  return QPoint(FloorDivide(position.x(), cells.width), FloorDivide(position.y(), cells.height));
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

// ---- The scroll bars ------------------------------------------------------------------------
// They are set from the model's view; a move of either by the user is a scroll request.

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

// ---- The edit commands, through the system clipboard ----------------------------------------

bool InputOutputWidget::Copy() {
  const std::optional<std::string> selected = model_.SelectedText();
  return selected && clipboard::PutText(*selected);
}

bool InputOutputWidget::Cut() {
  if (!Copy()) return false;
  Delete();
  return true;
}

void InputOutputWidget::Delete() {
  model_.DeleteSelection();
  Refresh();
}

void InputOutputWidget::Paste() {
  const std::optional<std::string> typed = clipboard::TextToType();
  if (!typed) return;
  model_.Paste(*typed);
  Refresh();
}

}  // namespace kova::win
