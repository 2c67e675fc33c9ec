#include "driver/floating_point_mode.h"

#include <cfenv>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace kova {
namespace {

#if defined(__x86_64__) || defined(__i386__)
// MXCSR: the six exception masks set, round to nearest, flush-to-zero (bit 15) and
// denormals-are-zero (bit 6) clear. The six low bits are the sticky exception flags.
constexpr unsigned kAnalysisControl = 0x1F80;
constexpr unsigned kExceptionFlags = 0x3F;
#endif

}  // namespace

bool SetAnalysisFloatingPointMode() {
  std::fesetenv(FE_DFL_ENV);
#if defined(__x86_64__) || defined(__i386__)
  _mm_setcsr(kAnalysisControl);
  if ((_mm_getcsr() & ~kExceptionFlags) != kAnalysisControl) return false;
#endif
  return std::fegetround() == FE_TONEAREST;
}

}  // namespace kova
