// The editor against an independent model: exact decimal expansions built digit by digit
// from the binary value, rounded half away from zero at seven significant digits, laid out
// by the editing rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/support/sanitized_build.h"
#include "textio/output_editing.h"

namespace kova {
namespace {

// |v| = 0.digits x 10^exponent; digits has no leading zero; empty for zero.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// Multiplies a little-endian decimal number by a small factor.
void Multiply(std::vector<int>& number, int factor) {
  int carry = 0;
  for (int& digit : number) {
    const int product = digit * factor + carry;
    digit = product % 10;
    carry = product / 10;
  }
  while (carry > 0) {
    number.push_back(carry % 10);
    carry /= 10;
  }
}

Decimal ExactExpansion(float value) {
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(value) & 0x7FFFFFFFU;
  const std::uint32_t biased = bits >> 23;
  std::uint32_t m = bits & 0x7FFFFFU;
  int e = -149;
  if (biased != 0) {
    m |= 0x800000U;
    e = static_cast<int>(biased) - 150;
  }
  if (m == 0) return {};
  std::vector<int> number;
  for (std::uint32_t rest = m; rest > 0; rest /= 10)
    number.push_back(static_cast<int>(rest % 10));
  // m * 2^e = m * 2^e for e >= 0, and (m * 5^-e) / 10^-e for e < 0.
  for (int i = 0; i < std::abs(e); ++i)
    Multiply(number, e >= 0 ? 2 : 5);
  Decimal decimal;
  for (auto digit = number.rbegin(); digit != number.rend(); ++digit) {
    decimal.digits.push_back(static_cast<char>('0' + *digit));
  }
  decimal.exponent = static_cast<int>(number.size()) + (e < 0 ? e : 0);
  return decimal;
}

// Rounds half away from zero to `significant` digits (at most seven). `zero` when nothing is
// left; the exponent rises by one when the rounding carries into a new leading digit.
struct Rounded {
  bool zero = true;
  std::string digits;
  int exponent = 0;
};

Rounded RoundExact(const Decimal& value, int significant) {
  Rounded rounded;
  rounded.exponent = value.exponent;
  if (value.digits.empty()) return rounded;
  significant = std::min(significant, 7);
  if (significant < 0) return rounded;
  std::string kept = value.digits.substr(0, static_cast<std::size_t>(significant));
  kept.resize(static_cast<std::size_t>(significant), '0');
  const char next = static_cast<std::size_t>(significant) < value.digits.size()
                        ? value.digits[static_cast<std::size_t>(significant)]
                        : '0';
  if (next >= '5') {
    int position = significant - 1;
    while (position >= 0 && kept[static_cast<std::size_t>(position)] == '9') {
      kept[static_cast<std::size_t>(position--)] = '0';
    }
    if (position >= 0) {
      ++kept[static_cast<std::size_t>(position)];
    } else {
      kept.insert(kept.begin(), '1');
      ++rounded.exponent;
    }
  }
  if (kept.find_first_not_of('0') == std::string::npos) return rounded;
  rounded.zero = false;
  rounded.digits = kept;
  return rounded;
}

char Digit(const Rounded& rounded, int position) {
  if (rounded.zero || position < 0 || position >= static_cast<int>(rounded.digits.size())) {
    return '0';
  }
  return rounded.digits[static_cast<std::size_t>(position)];
}

std::string Fixed(const Rounded& rounded, int decimals) {
  const int point = rounded.zero ? 0 : rounded.exponent;
  std::string text;
  for (int position = 0; position < point; ++position)
    text.push_back(Digit(rounded, position));
  text.push_back('.');
  for (int decimal = 0; decimal < decimals; ++decimal)
    text.push_back(Digit(rounded, point + decimal));
  return text;
}

bool Negative(float value) {
  return std::signbit(value);
}

std::string ModelFreeFormat(float value) {
  std::string text = Negative(value) ? " -" : "  ";
  if (std::isnan(value)) return text + "NaN";
  if (std::isinf(value)) return text + "INF";
  const Decimal exact = ExactExpansion(value);
  if (exact.digits.empty()) return text + ".000000";
  const Rounded deciding = RoundExact(exact, exact.exponent + 7);
  const int exponent = deciding.zero ? exact.exponent : deciding.exponent;
  if (exponent >= 0 && exponent <= 6) {
    return text + Fixed(RoundExact(exact, exact.exponent + 6 - exponent), 6 - exponent);
  }
  const Rounded seven = RoundExact(exact, 7);
  const int shown = seven.exponent - 1;
  char exponentText[16];
  std::snprintf(exponentText, sizeof exponentText, "E%c%02d", shown < 0 ? '-' : '+',
                std::abs(shown));
  return text + seven.digits.substr(0, 1) + "." + seven.digits.substr(1) + exponentText;
}

std::string ModelF(float value, int width, int decimals) {
  const bool negative = Negative(value);
  if (std::isnan(value) || std::isinf(value)) {
    const std::string special = std::isnan(value) ? "NaN" : "INF";
    const int blanks = width - (negative ? 4 : 3);
    if (blanks < 0) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(blanks), ' ') + (negative ? "-" : "") + special;
  }
  const Decimal exact = ExactExpansion(value);
  const Rounded rounded = RoundExact(exact, exact.exponent + decimals);
  if (rounded.zero && !exact.digits.empty()) {
    const int blanks = width - decimals - 2;
    return std::string(static_cast<std::size_t>(std::max(blanks, 0)), ' ') +
           (blanks >= 0 ? "0" : "") + "." + std::string(static_cast<std::size_t>(decimals), '0');
  }
  const int exponent = rounded.zero ? 0 : rounded.exponent;
  const int room = width - decimals - 1 - (negative ? 1 : 0);
  const int integerDigits = std::max(exponent, 0);
  if (room < 0 || integerDigits > room) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(static_cast<std::size_t>(room - integerDigits), ' ') + (negative ? "-" : "") +
         Fixed(rounded, decimals);
}

// Random bit patterns cover every exponent, subnormals, NaNs and infinities; the dyadic
// values add exact decimal ties at every rounding position the editor uses.
std::vector<float> SampleValues() {
  std::mt19937 random(20261207);
  std::vector<float> values = {0.0f,
                               -0.0f,
                               std::bit_cast<float>(0xFFC00000U),
                               std::bit_cast<float>(0x7FC00000U),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::denorm_min()};
  // A tenth of the random values in a sanitizer's build (the model's exact expansions are
  // slow unoptimised); the edges below in every build.
  const int sample = test_support::kSanitizedBuild ? 10 : 1;
  for (int i = 0; i < 200000 / sample; ++i)
    values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  std::uniform_int_distribution<int> numerators(0, 1 << 22);
  std::uniform_int_distribution<int> shifts(0, 30);
  for (int i = 0; i < 100000 / sample; ++i) {
    const float dyadic = std::ldexp(static_cast<float>(numerators(random)), -shifts(random));
    values.push_back(i % 2 == 0 ? dyadic : -dyadic);
  }
  // Values near the boundaries of the free-format forms and of F8.4.
  for (const float edge :
       {0.1f, 1.0f, 999999.5f, 1.0e6f, 1.0e7f, 1000.0f, 100.0f, 5.0e-5f, 1.0e-7f}) {
    float below = edge;
    float above = edge;
    for (int step = 0; step < 200; ++step) {
      below = std::nextafter(below, 0.0f);
      above = std::nextafter(above, 1.0e30f);
      values.insert(values.end(), {below, above, -below, -above});
    }
  }
  return values;
}

TEST(OutputEditingProperty, FreeFormatMatchesTheExactDecimalModel) {
  int mismatches = 0;
  for (const float value : SampleValues()) {
    std::string edited;
    AppendFreeFormatReal(edited, value);
    const std::string expected = ModelFreeFormat(value);
    if (edited != expected && ++mismatches <= 10) {
      ADD_FAILURE() << std::hexfloat << value << ": edited '" << edited << "', model '" << expected
                    << "'";
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(OutputEditingProperty, F8Point4MatchesTheExactDecimalModel) {
  int mismatches = 0;
  for (const float value : SampleValues()) {
    std::string edited;
    AppendRealF(edited, value, 8, 4);
    const std::string expected = ModelF(value, 8, 4);
    if (edited != expected && ++mismatches <= 10) {
      ADD_FAILURE() << std::hexfloat << value << ": edited '" << edited << "', model '" << expected
                    << "'";
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace kova
