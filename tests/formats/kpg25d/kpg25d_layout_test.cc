#include "formats/kpg25d/kpg25d_layout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "formats/kpg25d/kpg25d_image.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::Bytes;
using testing::ReadFileBytes;
using testing::TempDir;

// slot, index, offset, group number, code, flags
using Visit = std::tuple<int, int, std::int64_t, int, int, int>;

std::vector<Visit> WalkOf(const Bytes& image) {
  TempDir dir;
  DataFile file;
  EXPECT_FALSE(file.Open(dir.Write("walk.910", image)));
  std::vector<Visit> visits;
  ForEachKpg25dRecord(file, [&](const Kpg25dGroupRecord& r) {
    visits.emplace_back(r.slot, r.index, r.offset, r.group_number, r.code, r.flags);
  });
  return visits;
}

// Systems that have records and systems that must yield none, in one file
// of `size` bytes whose last record ends its flag byte at offset 594.
Bytes WalkFixture(std::size_t size) {
  Kpg25dImage image(size);
  // Pointer 0x6700 addresses offset 278; records follow every 19 bytes.
  image.SetPointerBytes(0, 0x00, 0x67).SetGroupCount(0, 3);
  image.SetRecord(278, {11, 0x1234, 0x02}).SetRecord(297, {12, 39489, 0x06});
  image.SetRecord(316, {13, 0xFFFF, 0xFF});
  // Empty slots, by either pointer byte, with records where they would point.
  image.SetPointerBytes(1, 0xFF, 0x67).SetGroupCount(1, 2);
  image.SetPointerBytes(2, 0x00, 0xFF).SetGroupCount(2, 2);
  // Pointer 26089 would place its records one byte before the file.
  image.SetPointerBytes(3, 0xE9, 0x65).SetGroupCount(3, 2);
  image.AddSystem(4, 450, {});  // group count 0
  image.AddSystem(5, 566, {{21, 36848, 0x00}, {22, 38928, 0x04}});
  image.AddSystem(31, 400, {{31, 36849, 0x01}});
  return image.Bytes();
}

TEST(Kpg25dWalk, VisitsPresentSystemsInSlotOrder) {
  EXPECT_EQ(WalkOf(WalkFixture(595)), (std::vector<Visit>{
                                          {0, 0, 278, 11, 0x1234, 0x02},
                                          {0, 1, 297, 12, 39489, 0x06},
                                          {0, 2, 316, 13, 0xFFFF, 0xFF},
                                          {5, 0, 566, 21, 36848, 0x00},
                                          {5, 1, 585, 22, 38928, 0x04},
                                          {31, 0, 400, 31, 36849, 0x01},
                                      }));
}

TEST(Kpg25dWalk, SkipsARecordWhoseFlagByteLiesPastTheEnd) {
  const std::vector<Visit> visits = WalkOf(WalkFixture(594));
  ASSERT_EQ(visits.size(), 5u);
  EXPECT_EQ(std::get<2>(visits[3]), 566);
  EXPECT_EQ(std::get<0>(visits[4]), 31);
}

TEST(Kpg25dWalk, FindsNothingInFilesTooShortForTheTable) {
  EXPECT_TRUE(WalkOf({}).empty());
  EXPECT_TRUE(WalkOf(Kpg25dImage(60).Bytes()).empty());
}

TEST(Kpg25dWriteRecord, WritesCodeAndFlagsOnly) {
  Kpg25dImage image(400);
  image.AddSystem(0, 278, {{7, 39489, 0x06}});
  TempDir dir;
  const std::string name = dir.Write("write.910", image.Bytes());
  {
    DataFile file;
    ASSERT_FALSE(file.Open(name));
    Kpg25dWriteRecord(file, 278, 36927, 0x04);
    ASSERT_FALSE(file.Close());
  }
  EXPECT_EQ(ReadFileBytes(name), image.SetCode(278, 36927, 0x04).Bytes());
}

}  // namespace
}  // namespace rfretune
