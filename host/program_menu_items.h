// The menu items a program adds through the host: their command ids, counted up from 800,
// their callbacks, and how their texts are cleaned.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "host/main_menu.h"

namespace kova::host {

// Called with the item's checked state when the user chooses it.
using MenuCallback = std::function<void(bool& checked)>;

inline constexpr std::size_t kLongestItemText = 1024;

// Trailing blanks go, and the text is cut to 1,024 characters.
std::string ItemText(std::string_view text);

class ProgramMenuItems {
 public:
  // The id of a new item, which from now on calls `callback` (which may be empty).
  int Add(MenuCallback callback);
  // The id the next item will get.
  int NextId() const { return nextId_; }
  // The item's callback, or null.
  const MenuCallback* Callback(int id) const;

 private:
  int nextId_ = command::kFirstProgramItem;
  std::map<int, MenuCallback> callbacks_;
};

}  // namespace kova::host
