#include "indices/uniform_random.h"

namespace kova {
namespace {

constexpr std::uint32_t kFirstMultiplier = 261;
constexpr std::uint32_t kSecondMultiplierNonNegative = 65539;
constexpr std::uint32_t kSecondMultiplierNegative = 4101;
constexpr std::uint32_t kSignBit = 0x80000000u;
constexpr double kScale = 0x1p-31;

}  // namespace

// Both products wrap modulo 2^32 exactly as a two's-complement multiplication does; the
// arithmetic runs on unsigned values so that the wrap-around is defined behaviour.
float UniformRandom(std::int32_t& seed) {
  const std::uint32_t first = static_cast<std::uint32_t>(seed) * kFirstMultiplier;
  const bool firstIsNegative = (first & kSignBit) != 0;
  std::uint32_t second =
      first * (firstIsNegative ? kSecondMultiplierNegative : kSecondMultiplierNonNegative);
  if ((second & kSignBit) != 0) {
    // Adding 2147483647 and then 1, with wrap-around, clears the sign bit.
    second += 2147483647u;
    second += 1u;
  }
  seed = static_cast<std::int32_t>(second);
  // The product is exact in double precision; the one rounding is to single precision.
  return static_cast<float>(static_cast<double>(second) * kScale);
}

}  // namespace kova
