// The facts the About box shows about the machine and the process: page size, the lowest
// and highest address a program's own data can have, the processor type and the number of
// processors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kova::host {

struct SystemFacts {
  std::uint64_t pageSize = 0;
  std::uint64_t minimumAddress = 0;
  std::uint64_t maximumAddress = 0;
  unsigned processorType = 0;
  unsigned processorCount = 0;
};

SystemFacts ReadSystemFacts();

// "0x" and at least eight lowercase hexadecimal digits, as many as the address needs.
std::string AddressText(std::uint64_t address);

// The processor-type code of a machine name as uname gives it: 386, 486, 586 (Pentium and
// later 32-bit x86), 2200 (Itanium), 8664 (x86-64); 0 for any other.
unsigned ProcessorTypeCode(std::string_view machine);

// The last byte of the highest mapping of a process, from its /proc/<pid>/maps text; the
// kernel's own page for old system calls ([vsyscall]) does not belong to the process.
std::uint64_t HighestMappedAddress(std::string_view maps);

}  // namespace kova::host
