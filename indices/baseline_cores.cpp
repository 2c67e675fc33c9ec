// The baseline build of the kernel computations: the instruction set every x86-64 processor
// has.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "indices/kernel_cores.h"

namespace kova::baseline_cores {
namespace {

#include "indices/column_loops.inc"

#include "indices/abundance_core.inc"
#include "indices/abundance_presence_core.inc"
#include "indices/presence_core.inc"
#include "indices/step_tables_core.inc"

}  // namespace
}  // namespace kova::baseline_cores

namespace kova {

const KernelCores& BaselineCores() {
  static constexpr KernelCores cores{&baseline_cores::AbundancePresenceCore,
                                     &baseline_cores::AbundanceCore, &baseline_cores::PresenceCore,
                                     &baseline_cores::StepTablesCore};
  return cores;
}

}  // namespace kova
