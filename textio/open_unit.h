#pragma once

#include <cstdint>
#include <string_view>

namespace kova {

enum class OpenStatus {
  Old,      // the file must exist
  Unknown,  // an existing file is used as it is, a missing one is created
};

// Connects `unit` to the named file (leading and trailing blanks of the name are ignored)
// and positions it at its start. With a status value the outcome is stored there (0 on
// success, else the failure code) and the call returns; without one a failure is reported
// and ends the run. A file of 4 GiB or more is refused with code 5.
void OpenUnit(int unit, std::string_view fileName, OpenStatus status,
              std::int32_t* statusValue = nullptr);

}  // namespace kova
