#include "host/win/console_host.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>

#include "host/main_menu.h"
#include "host/win/frame_window.h"
#include "host/win/input_output_widget.h"

namespace kova::win {
namespace {

constexpr QRect kInputOutputPlace(15, 15, 600, 300);

// The title bar keeps its system menu and its minimize and maximize buttons; Qt draws a close
// button with them, which the window refuses as it refuses every close.
constexpr Qt::WindowFlags kInputOutputFlags = Qt::SubWindow | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint |
                                              Qt::WindowMinMaxButtonsHint;

// The Input/Output window lives as long as the process: the user cannot close it.
class InputOutputSubWindow : public QMdiSubWindow {
 public:
  explicit InputOutputSubWindow(QWidget* parent) : QMdiSubWindow(parent, kInputOutputFlags) {}

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

void GrayCloseEntry(QMdiSubWindow* window) {
  if (QMenu* menu = window->systemMenu()) {
    for (QAction* action : menu->actions()) {
      if (action->shortcut() == QKeySequence(QKeySequence::Close) ||
          action->text().contains(QStringLiteral("Close"), Qt::CaseInsensitive)) {
        action->setEnabled(false);
      }
    }
  }
}

}  // namespace

ConsoleHost::ConsoleHost(const QString& frameTitle)
    : frame_(std::make_unique<FrameWindow>(frameTitle)) {
  model_.lineCompleted = [this](std::size_t row) {
    if (!flags_.awaitingLine) return;  // a line typed ahead is never delivered
    flags_.awaitingLine = false;
    deliveredRow_ = row;
  };
  model_.selectionCommands = [this](bool usable) { SetSelectionCommands(usable); };
  frame_->commandChosen = [this](int id) { RouteCommand(id); };
  frame_->closeRequested = [this] { return CloseRequested(); };
}

ConsoleHost::~ConsoleHost() = default;

bool ConsoleHost::Show() {
  frame_->show();
  inputOutputWindow_ = new InputOutputSubWindow(frame_->Client());
  inputOutputWindow_->setObjectName(QStringLiteral("MDICHILD"));
  inputOutput_ = new InputOutputWidget(model_);
  inputOutputWindow_->setWidget(inputOutput_);
  inputOutputWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
  inputOutputWindow_->setWindowTitle(QStringLiteral("Input/Output"));
  frame_->Client()->addSubWindow(inputOutputWindow_, kInputOutputFlags);
  GrayCloseEntry(inputOutputWindow_);
  inputOutputWindow_->setGeometry(kInputOutputPlace);
  inputOutputWindow_->show();
  frame_->activateWindow();
  inputOutput_->setFocus();
  return frame_->isVisible() && inputOutputWindow_->isVisible();
}

void ConsoleHost::RouteCommand(int id) {
  using host::CommandRoute;
  switch (host::RouteCommand(id, host::command::kFirstProgramItem)) {
    case CommandRoute::Exit:
      frame_->close();
      return;
    case CommandRoute::Cut:
      if (inputOutput_->Cut()) EnablePaste();
      return;
    case CommandRoute::Copy:
      if (inputOutput_->Copy()) EnablePaste();
      return;
    case CommandRoute::Paste:
      inputOutput_->Paste();
      return;
    case CommandRoute::Delete:
      inputOutput_->Delete();
      return;
    case CommandRoute::Save:
    case CommandRoute::SaveAs:
    case CommandRoute::Print:
    case CommandRoute::About:
    case CommandRoute::ProgramItem:
    case CommandRoute::ActiveChild:
      return;
  }
}

// Cut, Copy and Delete follow the selection; Paste, once usable, stays so.
void ConsoleHost::SetSelectionCommands(bool usable) {
  for (const int id : {host::command::kCut, host::command::kCopy, host::command::kDelete}) {
    frame_->Action(id)->setEnabled(usable);
  }
}

void ConsoleHost::EnablePaste() { frame_->Action(host::command::kPaste)->setEnabled(true); }

}  // namespace kova::win
