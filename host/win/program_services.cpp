#include "host/win/program_services.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cassert>

#include "host/win/fixed_sub_window.h"
#include "host/win/frame_window.h"

namespace kova::win {
namespace {

ProgramServices* running = nullptr;

constexpr int kDefaultWidth = 600;
constexpr int kDefaultHeight = 300;
constexpr QPoint kGraphicsPlace(15, 15);
constexpr QPoint kChildPlace(30, 30);
constexpr std::size_t kLongestTitle = 80;

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A menu's or item's text as a program names it: without the & of a mnemonic, without the
// shortcut after a TAB.
QString Named(const QString& text) {
  return text.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
}

// The position, counted from 1, of the first of `actions` named `name`; 0 when none is.
int PositionOf(const QList<QAction*>& actions, std::string_view name) {
  const QString wanted = Named(Latin1(host::ItemText(name)));
  for (qsizetype index = 0; index < actions.size(); ++index) {
    if (Named(actions[index]->text()) == wanted) return static_cast<int>(index) + 1;
  }
  return 0;
}

}  // namespace

ProgramServices& Services() {
  assert(running != nullptr && "the host is not running");
  return *running;
}

ProgramServices::ProgramServices(FrameWindow& frame) : frame_(frame) {
  running = this;
}

ProgramServices::~ProgramServices() {
  if (running == this) running = nullptr;
}

QMenu* ProgramServices::Menu(int position) const {
  const QList<QAction*> menus = frame_.menuBar()->actions();
  if (position < 1 || position > menus.size()) return nullptr;
  return menus[position - 1]->menu();
}

// A program's items can carry a check mark, but choosing one does not toggle it: the
// program checks and unchecks its items itself.
QAction* ProgramServices::NewItem(QMenu* menu, unsigned flags, std::string_view text, int id) {
  QAction* action = (flags & menu_flag::kSeparator) != 0
                        ? new QAction(menu)
                        : new QAction(Latin1(host::ItemText(text)), menu);
  action->setSeparator((flags & menu_flag::kSeparator) != 0);
  action->setData(id);
  action->setCheckable(true);
  action->setChecked((flags & menu_flag::kChecked) != 0);
  action->setEnabled((flags & (menu_flag::kGrayed | menu_flag::kDisabled)) == 0);
  // The keys an item's text names after its TAB choose it too.
  const QString keys = action->text().section(QLatin1Char('\t'), 1);
  if (!keys.isEmpty()) action->setShortcut(QKeySequence(keys));
  QObject::connect(action, &QAction::triggered, action, [this, action, id](bool nowChecked) {
    action->setChecked(!nowChecked);
    if (frame_.commandChosen) frame_.commandChosen(id);
  });
  return action;
}

bool ProgramServices::AppendMenuItem(int menu, unsigned flags, std::string_view text,
                                     host::MenuCallback callback) {
  QMenu* popup = Menu(menu);
  if (popup == nullptr) return false;
  popup->addAction(NewItem(popup, flags, text, items_.Add(std::move(callback))));
  return true;
}

bool ProgramServices::InsertMenuItem(int menu, int item, unsigned flags, std::string_view text,
                                     host::MenuCallback callback) {
  QMenuBar* bar = frame_.menuBar();
  if (item == 0) {
    const QList<QAction*> menus = bar->actions();
    if (menu < 1 || menu > menus.size() + 1) return false;
    auto* popup = new QMenu(Latin1(host::ItemText(text)), bar);
    bar->insertMenu(menu <= menus.size() ? menus[menu - 1] : nullptr, popup);
    return true;
  }
  QMenu* popup = Menu(menu);
  if (popup == nullptr || item < 1) return false;
  const QList<QAction*> items = popup->actions();
  QAction* before = item <= items.size() ? items[item - 1] : nullptr;
  popup->insertAction(before, NewItem(popup, flags, text, items_.Add(std::move(callback))));
  return true;
}

void ProgramServices::CheckMenuItem(int menu, int item, unsigned checkFlags) {
  QMenu* popup = Menu(menu);
  if (popup == nullptr || item < 1 || item > popup->actions().size()) return;
  QAction* action = popup->actions()[item - 1];
  action->setCheckable(true);
  action->setChecked((checkFlags & menu_flag::kChecked) != 0);
}

void ProgramServices::DeleteMenuItem(int menu, int item) {
  QMenu* popup = Menu(menu);
  if (popup == nullptr || item < 1 || item > popup->actions().size()) return;
  QAction* action = popup->actions()[item - 1];
  popup->removeAction(action);
  if (action->parent() == popup) delete action;
}

int ProgramServices::MenuPosition(std::string_view title) const {
  return PositionOf(frame_.menuBar()->actions(), title);
}

int ProgramServices::ItemPosition(int menu, std::string_view text) const {
  const QMenu* popup = Menu(menu);
  return popup == nullptr ? 0 : PositionOf(popup->actions(), text);
}

void ProgramServices::ChooseItem(int id) {
  const host::MenuCallback* callback = items_.Callback(id);
  if (callback == nullptr) return;
  bool checked = false;
  for (QAction* action : frame_.findChildren<QAction*>()) {
    if (action->data().toInt() == id) checked = action->isChecked();
  }
  (*callback)(checked);
}

bool ProgramServices::SetTimer(int id, int milliseconds, host::TimerCallback callback) {
  if (!timers_.Add(id, std::move(callback))) return false;
  std::unique_ptr<QTimer>& timer = running_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [this, id] { FireTimer(id); });
  }
  timer->start(std::max(milliseconds, 0));
  return true;
}

