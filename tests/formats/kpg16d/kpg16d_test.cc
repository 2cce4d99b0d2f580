#include "formats/kpg16d/kpg16d.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/kpg16d/kpg16d_image.h"
#include "formats/kpg16d/kpg16d_layout.h"
#include "formats/kpg16d/tk431_conversion.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::Bytes;
using testing::Lines;
using testing::RunHandler;

constexpr char kCompletedDialogue[] = "Processing data file for TK-431..\nProcess Complete\n";

// Unnamed bytes of the fixtures hold this code in every byte pair: it lies
// in range 1, so a read or write at any position the layout does not name
// would show as a changed byte.
constexpr std::uint16_t kStrayCode = 6760;
// Slots the fixtures leave alone hold the code just above range 3, with the
// alternative flags, so that a slot wrongly taken as in range shows too.
constexpr std::uint16_t kOutsideCode = 7120;
constexpr std::uint8_t kBothFlags = 0x12;

Kpg16dSlotBytes SlotOf(std::uint16_t code, std::uint8_t flags) {
  return {.low = static_cast<std::uint8_t>(code & 0xFF),
          .high = static_cast<std::uint8_t>(code >> 8),
          .flags = flags};
}

// ---------------------------------------------------------------------------
// The slot rule.

struct SlotCase {
  const char* what;
  std::uint16_t code;
  std::uint8_t flags;
  std::optional<Kpg16dSlotBytes> expected;
};

std::optional<Kpg16dSlotBytes> Kept() { return std::nullopt; }
std::optional<Kpg16dSlotBytes> Becomes(std::uint16_t code, std::uint8_t flags) {
  return SlotOf(code, flags);
}

const SlotCase kSlotCases[] = {
    {"6720 lies below range 1", 6720, 0x00, Kept()},
    {"6720 lies below range 1, alternative flags", 6720, 0x12, Kept()},
    {"range 1 first code, normal", 6721, 0x00, Becomes(6081, 0x00)},
    {"range 1 first code, alternative", 6721, 0x12, Becomes(4081, 0x10)},
    {"range 1 last code, normal", 6799, 0x00, Becomes(6159, 0x00)},
    {"range 1 last code, alternative", 6799, 0x12, Becomes(4159, 0x10)},
    {"range 2 first code, normal", 6800, 0x00, Becomes(5440, 0x00)},
    {"range 2 first code, alternative", 6800, 0x12, Becomes(4480, 0x10)},
    {"range 2 last code, normal", 7039, 0x00, Becomes(5679, 0x00)},
    {"range 2 last code, alternative", 7039, 0x12, Becomes(4719, 0x10)},
    {"range 3 first code, normal", 7040, 0x00, Becomes(6000, 0x00)},
    {"range 3 first code, alternative", 7040, 0x12, Becomes(4160, 0x10)},
    {"range 3 last code, normal", 7119, 0x00, Becomes(6079, 0x00)},
    {"range 3 last code, alternative", 7119, 0x12, Becomes(4239, 0x10)},
    {"7120 lies above range 3", 7120, 0x00, Kept()},
    {"7120 lies above range 3, alternative flags", 7120, 0x12, Kept()},
    {"flags 0xFF take the alternative shift and lose bit 1", 6900, 0xFF, Becomes(4580, 0xFD)},
    {"bit 1 alone gives the normal shift and stays", 6900, 0x02, Becomes(5540, 0x02)},
    {"bit 4 alone gives the normal shift and stays", 6900, 0x10, Becomes(5540, 0x10)},
    {"every other bit set gives the normal shift", 6900, 0xED, Becomes(5540, 0xED)},
    {"code 0", 0, 0x12, Kept()},
    {"code 65535", 65535, 0x12, Kept()},
};

TEST(ConvertTk431SlotTest, RangeEdgesShiftsAndFlags) {
  for (const SlotCase& c : kSlotCases) {
    EXPECT_EQ(ConvertTk431Slot(SlotOf(c.code, c.flags)), c.expected) << c.what;
  }
}

TEST(ConvertTk431SlotTest, LowByteBorrowsFromHighByte) {
  // Low 65 less 128 (normal) or 80 (alternative) goes below 0.
  EXPECT_EQ(ConvertTk431Slot({.low = 65, .high = 26, .flags = 0x00}),
            (Kpg16dSlotBytes{.low = 193, .high = 23, .flags = 0x00}));
  EXPECT_EQ(ConvertTk431Slot({.low = 65, .high = 26, .flags = 0x12}),
            (Kpg16dSlotBytes{.low = 241, .high = 15, .flags = 0x10}));
}

