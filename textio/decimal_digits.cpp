#include "textio/decimal_digits.h"

#include <bit>

namespace kova {
namespace {

using Wide = unsigned __int128;

constexpr int kFastPowers = 28;  // 10^27 times a 24-bit significand still fits in 128 bits

constexpr Wide PowerOfTen(int exponent) {
  Wide power = 1;
  for (int i = 0; i < exponent; ++i)
    power *= 10;
  return power;
}

constexpr auto kPowersOfTen = [] {
  struct {
    Wide value[39];
  } table{};
  for (int i = 0; i < 39; ++i)
    table.value[i] = PowerOfTen(i);
  return table;
}();

// floor(e * log10(2)) for |e| well beyond the binary exponents of a float.
constexpr int FloorLog10OfPowerOfTwo(int e) {
  return (e * 78913) >> 18;
}

// floor(m * 10^k / 2^s) for powers of ten too large for 128 bits, in 32-bit limbs.
std::uint64_t ScaledFloorLong(std::uint32_t m, int k, int s) {
  constexpr int kLimbs = 8;  // 10^60 * 2^24 < 2^224
  std::uint32_t limbs[kLimbs] = {m};
  while (k > 0) {
    const int step = k < 9 ? k : 9;
    const auto factor = static_cast<std::uint64_t>(kPowersOfTen.value[step]);
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs) {
      const std::uint64_t product = limb * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    k -= step;
  }
  // The quotient is below 10^9, so the 96 bits from bit s onwards hold it.
  Wide result = 0;
  for (int bit = 0; bit < 96; ++bit) {
    const int source = s + bit;
    if (source / 32 >= kLimbs) break;
    const Wide one = (limbs[source / 32] >> (source % 32)) & 1U;
    result |= one << bit;
  }
  return static_cast<std::uint64_t>(result);
}

// floor(m * 2^e * 10^k), which the caller has chosen to lie below 10^9.
std::uint64_t ScaledFloor(std::uint32_t m, int e, int k) {
  if (k < 0) {
    const Wide whole = static_cast<Wide>(m) << e;
    return static_cast<std::uint64_t>(whole / kPowersOfTen.value[-k]);
  }
  if (e >= 0)
    return static_cast<std::uint64_t>((static_cast<Wide>(m) << e) * kPowersOfTen.value[k]);
  const int shift = -e;
  if (k < kFastPowers) {
    if (shift >= 128) return 0;
    return static_cast<std::uint64_t>((static_cast<Wide>(m) * kPowersOfTen.value[k]) >> shift);
  }
  return ScaledFloorLong(m, k, shift);
}

}  // namespace

DecimalDigits ExactDecimalDigits(float value) {
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(value) & 0x7FFFFFFFU;
  if (bits == 0) return {};
  const std::uint32_t biased = bits >> 23;
  const std::uint32_t fraction = bits & 0x7FFFFFU;
  const std::uint32_t m = biased == 0 ? fraction : fraction | 0x800000U;
  const int e = biased == 0 ? -149 : static_cast<int>(biased) - 150;

  // With 2^p <= |v| < 2^(p+1), the decimal exponent is this estimate or one more.
  const int p = std::bit_width(m) - 1 + e;
  int exponent = FloorLog10OfPowerOfTwo(p) + 1;
  std::uint64_t scaled = ScaledFloor(m, e, 8 - exponent);
  if (scaled >= 100000000U) {
    scaled /= 10;
    ++exponent;
  }
  return {static_cast<std::uint32_t>(scaled), exponent};
}

}  // namespace kova
