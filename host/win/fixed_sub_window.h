// A child window of the frame that the user cannot close: the Input/Output window and the
// graphics window live as long as the process. Its system menu's Close is gray and every
// close is refused; Qt still draws a close button beside minimize and maximize.
#pragma once

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace kova::win {

class FixedSubWindow : public QMdiSubWindow {
 public:
  static constexpr Qt::WindowFlags kFlags =
      Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint;

  explicit FixedSubWindow(QWidget* parent);

  // Grays Close in the system menu; call once the window is in its MDI client.
  void GrayCloseEntry();

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace kova::win
