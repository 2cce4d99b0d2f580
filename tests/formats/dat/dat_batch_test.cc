// The .DAT handler: recognition, the batch of both variants over whole
// files, and the refusals of files it cannot use.
#include "formats/dat/dat_batch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/dat/dat_walk.h"
#include "tests/formats/dat/dat_test_support.h"

namespace rfretune {
namespace {

using testing::FileExists;
using testing::HandlerRun;
using testing::Lines;
using testing::Record;
using testing::RunDat;
using testing::RunHandler;
using testing::ScriptedConsole;
using testing::TempDir;
using testing::Transcript;

const DatVariantDescription& k49 = kKpg49dDescription;
const DatVariantDescription& k35 = kKpg35dDescription;

struct OneRecordCase {
  const DatVariantDescription* variant;
  const char* receive;
  const char* transmit;
  std::uint8_t receive_attribute;
  std::uint8_t transmit_attribute;
  const char* receive_after;
  const char* transmit_after;
  std::uint8_t receive_attribute_after;
  std::uint8_t transmit_attribute_after;
  float changes;
};

DatImage OneRecord(const DatVariantDescription& variant, const char* receive, const char* transmit,
                   std::uint8_t receive_attribute, std::uint8_t transmit_attribute) {
  DatImage image(variant, 400);
  image.AddSystem(7, 300,
                  {Record(variant, 12, receive, transmit, receive_attribute, transmit_attribute)});
  return image;
}

TEST(DatBatchTest, OneRecordWholeFile) {
  const OneRecordCase cases[] = {
      {&k49, "935.1250", "896.1250", 51, 51, "927.1250", "902.1250", 50, 50, 2},
      // Receive rules for receive frequencies only, and transmit rules for
      // transmit frequencies only.
      {&k49, "896.5000", "935.5000", 51, 52, "896.5000", "935.5000", 50, 52, 0},
      {&k49, "927.0000", "900.5000", 50, 50, "927.0000", "903.5000", 50, 50, 1},
      {&k49, "939.9875", "901.0000", 52, 51, "926.9875", "901.0000", 52, 50, 1},
      {&k49, "936.0125", "897.3000", 50, 50, "919.0125", "907.3000", 50, 50, 2},
      {&k49, "937.9875", "898.0000", 50, 50, "920.9875", "908.0000", 50, 50, 2},
      {&k49, "938.5000", "899.9875", 50, 50, "921.5000", "909.9875", 50, 50, 2},
      {&k49, "000.0000", "000.0000", 51, 51, "000.0000", "000.0000", 50, 50, 0},
      {&k35, "935.1250", "896.1250", 0, 0, "927.1250", "902.1250", 0, 0, 2},
      // Both roles move alike.
      {&k35, "896.5000", "935.5000", 0, 0, "902.5000", "927.5000", 0, 0, 2},
      {&k35, "900.0000", "900.0000", 0, 0, "903.0000", "903.0000", 0, 0, 2},
      {&k35, "939.9875", "899.9875", 0, 0, "926.9875", "909.9875", 0, 0, 2},
      {&k35, "936.5000", "897.5000", 0, 0, "919.5000", "907.5000", 0, 0, 2},
      {&k35, "937.0125", "898.0125", 0, 0, "920.0125", "908.0125", 0, 0, 2},
      {&k35, "938.5000", "935.0000", 0, 0, "921.5000", "927.0000", 0, 0, 2},
      // Outside the move table nothing moves and nothing is counted.
      {&k35, "851.0000", "435.0000", 0, 0, "851.0000", "435.0000", 0, 0, 0},
      {&k35, "800.0000", "000.0000", 0, 0, "800.0000", "000.0000", 0, 0, 0},
      {&k35, "901.0000", "927.5000", 0, 0, "901.0000", "927.5000", 0, 0, 0},
  };
  for (const OneRecordCase& c : cases) {
    SCOPED_TRACE(std::string(c.variant->name) + " " + c.receive + " " + c.transmit);
    const DatImage before =
        OneRecord(*c.variant, c.receive, c.transmit, c.receive_attribute, c.transmit_attribute);
    const DatImage after = OneRecord(*c.variant, c.receive_after, c.transmit_after,
                                     c.receive_attribute_after, c.transmit_attribute_after);
    const HandlerRun run = RunDat(before, "", false);
    EXPECT_TRUE(run.result.completed);
    EXPECT_EQ(run.bytes, after.Bytes());
    EXPECT_EQ(run.change_count, c.changes);
  }
}

// Several systems, absent ones with records behind them, a trunked system,
// an empty one and system 32; the expected file is the same build with the
// moved frequencies.
struct ManySystems {
  DatImage before;
  DatImage after;
};

ManySystems BuildManySystems(const DatVariantDescription& v) {
  ManySystems files{DatImage(v, 900), DatImage(v, 900)};
  for (int pass = 0; pass < 2; ++pass) {
    const bool moved = pass == 1;
    DatImage& image = moved ? files.after : files.before;
    const std::uint8_t attribute = moved ? 50 : 51;
    image.AddSystem(
        1, 200,
        {Record(v, 1, moved ? "927.1250" : "935.1250", moved ? "902.1250" : "896.1250", attribute,
                attribute),
         Record(v, 2, "910.0000", "911.0000", attribute, 52),
         Record(v, 3, moved ? "920.5000" : "937.5000", moved ? "908.2500" : "898.2500")});
    // Absent by its low byte: the record at its would-be base stays.
    image.AddSystem(2, 306, {Record(v, 1, "935.0000", "896.0000", 51, 51)});
    image.SetEntry(2, kDatAbsentSystemByte, 0);
    image.SetEntry(3, 0, kDatAbsentSystemByte);
    image.AddSystem(5, 400,
                    {Record(v, 9, moved ? "926.0000" : "939.0000", moved ? "903.0000" : "900.0000",
                            attribute, attribute)},
                    /*trunked=*/true);
    image.AddSystem(6, 500, {});
    image.AddSystem(
        32, 600,
        {Record(v, 240, moved ? "919.9875" : "936.9875", moved ? "909.0125" : "899.0125"),
         Record(v, 1, moved ? "921.0000" : "938.0000", "927.0000")});
  }
  return files;
}

TEST(DatBatchTest, EveryRecordOfEveryPresentSystemAndTheReportInBothModes) {
  const struct {
    const DatVariantDescription* variant;
    const char* transcript;
  } cases[] = {
      {&k49,
       "Processing data file for TK-x81 built using KPG49D..\n"
       "{To enter Spotedit mode enter E, For Normal batch Hit Enter.}"
       "Processing Complete.  9 Chanage(s) made.\n"},
      {&k35,
       "Processing data file for TK-481 built using KPG35D..\n"
       "{To enter Spotedit mode enter E, For Normal batch Hit Enter.}"
       "Processing Complete. 9 Change(s) made.\n"},
  };
  for (const auto& c : cases) {
    for (bool interactive : {false, true}) {
      SCOPED_TRACE(std::string(c.variant->name) + (interactive ? " interactive" : ""));
      const ManySystems files = BuildManySystems(*c.variant);
      const HandlerRun run = RunDat(files.before, "\n", interactive);
      EXPECT_TRUE(run.result.completed);
      EXPECT_EQ(run.bytes, files.after.Bytes());
      EXPECT_EQ(run.change_count, 9);
      EXPECT_EQ(Lines(run.output), Transcript(c.transcript, interactive));
      EXPECT_EQ(run.lines_read, 1);
    }
  }
}

TEST(DatBatchTest, SecondBatchChangesNothing) {
  for (const DatVariantDescription* variant : kDatVariants) {
    SCOPED_TRACE(variant->name);
    const ManySystems files = BuildManySystems(*variant);
    const HandlerRun first = RunDat(files.before, "", false);
    const HandlerRun second = RunHandler(DatHandler, first.bytes, ".dat", "", false);
    EXPECT_EQ(second.bytes, first.bytes);
    EXPECT_EQ(second.change_count, 0);
    EXPECT_NE(Lines(second.output).find(" 0 Ch"), std::string::npos) << second.output;
  }
}

TEST(DatBatchTest, Kpg35dNeverWritesTheBytesWhereKpg49dKeepsAttributes) {
  DatImage image(k35, 400);
  image.AddSystem(1, 200, {Record(k35, 1, "935.0000", "896.0000")});
  const std::int64_t origin = image.RecordOrigin(1, 0);
  image.SetByte(DatAttributeOffset(origin, DatRole::kReceive), 51)
      .SetByte(DatAttributeOffset(origin, DatRole::kTransmit), 51);
  DatImage expected = image;
  expected.SetFrequency(1, 0, DatRole::kReceive, DatCode(k35, "927.0000"))
      .SetFrequency(1, 0, DatRole::kTransmit, DatCode(k35, "902.0000"));
  const HandlerRun run = RunDat(image, "", false);
  EXPECT_EQ(run.bytes, expected.Bytes());
  EXPECT_EQ(run.change_count, 2);
}

TEST(DatBatchTest, AllSystemsAbsentLeavesTheFileAsItWas) {
  const struct {
    const DatVariantDescription* variant;
    const char* output;
  } cases[] = {
      {&k49,
       "Processing data file for TK-x81 built using KPG49D..\n"
       "Processing Complete.  0 Chanage(s) made.\n"},
      {&k35,
       "Processing data file for TK-481 built using KPG35D..\n"
       "Processing Complete. 0 Change(s) made.\n"},
  };
  for (const auto& c : cases) {
    const DatImage image(*c.variant, 300);
    const HandlerRun run = RunDat(image, "", false);
    EXPECT_TRUE(run.result.completed);
    EXPECT_EQ(run.bytes, image.Bytes());
    EXPECT_EQ(Lines(run.output), c.output);
  }
}

TEST(DatBatchTest, RecordsNotWhollyInsideTheFileAreLeftAlone) {
  for (const DatVariantDescription* variant : kDatVariants) {
    SCOPED_TRACE(variant->name);
    const DatVariantDescription& v = *variant;
    // Record 1 (origin 232) ends one byte past the end of the file: its
    // receive frequency lies inside, but it is not converted or counted.
    DatImage image(v, 1000);
    image.AddSystem(
        1, 200,
        {Record(v, 1, "935.0000", "896.0000", 51, 51), Record(v, 2, "935.0000", "896.0000", 51, 51),
         Record(v, 3, "935.0000", "896.0000", 51, 51)});
    image.Resize(232 + 31 + DatRecordUsedSize(v) - 1);
    DatImage expected = image;
    expected.SetFrequency(1, 0, DatRole::kReceive, DatCode(v, "927.0000"))
        .SetFrequency(1, 0, DatRole::kTransmit, DatCode(v, "902.0000"));
    if (v.has_attributes) {
      expected.SetByte(DatAttributeOffset(200, DatRole::kReceive), 50)
          .SetByte(DatAttributeOffset(200, DatRole::kTransmit), 50);
    }
    const HandlerRun run = RunDat(image, "", false);
    EXPECT_EQ(run.bytes, expected.Bytes());
    EXPECT_EQ(run.change_count, 2);
  }
}

TEST(DatBatchTest, GroupCountOutsideTheFileMeansNoRecords) {
  // KPG35D keeps the count of system 32 at 145; a file of 145 bytes lacks
  // it, although the system's record (131 to 139) lies inside.
  DatImage image(k35, 200);
  image.AddSystem(32, 100, {Record(k35, 1, "935.0000", "896.0000")});
  DatImage short_file = image;
  short_file.Resize(145);
  const HandlerRun run = RunDat(short_file, "", false);
  EXPECT_EQ(run.bytes, short_file.Bytes());
  EXPECT_EQ(run.change_count, 0);
  image.Resize(146);  // now the count is inside and the record is found
  EXPECT_EQ(RunDat(image, "", false).change_count, 2);
}

TEST(DatHandlerTest, FileOfNeitherVariantIsNotSupportedAndUntouched) {
  const struct {
    std::int64_t size;
    std::uint8_t third;
    std::uint8_t fourth;
  } cases[] = {{300, '4', '8'}, {300, '5', '3'}, {4, '4', '9'}, {0, 0, 0}};
  for (const auto& c : cases) {
    for (bool interactive : {false, true}) {
      DatImage image(k49, c.size);
      image.SetByte(3, c.third).SetByte(4, c.fourth);
      const HandlerRun run = RunDat(image, "E\n1\n", interactive);
      EXPECT_FALSE(run.result.completed);
      EXPECT_FALSE(run.result.file_error.has_value());
      EXPECT_EQ(Lines(run.output), "File not supported...\n");
      EXPECT_EQ(run.bytes, image.Bytes());
      EXPECT_EQ(run.lines_read, 0);
    }
  }
}

TEST(DatHandlerTest, MissingFileIsReportedAndNotCreated) {
  TempDir dir;
  const std::string name = dir.Path() + "/absent.DAT";
  ScriptedConsole scripted("\n", false);
  float change_count = 0;
  HandlerContext context{scripted.console, name, change_count};
  const HandlerResult result = DatHandler(context);
  EXPECT_FALSE(result.completed);
  ASSERT_TRUE(result.file_error.has_value());
  EXPECT_EQ(result.file_error->kind, FileErrorKind::kNotFound);
  EXPECT_EQ(scripted.Output(), "");
  EXPECT_FALSE(FileExists(name));
}

TEST(DatHandlerTest, FolderIsRefused) {
  TempDir dir;
  const std::string name = dir.Path() + "/folder.dat";
  ASSERT_EQ(mkdir(name.c_str(), 0755), 0);
  ScriptedConsole scripted("\n", false);
  float change_count = 0;
  HandlerContext context{scripted.console, name, change_count};
  const HandlerResult result = DatHandler(context);
  ASSERT_TRUE(result.file_error.has_value());
  EXPECT_EQ(result.file_error->kind, FileErrorKind::kCannotOpen);
  EXPECT_EQ(scripted.Output(), "");
}

TEST(DatHandlerTest, UnwritableFileIsRefusedUntouched) {
  const DatImage image = BuildManySystems(k49).before;
  TempDir dir;
  const std::string name = dir.Write("radio.dat", image.Bytes());
  testing::UnwritableFile locked(name);
  if (!locked.Made()) GTEST_SKIP() << "cannot make a file unwritable here";
  ScriptedConsole scripted("\n", false);
  float change_count = 0;
  HandlerContext context{scripted.console, name, change_count};
  const HandlerResult result = DatHandler(context);
  ASSERT_TRUE(result.file_error.has_value());
  EXPECT_EQ(result.file_error->kind, FileErrorKind::kCannotWrite);
  EXPECT_EQ(scripted.Output(), "");
  EXPECT_EQ(testing::ReadFileBytes(name), image.Bytes());
}

TEST(DatHandlerTest, OnlyExactlyEEntersSpotedit) {
  const struct {
    const char* answer;
    bool spotedit;
  } cases[] = {{"E", true},   {"e", true},   {"  e", true}, {"", false},
               {"E ", false}, {"EE", false}, {"x", false},  {"0", false}};
  for (const auto& c : cases) {
    for (const DatVariantDescription* variant : kDatVariants) {
      const DatImage image(*variant, 300);
      const HandlerRun run = RunDat(image, std::string(c.answer) + "\n0\n", false);
      const std::string output = Lines(run.output);
      const bool editor = output.find("RFRETUNE-Spotedit") != std::string::npos;
      EXPECT_EQ(editor, c.spotedit) << "answer '" << c.answer << "'";
      EXPECT_EQ(run.lines_read, c.spotedit ? 2 : 1);
      EXPECT_TRUE(run.result.completed);
    }
  }
}

TEST(DatDemoFilesTest, OneFileOfEachVariantThatTheBatchConverts) {
  const std::vector<DemoFile> files = DatDemoFiles();
  ASSERT_EQ(files.size(), 2u);
  const struct {
    const char* name;
    const DatVariantDescription* variant;
  } expected[] = {{"kpg49d.dat", &k49}, {"kpg35d.dat", &k35}};
  for (std::size_t k = 0; k < files.size(); ++k) {
    SCOPED_TRACE(files[k].name);
    EXPECT_EQ(files[k].name, expected[k].name);
    const HandlerRun first = RunHandler(DatHandler, files[k].bytes, ".dat", "", false);
    EXPECT_TRUE(first.result.completed);
    EXPECT_EQ(Lines(first.output).rfind(expected[k].variant->processing_line, 0), 0u);
    EXPECT_EQ(first.change_count, 14);
    const HandlerRun second = RunHandler(DatHandler, first.bytes, ".dat", "", false);
    EXPECT_EQ(second.change_count, 0);
    EXPECT_EQ(second.bytes, first.bytes);
  }
}

}  // namespace
}  // namespace rfretune
