// Free-format READ statements: how records become values and values become items.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/support/console_capture.h"
#include "textio/free_format_input.h"
#include "textio/free_format_scanner.h"
#include "textio/units.h"

namespace kova {
namespace {

using test_support::RunCaptured;

constexpr std::int32_t kUntouched = 99;

struct IntegerCase {
  const char* input;
  std::vector<std::int32_t> expected;
};

std::vector<std::int32_t> ReadIntegers(const std::string& input, std::size_t count) {
  std::vector<std::int32_t> values(count, kUntouched);
  const auto run = RunCaptured(
      [&] {
        ReadFreeFormat(kDefaultUnit,
                       {IntegerItems(values.data(), static_cast<std::ptrdiff_t>(count))});
      },
      input);
  EXPECT_FALSE(run.ended) << "input: " << input << "\n" << run.error;
  return values;
}

TEST(ReadFreeFormat, DelimitsRepeatsAndNullsIntegerValues) {
  const IntegerCase cases[] = {
      {"3 4 2", {3, 4, 2}},
      {"3,4,2", {3, 4, 2}},
      {"3\n4 2", {3, 4, 2}},
      {"\n   \n7", {7}},
      {"1 2 3 4 5", {1, 2, 3}},
      {"1,,3", {1, kUntouched, 3}},
      {"3*0", {0, 0, 0}},
      {"3* 7", {7, 7, 7}},
      {"3*\n7", {7, 7, 7}},
      {"2*5 6", {5, 5, 6}},
      {"2*,3", {kUntouched, kUntouched, 3}},
      {"5*1", {1, 1}},  // the repeat count runs past the last item and is dropped
      {"1*4 5", {4, 5}},
      {"1 / 9", {1, kUntouched, kUntouched}},
      {"1/9", {1, kUntouched, kUntouched}},
      {"/", {kUntouched}},
      {"5\n,6", {5, 6}},    // the comma after a value that ended its line only separates
      {"5\n,\n6", {5, 6}},  // ... also when nothing follows it on its own line
      {"5\n,,6", {5, kUntouched, 6}},
      {"5 ,6", {5, 6}},
      {"1 , 2 , 3", {1, 2, 3}},
      {"1 ,, 3", {1, kUntouched, 3}},
      {",5,6", {kUntouched, 5, 6}},
      {"-7 +8 -", {-7, 8, 0}},
      {"4294967297", {1}},
      {"2147483648", {-2147483647 - 1}},
      {"7 2*\n8", {7, 8, 8}},
      {"\t4\t5", {4, 5}},
      {"1\r2 3\r", {12, 3}},
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ReadIntegers(c.input, c.expected.size()), c.expected) << "input: " << c.input;
  }
}

TEST(ReadFreeFormat, EachStatementStartsOnANewRecord) {
  std::int32_t a = 0, b = 0, c = 0, d = 0;
  const auto run = RunCaptured(
      [&] {
        ReadFreeFormat(kDefaultUnit, {IntegerItem(a), IntegerItem(b)});
        ReadFreeFormat(kDefaultUnit, {IntegerItem(c)});
        ReadFreeFormat(kDefaultUnit, {});  // even an empty list takes a record
        ReadFreeFormat(kDefaultUnit, {IntegerItem(d)});
      },
      "1 2 3\n4 5\nskipped\n6\n");
  EXPECT_FALSE(run.ended);
  EXPECT_EQ((std::vector<int>{a, b, c, d}), (std::vector<int>{1, 2, 4, 6}));
}

struct RealCase {
  const char* input;
  float expected;
};

float ReadReal(const std::string& input) {
  float value = -1234.0f;
  const auto run = RunCaptured([&] { ReadFreeFormat(kDefaultUnit, {RealItem(value)}); }, input);
  EXPECT_FALSE(run.ended) << "input: " << input << "\n" << run.error;
  return value;
}

TEST(ReadFreeFormat, ConvertsRealValues) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  const RealCase cases[] = {
      {"2.50E-1", 0.25f},
      {"2.5d-1", 0.25f},
      {".25", 0.25f},
      {"25-2", 0.25f},
      {"25e-2", 0.25f},
      {"+2.5D-01", 0.25f},
      {"5", 5.0f},
      {"-5.", -5.0f},
      {"1.2.3", 1.2f},  // what follows the longest real prefix is ignored
      {".", 0.0f},
      {"1e", 1.0f},
      {"1e+", 1.0f},
      {"0.1", 0.1f},
      {"3.4028235e38", 3.4028235e38f},
      {"1e39", kInfinity},
      {"-1e39", -kInfinity},
      {"1e-46", 0.0f},
      {"1.4e-45", std::numeric_limits<float>::denorm_min()},
      {"0e400", 0.0f},
      {"123456789012345678901234567890", 1.2345679e29f},
      {"0.000000000000000000000000000000000000000000001401298", 1.401298e-45f},
      {"Inf", kInfinity},
      {"-infinity", -kInfinity},
      {"+I", kInfinity},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(ReadReal(c.input), c.expected) << "input: " << c.input;
  }
}