TEST(ConvertTk431SlotTest, OnlyRangeCodesShiftAndNoneShiftsTwice) {
  for (int code = 0; code <= 0xFFFF; ++code) {
    for (std::uint8_t flags : {std::uint8_t{0x00}, kBothFlags}) {
      const auto converted = ConvertTk431Slot(SlotOf(static_cast<std::uint16_t>(code), flags));
      ASSERT_EQ(converted.has_value(), code >= 6721 && code <= 7119) << code;
      if (!converted) continue;
      ASSERT_LT(converted->low + 256 * converted->high, 6721) << code;
      ASSERT_EQ(ConvertTk431Slot(*converted), std::nullopt) << code;
    }
  }
}

// ---------------------------------------------------------------------------
// Whole files.

struct FileSlot {
  int block;
  int slot;
  std::uint16_t code;
  std::uint8_t flags;
  std::uint16_t expected_code;
  std::uint8_t expected_flags;
};

const FileSlot kFileSlots[] = {
    {0, 1, 6721, 0x00, 6081, 0x00},
    {0, 2, 6799, 0x12, 4159, 0x10},
    {0, 3, 6800, 0x02, 5440, 0x02},
    {0, 4, 7039, 0xFF, 4719, 0xFD},
    {0, 5, 7040, 0x10, 6000, 0x10},
    {0, 6, 7119, 0x12, 4239, 0x10},
    {0, 7, 6720, 0x12, 6720, 0x12},
    {0, 8, 0, 0xFF, 0, 0xFF},
    {0, 9, 65535, 0x12, 65535, 0x12},
    {0, 10, 6900, 0x00, 5540, 0x00},
    {7, 5, 6760, 0x12, 4120, 0x10},
    {15, 1, 6721, 0x12, 4081, 0x10},
    {15, 10, 7119, 0x00, 6079, 0x00},
    // Free blocks: in range, but not in use.
    {3, 1, 6721, 0x12, 6721, 0x12},
    {3, 10, 7119, 0x00, 7119, 0x00},
    {14, 4, 6900, 0xFF, 6900, 0xFF},
};
constexpr int kFreeBlocks[] = {3, 14};
constexpr std::uint8_t kFreeMarkers[] = {0x01, 0xFF};

Bytes FileImage(bool converted) {
  Kpg16dImage image(kOutsideCode, kBothFlags, kStrayCode);
  for (const FileSlot& s : kFileSlots) {
    image.SetSlot(s.block, s.slot, converted ? s.expected_code : s.code,
                  converted ? s.expected_flags : s.flags);
  }
  for (std::size_t i = 0; i < std::size(kFreeBlocks); ++i) {
    image.SetMarker(kFreeBlocks[i], kFreeMarkers[i]);
  }
  // Bytes past the 16 blocks are no part of the layout.
  image.AppendFiller(40);
  return image.Bytes();
}

TEST(Tk431HandlerTest, ConvertsInUseBlocksAndKeepsEveryOtherByte) {
  const testing::HandlerRun run = RunHandler(Tk431Handler, FileImage(false), ".900");
  EXPECT_TRUE(run.result.completed);
  EXPECT_FALSE(run.result.file_error);
  EXPECT_EQ(Lines(run.output), kCompletedDialogue);
  EXPECT_EQ(run.change_count, 0);
  EXPECT_EQ(run.lines_read, 0);
  EXPECT_EQ(run.bytes, FileImage(true));
}

TEST(Tk431HandlerTest, SecondRunChangesNothing) {
  const Bytes once = RunHandler(Tk431Handler, FileImage(false), ".900").bytes;
  ASSERT_EQ(once, FileImage(true));
  const testing::HandlerRun again = RunHandler(Tk431Handler, once, ".900");
  EXPECT_EQ(Lines(again.output), kCompletedDialogue);
  EXPECT_EQ(again.bytes, once);
}

// A file cut short: every slot holds 6721 with both flags. The slots that lie
// wholly inside the file, counted from block 0 slot 1 on, are converted; a
// slot that the end cuts through (code or flag byte past it) keeps its bytes,
// and the file keeps its length.
struct ShortFileCase {
  const char* what;
  std::int64_t size;
  int converted_slots;
};

const ShortFileCase kShortFileCases[] = {
    {"an empty file", 0, 0},
    {"only the first marker", 1, 0},
    {"ends inside the last code of block 0", 51, 0},
    {"all codes of block 0, no flag byte", 92, 0},
    {"flag byte of slot 1 is the last byte", 93, 1},
    {"flag byte of slot 9 past the end", 100, 8},
    {"ends right after the last flag byte of block 0", 102, 10},
    {"ends inside the first code of block 1", 289, 10},
    {"ends at the first flag byte of block 1", 349, 11},
    {"only the last unnamed byte of block 15 missing", 4095, 160},
};

Bytes ShortImage(std::int64_t size, int converted_slots) {
  Kpg16dImage image(6721, kBothFlags, kStrayCode);
  for (int n = 0; n < converted_slots; ++n) {
    image.SetSlot(n / 10, n % 10 + 1, 4081, 0x10);
  }
  Bytes bytes = image.Bytes();
  bytes.resize(static_cast<std::size_t>(size));
  return bytes;
}

