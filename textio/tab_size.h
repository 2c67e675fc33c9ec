#pragma once

namespace kova {

// The tab width for reading records: 8, or the value of the environment variable TABSIZE
// when it is set to a non-empty value of at most 19 characters, read as an optional sign
// and decimal digits up to the first other character. A value below 1 means 8.
long long TabSizeFromEnvironment();

}  // namespace kova
