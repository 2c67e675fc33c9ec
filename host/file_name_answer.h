// A file chosen in a dialog, written as the answer the dialogue reads: relative to the
// working folder when the file is inside it, and quoted when a blank, a slash, a comma or a
// quote would otherwise end or split the value (the free-format read stops at each).
#pragma once

#include <string>
#include <string_view>

namespace kova::host {

// `chosen` and `workingFolder` are absolute paths, the folder without a trailing slash.
std::string FileNameAnswer(std::string_view workingFolder, std::string_view chosen);

}  // namespace kova::host