TEST(Tk431HandlerTest, ShortFileKeepsItsLengthAndTheSlotItCutsThrough) {
  for (const ShortFileCase& c : kShortFileCases) {
    const testing::HandlerRun run = RunHandler(Tk431Handler, ShortImage(c.size, 0), ".900");
    EXPECT_TRUE(run.result.completed) << c.what;
    EXPECT_EQ(Lines(run.output), kCompletedDialogue) << c.what;
    EXPECT_EQ(run.bytes, ShortImage(c.size, c.converted_slots)) << c.what;
  }
}

// ---------------------------------------------------------------------------
// Files that cannot be used.

struct DirectRun {
  HandlerResult result;
  std::string output;
};

DirectRun RunOn(const std::string& name) {
  testing::ScriptedConsole scripted("", false);
  float change_count = 0;
  HandlerContext context{scripted.console, name, change_count};
  DirectRun run{Tk431Handler(context), ""};
  scripted.console.Flush();
  run.output = Lines(scripted.Output());
  return run;
}

TEST(Tk431HandlerTest, MissingFileIsReportedAndNotCreated) {
  testing::TempDir dir;
  const std::string name = dir.Path() + "/radio.900";
  const DirectRun run = RunOn(name);
  EXPECT_FALSE(run.result.completed);
  ASSERT_TRUE(run.result.file_error);
  EXPECT_EQ(run.result.file_error->kind, FileErrorKind::kNotFound);
  EXPECT_EQ(run.output, "Processing data file for TK-431..\n");
  EXPECT_FALSE(testing::FileExists(name));
}

TEST(Tk431HandlerTest, UnwritableFileIsRefusedUntouched) {
  testing::TempDir dir;
  const std::string name = dir.Write("radio.900", FileImage(false));
  testing::UnwritableFile locked(name);
  if (!locked.Made()) GTEST_SKIP() << "cannot make a file unwritable here";
  const DirectRun run = RunOn(name);
  EXPECT_FALSE(run.result.completed);
  ASSERT_TRUE(run.result.file_error);
  EXPECT_EQ(run.result.file_error->kind, FileErrorKind::kCannotWrite);
  EXPECT_EQ(run.output, "Processing data file for TK-431..\n");
  EXPECT_EQ(testing::ReadFileBytes(name), FileImage(false));
}

// ---------------------------------------------------------------------------
// The demo file.

std::uint16_t CodeAt(const Bytes& bytes, int block, int slot) {
  const auto at =
      static_cast<std::size_t>(Kpg16dBlockOffset(block) + Kpg16dBlock::FrequencyCode(slot));
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool InUse(const Bytes& bytes, int block) {
  return bytes[static_cast<std::size_t>(Kpg16dBlockOffset(block))] == Kpg16dBlock::kInUse;
}

TEST(Kpg16dDemoFilesTest, DemoHoldsEveryRangeAndConverts) {
  const std::vector<DemoFile> demos = Kpg16dDemoFiles();
  ASSERT_EQ(demos.size(), 1u);
  EXPECT_EQ(demos[0].name, "radio.900");
  ASSERT_EQ(static_cast<std::int64_t>(demos[0].bytes.size()), kKpg16dLayoutEnd);

  struct CodeRange {
    int first;
    int last;
  };
  const CodeRange kSourceRanges[] = {{6721, 6799}, {6800, 7039}, {7040, 7119}};
  auto count_in_use = [](const Bytes& bytes, auto&& matches) {
    int count = 0;
    for (int block = 0; block < kKpg16dBlockCount; ++block) {
      if (!InUse(bytes, block)) continue;
      for (int slot = Kpg16dBlock::kFirstSlot; slot <= Kpg16dBlock::kLastSlot; ++slot) {
        if (matches(CodeAt(bytes, block, slot))) ++count;
      }
    }
    return count;
  };
  for (const CodeRange& range : kSourceRanges) {
    EXPECT_GT(count_in_use(demos[0].bytes,
                           [&](int code) { return code >= range.first && code <= range.last; }),
              0)
        << range.first;
  }
  auto in_any_range = [](int code) { return code >= 6721 && code <= 7119; };
  EXPECT_GT(
      count_in_use(demos[0].bytes, [&](int code) { return code != 0 && !in_any_range(code); }), 0);

  const testing::HandlerRun run = RunHandler(Tk431Handler, demos[0].bytes, ".900");
  EXPECT_EQ(Lines(run.output), kCompletedDialogue);
  EXPECT_EQ(count_in_use(run.bytes, in_any_range), 0);
  EXPECT_NE(run.bytes, demos[0].bytes);
}

}  // namespace
}  // namespace rfretune
