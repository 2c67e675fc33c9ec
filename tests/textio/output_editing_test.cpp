// Output editing to the character: free-format items and records, F editing, and the
// records of the formatted WRITE.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>

#include "tests/support/console_capture.h"
#include "textio/output_editing.h"
#include "textio/units.h"

namespace kova {
namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
const float kDefaultNaN = std::bit_cast<float>(0xFFC00000U);
const float kPositiveNaN = std::bit_cast<float>(0x7FC00000U);

std::string FreeReal(float value) {
  std::string text;
  AppendFreeFormatReal(text, value);
  return text;
}

std::string F(float value, int width = 8, int decimals = 4) {
  std::string text;
  AppendRealF(text, value, width, decimals);
  return text;
}

struct RealCase {
  float value;
  const char* text;
};

TEST(FreeFormatReal, EditsEveryFormAndSign) {
  const RealCase cases[] = {
      {0.0f, "  .000000"},
      {-0.0f, " -.000000"},
      {0.5f, "  .500000"},
      {1.0f, "  1.00000"},
      {12.34567f, "  12.3457"},
      {123.456f, "  123.456"},
      {999999.0f, "  999999."},
      {999999.5f, "  1000000."},
      {1234567.0f, "  1.234567E+06"},
      {0.05f, "  5.000000E-02"},
      {-2.5f, " -2.50000"},
      {-0.25f, " -.250000"},
      {kDefaultNaN, " -NaN"},
      {kPositiveNaN, "  NaN"},
      {kInfinity, "  INF"},
      {-kInfinity, " -INF"},
      {0.1f, "  .100000"},
      {0.09999996f, "  .100000"},  // rounding to seven decimals carries into a new digit
      {0.0999999f, "  9.999990E-02"},
      {0.9999996f, "  1.000000"},  // the fixed form's carry writes the extra digit
      {1.0e-3f, "  1.000000E-03"},
      {1234567.0f * 10, "  1.234567E+07"},
      {9999999.5f, "  1.000000E+07"},
      {std::numeric_limits<float>::max(), "  3.402823E+38"},
      {std::numeric_limits<float>::denorm_min(), "  1.401298E-45"},
      {-std::numeric_limits<float>::min(), " -1.175494E-38"},
      {5.0e-8f, "  5.000000E-08"},
      {9.9999999e-9f, "  1.000000E-08"},
      {0.3333333f, "  .333333"},
      {2.0f / 3.0f, "  .666667"},
      {1.03125f, "  1.03125"},
      {100000.05f, "  100000."},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(FreeReal(c.value), c.text) << "value " << c.value;
  }
}

TEST(FreeFormatInteger, EditsSignAndDigits) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "  0"},
      {5, "  5"},
      {-7, " -7"},
      {2147483647, "  2147483647"},
      {-2147483647 - 1, " -2147483648"},
  };
  for (const auto& [value, text] : cases) {
    std::string edited;
    AppendFreeFormatInteger(edited, value);
    EXPECT_EQ(edited, text);
  }
}

