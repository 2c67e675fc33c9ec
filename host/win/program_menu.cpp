#include "host/win/program_menu.h"

#include "host/win/program_services.h"

namespace kova::win {

ProgramMenu::ProgramMenu(ProgramServices& services, std::string_view title)
    : services_(&services), title_(title) {}

std::optional<ProgramMenu> ProgramMenu::InsertBefore(ProgramServices& services,
                                                     std::string_view before,
                                                     std::string_view title) {
  const int position = services.MenuPosition(before);
  if (position == 0) return std::nullopt;
  // Item position 0 asks for a menu of its own before the given one.
  if (!services.InsertMenuItem(position, 0, menu_flag::kString, title)) return std::nullopt;
  return ProgramMenu(services, title);
}

std::optional<ProgramMenu> ProgramMenu::Find(ProgramServices& services, std::string_view title) {
  if (services.MenuPosition(title) == 0) return std::nullopt;
  return ProgramMenu(services, title);
}

int ProgramMenu::Position() const {
  return services_->MenuPosition(title_);
}

bool ProgramMenu::AddItem(std::string_view text, std::function<void()> chosen) {
  const int menu = Position();
  if (menu == 0) return false;
  return services_->AppendMenuItem(menu, menu_flag::kString, text,
                                   [chosen = std::move(chosen)](bool&) {
                                     if (chosen) chosen();
                                   });
}

bool ProgramMenu::AddSeparator() {
  const int menu = Position();
  return menu != 0 && services_->AppendMenuItem(menu, menu_flag::kSeparator, "");
}

bool ProgramMenu::SetChecked(std::string_view text, bool checked) {
  const int menu = Position();
  const int item = menu == 0 ? 0 : services_->ItemPosition(menu, text);
  if (item == 0) return false;
  services_->CheckMenuItem(menu, item, checked ? menu_flag::kChecked : menu_flag::kUnchecked);
  return true;
}

bool ProgramMenu::RemoveItem(std::string_view text) {
  const int menu = Position();
  const int item = menu == 0 ? 0 : services_->ItemPosition(menu, text);
  if (item == 0) return false;
  services_->DeleteMenuItem(menu, item);
  return true;
}

}  // namespace kova::win
