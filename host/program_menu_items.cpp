#include "host/program_menu_items.h"

namespace kova::host {

std::string ItemText(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  text = end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
  return std::string(text.substr(0, kLongestItemText));
}

int ProgramMenuItems::Add(MenuCallback callback) {
  const int id = nextId_++;
  if (callback) callbacks_[id] = std::move(callback);
  return id;
}

const MenuCallback* ProgramMenuItems::Callback(int id) const {
  const auto found = callbacks_.find(id);
  return found == callbacks_.end() ? nullptr : &found->second;
}

}  // namespace kova::host
