// Loaded before a program starts (LD_PRELOAD), this sets the processor to flush subnormal
// results to zero and to read subnormal operands as zero, as a library loaded into the
// process might. The analysis must undo it: a subnormal abundance is still an abundance.
#include <xmmintrin.h>

namespace {

constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;

__attribute__((constructor)) void FlushSubnormals() {
  _mm_setcsr(_mm_getcsr() | kFlushToZero | kDenormalsAreZero);
}

}  // namespace
