// libFuzzer target: free-format READ statements on arbitrary bytes, from a file unit and
// from the console. Reading may end the run with a report; it must never crash or hang.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/run_ended.h"
#include "textio/console.h"
#include "textio/free_format_input.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace {

using kova::fuzz::RunEnded;

const std::uint8_t* consoleData = nullptr;
std::size_t consoleSize = 0;
std::size_t consolePosition = 0;

std::size_t ReadFuzzLine(char* buffer, std::size_t capacity) {
  if (consolePosition >= consoleSize) return 0;
  std::size_t length = 0;
  while (consolePosition < consoleSize && consoleData[consolePosition] != '\n') {
    if (length < capacity - 2) buffer[length++] = static_cast<char>(consoleData[consolePosition]);
    ++consolePosition;
  }
  ++consolePosition;
  buffer[length] = '\r';
  buffer[length + 1] = '\n';
  return length + 2;
}

void ReadStatements(int unit) {
  char title[4];
  char name[100];
  std::int32_t counts[3];
  float row[37];
  std::int32_t groups[23];
  kova::ReadFormattedA(unit, title, sizeof title);
  kova::ReadFreeFormat(unit, {kova::CharacterItem(name, sizeof name)});
  kova::ReadFreeFormat(unit, {kova::IntegerItems(counts, 3)});
  for (int species = 0; species < 4; ++species)
    kova::ReadFreeFormat(unit, {kova::RealItems(row, 37)});
  kova::ReadFreeFormat(unit, {kova::IntegerItems(groups, 23), kova::RealItem(row[0]),
                              kova::CharacterItem(name, sizeof name)});
}

void Setup() {
  static bool ready = false;
  if (ready) return;
  ready = true;
  kova::ConsoleHooks hooks;
  hooks.ReadLine = &ReadFuzzLine;
  hooks.WriteText = [](const char*, std::size_t count, kova::ConsoleStream) { return count; };
  hooks.EndOfRun = [](int) {};
  hooks.Poll = [] {};
  kova::InstallConsoleHooks(hooks);
  kova::fuzz::EndRunsByThrowing();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Setup();
  if (size == 0) return 0;
  const bool fromConsole = (data[0] & 1) != 0;
  ++data;
  --size;
  try {
    if (fromConsole) {
      consoleData = data;
      consoleSize = size;
      consolePosition = 0;
      kova::ResetConsoleInput();
      ReadStatements(kova::kDefaultUnit);
    } else {
      const int descriptor = ::memfd_create("fuzz", 0);
      if (descriptor < 0) return 0;
      if (size > 0 && ::write(descriptor, data, size) != static_cast<ssize_t>(size)) {
        ::close(descriptor);
        return 0;
      }
      const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
      std::int32_t status = 0;
      kova::OpenUnit(1, path, kova::OpenStatus::Old, &status);
      ::close(descriptor);
      if (status == 0) ReadStatements(1);
    }
  } catch (const RunEnded&) {
  }
  kova::CloseAllUnits();
  return 0;
}