void ProgramServices::KillTimer(int id) {
  running_.erase(id);
  timers_.Remove(id);
}

void ProgramServices::FireTimer(int id) {
  if (const host::TimerCallback* callback = timers_.Find(id)) (*callback)();
}

bool ProgramServices::OpenGraphicsWindow(int& width, int& height, std::string_view title,
                                         int mappingMode, PaintRoutine paint) {
  if (graphics_ != nullptr) return false;
  std::string name = host::ItemText(title).substr(0, kLongestTitle);
  if (name.empty()) name = "Graphics";
  if (width == 0 || height == 0) {
    width = kDefaultWidth;
    height = kDefaultHeight;
  }
  QMdiSubWindow* active = frame_.Client()->activeSubWindow();
  auto* window = new FixedSubWindow(frame_.Client());
  window->setObjectName(QStringLiteral("MDIGRAPH"));
  window->setWidget(new GraphicsWidget(std::move(paint), host::MappingModeOf(mappingMode)));
  window->setWindowTitle(Latin1(name));
  frame_.Client()->addSubWindow(window, FixedSubWindow::kFlags);
  window->GrayCloseEntry();
  window->setGeometry(QRect(kGraphicsPlace, QSize(width, height)));
  window->show();
  graphics_ = window;
  // The console keeps the keyboard: a read may be waiting for the user's answer.
  if (active != nullptr) frame_.Client()->setActiveSubWindow(active);
  return true;
}

void ProgramServices::TypeLine(std::string_view text) {
  QWidget* console = frame_.ConsoleWindow()->widget();
  for (const char character : text) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier,
                  QString(QChar(static_cast<unsigned char>(character))));
    QCoreApplication::sendEvent(console, &key);
  }
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(console, &enter);
}

QMdiSubWindow* ProgramServices::OpenChildWindow(QWidget* content, const QString& title,
                                                QSize size) {
  auto* window = new QMdiSubWindow(frame_.Client());
  window->setWidget(content);
  window->setWindowTitle(title);
  frame_.Client()->addSubWindow(window);
  window->setGeometry(QRect(kChildPlace, size));
  ShowInFront(window);
  return window;
}

void ShowInFront(QMdiSubWindow* window) {
  // The keyboard reaches a child window only while the frame is the active window, which it
  // is not while a dialog has just closed.
  window->window()->activateWindow();
  window->showNormal();
  window->raise();
  window->mdiArea()->setActiveSubWindow(window);
  window->widget()->setFocus(Qt::OtherFocusReason);
}

int ProgramServices::StartTick() {
  QCoreApplication::processEvents();
  return tick_.Arm(host::Tick::Clock::now());
}

bool ProgramServices::TickFired() const {
  return tick_.Fired(host::Tick::Clock::now());
}

}  // namespace kova::win
