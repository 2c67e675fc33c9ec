// Permission checks mean nothing to root; this runs a check as an ordinary user instead.
#pragma once

#include <functional>

namespace kova::test_support {

// Runs `check` in a child process without root's privileges (as user and group 65534 when
// the tests run as root) and returns its exit code.
int RunUnprivileged(const std::function<int()>& check);

}  // namespace kova::test_support
