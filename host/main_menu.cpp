#include "host/main_menu.h"

#include <array>

namespace kova::host {
namespace {

using namespace command;

constexpr std::array kFileItems{
    MenuItem{"&Save", kSave},
    MenuItem{"Save As...", kSaveAs},
    MenuItem{},
    MenuItem{"Print...", kPrint},
    MenuItem{},
    MenuItem{"&About...", kAbout},
    MenuItem{},
    MenuItem{"E&xit", kExit},
};

// The Edit items start gray: there is nothing to undo, select or paste yet.
constexpr std::array kEditItems{
    MenuItem{"&Undo\tCtrl+Z", kUndo, true},   MenuItem{},
    MenuItem{"Cu&t\tCtrl+X", kCut, true},     MenuItem{"&Copy\tCtrl+C", kCopy, true},
    MenuItem{"&Paste\tCtrl+V", kPaste, true}, MenuItem{"De&lete", kDelete, true},
};

constexpr std::array kWindowItems{
    MenuItem{"&Cascade\tShift+F5", kCascade},
    MenuItem{"&Tile\tShift+F4", kTile},
    MenuItem{"&Arrange Icons", kArrangeIcons},
};

constexpr std::array kPopups{
    MenuPopup{"&File", kFileItems},
    MenuPopup{"&Edit", kEditItems},
    MenuPopup{"&Window", kWindowItems},
};

constexpr std::array kAccelerators{
    Accelerator{"Ctrl+Z", kUndo},      Accelerator{"Ctrl+X", kCut},
    Accelerator{"Ctrl+C", kCopy},      Accelerator{"Ctrl+V", kPaste},
    Accelerator{"Shift+F5", kCascade}, Accelerator{"Shift+F4", kTile},
};

}  // namespace

std::span<const MenuPopup> MainMenu() {
  return kPopups;
}

std::span<const Accelerator> MdiAccel() {
  return kAccelerators;
}

CommandRoute RouteCommand(int id, int nextProgramItem) {
  switch (id) {
    case kSave:
      return CommandRoute::Save;
    case kSaveAs:
      return CommandRoute::SaveAs;
    case kPrint:
      return CommandRoute::Print;
    case kAbout:
      return CommandRoute::About;
    case kExit:
      return CommandRoute::Exit;
    case kCut:
      return CommandRoute::Cut;
    case kCopy:
      return CommandRoute::Copy;
    case kPaste:
      return CommandRoute::Paste;
    case kDelete:
      return CommandRoute::Delete;
    case kCascade:
      return CommandRoute::Cascade;
    case kTile:
      return CommandRoute::Tile;
    case kArrangeIcons:
      return CommandRoute::ArrangeIcons;
    default:
      break;
  }
  if (id >= kFirstChildWindow && id < kFirstChildWindow + kMostChildWindows) {
    return CommandRoute::ChildWindow;
  }
  if (id >= kFirstProgramItem && id < nextProgramItem) return CommandRoute::ProgramItem;
  return CommandRoute::ActiveChild;
}

}  // namespace kova::host
