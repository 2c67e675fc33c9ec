#include "host/timer_table.h"

#include <algorithm>

namespace kova::host {

bool TimerTable::Add(int id, TimerCallback callback) {
  if (id == 0) return false;
  auto slot =
      std::find_if(slots_.begin(), slots_.end(), [id](const Slot& s) { return s.id == id; });
  if (slot == slots_.end()) {
    slot = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.id == 0; });
  }
  if (slot == slots_.end()) return false;
  slot->id = id;
  slot->callback = std::move(callback);
  return true;
}

void TimerTable::Remove(int id) {
  for (Slot& slot : slots_) {
    if (slot.id == id && id != 0) slot = Slot{};
  }
}

const TimerCallback* TimerTable::Find(int id) const {
  for (const Slot& slot : slots_) {
    if (slot.id == id && id != 0) return slot.callback ? &slot.callback : nullptr;
  }
  return nullptr;
}

bool TimerTable::Holds(int id) const {
  return id != 0 &&
         std::any_of(slots_.begin(), slots_.end(), [id](const Slot& s) { return s.id == id; });
}

}  // namespace kova::host
