// Recognition, the system table and the pure frequency conversions of the
// .DAT layout, and the batch rules of both variants byte by byte.
#include "formats/dat/dat_layout.h"

#include <gtest/gtest.h>

#include "formats/dat/dat_fixture.h"
#include "formats/dat/dat_walk.h"

namespace rfretune {
namespace {

const DatVariantDescription& k49 = kKpg49dDescription;
const DatVariantDescription& k35 = kKpg35dDescription;

TEST(RecognizeDatVariantTest, SignatureBytesAtThreeAndFour) {
  const struct {
    std::int64_t size;
    std::uint8_t third;
    std::uint8_t fourth;
    const DatVariantDescription* expected;
  } cases[] = {
      {300, '4', '9', &k49},    {300, '3', '5', &k35},
      {5, '4', '9', &k49},  // nothing but the signature is looked at
      {5, '3', '5', &k35},      {300, '4', '5', nullptr},
      {300, '3', '9', nullptr}, {300, '9', '4', nullptr},
      {300, '5', '3', nullptr}, {300, 0, 0, nullptr},
      {4, '4', '9', nullptr},  // the fourth signature byte is missing
      {4, '3', '5', nullptr},   {0, '4', '9', nullptr},
  };
  for (const auto& c : cases) {
    DatImage image(k49, c.size);
    image.SetByte(3, c.third).SetByte(4, c.fourth);
    EXPECT_EQ(RecognizeDatVariant(image), c.expected)
        << "size " << c.size << " bytes " << int{c.third} << " " << int{c.fourth};
  }
}

TEST(DatSystemEntryTest, AbsentByEitherByteOtherwiseBaseFromBothBytes) {
  const struct {
    std::uint8_t low;
    std::uint8_t high;
    bool present;
    std::int64_t base;
  } cases[] = {
      {255, 0, false, 0},
      {255, 17, false, 0},
      {0, 255, false, 0},
      {17, 255, false, 0},
      {255, 255, false, 0},
      {0, 0, true, 51},
      {149, 0, true, 200},
      {0x34, 0x12, true, 0x1234 + 51},
      {254, 254, true, 254 * 256 + 254 + 51},
  };
  for (const auto& c : cases) {
    for (int system = 1; system <= kDatSystemCount; system += 31) {
      DatImage image(k49, 200);
      image.SetEntry(system, c.low, c.high);
      // The entry of system s lies at 50 + 2 (s - 1), low byte first.
      ASSERT_EQ(image.ReadByte(48 + 2 * system), c.low);
      ASSERT_EQ(image.ReadByte(49 + 2 * system), c.high);
      const DatSystemEntry entry = ReadDatSystemEntry(image, system);
      EXPECT_EQ(entry.Present(), c.present) << int{c.low} << " " << int{c.high};
      if (c.present) {
        EXPECT_EQ(entry.Base(), c.base);
      }
    }
  }
}

TEST(DatSystemEntryTest, EntryNotWhollyInsideTheFileIsAbsent) {
  DatImage image(k49, 101);  // ends inside the entry of system 26 (100, 101)
  image.SetEntry(25, 0, 0).SetByte(100, 0);
  EXPECT_TRUE(ReadDatSystemEntry(image, 25).Present());
  EXPECT_FALSE(ReadDatSystemEntry(image, 26).Present());
  EXPECT_FALSE(ReadDatSystemEntry(image, 32).Present());
}

TEST(DatSystemFieldsTest, GroupCountAndTrunkMarkerPlacesPerVariant) {
  // KPG49D: at the base and the byte after it; KPG35D: tables at 114 and 146.
  EXPECT_EQ(DatGroupCountOffset(k49, 1, 200), 200);
  EXPECT_EQ(DatTrunkMarkerOffset(k49, 1, 200), 201);
  EXPECT_EQ(DatGroupCountOffset(k35, 1, 200), 114);
  EXPECT_EQ(DatTrunkMarkerOffset(k35, 1, 200), 146);
  EXPECT_EQ(DatGroupCountOffset(k35, 32, 200), 145);
  EXPECT_EQ(DatTrunkMarkerOffset(k35, 32, 200), 177);
  // Record fields from the origin R = P + 32 j.
  EXPECT_EQ(DatRecordOrigin(200, 3), 296);
  EXPECT_EQ(DatGroupNumberOffset(296), 327);
  EXPECT_EQ(DatFrequencyOffset(296, DatRole::kReceive), 328);
  EXPECT_EQ(DatFrequencyOffset(296, DatRole::kTransmit), 332);
  EXPECT_EQ(DatAttributeOffset(296, DatRole::kReceive), 336);
  EXPECT_EQ(DatAttributeOffset(296, DatRole::kTransmit), 337);
}

TEST(DatWalkTest, VisitsPresentSystemsInOrderAndOnlyRecordsInsideTheFile) {
  for (const DatVariantDescription* variant : kDatVariants) {
    DatImage image(*variant, 380);
    image
        .AddSystem(3, 320, {{1}, {2}})  // record 1 (origin 352) runs past 380
        .AddSystem(1, 200, {{1}, {2}, {3}})
        .AddSystem(2, 180, {}, /*trunked=*/true)
        .SetEntry(4, 255, 0);
    std::vector<std::pair<int, std::int64_t>> visited;
    ForEachDatRecord(image, *variant, [&](const DatSystemEntry& entry, std::int64_t origin) {
      visited.emplace_back(entry.number, origin);
    });
    const std::vector<std::pair<int, std::int64_t>> expected = {
        {1, 200}, {1, 232}, {1, 264}, {3, 320}};
    EXPECT_EQ(visited, expected) << variant->name;

    // Record 1 of system 3 is found once the file holds its last used byte.
    image.Resize(352 + 31 + DatRecordUsedSize(*variant));
    visited.clear();
    ForEachDatRecord(image, *variant, [&](const DatSystemEntry& entry, std::int64_t origin) {
      visited.emplace_back(entry.number, origin);
    });
    EXPECT_EQ(visited.back(), std::make_pair(3, std::int64_t{352})) << variant->name;
  }
}

TEST(DatFrequencyTextTest, HexDigitsOfTheFourBytes) {
  const struct {
    DatFrequencyCode code;  // start .. start + 3
    const char* text;
  } cases[] = {
      {{0x00, 0x00, 0x00, 0x00}, "000.0000"}, {{0xFF, 0xFF, 0xFF, 0xFF}, "FFF.FFFF"},
      {{0x0A, 0x00, 0x00, 0x90}, "900.000A"},  // a byte of 10 to 15 adds one character
      {{0x00, 0x25, 0x21, 0x90}, "902.1250"},  // KPG49D, 10 Hz digit not shown
      {{0x50, 0x12, 0x02, 0x09}, "902.1250"},  // KPG35D, leading 0 not shown
      {{0x75, 0x98, 0x27, 0x09}, "927.9875"}, {{0x50, 0x87, 0x79, 0x92}, "927.9875"},
      {{0x0B, 0x0C, 0x0D, 0x0E}, "EDC.EDCB"},  // shortest text: four characters
  };
  for (const auto& c : cases) EXPECT_EQ(DatFrequencyText(c.code), c.text) << c.text;
}

TEST(DatEncodeFrequencyTest, PackedDigitsPerVariantLeastSignificantPairFirst) {
  const struct {
    const DatVariantDescription* variant;
    const char* mhz;
    const char* decimals;
    DatFrequencyCode code;
  } cases[] = {
      {&k49, "902", "0125", {0x50, 0x12, 0x20, 0x90}},
      {&k35, "902", "0125", {0x25, 0x01, 0x02, 0x09}},
      {&k49, "927", "9875", {0x50, 0x87, 0x79, 0x92}},
      {&k35, "927", "9875", {0x75, 0x98, 0x27, 0x09}},
      {&k49, "927", "1250", {0x00, 0x25, 0x71, 0x92}},
      {&k35, "927", "1250", {0x50, 0x12, 0x27, 0x09}},
      {&k49, "928", "0000", {0x00, 0x00, 0x80, 0x92}},
      {&k35, "928", "0000", {0x00, 0x00, 0x28, 0x09}},
  };
  for (const auto& c : cases) {
    const DatFrequencyCode code = DatEncodeFrequency(*c.variant, c.mhz, c.decimals);
    EXPECT_EQ(code, c.code) << c.variant->name << " " << c.mhz << "." << c.decimals;
    EXPECT_EQ(DatFrequencyText(code), std::string(c.mhz) + "." + c.decimals);
  }
}

struct RuleCase {
  const DatVariantDescription* variant;
  DatRole role;
  DatMhzBytes before;  // {low, high}
  DatMhzBytes after;
};

void ExpectRules(const std::vector<RuleCase>& cases) {
  for (const RuleCase& c : cases) {
    const DatMhzBytes after = DatApplyRules(*c.variant, c.role, c.before);
    EXPECT_EQ(after, c.after) << c.variant->name
                              << (c.role == DatRole::kReceive ? " receive " : " transmit ")
                              << std::hex << "high " << int{c.before.high} << " low "
                              << int{c.before.low} << " gave high " << int{after.high} << " low "
                              << int{after.low};
  }
}

constexpr DatRole kRx = DatRole::kReceive;
constexpr DatRole kTx = DatRole::kTransmit;

TEST(DatRulesTest, Kpg49dEveryRuleAtItsBounds) {
  ExpectRules({
      // 935 -> 927
      {&k49, kRx, {0x4F, 0x93}, {0x4F, 0x93}},
      {&k49, kRx, {0x50, 0x93}, {0x70, 0x92}},
      {&k49, kRx, {0x59, 0x93}, {0x79, 0x92}},
      {&k49, kRx, {0x5A, 0x93}, {0x5A, 0x93}},
      // 936 -> 919
      {&k49, kRx, {0x5F, 0x93}, {0x5F, 0x93}},
      {&k49, kRx, {0x60, 0x93}, {0x90, 0x91}},
      {&k49, kRx, {0x69, 0x93}, {0x99, 0x91}},
      {&k49, kRx, {0x6A, 0x93}, {0x6A, 0x93}},
      // 937, 938 -> 920, 921
      {&k49, kRx, {0x6F, 0x93}, {0x6F, 0x93}},
      {&k49, kRx, {0x70, 0x93}, {0x00, 0x92}},
      {&k49, kRx, {0x89, 0x93}, {0x19, 0x92}},
      {&k49, kRx, {0x8A, 0x93}, {0x8A, 0x93}},
      // 939 -> 926
      {&k49, kRx, {0x8F, 0x93}, {0x8F, 0x93}},
      {&k49, kRx, {0x90, 0x93}, {0x60, 0x92}},
      {&k49, kRx, {0x99, 0x93}, {0x69, 0x92}},
      {&k49, kRx, {0x9A, 0x93}, {0x9A, 0x93}},
      // 896 -> 902
      {&k49, kTx, {0x5F, 0x89}, {0x5F, 0x89}},
      {&k49, kTx, {0x60, 0x89}, {0x20, 0x90}},
      {&k49, kTx, {0x6F, 0x89}, {0x2F, 0x90}},
      // 897-899 -> 907-909
      {&k49, kTx, {0x70, 0x89}, {0x70, 0x90}},
      {&k49, kTx, {0x99, 0x89}, {0x99, 0x90}},
      {&k49, kTx, {0x9A, 0x89}, {0x9A, 0x89}},
      // 900 -> 903
      {&k49, kTx, {0x00, 0x90}, {0x30, 0x90}},
      {&k49, kTx, {0x09, 0x90}, {0x39, 0x90}},
      {&k49, kTx, {0x10, 0x90}, {0x10, 0x90}},
      // Other hundreds and tens stay.
      {&k49, kRx, {0x55, 0x92}, {0x55, 0x92}},
      {&k49, kRx, {0x55, 0x94}, {0x55, 0x94}},
      {&k49, kTx, {0x65, 0x88}, {0x65, 0x88}},
  });
}

TEST(DatRulesTest, Kpg49dRulesBelongToTheirRole) {
  ExpectRules({
      {&k49, kRx, {0x65, 0x89}, {0x65, 0x89}},  // receive 896.5
      {&k49, kRx, {0x75, 0x89}, {0x75, 0x89}},  // receive 897.5
      {&k49, kRx, {0x05, 0x90}, {0x05, 0x90}},  // receive 900.5
      {&k49, kTx, {0x55, 0x93}, {0x55, 0x93}},  // transmit 935.5
      {&k49, kTx, {0x95, 0x93}, {0x95, 0x93}},  // transmit 939.5
  });
}

TEST(DatRulesTest, Kpg35dMovesTheWholeMegahertzOfTheTableOnBothRoles) {
  const struct {
    DatMhzBytes before;
    DatMhzBytes after;
  } moves[] = {
      {{0x35, 0x09}, {0x27, 0x09}}, {{0x36, 0x09}, {0x19, 0x09}}, {{0x37, 0x09}, {0x20, 0x09}},
      {{0x38, 0x09}, {0x21, 0x09}}, {{0x39, 0x09}, {0x26, 0x09}}, {{0x96, 0x08}, {0x02, 0x09}},
      {{0x97, 0x08}, {0x07, 0x09}}, {{0x98, 0x08}, {0x08, 0x09}}, {{0x99, 0x08}, {0x09, 0x09}},
      {{0x00, 0x09}, {0x03, 0x09}},
  };
  std::vector<RuleCase> cases;
  for (const auto& move : moves) {
    cases.push_back({&k35, kRx, move.before, move.after});
    cases.push_back({&k35, kTx, move.before, move.after});
  }
  ExpectRules(cases);
}

TEST(DatRulesTest, Kpg35dLeavesEveryOtherMegahertzAlone) {
  // Testing one byte alone would move all of these: 851 -> 951, 435 -> 427,
  // 800 -> 903, 000 -> 003, 835 -> 827, 996 -> 902, 0x0A00 -> 0x0A03.
  const DatMhzBytes stays[] = {
      {0x51, 0x08}, {0x35, 0x04}, {0x00, 0x08}, {0x00, 0x00}, {0x35, 0x08},
      {0x96, 0x09}, {0x00, 0x0A}, {0x34, 0x09}, {0x40, 0x09}, {0x95, 0x08},
      {0x01, 0x09}, {0x02, 0x09}, {0x27, 0x09}, {0x28, 0x09}, {0x35, 0x19},
  };
  std::vector<RuleCase> cases;
  for (const DatMhzBytes& bytes : stays) {
    cases.push_back({&k35, kRx, bytes, bytes});
    cases.push_back({&k35, kTx, bytes, bytes});
  }
  ExpectRules(cases);
}

TEST(DatRulesTest, MovedFrequenciesStayWhereTheyAre) {
  // Every target of a move is left alone by a second pass.
  for (const DatVariantDescription* variant : kDatVariants) {
    for (const DatMoveRule& rule : variant->rules) {
      for (int low = rule.low_first; low <= rule.low_last; ++low) {
        for (DatRole role : kDatRoles) {
          const bool applies = role == kRx ? rule.receive : rule.transmit;
          if (!applies) continue;
          const DatMhzBytes once =
              DatApplyRules(*variant, role, {static_cast<std::uint8_t>(low), rule.high});
          EXPECT_EQ(DatApplyRules(*variant, role, once), once) << variant->name;
        }
      }
    }
  }
}

}  // namespace
}  // namespace rfretune
