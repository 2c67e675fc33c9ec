#include "host/system_facts.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace kova::host {
namespace {

std::string ReadFile(const char* path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The lowest address the kernel lets a process map.
std::uint64_t LowestMappableAddress(std::uint64_t pageSize) {
  const std::string text = ReadFile("/proc/sys/vm/mmap_min_addr");
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  return error == std::errc() && value > 0 ? value : pageSize;
}

}  // namespace

std::string AddressText(std::uint64_t address) {
  char digits[17];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, address, 16);
  (void)error;
  std::string text(digits, end);
  if (text.size() < 8) text.insert(0, 8 - text.size(), '0');
  return "0x" + text;
}

unsigned ProcessorTypeCode(std::string_view machine) {
  if (machine == "x86_64" || machine == "amd64") return 8664;
  if (machine == "ia64") return 2200;
  if (machine == "i386") return 386;
  if (machine == "i486") return 486;
  if (machine == "i586" || machine == "i686") return 586;
  return 0;
}

std::uint64_t HighestMappedAddress(std::string_view maps) {
  std::uint64_t highest = 0;
  while (!maps.empty()) {
    const std::size_t lineEnd = maps.find('\n');
    const std::string_view line = maps.substr(0, lineEnd);
    maps = lineEnd == std::string_view::npos ? std::string_view() : maps.substr(lineEnd + 1);
    if (line.find("[vsyscall]") != std::string_view::npos) continue;
    const std::size_t dash = line.find('-');
    if (dash == std::string_view::npos) continue;
    const std::size_t space = line.find(' ', dash);
    std::uint64_t end = 0;
    const char* first = line.data() + dash + 1;
    const char* last = line.data() + (space == std::string_view::npos ? line.size() : space);
    if (std::from_chars(first, last, end, 16).ec == std::errc() && end > highest) highest = end;
  }
  return highest > 0 ? highest - 1 : 0;
}

SystemFacts ReadSystemFacts() {
  SystemFacts facts;
  facts.pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
  facts.minimumAddress = LowestMappableAddress(facts.pageSize);
  facts.maximumAddress = HighestMappedAddress(ReadFile("/proc/self/maps"));
  utsname names{};
  if (::uname(&names) == 0) facts.processorType = ProcessorTypeCode(names.machine);
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  facts.processorCount = online > 0 ? static_cast<unsigned>(online) : 1;
  return facts;
}

}  // namespace kova::host
