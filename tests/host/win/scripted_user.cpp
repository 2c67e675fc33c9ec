#include "tests/host/win/scripted_user.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "host/win/frame_window.h"
#include "host/win/program_services.h"

namespace kova::test_support {

std::vector<UserAction> ParseUserActions(const std::vector<std::string>& words) {
  std::vector<UserAction> actions;
  for (const std::string& word : words) {
    const std::size_t colon = word.find(':');
    actions.push_back({word.substr(0, colon),
                       colon == std::string::npos ? std::string() : word.substr(colon + 1)});
  }
  return actions;
}

namespace {

// The frame's menu item with the given text, & marks and the shortcut after a TAB left out;
// null while there is none.
QAction* MenuItem(win::FrameWindow& frame, const std::string& text) {
  for (QAction* action : frame.findChildren<QAction*>()) {
    const QString named = action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    if (named.toStdString() == text) return action;
  }
  return nullptr;
}

// The active child window, when it is not the Input/Output window; null otherwise.
QMdiSubWindow* FrontWindow(win::FrameWindow& frame) {
  QMdiSubWindow* window = frame.Client()->activeSubWindow();
  return window == frame.ConsoleWindow() || window == nullptr || !window->isVisible() ? nullptr
                                                                                      : window;
}

}  // namespace

std::string TranscriptText(const host::Transcript& transcript) {
  std::string text;
  for (std::size_t row = 0; row < transcript.LineCount(); ++row) {
    text.append(transcript.Line(row)).append("\n");
  }
  return text;
}

ScriptedUser::ScriptedUser(win::ConsoleHost& host, std::vector<UserAction> actions)
    : host_(host), actions_(std::move(actions)) {
  timer_.setInterval(1);  // a prompt is answered as soon as it is shown
  connect(&timer_, &QTimer::timeout, this, &ScriptedUser::Step);
  timer_.start();
}

void ScriptedUser::Step() {
  while (!Finished() && Perform(actions_[next_]))
    ++next_;
  if (Finished()) timer_.stop();
}

bool ScriptedUser::Perform(const UserAction& action) {
  if (action.verb == "type") {
    if (!host_.Flags().awaitingLine) return false;
    QWidget* console = host_.Frame().ConsoleWindow()->widget();
    QTest::keyClicks(console, QString::fromStdString(action.argument));
    QTest::keyClick(console, Qt::Key_Return);
    return true;
  }
  if (action.verb == "await-end") return host_.Flags().runEnded;
  if (action.verb == "await-lines") {
    return host_.Lines().LineCount() >= std::stoul(action.argument);
  }
  if (action.verb == "transcript") {
    std::ofstream(action.argument, std::ios::binary) << TranscriptText(host_.Lines());
    return true;
  }
  if (action.verb == "save-as") {
    const QString path = QString::fromStdString(action.argument);
    modals_.Then([path](QWidget* modal) { ChooseFile(modal, path); });
    return true;
  }
  if (action.verb == "choose") {
    QAction* item = MenuItem(host_.Frame(), action.argument);
    if (item == nullptr) return false;
    // A command may open a dialog of its own, so it runs on its own, as closing does.
    QTimer::singleShot(0, item, [item] { item->trigger(); });
    return true;
  }
  if (action.verb == "grab") {
    QMdiSubWindow* window = FrontWindow(host_.Frame());
    if (window == nullptr) return false;
    window->grab().save(QString::fromStdString(action.argument), "PNG");
    return true;
  }
  if (action.verb == "frame-size") {
    const std::size_t by = action.argument.find('x');
    host_.Frame().resize(std::stoi(action.argument.substr(0, by)),
                         std::stoi(action.argument.substr(by + 1)));
    return true;
  }
  if (action.verb == "wait") {
    if (!waited_.isValid()) waited_.start();
    if (waited_.elapsed() < std::stoi(action.argument)) return false;
    waited_.invalidate();
    return true;
  }
  if (action.verb == "await-window") {
    for (const QMdiSubWindow* window : host_.Frame().Client()->subWindowList()) {
      if (window->isVisible() && window->windowTitle().toStdString() == action.argument) {
        return true;
      }
    }
    return false;
  }
  if (action.verb == "front") {
    // The window system makes the frame active again after a dialog in its own time; the
    // keyboard is judged once it has (or after two seconds without).
    if (!waited_.isValid()) waited_.start();
    if (QApplication::activeWindow() == nullptr && waited_.elapsed() < 2000) return false;
    waited_.invalidate();
    QMdiSubWindow* window = host_.Frame().Client()->activeSubWindow();
    const QWidget* focus = QApplication::focusWidget();
    std::ofstream(action.argument, std::ios::binary)
        << (window == nullptr ? std::string() : window->windowTitle().toStdString())
        << (window != nullptr && focus != nullptr && window->isAncestorOf(focus)
                ? " with the keyboard"
                : "");
    return true;
  }
  if (action.verb == "keys") {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) return false;
    QTest::keySequence(focus, QKeySequence(QString::fromStdString(action.argument)));
    return true;
  }
  if (action.verb == "sort") {
    QMdiSubWindow* window = FrontWindow(host_.Frame());
    auto* table = window == nullptr ? nullptr : window->findChild<QTableView*>();
    if (table == nullptr) return false;
    QHeaderView* header = table->horizontalHeader();
    for (int section = 0; section < header->count(); ++section) {
      const QString title = table->model()->headerData(section, Qt::Horizontal).toString();
      if (title.toStdString() != action.argument) continue;
      const QPoint middle(
          header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
          header->height() / 2);
      QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
      return true;
    }
    return false;
  }
  if (action.verb == "press") {
    QMdiSubWindow* window = FrontWindow(host_.Frame());
    if (window == nullptr) return false;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
      if (button->text().remove(QLatin1Char('&')).toStdString() != action.argument) continue;
      // A button may open a dialog of its own, so it is clicked on its own, as closing is.
      QTimer::singleShot(0, button, [button] { button->click(); });
      return true;
    }
    return false;
  }
  if (action.verb == "clipboard") {
    std::ofstream(action.argument, std::ios::binary)
        << QApplication::clipboard()->text().toStdString();
    return true;
  }
  if (action.verb == "await-file") {
    std::error_code error;
    return std::filesystem::file_size(action.argument, error) > 0 && !error;
  }
  if (action.verb == "close") {
    if (!host_.Lines().Saved()) {
      const QString answer = QString::fromStdString(action.argument);
      modals_.Then([answer](QWidget* modal) { ClickButton(modal, answer); });
    }
    // Closing may not come back (the process can end inside it), so it runs on its own.
    QTimer::singleShot(0, &host_.Frame(), [this] { host_.Frame().close(); });
    return true;
  }
  return true;
}

}  // namespace kova::test_support
