#include "host/win/console_host.h"

#include <QAction>
#include <QMdiSubWindow>

#include "host/main_menu.h"
#include "host/win/about_box.h"
#include "host/win/fixed_sub_window.h"
#include "host/win/frame_window.h"
#include "host/win/input_output_widget.h"
#include "host/win/program_services.h"

namespace kova::win {
namespace {

constexpr QRect kInputOutputPlace(15, 15, 600, 300);

}  // namespace

ConsoleHost::ConsoleHost(const QString& frameTitle)
    : frame_(std::make_unique<FrameWindow>(frameTitle)),
      services_(std::make_unique<ProgramServices>(*frame_)) {
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

QMdiSubWindow* ConsoleHost::InputOutputWindow() {
  return inputOutputWindow_;
}

bool ConsoleHost::Show() {
  frame_->show();
  inputOutputWindow_ = new FixedSubWindow(frame_->Client());
  inputOutputWindow_->setObjectName(QStringLiteral("MDICHILD"));
  inputOutput_ = new InputOutputWidget(model_);
  inputOutputWindow_->setWidget(inputOutput_);
  inputOutputWindow_->setWindowTitle(QStringLiteral("Input/Output"));
  frame_->Client()->addSubWindow(inputOutputWindow_, FixedSubWindow::kFlags);
  inputOutputWindow_->GrayCloseEntry();
  inputOutputWindow_->setGeometry(kInputOutputPlace);
  inputOutputWindow_->show();
  RestoreFocus();
  return frame_->isVisible() && inputOutputWindow_->isVisible();
}

void ConsoleHost::RouteCommand(int id) {
  using host::CommandRoute;
  switch (host::RouteCommand(id, services_->NextMenuId())) {
    case CommandRoute::Save:
      Save();
      return;
    case CommandRoute::SaveAs:
      SaveAs();
      return;
    case CommandRoute::Print:
      Print();
      return;
    case CommandRoute::About:
      About();
      return;
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
    case CommandRoute::Cascade:
      frame_->Client()->cascadeSubWindows();
      return;
    case CommandRoute::Tile:
      frame_->Client()->tileSubWindows();
      return;
    case CommandRoute::ArrangeIcons:
      frame_->ArrangeIcons();
      return;
    case CommandRoute::ChildWindow:
      frame_->ActivateChild(id - host::command::kFirstChildWindow);
      return;
    case CommandRoute::ProgramItem:
      services_->ChooseItem(id);
      return;
    case CommandRoute::ActiveChild:
      return;
  }
}

// The keyboard goes back to the Input/Output window, in the frame, whenever a dialog or
// message box closes: a read may be waiting for the user's answer.
void ConsoleHost::RestoreFocus() {
  frame_->activateWindow();
  inputOutput_->setFocus();
}

void ConsoleHost::About() {
  AboutBox box(frame_.get());
  box.exec();
  RestoreFocus();
}

// Cut, Copy and Delete follow the selection; Paste, once usable, stays so.
void ConsoleHost::SetSelectionCommands(bool usable) {
  for (const int id : {host::command::kCut, host::command::kCopy, host::command::kDelete}) {
    frame_->Action(id)->setEnabled(usable);
  }
}

void ConsoleHost::EnablePaste() {
  frame_->Action(host::command::kPaste)->setEnabled(true);
}

}  // namespace kova::win
