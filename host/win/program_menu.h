// A menu of the frame as a program names it: by its title, its items by their texts, each
// item with what it does when chosen. Built on the program services (program_services.h),
// so that a program neither counts menu positions from 1 nor sets the window system's flags;
// positions are looked up at every call, so items added or removed elsewhere do not matter.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kova::win {

class ProgramServices;

class ProgramMenu {
 public:
  // Adds a menu of the program's own, titled `title`, to the menu bar just before the menu
  // titled `before`; nothing when there is no such menu. Titles are compared without the &
  // that marks a mnemonic, so "Window" names "&Window".
  static std::optional<ProgramMenu> InsertBefore(ProgramServices& services, std::string_view before,
                                                 std::string_view title);
  // The menu titled `title`, the frame's own ones included; nothing when there is none.
  static std::optional<ProgramMenu> Find(ProgramServices& services, std::string_view title);

  // Adds an item at the end of the menu; `chosen` runs whenever the user chooses it.
  bool AddItem(std::string_view text, std::function<void()> chosen);
  // Adds a separator line at the end of the menu.
  bool AddSeparator();
  // Puts a check mark on the item named `text`, or takes it off.
  bool SetChecked(std::string_view text, bool checked);
  bool RemoveItem(std::string_view text);

 private:
  ProgramMenu(ProgramServices& services, std::string_view title);
  // The menu's position now, counted from 1; 0 once it is gone.
  int Position() const;

  ProgramServices* services_;
  std::string title_;
};

}  // namespace kova::win
