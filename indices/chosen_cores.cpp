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

}  // namespace

const KernelCores& CoresFor(KernelBuild build) {
  if (build == KernelBuild::Baseline || !ProcessorHasAvx2()) return BaselineCores();
  return Avx2Cores();
}

}  // namespace kova
