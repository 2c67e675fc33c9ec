#include "host/win/frame_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "host/main_menu.h"
#include "host/win/copies_selection.h"
#include "host/win/fixed_sub_window.h"
#include "host/win/program_icons.h"

namespace kova::win {
namespace {

QString Text(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 560;
constexpr QRect kConsolePlace(15, 15, 600, 300);

}  // namespace

FrameWindow::FrameWindow(const QString& title) : client_(new QMdiArea(this)) {
  setObjectName(QStringLiteral("MDIFRAME"));
  setWindowTitle(title);
  setWindowIcon(FrameIcon());
  client_->setObjectName(QStringLiteral("MDICLIENT"));
  client_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  client_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(client_);
  BuildMainMenu();
  connect(client_, &QMdiArea::subWindowActivated, this,
          [this] { SetSelectionCommands(selectionUsable_); });
  resize(kDefaultWidth, kDefaultHeight);
}

// The client's child windows close after this window's own parts are gone: their last
// activation must not reach the menus.
FrameWindow::~FrameWindow() {
  disconnect(client_, nullptr, this, nullptr);
}

// The menus and the accelerators are built from the tables; each item carries its command id.
void FrameWindow::BuildMainMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(Text(host::kMainMenuName));
  for (const host::MenuPopup& popup : host::MainMenu()) {
    QMenu* menu = bar->addMenu(Text(popup.title));
    popups_.push_back(menu);
    for (const host::MenuItem& item : popup.items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(Text(item.text));
      action->setData(item.id);
      action->setEnabled(!item.grayed);
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] {
        if (commandChosen) commandChosen(id);
      });
      actions_[id] = action;
    }
  }
  QMenu* windowMenu = popups_[host::kWindowMenuPosition];
  connect(windowMenu, &QMenu::aboutToShow, this, &FrameWindow::ListChildWindows);
  for (const host::Accelerator& accelerator : host::MdiAccel()) {
    QAction* action = Action(accelerator.id);
    // The menu shows the item's own text after its TAB, not this sequence.
    action->setShortcut(QKeySequence(Text(accelerator.keys)));
  }
}

QAction* FrameWindow::Action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void FrameWindow::SetSelectionCommands(bool usable) {
  selectionUsable_ = usable;
  for (const int id : {host::command::kCut, host::command::kDelete})
    Action(id)->setEnabled(usable);
  Action(host::command::kCopy)->setEnabled(usable || ActiveCopyingChild() != nullptr);
}

CopiesSelection* FrameWindow::ActiveCopyingChild() const {
  const QMdiSubWindow* active = client_->activeSubWindow();
  if (active == nullptr || active == console_) return nullptr;
  return dynamic_cast<CopiesSelection*>(active->widget());
}

void FrameWindow::EnablePaste() {
  Action(host::command::kPaste)->setEnabled(true);
}

void FrameWindow::ShowConsole(QWidget* console) {
  auto* window = new FixedSubWindow(client_);
  window->setObjectName(QStringLiteral("MDICHILD"));
  window->setWidget(console);
  window->setWindowTitle(QStringLiteral("Input/Output"));
  client_->addSubWindow(window, FixedSubWindow::kFlags);
  window->GrayCloseEntry();
  window->setGeometry(kConsolePlace);
  window->show();
  console_ = window;
  FocusConsole();
}

void FrameWindow::FocusConsole() {
  activateWindow();
  if (console_ != nullptr) console_->widget()->setFocus();
}

void FrameWindow::ListChildWindows() {
  QMenu* windowMenu = popups_[host::kWindowMenuPosition];
  for (QAction* entry : childEntries_) {
    windowMenu->removeAction(entry);
    delete entry;
  }
  childEntries_.clear();
  const QList<QMdiSubWindow*> children = client_->subWindowList();
  if (children.isEmpty()) return;
  childEntries_.push_back(windowMenu->addSeparator());
  const int shown =
      std::min<int>(static_cast<int>(children.size()), host::command::kMostChildWindows);
  for (int index = 0; index < shown; ++index) {
    QAction* entry = windowMenu->addAction(
        QStringLiteral("&%1 %2").arg(index + 1).arg(children[index]->windowTitle()));
    const int id = host::command::kFirstChildWindow + index;
    entry->setData(id);
    entry->setCheckable(true);
    entry->setChecked(children[index] == client_->activeSubWindow());
    connect(entry, &QAction::triggered, this, [this, id] {
      if (commandChosen) commandChosen(id);
    });
    childEntries_.push_back(entry);
  }
}

void FrameWindow::ActivateChild(int index) {
  const QList<QMdiSubWindow*> children = client_->subWindowList();
  if (index < 0 || index >= children.size()) return;
  QMdiSubWindow* child = children[index];
  if (child->isMinimized()) child->showNormal();
  client_->setActiveSubWindow(child);
}

// Minimized child windows line up along the bottom of the client, left to right.
void FrameWindow::ArrangeIcons() {
  int x = 0;
  for (QMdiSubWindow* child : client_->subWindowList()) {
    if (!child->isMinimized()) continue;
    const QSize size = child->size();
    child->move(x, client_->viewport()->height() - size.height());
    x += size.width();
  }
}

void FrameWindow::closeEvent(QCloseEvent* event) {
  if (!closeRequested || closeRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace kova::win
