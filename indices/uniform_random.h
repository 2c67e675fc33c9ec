// The analysis's only source of randomness: a multiplicative congruential generator whose
// whole state is the caller's seed.
#pragma once

#include <cstdint>

namespace kova {

// Advances `seed` in place and returns the new seed times 2^-31, rounded to single
// precision: a value in [0, 1]. The new seed always lies in 0..2147483647.
float UniformRandom(std::int32_t& seed);

}  // namespace kova
