#include "io/number_text.h"

#include "io/frequency_reply.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace rfretune {
namespace {

TEST(NumberTextTest, FormatsSevenSignificantDigits) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, " 0"},
      {12.0f, " 12"},
      {-3.0f, "-3"},
      {902.0125f, " 902.0125"},
      {927.9875f, " 927.9875"},
      {928.0f, " 928"},
      {1000.5f, " 1000.5"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568e+007"},
      {1e20f, " 1e+020"},
      {0.0001f, " 0.0001"},
      {0.00001f, " 1e-005"},
      {-0.5f, "-0.5"},
      {std::numeric_limits<float>::infinity(), " inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
}

TEST(NumericValueTest, ReadsDecimalAndAmpersandForms) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"  902.5", 902.5}, {"1e3", 1000}, {"1d3", 1000},     {"1D3", 1000}, {"&H10", 16},
      {"&hff", 255},      {"&O17", 15},  {"&17", 15},       {"&X1", 0},    {"&B101", 5},
      {"&H", 0},          {"&", 0},      {"12abc", 12},     {"abc", 0},    {"", 0},
      {"0x10", 16},       {"-5", -5},    {"920.1 ", 920.1},
  };
  for (const auto& c : cases) EXPECT_EQ(NumericValue(c.text), c.value) << c.text;
  EXPECT_TRUE(std::isinf(NumericValue("inf")));
  EXPECT_TRUE(std::isinf(NumericValue("1e999")));
  EXPECT_TRUE(std::isnan(NumericValue("nan")));
}

TEST(HexTextTest, UpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(10), "A");
  EXPECT_EQ(HexText(255), "FF");
  EXPECT_EQ(HexText(256), "100");
  EXPECT_EQ(HexText(-1), "FFFFFFFFFFFFFFFF");
}

TEST(TextItemTest, TakesTheFirstItemOfALine) {
  const struct {
    const char* line;
    const char* item;
    std::size_t consumed;
  } cases[] = {
      {"  abc", "abc", 5},
      {"abc ", "abc ", 4},
      {"\t radio.900 ", "radio.900 ", 12},
      {"a,b.900", "a", 2},
      {",x", "", 1},
      {"\"a, b\" tail,next", "a, b", 12},
      {"ab\"c", "ab\"c", 4},
      {"\"unclosed, quote", "unclosed, quote", 16},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    std::size_t consumed = 99;
    EXPECT_EQ(TextItem(c.line, &consumed), c.item) << c.line;
    EXPECT_EQ(consumed, c.consumed) << c.line;
  }
  EXPECT_EQ(TextItem(std::string(5000, 'x')).size(), 4096u);
}

TEST(NumberItemTest, ValuesOfTypedNumbers) {
  const struct {
    const char* line;
    float value;
  } cases[] = {
      {"  902.5", 902.5f},
      {"902 5", 902},
      {"902,5", 902},
      {"1.5e2", 150},
      {"1e3", 1000},
      {"1d3", 1000},
      {"12abc", 12},
      {"-5", -5},
      {"+7", 7},
      {"&H10", 16},
      {"&H1D", 29},  // a d after & stays a hexadecimal digit
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"\"9 5\"", 9},
      {"123456789012345678", 123456789012345678.0f},
      {"1234567890123456789", 1234567890123456789.0f},
      {"2.5", 2.5f},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberItemValue(NumberItem(c.line)), c.value) << c.line;
}

TEST(NumberItemTest, StopsAtBlankTabOrCommaAndKeepsSixtySevenCharacters) {
  std::size_t consumed = 0;
  EXPECT_EQ(NumberItem("  12 34", &consumed), "12");
  EXPECT_EQ(consumed, 4u);  // the blank stays for a following item
  EXPECT_EQ(NumberItem("12,34", &consumed), "12");
  EXPECT_EQ(consumed, 3u);
  EXPECT_EQ(NumberItem("\"1, 2\"3", &consumed), "1, 23");
  EXPECT_EQ(NumberItem(std::string(100, '7')).size(), 67u);
}

TEST(ExactScaledDecimalTest, PlainDecimalsOnlyAndExactly) {
  const struct {
    const char* reply;
    std::optional<std::int64_t> units;
  } cases[] = {
      {"902", 9020000},
      {"928", 9280000},
      {"902.0125", 9020125},
      {"920.1", 9201000},
      {" 920.1 \t", 9201000},
      {"902.01250", 9020125},
      {"9.02e2", 9020000},
      {"9.020125E2", 9020125},
      {"90200e-2", 9020000},
      {"9.02d2", 9020000},
      {".5", 5000},
      {"5.", 50000},
      {"0", 0},
      {"902.00625", std::nullopt},
      {"902.5abc", std::nullopt},
      {"&H386", std::nullopt},
      {"+902", std::nullopt},
      {"9 02", std::nullopt},
      {"1e", std::nullopt},
      {"e2", std::nullopt},
      {"902..5", std::nullopt},
      {"", std::nullopt},
      {"1e99", std::nullopt},
      {"0x386", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ExactScaledDecimal(c.reply, 4), c.units) << c.reply;
}

TEST(FrequencyReplyTest, BandZeroAndRasterInThisOrder) {
  using V = FrequencyVerdict;
  const struct {
    const char* reply;
    FrequencyVerdict verdict;
    std::int64_t hundred_hertz;
  } cases[] = {
      {"", V::kBack, 0},
      {"0", V::kBack, 0},
      {"abc", V::kBack, 0},
      {"901.9875", V::kOutOfRange, 0},
      {"928.0125", V::kOutOfRange, 0},
      {"&H386", V::kOffRaster, 0},  // worth 902, but not a plain decimal
      {"1e9", V::kOutOfRange, 0},
      {"902", V::kAccepted, 9020000},
      {"928", V::kAccepted, 9280000},
      {"902.0125", V::kAccepted, 9020125},
      {"920.1", V::kAccepted, 9201000},
      {"920.1 ", V::kAccepted, 9201000},
      {"902.01250", V::kAccepted, 9020125},
      {"9.02e2", V::kAccepted, 9020000},
      {"902.00625", V::kOffRaster, 0},
      {"902.01", V::kOffRaster, 0},
      {"902.013", V::kOffRaster, 0},
      {"902.5abc", V::kOffRaster, 0},
      {"927.99999999", V::kOffRaster, 0},
  };
  for (const auto& c : cases) {
    const FrequencyReply judged = JudgeFrequencyReply(c.reply);
    EXPECT_EQ(judged.verdict, c.verdict) << c.reply;
    EXPECT_EQ(judged.hundred_hertz, c.hundred_hertz) << c.reply;
  }
}

}  // namespace
}  // namespace rfretune
