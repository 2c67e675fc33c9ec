// The reader's conversion of real values against a model of the conversion rule built with
// other means: 128-bit mantissas, long-double truncation and powers of ten from their exact
// decimal text.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "textio/numeric_conversion.h"

namespace kova {
namespace {

using Wide = unsigned __int128;

constexpr Wide kMantissaLimit = static_cast<Wide>(429496730) << 32;
constexpr Wide kLargestMantissa = ~static_cast<std::uint64_t>(0);

double ExactPowerOfTen(long long exponent) {
  if (exponent > 308) return HUGE_VAL;
  const std::string digits = "1" + std::string(static_cast<std::size_t>(exponent), '0');
  return std::strtod(digits.c_str(), nullptr);
}

double TruncateTo53Bits(Wide mantissa) {
  long double value = static_cast<long double>(static_cast<std::uint64_t>(mantissa));
  int binaryExponent = 0;
  const long double fraction = std::frexp(value, &binaryExponent);
  const long double kept = std::trunc(std::ldexp(fraction, 53));
  return static_cast<double>(std::ldexp(kept, binaryExponent - 53));
}

// The rule, from a text of the form [sign] digits [. digits] [exponent].
float ModelReal(const std::string& text) {
  std::size_t position = 0;
  const bool negative = text[0] == '-';
  if (text[0] == '+' || text[0] == '-') position = 1;
  Wide mantissa = 0;
  long long exponent = 0;
  bool inFraction = false;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (c == '.' && !inFraction) {
      inFraction = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    const Wide next = mantissa * 10 + static_cast<Wide>(c - '0');
    const bool taken = mantissa < kMantissaLimit && next <= kLargestMantissa;
    if (taken) mantissa = next;
    if (taken && inFraction) --exponent;
    if (!taken && !inFraction) ++exponent;
  }
  if (position < text.size()) {
    if (std::string("EeDd").find(text[position]) != std::string::npos) ++position;
    exponent += std::atoll(text.c_str() + position);  // optional sign and digits
  }
  double magnitude = 0.0;
  if (mantissa != 0) {
    magnitude = TruncateTo53Bits(mantissa);
    if (exponent > 0) magnitude *= ExactPowerOfTen(exponent);
    if (exponent < 0) magnitude /= ExactPowerOfTen(-exponent);
  }
  return static_cast<float>(negative ? -magnitude : magnitude);
}

std::string RandomDigits(std::mt19937_64& random, int most) {
  std::uniform_int_distribution<int> length(0, most);
  std::uniform_int_distribution<int> digit(0, 9);
  std::string digits;
  for (int count = length(random); count > 0; --count)
    digits.push_back(static_cast<char>('0' + digit(random)));
  return digits;
}

std::string RandomRealText(std::mt19937_64& random) {
  std::uniform_int_distribution<int> choice(0, 5);
  std::string text;
  if (choice(random) == 0) text += "-";
  if (choice(random) == 1) text += "+";
  text += RandomDigits(random, choice(random) == 0 ? 30 : 9);
  if (choice(random) < 4) text += "." + RandomDigits(random, choice(random) == 0 ? 30 : 9);
  if (text.find_first_of("0123456789") == std::string::npos) text += "7";
  switch (choice(random)) {
    case 0:
      text += "E" + std::to_string(std::uniform_int_distribution<int>(-60, 60)(random));
      break;
    case 1:
      text += "d-" + RandomDigits(random, 3);
      break;
    case 2:
      text += std::uniform_int_distribution<int>(0, 1)(random) ? "+" : "-";
      text += std::to_string(std::uniform_int_distribution<int>(0, 45)(random));
      break;
    default:
      break;
  }
  return text;
}

TEST(RealConversionProperty, FollowsTheConversionRuleOnRandomTexts) {
  std::mt19937_64 random(7);
  int mismatches = 0;
  for (int i = 0; i < 300000; ++i) {
    const std::string text = RandomRealText(random);
    float converted = 0.0f;
    ASSERT_TRUE(ConvertReal(text, converted)) << text;
    const float expected = ModelReal(text);
    if (std::bit_cast<std::uint32_t>(converted) != std::bit_cast<std::uint32_t>(expected) &&
        ++mismatches <= 10) {
      ADD_FAILURE() << "'" << text << "': read " << converted << ", rule gives " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// The readers' shortcut for counts gives ConvertReal's bits, and takes nothing else.
TEST(RealConversionProperty, SmallCountsHaveTheConversionsBits) {
  std::mt19937_64 random(13);
  for (int i = 0; i < 20000; ++i) {
    const std::string text = RandomDigits(random, 9);
    float count = -1.0f;
    float converted = -2.0f;
    const bool taken = SmallCount(text, count);
    EXPECT_EQ(taken, !text.empty() && text.size() <= kLongestSmallCount) << text;
    if (taken) {
      ASSERT_TRUE(ConvertReal(text, converted)) << text;
      EXPECT_EQ(std::bit_cast<std::uint32_t>(count), std::bit_cast<std::uint32_t>(converted))
          << text;
    }
  }
  for (const char* other : {"+1", "-0", "1.", "1e2", "1 ", "", "12345678"}) {
    float value = -1.0f;
    EXPECT_FALSE(SmallCount(other, value)) << other;
  }
}

TEST(RealConversionProperty, MantissasNearTheLimitDoNotWrapAround) {
  // Nineteen digits just above 2^64 / 10: one more digit must not wrap the mantissa.
  for (const char* text : {"18446744073709551620", "1844674408000000000.5", "18446744089e3"}) {
    float converted = 0.0f;
    ASSERT_TRUE(ConvertReal(text, converted));
    EXPECT_EQ(converted, ModelReal(text)) << text;
    EXPECT_NEAR(converted / std::strtof(text, nullptr), 1.0f, 1e-6f) << text;
  }
}

TEST(RealConversionProperty, NineDigitTextsOfFloatsReadBackExactly) {
  std::mt19937 random(11);
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()) & 0x7F7FFFFFU);
    if (!std::isfinite(value) || !std::isnormal(value)) continue;
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    float converted = 0.0f;
    ASSERT_TRUE(ConvertReal(text, converted));
    if (converted != value && ++mismatches <= 10) ADD_FAILURE() << text << " read as " << converted;
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace kova
