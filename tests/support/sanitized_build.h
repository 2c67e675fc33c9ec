// Whether the tests run in a sanitizer's build: unoptimised and several times slower, and
// there to find faults of memory, races and undefined behaviour. The heaviest property tests
// check a sample of their values there; the optimised build checks them all.
#pragma once

namespace kova::test_support {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr bool kSanitizedBuild = false;
#endif

}  // namespace kova::test_support
