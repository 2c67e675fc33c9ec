// SHA-256 (FIPS 180-4) of a byte string, as the lowercase hexadecimal text sha256sum prints:
// large pinned outputs are stored as their digest.
#pragma once

#include <string>
#include <string_view>

namespace kova::test_support {

std::string Sha256Hex(std::string_view bytes);

}  // namespace kova::test_support
