#include "formats/kpg25d/kpg25d_frequency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "io/number_text.h"

namespace rfretune {
namespace {

// " 902.0125" from 100 Hz units, by integer arithmetic only.
std::string ExactText(std::int64_t units) {
  char text[32];
  std::snprintf(text, sizeof text, " %lld.%04lld", static_cast<long long>(units / 10000),
                static_cast<long long>(units % 10000));
  return text;
}

// Code 0 is 441.4 MHz; each code is 125 units of 100 Hz.
std::int64_t UnitsOfCode(int code) { return 4414000 + 125 * static_cast<std::int64_t>(code); }

TEST(Kpg25dFrequencyText, ShowsEdgeCodes) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {36848, " 902.0000"},  // 0x8FF0
      {36849, " 902.0125"},  // 0x8FF1
      {36888, " 902.5000"},  // number text " 902.5", completed with "000"
      {38927, " 927.9875"},
      {38928, " 928.0000"},  // 0x9810
      {0, " 441.4000"},
      {44687, " 999.9875"},
      // From 1000 MHz on, seven significant digits leave three decimals.
      {44688, " 1000"},
      {44728, " 1000.500"},
      {44689, " 1000.013"},
      {65535, " 1260.588"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(Kpg25dFrequencyText(Kpg25dDecodeFrequency(c.code)), c.text);
  }
  EXPECT_EQ(Kpg25dDecodeFrequency(36849), 902.0125f);
  EXPECT_EQ(Kpg25dDecodeFrequency(38928), 928.0f);
}

TEST(Kpg25dFrequencyText, EveryCodeBelow1000MhzShowsExactlyInNineCharacters) {
  for (int code = 0; code < 44688; ++code) {
    const std::string text = Kpg25dFrequencyText(Kpg25dDecodeFrequency(code));
    ASSERT_EQ(text, ExactText(UnitsOfCode(code))) << "code " << code;
  }
}

TEST(Kpg25dEncodeFrequency, GivesEdgeBytes) {
  const struct {
    float mhz;
    int low;
    int high;
  } cases[] = {
      {927.9875f, 0x0F, 0x98},
      {902.0125f, 0xF1, 0x8F},
      {928.0f, 0x10, 0x98},
      {902.0f, 0xF0, 0x8F},
      {1260.5875f, 0xFF, 0xFF},
      // Half a step above 902.0000: the half rounds to the even code 36848.
      {902.00625f, 0xF0, 0x8F},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mhz);
    const Kpg25dCodeBytes bytes = Kpg25dEncodeFrequency(c.mhz);
    EXPECT_EQ(bytes.low, c.low);
    EXPECT_EQ(bytes.high, c.high);
  }
}

TEST(Kpg25dEncodeFrequency, EveryStepOfTheBandFromItsTextGivesItsCode) {
  for (int code = 36848; code <= 38928; ++code) {
    const std::int64_t units = UnitsOfCode(code);
    const std::string text = ExactText(units);
    const Kpg25dCodeBytes bytes = Kpg25dEncodeFrequency(static_cast<float>(NumericValue(text)));
    ASSERT_EQ(bytes.low + 256 * bytes.high, code) << text;
    ASSERT_EQ(Kpg25dCodeFromUnits(units), code) << text;
  }
}

}  // namespace
}  // namespace rfretune
