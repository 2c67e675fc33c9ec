// The timers a program sets through the host, each with its id and its callback: at most
// 100 at a time.
#pragma once

#include <array>
#include <functional>

namespace kova::host {

using TimerCallback = std::function<void()>;

class TimerTable {
 public:
  static constexpr std::size_t kSlots = 100;

  // Takes the slot of a timer with the same id, else the first free one; false when every
  // slot is taken. Id 0 marks a free slot and is refused.
  bool Add(int id, TimerCallback callback);
  // Frees the slot of that id, if any.
  void Remove(int id);
  // The callback of that id; null when there is none or it has none.
  const TimerCallback* Find(int id) const;
  bool Holds(int id) const;

 private:
  struct Slot {
    int id = 0;
    TimerCallback callback;
  };
  std::array<Slot, kSlots> slots_{};
};

}  // namespace kova::host