TEST(FEditing, EditsWidthEightWithFourDecimals) {
  const RealCase cases[] = {
      {0.0f, "   .0000"},       {-0.0f, "  -.0000"},       {0.5f, "   .5000"},
      {0.05f, "   .0500"},      {0.00004f, "  0.0000"},    {-0.00004f, "  0.0000"},
      {0.00006f, "   .0001"},   {1.03125f, "  1.0313"},    {0.99996f, "  1.0000"},
      {12.5f, " 12.5000"},      {999.9999f, "999.9999"},   {1000.0f, "********"},
      {-12.5f, "-12.5000"},     {-99.9f, "-99.9000"},      {-100.0f, "********"},
      {-0.5f, "  -.5000"},      {kDefaultNaN, "    -NaN"}, {kPositiveNaN, "     NaN"},
      {-kInfinity, "    -INF"}, {kInfinity, "     INF"},   {0.8235294f, "   .8235"},
      {-1.0f, " -1.0000"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(F(c.value), c.text) << "value " << c.value;
  }
}

TEST(FEditing, HandlesOtherWidthsAndDecimals) {
  EXPECT_EQ(F(12345.678f, 12, 4), "  12345.6800");  // beyond seven significant digits: zeros
  EXPECT_EQ(F(0.0f, 4, 0), "  0.");
  EXPECT_EQ(F(2.5f, 4, 0), "  3.");
  EXPECT_EQ(F(0.00004f, 5, 4), ".0000");  // no room for the zero before the point
  EXPECT_EQ(F(kDefaultNaN, 3, 1), "***");
  EXPECT_EQ(F(kPositiveNaN, 3, 1), "NaN");
  EXPECT_EQ(F(-1.0f, 3, 2), "***");
}

struct RecordCase {
  std::string record;
  const char* expected;
};

TEST(FreeFormatRecord, LaysOutItems) {
  const RecordCase cases[] = {
      {FreeFormatRecord({" Randomization step ", 5}), "  Randomization step   5"},
      {FreeFormatRecord({" Borsak ", 3, " SUM= ", 1.5f}), "  Borsak   3  SUM=   1.50000"},
      {FreeFormatRecord({" max. spec. ", 7, "its contribution= ", 0.25f}),
       "  max. spec.   7 its contribution=   .250000"},
      {FreeFormatRecord({"APCF", 12.34567f, 10.0f, -0.1234567f}),
       " APCF  12.3457  10.0000 -.123457"},
      {FreeFormatRecord({}), " "},
      {FreeFormatRecord({"a", "b", 1, "c"}), " ab  1 c"},
  };
  for (const RecordCase& c : cases)
    EXPECT_EQ(c.record, c.expected);
}

TEST(WriteFreeFormat, SendsOneConsoleCallPerRecordWithCrLf) {
  const auto run = test_support::RunCaptured([] {
    WriteFreeFormat(kDefaultUnit, {" ENTER INPUT FILENAME"});
    WriteFreeFormat(kDefaultUnit, {});
  });
  ASSERT_EQ(run.calls.size(), 2U);
  EXPECT_EQ(run.calls[0].text, "  ENTER INPUT FILENAME\r\n");
  EXPECT_EQ(run.calls[0].stream, ConsoleStream::Output);
  EXPECT_EQ(run.calls[1].text, " \r\n");
  EXPECT_EQ(run.polls, 2);
}

TEST(WriteFreeFormat, SplitsLongConsoleRecordsIntoPiecesOf256) {
  const std::string text(300, 'x');
  const auto run = test_support::RunCaptured([&] { WriteFreeFormat(kDefaultUnit, {text}); });
  ASSERT_EQ(run.calls.size(), 2U);
  EXPECT_EQ(run.calls[0].text.size(), 256U);
  EXPECT_EQ(run.calls[1].text, std::string(300 + 1 - 256, 'x') + "\r\n");
}

TEST(WriteFreeFormat, ErrorUnitWritesToTheErrorStream) {
  const auto run = test_support::RunCaptured([] { WriteFreeFormat(kConsoleErrorUnit, {"oops"}); });
  ASSERT_EQ(run.calls.size(), 1U);
  EXPECT_EQ(run.calls[0].stream, ConsoleStream::Error);
}

TEST(WriteFreeFormat, FailedConsoleWriteEndsTheRunWithAReport) {
  const auto run = test_support::RunCaptured([] {
    ConsoleHooks failing = Console();
    auto write = failing.WriteText;
    failing.WriteText = [write](const char* text, std::size_t count, ConsoleStream stream) {
      return stream == ConsoleStream::Output ? std::size_t{0} : write(text, count, stream);
    };
    InstallConsoleHooks(failing);
    WriteFreeFormat(kDefaultUnit, {"lost"});
  });
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_EQ(run.error,
            "? System Error:\n? The system cannot write to the specified device.\n"
            "? WRITE(UNIT=*,...\n");
}

TEST(WriteFormattedF, WritesTenValuesToARecord) {
  float values[12];
  for (int i = 0; i < 12; ++i)
    values[i] = 0.5f * static_cast<float>(i);
  const auto run = test_support::RunCaptured([&] {
    WriteFormattedF(kDefaultUnit, {values, 3, 1}, 10, 8, 4);
    WriteFormattedF(kDefaultUnit, {values, 12, 1}, 10, 8, 4);
    WriteFormattedF(kDefaultUnit, {values, 0, 1}, 10, 8, 4);
    WriteFormattedF(kDefaultUnit, {values + 1, 2, 4}, 10, 8, 4);  // every fourth value
  });
  ASSERT_EQ(run.calls.size(), 5U);
  EXPECT_EQ(run.calls[0].text, "   .0000   .5000  1.0000\r\n");
  EXPECT_EQ(run.calls[1].text.size(), 80U + 2U);
  EXPECT_EQ(run.calls[2].text, "  5.0000  5.5000\r\n");
  EXPECT_EQ(run.calls[3].text, "\r\n");
  EXPECT_EQ(run.calls[4].text, "   .5000  2.5000\r\n");
}

}  // namespace
}  // namespace kova
