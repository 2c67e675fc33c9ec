// The AVX2 build of the kernel computations, from the same source as the baseline build.
//
// Everything this file needs from the standard library is included before the target
// pragma, and nothing between the push and the pop instantiates a standard template or
// defines an inline function with external linkage: the AVX2 code stays in this file's own
// namespace with internal linkage, so the linker can never hand it to the baseline path.
// AVX2 alone does not enable fused multiply-add, and -ffp-contract=off forbids contraction:
// every product and sum is rounded on its own, as in the baseline build.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "indices/kernel_cores.h"

#if defined(__x86_64__) || defined(__i386__)

// The intrinsics are inline functions that carry their own target and are never emitted out
// of line, so including them here is safe; step_tables_core.inc uses them for one loop.
#include <immintrin.h>
#define KOVA_AVX2_INTRINSICS 1

// Clang (the fuzzers' compiler) ignores GCC's target pragma; its own attribute does the same.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace kova::avx2_cores {
namespace {

#include "indices/column_loops.inc"

#include "indices/abundance_core.inc"
#include "indices/abundance_presence_core.inc"
#include "indices/presence_core.inc"
#include "indices/step_tables_core.inc"

}  // namespace
}  // namespace kova::avx2_cores

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace kova {

const KernelCores& Avx2Cores() {
  static constexpr KernelCores cores{&avx2_cores::AbundancePresenceCore, &avx2_cores::AbundanceCore,
                                     &avx2_cores::PresenceCore, &avx2_cores::StepTablesCore};
  return cores;
}

}  // namespace kova

#else

namespace kova {

// Without x86 there is no AVX2 build; the baseline one stands in.
const KernelCores& Avx2Cores() {
  return BaselineCores();
}

}  // namespace kova

#endif