TEST(ReadFreeFormat, SignsAndNaNsKeepTheirBits) {
  EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadReal("-")), 0x80000000U);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadReal("-0.0")), 0x80000000U);
  // Any NaN read is the same NaN that 0/0 gives.
  EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadReal("NaN")), 0xFFC00000U);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadReal("-nan")), 0xFFC00000U);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(ReadReal("Nonsense")), 0xFFC00000U);
}

TEST(ReadFreeFormat, ReportsIllegalCharactersAndEndOfFile) {
  struct FailureCase {
    const char* input;
    InputKind kind;
    const char* message;
  };
  const FailureCase cases[] = {
      {"1.5", InputKind::Integer, "Illegal character in numeric input"},
      {"12abc", InputKind::Integer, "Illegal character in numeric input"},
      {"'5'", InputKind::Integer, "Illegal character in numeric input"},
      {"+-5", InputKind::Integer, "Illegal character in numeric input"},
      {"1x", InputKind::Real, "Illegal character in numeric input"},
      {"0x10", InputKind::Real, "Illegal character in numeric input"},
      {"", InputKind::Integer, "Attempt to read past end of file"},
      {"\n\n  \n", InputKind::Real, "Attempt to read past end of file"},
  };
  for (const FailureCase& c : cases) {
    std::int32_t integer = 0;
    float real = 0.0f;
    const InputItem item = c.kind == InputKind::Integer ? IntegerItem(integer) : RealItem(real);
    const auto run = RunCaptured([&] { ReadFreeFormat(kDefaultUnit, {item}); }, c.input);
    EXPECT_TRUE(run.ended) << "input: " << c.input;
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_EQ(run.error,
              std::string("? FORTRAN Runtime Error:\n? ") + c.message + "\n? READ(UNIT=*,...\n")
        << "input: " << c.input;
  }
}

TEST(ReadFreeFormat, KeepsValuesReadBeforeAFailure) {
  std::int32_t values[3] = {0, 0, 0};
  const auto run =
      RunCaptured([&] { ReadFreeFormat(kDefaultUnit, {IntegerItems(values, 3)}); }, "4 5 x");
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(values[0], 4);
  EXPECT_EQ(values[1], 5);
}

struct CharacterCase {
  const char* input;
  std::string expected;  // before padding to 100 characters
};

TEST(ReadFreeFormat, FillsCharacterVariables) {
  const CharacterCase cases[] = {
      {"data.txt", "data.txt"},
      {"my data.txt", "my"},
      {"'my data.txt'", "my data.txt"},
      {"\"my data.txt\"", "my data.txt"},
      {"dir/data.txt", "dir"},
      {"'dir/data.txt'", "dir/data.txt"},
      {"''", ""},  // an empty string is one blank
      {"'it''s'", "it's"},
      {"'  lead'", "  lead"},
      {"'ab\ncd'", "abcd"},  // a quoted string runs over the line end
      {"a,b", "a"},
      {"2*x", "x"},
      {"  \xE9t\xE9.txt", "\xE9t\xE9.txt"},
      {"C:\\data\\dune.txt", "C:\\data\\dune.txt"},
  };
  for (const CharacterCase& c : cases) {
    char name[100];
    std::memset(name, '#', sizeof name);
    const auto run = RunCaptured(
        [&] { ReadFreeFormat(kDefaultUnit, {CharacterItem(name, sizeof name)}); }, c.input);
    EXPECT_FALSE(run.ended) << c.input;
    std::string expected = c.expected;
    expected.resize(100, ' ');
    EXPECT_EQ(std::string(name, sizeof name), expected) << "input: " << c.input;
  }
}

