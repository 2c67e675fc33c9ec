// Unit numbers with a fixed meaning.
#pragma once

namespace kova {

// The default unit, written * in reports: console input for READ, console output for WRITE.
constexpr int kDefaultUnit = -1;
constexpr int kConsoleErrorUnit = 0;
constexpr int kConsoleInputUnit = 5;
constexpr int kConsoleOutputUnit = 6;

constexpr bool IsConsoleUnit(int unit) {
  return unit == kDefaultUnit || unit == kConsoleErrorUnit || unit == kConsoleInputUnit ||
         unit == kConsoleOutputUnit;
}

}  // namespace kova
