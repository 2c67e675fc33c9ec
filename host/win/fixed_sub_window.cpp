#include "host/win/fixed_sub_window.h"

#include <QAction>
#include <QMenu>

#include "host/win/program_icons.h"

namespace kova::win {

FixedSubWindow::FixedSubWindow(QWidget* parent) : QMdiSubWindow(parent, kFlags) {
  setWindowIcon(ChildIcon());
}

void FixedSubWindow::GrayCloseEntry() {
  QMenu* menu = systemMenu();
  if (menu == nullptr) return;
  for (QAction* action : menu->actions()) {
    if (action->shortcut() == QKeySequence(QKeySequence::Close) ||
        action->text().contains(QStringLiteral("Close"), Qt::CaseInsensitive)) {
      action->setEnabled(false);
    }
  }
}

}  // namespace kova::win
