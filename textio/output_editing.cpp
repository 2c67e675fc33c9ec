#include "textio/output_editing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "textio/console.h"
#include "textio/units.h"

namespace kova {

// ---- Exact decimal digits ---------------------------------------------------------------

namespace {

using Wide = unsigned __int128;

constexpr int kFastPowers = 28;  // 10^27 times a 24-bit significand still fits in 128 bits

constexpr Wide PowerOfTen(int exponent) {
  Wide power = 1;
  for (int i = 0; i < exponent; ++i)
    power *= 10;
  return power;
}

constexpr auto kWidePowersOfTen = [] {
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
    const auto factor = static_cast<std::uint64_t>(kWidePowersOfTen.value[step]);
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
    return static_cast<std::uint64_t>(whole / kWidePowersOfTen.value[-k]);
  }
  if (e >= 0)
    return static_cast<std::uint64_t>((static_cast<Wide>(m) << e) * kWidePowersOfTen.value[k]);
  const int shift = -e;
  if (k < kFastPowers) {
    if (shift >= 128) return 0;
    return static_cast<std::uint64_t>((static_cast<Wide>(m) * kWidePowersOfTen.value[k]) >> shift);
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

// ---- The rounding rule ------------------------------------------------------------------

namespace {

constexpr std::uint32_t kDigitPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                               100000, 1000000, 10000000, 100000000, 1000000000};

// value / 10^k with a constant divisor per case, which compiles to a multiplication.
std::uint32_t DivideByPowerOfTen(std::uint32_t value, int k) {
  switch (k) {
    case 0:
      return value;
    case 1:
      return value / 10U;
    case 2:
      return value / 100U;
    case 3:
      return value / 1000U;
    case 4:
      return value / 10000U;
    case 5:
      return value / 100000U;
    case 6:
      return value / 1000000U;
    case 7:
      return value / 10000000U;
    default:
      return value / 100000000U;
  }
}

}  // namespace

RoundedDigits RoundToSignificant(const DecimalDigits& value, int significant) {
  const RoundedDigits zero{0, 0, value.exponent};
  if (value.leadingEight == 0 || significant < 0) return zero;
  if (significant == 0) {
    if (value.leadingEight < 50000000U) return zero;
    return {1, 1, value.exponent + 1};
  }
  const int count = significant < kMostSignificantDigits ? significant : kMostSignificantDigits;
  const std::uint32_t withNext = DivideByPowerOfTen(value.leadingEight, 7 - count);
  std::uint32_t digits = withNext / 10;
  int exponent = value.exponent;
  if (withNext % 10 >= 5 && ++digits == kDigitPowersOfTen[count]) {
    digits = kDigitPowersOfTen[count - 1];
    ++exponent;
  }
  return {digits, count, exponent};
}

// ---- Item layout ------------------------------------------------------------------------

namespace {

constexpr int kFreeFormatDecimals = 7;  // decides the decimal exponent of a free-format real
constexpr int kFixedFormLastExponent = 6;
constexpr std::size_t kLongestFreeFormatReal = 16;
constexpr std::size_t kStackText = 64;

bool SignBit(float value) {
  return (std::bit_cast<std::uint32_t>(value) >> 31) != 0;
}

const char* SpecialText(float value) {
  return std::isnan(value) ? "NaN" : "INF";
}

char* Put(char* text, const char* what) {
  const std::size_t length = std::strlen(what);
  std::memcpy(text, what, length);
  return text + length;
}

char* PutRepeated(char* text, char character, int count) {
  if (count <= 0) return text;
  std::memset(text, character, static_cast<std::size_t>(count));
  return text + count;
}

// The integer digits (none below 1), the point and `decimals` decimals of a rounded value;
// every position the digits do not reach shows 0.
char* PutFixed(char* text, const RoundedDigits& rounded, int decimals) {
  const int point = rounded.count == 0 ? 0 : rounded.exponent;
  const int integerDigits = point > 0 ? point : 0;
  const int length = integerDigits + 1 + decimals;
  PutRepeated(text, '0', length);
  text[integerDigits] = '.';
  std::uint32_t digits = rounded.digits;
  for (int position = rounded.count - 1; position >= 0; --position, digits /= 10) {
    const int index = position < point ? position : integerDigits + 1 + position - point;
    if (index < length) text[index] = static_cast<char>('0' + digits % 10);
  }
  return text + length;
}

// d.dddddd, E, the sign and two digits of the exponent.
char* PutExponentForm(char* text, const DecimalDigits& digits) {
  const RoundedDigits rounded = RoundToSignificant(digits, kMostSignificantDigits);
  std::uint32_t remaining = rounded.digits;
  for (int position = kMostSignificantDigits; position >= 2; --position, remaining /= 10) {
    text[position] = static_cast<char>('0' + remaining % 10);
  }
  text[0] = static_cast<char>('0' + remaining);
  text[1] = '.';
  const int exponent = rounded.exponent - 1;
  const int magnitude = exponent < 0 ? -exponent : exponent;
  text[8] = 'E';
  text[9] = exponent < 0 ? '-' : '+';
  text[10] = static_cast<char>('0' + magnitude / 10);
  text[11] = static_cast<char>('0' + magnitude % 10);
  return text + 12;
}

char* PutFreeFormatReal(char* text, float value) {
  *text++ = ' ';
  *text++ = SignBit(value) ? '-' : ' ';
  if (!std::isfinite(value)) return Put(text, SpecialText(value));
  const DecimalDigits digits = ExactDecimalDigits(value);
  // The exponent that decides the form is the one after rounding to seven decimals; a
  // value that this rounding turns into zero keeps its own.
  const int exponent = RoundToDecimals(digits, kFreeFormatDecimals).exponent;
  if (exponent < 0 || exponent > kFixedFormLastExponent) return PutExponentForm(text, digits);
  const int decimals = kFixedFormLastExponent - exponent;
  return PutFixed(text, RoundToDecimals(digits, decimals), decimals);
}

char* PutRealF(char* text, float value, int width, int decimals) {
  const bool negative = SignBit(value);
  if (!std::isfinite(value)) {
    const int room = width - (negative ? 4 : 3);
    if (room < 0) return PutRepeated(text, '*', width);
    text = PutRepeated(text, ' ', room);
    if (negative) *text++ = '-';
    return Put(text, SpecialText(value));
  }

  const DecimalDigits digits = ExactDecimalDigits(value);
  const RoundedDigits rounded = RoundToDecimals(digits, decimals);
  const int exponent = digits.leadingEight == 0 ? 0 : rounded.exponent;

  if (exponent + decimals <= 0) {  // rounds to zero: no sign
    const int blanks = width - decimals - 2;
    text = PutRepeated(text, ' ', blanks);
    if (blanks >= 0) *text++ = '0';
    *text++ = '.';
    return PutRepeated(text, '0', decimals);
  }

  const int room = width - decimals - 1 - (negative ? 1 : 0);
  const int integerDigits = exponent > 0 ? exponent : 0;
  if (integerDigits > room || room < 0) return PutRepeated(text, '*', width);
  text = PutRepeated(text, ' ', room - integerDigits);
  if (negative) *text++ = '-';
  return PutFixed(text, rounded, decimals);
}

}  // namespace

void AppendFreeFormatInteger(std::string& out, std::int32_t value) {
  // The magnitude of the most negative value only exists as an unsigned number.
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) magnitude = 0U - magnitude;
  char text[12];
  char* const end = text + sizeof text;
  char* start = end;
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  out.append(value < 0 ? " -" : "  ");
  out.append(start, static_cast<std::size_t>(end - start));
}

void AppendFreeFormatReal(std::string& out, float value) {
  char text[kLongestFreeFormatReal];
  const char* end = PutFreeFormatReal(text, value);
  out.append(text, static_cast<std::size_t>(end - text));
}

void AppendRealF(std::string& out, float value, int width, int decimals) {
  width = std::max(width, 0);
  decimals = std::max(decimals, 0);
  const std::size_t longest = static_cast<std::size_t>(std::max(width, decimals + 2)) + 1;
  if (longest <= kStackText) {
    char text[kStackText];
    const char* end = PutRealF(text, value, width, decimals);
    out.append(text, static_cast<std::size_t>(end - text));
    return;
  }
  std::string text(longest, ' ');
  const char* end = PutRealF(text.data(), value, width, decimals);
  out.append(text.data(), static_cast<std::size_t>(end - text.data()));
}

// ---- Free-format WRITE ------------------------------------------------------------------

std::string FreeFormatRecord(std::initializer_list<OutputItem> items) {
  std::string record = " ";
  // A text follows a text directly but is set off by one blank after a number.
  bool afterNumber = false;
  for (const OutputItem& item : items) {
    if (const auto* text = std::get_if<std::string_view>(&item)) {
      if (afterNumber) record.push_back(' ');
      record.append(*text);
      afterNumber = false;
    } else if (const auto* integer = std::get_if<std::int32_t>(&item)) {
      AppendFreeFormatInteger(record, *integer);
      afterNumber = true;
    } else {
      AppendFreeFormatReal(record, std::get<float>(item));
      afterNumber = true;
    }
  }
  return record;
}

void WriteFreeFormat(int unit, std::initializer_list<OutputItem> items) {
  Console().Poll();
  WriteRecord(unit, FreeFormatRecord(items), {Statement::Write, unit});
}

// ---- WRITE with format (nFw.d) ----------------------------------------------------------

void WriteFormattedF(int unit, StridedReals reals, int perRecord, int width, int decimals) {
  Console().Poll();
  const IoStatement statement{Statement::Write, unit};
  if (perRecord < 1) perRecord = 1;
  std::string record;
  std::ptrdiff_t index = 0;
  do {
    record.clear();
    for (int inRecord = 0; inRecord < perRecord && index < reals.count; ++inRecord, ++index) {
      AppendRealF(record, reals.first[index * reals.stride], width, decimals);
    }
    WriteRecord(unit, record, statement);
  } while (index < reals.count);
}

}  // namespace kova
