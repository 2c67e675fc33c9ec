// The services the host offers a program linked with it (the analysis uses none): menu
// items with callbacks, timers with callbacks, a graphics window, and the tick. Callbacks run
// on the program's one thread, whenever the host handles events: while a read waits, during
// console output, and after the run has ended.
#pragma once

#include <QSize>
#include <QString>
#include <map>
#include <memory>
#include <string_view>

#include "host/program_menu_items.h"
#include "host/tick.h"
#include "host/timer_table.h"
#include "host/win/graphics_window.h"

class QAction;
class QMenu;
class QMdiSubWindow;
class QTimer;
class QWidget;

namespace kova::win {

class FrameWindow;

// The flags of a menu item, as the window system numbers them.
namespace menu_flag {
inline constexpr unsigned kString = 0x0;
inline constexpr unsigned kGrayed = 0x1;
inline constexpr unsigned kDisabled = 0x2;
inline constexpr unsigned kUnchecked = 0x0;
inline constexpr unsigned kChecked = 0x8;
inline constexpr unsigned kSeparator = 0x800;
}  // namespace menu_flag

class ProgramServices {
 public:
  explicit ProgramServices(FrameWindow& frame);
  ~ProgramServices();
  ProgramServices(const ProgramServices&) = delete;
  ProgramServices& operator=(const ProgramServices&) = delete;

  // Menu positions and item positions count from 1. Texts lose their trailing blanks and
  // are cut to 1,024 characters. Each added item takes the next command id, from 800 on.
  bool AppendMenuItem(int menu, unsigned flags, std::string_view text,
                      host::MenuCallback callback = {});
  // Item position 0 inserts a new menu of its own before menu position `menu`.
  bool InsertMenuItem(int menu, int item, unsigned flags, std::string_view text,
                      host::MenuCallback callback = {});
  void CheckMenuItem(int menu, int item, unsigned checkFlags);
  void DeleteMenuItem(int menu, int item);

  // Where the menu titled `title` stands now, counted from 1; 0 when there is none. Texts are
  // compared without the & that marks a mnemonic.
  int MenuPosition(std::string_view title) const;
  // Where the item `text` stands now in the menu-th menu, counted from 1; 0 when there is
  // none. An item's shortcut, after its TAB, is not part of its text here.
  int ItemPosition(int menu, std::string_view text) const;

  // At most 100 timers at a time; setting an id that runs already restarts it.
  bool SetTimer(int id, int milliseconds, host::TimerCallback callback = {});
  void KillTimer(int id);

  // One graphics window at most; a width or height of 0 gives 600 by 300, written back.
  bool OpenGraphicsWindow(int& width, int& height, std::string_view title, int mappingMode,
                          PaintRoutine paint);
  QMdiSubWindow* GraphicsWindow() const { return graphics_; }

  // The frame, as the owner of a program's dialogs.
  FrameWindow& Frame() const { return frame_; }

  // Types `text` and Enter into the Input/Output window, as the user would at the keyboard.
  void TypeLine(std::string_view text);

  // A child window of the program's own around `content`, beside the Input/Output window,
  // in front and with the keyboard. The user may close it, which hides it.
  QMdiSubWindow* OpenChildWindow(QWidget* content, const QString& title, QSize size);

  // Lets the window catch up, then arms the tick; its flag turns true 100 ms later.
  int StartTick();
  bool TickFired() const;

  // For the host's command routing.
  int NextMenuId() const { return items_.NextId(); }
  void ChooseItem(int id);

 private:
  QMenu* Menu(int position) const;
  QAction* NewItem(QMenu* menu, unsigned flags, std::string_view text, int id);
  void FireTimer(int id);

  FrameWindow& frame_;
  host::ProgramMenuItems items_;
  host::TimerTable timers_;
  std::map<int, std::unique_ptr<QTimer>> running_;
  host::Tick tick_;
  QMdiSubWindow* graphics_ = nullptr;
};

// Brings a child window to the front, restored if it was minimized, with the keyboard.
void ShowInFront(QMdiSubWindow* window);

// The services of the running program's host.
ProgramServices& Services();

}  // namespace kova::win
