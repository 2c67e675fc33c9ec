#include "tests/host/win/scripted_user.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
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

// The frame's menu item with the given text, & marks left out; null while there is none.
QAction* MenuItem(win::FrameWindow& frame, const std::string& text) {
  for (QAction* action : frame.findChildren<QAction*>()) {
    if (action->text().remove(QLatin1Char('&')).toStdString() == text) return action;
  }
  return nullptr;
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
    QMdiSubWindow* graphics = win::Services().GraphicsWindow();
    if (graphics == nullptr || !graphics->isVisible()) return false;
    graphics->grab().save(QString::fromStdString(action.argument), "PNG");
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
