#include <cstdlib>
#include <cstring>

#include "indices/kernel_cores.h"

namespace kova {
namespace {

bool ProcessorHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  // The check includes the operating system's support for the wide registers.
  static const bool hasAvx2 = __builtin_cpu_supports("avx2") != 0;
  return hasAvx2;
#else
  return false;
#endif
}

// Read on every call, so that a benchmark or a test can switch paths between calls.
bool BaselineRequested() {
  const char* request = std::getenv("KOVA_KERNELS");
  return request != nullptr && std::strcmp(request, "baseline") == 0;
}

}  // namespace

const KernelCores& ChosenCores() {
  if (BaselineRequested() || !ProcessorHasAvx2()) return BaselineCores();
  return Avx2Cores();
}

}  // namespace kova
