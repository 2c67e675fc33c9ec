// The Input/Output window on the screen: turns keys, mouse and scroll bar events into calls
// on the window's model and has the cell painter draw what the model says has changed.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <optional>
#include <string_view>

#include "host/input_output_window.h"
#include "host/win/cell_painter.h"

namespace kova::win {

class InputOutputWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit InputOutputWidget(host::InputOutputWindow& model, QWidget* parent = nullptr);

  // One line of console output. It is drawn at the next refresh: lines that arrive faster
  // than the screen can show them are drawn together.
  void AppendLine(std::string_view text);
  // Draws whatever the model has changed, now.
  void Refresh();

  // The edit commands. Copy and Cut report whether the text reached the clipboard.
  bool Copy();
  bool Cut();
  void Paste();
  void Delete();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void RefreshSoon();
  void ShowCaret(const QRect& drawnAt);
  QRect ShownCaretRectangle() const;
  void SyncScrollBars();
  QPoint CellUnder(const QPoint& position) const;
  // The view's size in cells, a partly visible last row and column included.
  int ViewRows() const;
  int ViewColumns() const;

  host::InputOutputWindow& model_;
  CellPainter painter_;
  // The view and the caret the screen was brought to at the last refresh (no caret without
  // the keyboard focus). Every paint draws these, not the model's, which move on as lines
  // arrive: the next refresh scrolls what is on the screen from here, and a row or a caret
  // painted for a later view would end up too high.
  host::ScrollView shown_;
  std::optional<TranscriptCell> shownCaret_;
  QTimer refreshTimer_;
  bool syncingBars_ = false;  // the bars are being set from the model, not by the user
};

}  // namespace kova::win