TEST(ReadFreeFormat, CutsLongCharacterValues) {
  char name[100];
  const std::string typed(150, 'n');
  const auto run =
      RunCaptured([&] { ReadFreeFormat(kDefaultUnit, {CharacterItem(name, sizeof name)}); }, typed);
  EXPECT_FALSE(run.ended);
  EXPECT_EQ(std::string(name, sizeof name), std::string(100, 'n'));
}

TEST(ReadFreeFormat, QuotedStringCutByEndOfFileIsReported) {
  char name[10];
  const auto run = RunCaptured(
      [&] { ReadFreeFormat(kDefaultUnit, {CharacterItem(name, sizeof name)}); }, "'open");
  EXPECT_TRUE(run.ended);
  EXPECT_NE(run.error.find("Attempt to read past end of file"), std::string::npos);
}

TEST(ReadFreeFormat, MixesKindsInOneStatement) {
  char name[8];
  std::int32_t count = 0;
  float value = 0.0f;
  const auto run = RunCaptured(
      [&] {
        ReadFreeFormat(kDefaultUnit,
                       {CharacterItem(name, sizeof name), IntegerItem(count), RealItem(value)});
      },
      "'a b', 3 ,2.5");
  EXPECT_FALSE(run.ended);
  EXPECT_EQ(std::string(name, sizeof name), "a b     ");
  EXPECT_EQ(count, 3);
  EXPECT_EQ(value, 2.5f);
}

// The tokens of one record, as text: "v:" a value, "n" a null, "/" a slash, "r:" a repeat
// count; then what is left of the record. With `runs`, runs of digit values (at most a few at
// a time) are taken first wherever they stand.
std::vector<std::string> TokensOf(const std::string& record, bool runs, std::mt19937& random) {
  FreeFormatScanner scanner;
  scanner.Start(record, 1);
  std::vector<std::string> tokens;
  std::uniform_int_distribution<std::size_t> most(1, 4);
  for (;;) {
    if (runs) {
      scanner.TakeDigitValuesOnRecord(most(random), 7, [&tokens](std::string_view text) {
        tokens.push_back("v:" + std::string(text));
      });
    }
    std::string_view text;
    if (scanner.NextValueOnRecord(Quotes::AreCharacters, text)) {
      tokens.push_back("v:" + std::string(text));
      continue;
    }
    const FreeFormatToken token = scanner.Next(Quotes::AreCharacters);
    using Kind = FreeFormatToken::Kind;
    if (token.kind == Kind::EndOfRecord) break;
    const char* kinds[] = {"v:", "n", "/", "r:"};
    tokens.push_back(kinds[static_cast<int>(token.kind)] + std::string(token.text));
    if (token.kind == Kind::Slash) break;  // every later value is the slash too
  }
  tokens.push_back("rest:" + std::string(scanner.Unscanned()));
  return tokens;
}

// The readers' runs of digit values take exactly what one value at a time takes, whatever
// follows them: blanks, commas, slashes, asterisks, letters or the record's end.
TEST(FreeFormatScanner, RunsOfDigitValuesTakeWhatSingleValuesTake) {
  std::mt19937 random(5);
  const std::string alphabet = "0123456789001  ,,/*a.";
  std::uniform_int_distribution<std::size_t> character(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int trial = 0; trial < 5000; ++trial) {
    std::string record;
    for (int n = length(random); n > 0; --n)
      record += alphabet[character(random)];
    EXPECT_EQ(TokensOf(record, true, random), TokensOf(record, false, random)) << record;
  }
}

TEST(ReadFormattedA, TakesTheFirstBytesOfANewRecord) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "    "}, {"ab", "ab  "}, {"abcdef", "abcd"}, {"1,/'", "1,/'"}, {"\tx", "    "},
  };
  for (const auto& [input, expected] : cases) {
    char title[4];
    std::int32_t next = 0;
    const auto run = RunCaptured(
        [&] {
          ReadFormattedA(kDefaultUnit, title, sizeof title);
          ReadFreeFormat(kDefaultUnit, {IntegerItem(next)});
        },
        std::string(input) + "\n42\n");
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(std::string(title, 4), expected) << "input: " << input;
    EXPECT_EQ(next, 42);
  }
}

}  // namespace
}  // namespace kova
