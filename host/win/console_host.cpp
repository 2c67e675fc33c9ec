#include "host/win/console_host.h"

#include <QMdiSubWindow>

#include "host/main_menu.h"
#include "host/win/about_box.h"
#include "host/win/copies_selection.h"
#include "host/win/frame_window.h"
#include "host/win/input_output_widget.h"
#include "host/win/program_services.h"

namespace kova::win {
ConsoleHost::ConsoleHost(const QString& frameTitle)
    : frame_(std::make_unique<FrameWindow>(frameTitle)),
      services_(std::make_unique<ProgramServices>(*frame_)),
      saving_(*frame_, transcript_),
      printing_(*frame_, transcript_, saving_),
      closing_(*frame_, transcript_, saving_, flags_) {
  model_.selectionCommands = [this](bool usable) { frame_->SetSelectionCommands(usable); };
  frame_->commandChosen = [this](int id) { RouteCommand(id); };
  frame_->closeRequested = [this] { return closing_.Requested(); };
}

ConsoleHost::~ConsoleHost() = default;

bool ConsoleHost::Show() {
  frame_->show();
  inputOutput_ = new InputOutputWidget(model_);
  operations_.emplace(model_, *inputOutput_, flags_);
  frame_->ShowConsole(inputOutput_);
  return frame_->isVisible() && frame_->ConsoleWindow()->isVisible();
}

ConsoleHooks ConsoleHost::Operations() {
  return operations_->Hooks();
}

void ConsoleHost::RouteCommand(int id) {
  using host::CommandRoute;
  switch (host::RouteCommand(id, services_->NextMenuId())) {
    case CommandRoute::Save:
      saving_.Save();
      return;
    case CommandRoute::SaveAs:
      saving_.SaveAs();
      return;
    case CommandRoute::Print:
      printing_.Print();
      return;
    case CommandRoute::About:
      About();
      return;
    case CommandRoute::Exit:
      frame_->close();
      return;
    case CommandRoute::Cut:
      if (inputOutput_->Cut()) frame_->EnablePaste();
      return;
    case CommandRoute::Copy:
      if (CopiesSelection* child = frame_->ActiveCopyingChild()) {
        child->CopySelection();
        frame_->EnablePaste();
        return;
      }
      if (inputOutput_->Copy()) frame_->EnablePaste();
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

void ConsoleHost::About() {
  AboutBox box(frame_.get());
  box.exec();
  frame_->FocusConsole();
}

}  // namespace kova::win
