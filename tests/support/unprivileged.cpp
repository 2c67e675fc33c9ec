#include "tests/support/unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace kova::test_support {

int RunUnprivileged(const std::function<int()>& check) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(126);
    ::_exit(check());
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace kova::test_support
