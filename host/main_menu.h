// The frame's menu bar "MainMenu", its accelerator table "MDIAccel" and the routing of their
// command ids, as data: the window layer builds its menus from these tables.
#pragma once

#include <span>
#include <string_view>

namespace kova::host {

namespace command {
inline constexpr int kSave = 500;
inline constexpr int kSaveAs = 501;
inline constexpr int kPrint = 510;
inline constexpr int kAbout = 520;
inline constexpr int kExit = 530;
inline constexpr int kUndo = 600;
inline constexpr int kCut = 610;
inline constexpr int kCopy = 611;
inline constexpr int kPaste = 612;
inline constexpr int kDelete = 613;
inline constexpr int kTile = 700;
inline constexpr int kCascade = 701;
inline constexpr int kArrangeIcons = 702;
// Entries of the child windows in the "Window" menu count up from here.
inline constexpr int kFirstChildWindow = 100;
inline constexpr int kMostChildWindows = 9;
// Items that a program adds to the menus count up from here.
inline constexpr int kFirstProgramItem = 800;
}  // namespace command

// An item of a popup menu. Id 0 is a separator. A TAB separates the item's text from its
// shortcut.
struct MenuItem {
  std::string_view text;
  int id = 0;
  bool grayed = false;
};

struct MenuPopup {
  std::string_view title;
  std::span<const MenuItem> items;
};

inline constexpr std::string_view kMainMenuName = "MainMenu";
inline constexpr std::string_view kAcceleratorTableName = "MDIAccel";

std::span<const MenuPopup> MainMenu();

// The third popup, "&Window", also lists the child windows.
inline constexpr int kWindowMenuPosition = 2;

struct Accelerator {
  std::string_view keys;  // as "Ctrl+Z" or "Shift+F5"
  int id = 0;
};

std::span<const Accelerator> MdiAccel();

enum class CommandRoute {
  Save,
  SaveAs,
  Print,
  About,
  Exit,
  Cut,
  Copy,
  Paste,
  Delete,
  Cascade,
  Tile,
  ArrangeIcons,
  ChildWindow,  // an entry of the "Window" menu's list of child windows
  ProgramItem,  // an item a program added, with its callback
  ActiveChild,  // everything else goes to the active child window, which ignores it (Undo)
};

CommandRoute RouteCommand(int id, int nextProgramItem);

}  // namespace kova::host
