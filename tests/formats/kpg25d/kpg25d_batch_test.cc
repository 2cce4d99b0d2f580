#include "formats/kpg25d/kpg25d_batch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "formats/kpg25d/kpg25d.h"
#include "formats/kpg25d/kpg25d_image.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::Bytes;
using testing::FileExists;
using testing::Lines;
using testing::RunHandler;
using testing::ScriptedConsole;
using testing::TempDir;

struct RuleCase {
  const char* what;
  int low, high, flags;
  std::optional<Kpg25dMovedRecord> moved;
};

void CheckRule(std::optional<Kpg25dMovedRecord> (*rule)(int, int, int), const RuleCase& c) {
  SCOPED_TRACE(c.what);
  const auto moved = rule(c.low, c.high, c.flags);
  ASSERT_EQ(moved.has_value(), c.moved.has_value());
  if (moved) {
    EXPECT_EQ(moved->low, c.moved->low);
    EXPECT_EQ(moved->high, c.moved->high);
    EXPECT_EQ(moved->flags, c.moved->flags);
  }
}

TEST(ConvertTk941Record, MovesEachBlockByItsNormalOrAlternativeShift) {
  const RuleCase cases[] = {
      {"935.0000 stays", 64, 154, 0x06, std::nullopt},
      {"935.0125 normal", 65, 154, 0x00, {{193, 151, 0x00}}},
      {"935.0125 alternative", 65, 154, 0x06, {{241, 143, 0x04}}},
      {"935.0125 bit 1 alone", 65, 154, 0x02, {{193, 151, 0x02}}},
      {"935.0125 bit 2 alone", 65, 154, 0x04, {{193, 151, 0x04}}},
      {"935.9875 normal", 143, 154, 0x00, {{15, 152, 0x00}}},             // 927.9875
      {"935.9875 alternative", 143, 154, 0x06, {{63, 144, 0x04}}},        // 902.9875
      {"936.0000 normal, no borrow", 144, 154, 0x00, {{64, 149, 0x00}}},  // 919.0000
      {"936.0000 alternative", 144, 154, 0x06, {{128, 145, 0x04}}},       // 907.0000
      {"937.4000 normal, borrow", 0, 155, 0x00, {{176, 149, 0x00}}},      // 920.4000
      {"937.4000 alternative, other bits kept", 0, 155, 0xFF, {{240, 145, 0xFD}}},
      {"938.9875 normal", 127, 155, 0x00, {{47, 150, 0x00}}},        // 921.9875
      {"939.0000 normal", 128, 155, 0x00, {{112, 151, 0x00}}},       // 926.0000
      {"939.0000 alternative", 128, 155, 0x06, {{64, 144, 0x04}}},   // 903.0000
      {"939.9875 normal", 207, 155, 0x00, {{191, 151, 0x00}}},       // 926.9875
      {"939.9875 alternative", 207, 155, 0x0E, {{143, 144, 0x0C}}},  // 903.9875
      {"940.0000 stays", 208, 155, 0x06, std::nullopt},
      {"934.9875 stays", 63, 154, 0x00, std::nullopt},
      {"902.0000 stays", 0xF0, 0x8F, 0x06, std::nullopt},
      {"code 0 stays", 0, 0, 0x06, std::nullopt},
      {"trunked code stays", 0x10, 0xFF, 0x06, std::nullopt},
  };
  for (const RuleCase& c : cases) CheckRule(ConvertTk941Record, c);
}

TEST(ConvertTk941Record, MovesExactly935To940IntoTheBandKeepingOtherFlagBits) {
  for (int code = 0; code <= 0xFFFF; ++code) {
    for (int flags : {0x00, 0x02, 0x04, 0x06, 0xF9, 0xFF}) {
      const auto moved = ConvertTk941Record(code & 0xFF, code >> 8, flags);
      ASSERT_EQ(moved.has_value(), code >= 39489 && code <= 39887) << code;
      if (!moved) continue;
      const int target = moved->low + 256 * moved->high;
      ASSERT_GE(target, 36848) << code;
      ASSERT_LE(target, 38928) << code;
      ASSERT_EQ(moved->flags | 0x02, flags | 0x02) << code;
    }
  }
}

TEST(ConvertTk940Record, MovesOnly851To870UpAndKeepsTheFlags) {
  const RuleCase cases[] = {
      {"851.0000", 0x00, 128, 0x06, {{240, 143, 0x06}}},  // 902.0000
      {"859.9875", 207, 130, 0x02, {{191, 146, 0x02}}},   // 910.9875
      {"860.0000", 208, 130, 0x00, {{240, 148, 0x00}}},   // 918.0000
      {"870.1875", 255, 133, 0xFF, {{31, 152, 0xFF}}},    // 928.1875
      {"870.2000 stays", 0, 134, 0x00, std::nullopt},
      {"850.9875 stays", 255, 127, 0x00, std::nullopt},
      {"code 0 stays", 0, 0, 0x00, std::nullopt},
      {"809.0000 stays", 224, 114, 0x00, std::nullopt},  // 29408
      {"819.1875 stays", 15, 118, 0x00, std::nullopt},   // 30223
  };
  for (const RuleCase& c : cases) CheckRule(ConvertTk940Record, c);

  for (int code = 0; code <= 0xFFFF; ++code) {
    const auto moved = ConvertTk940Record(code & 0xFF, code >> 8, 0x5A);
    ASSERT_EQ(moved.has_value(), code >= 32768 && code <= 34303) << code;
    if (moved) {
      ASSERT_EQ(moved->flags, 0x5A) << code;
    }
  }
}

// Two systems, an empty slot between them, a trunked one, and records in and
// out of both families' source blocks. Offsets of the records:
//   system 1: 278, 297, 316, 335, 354, 373
//   system 4: 500, 519, 538
Kpg25dImage BatchFixture() {
  Kpg25dImage image(600);
  image.AddSystem(0, 278,
                  {
                      {1, 39489, 0x06},  // 935.0125
                      {2, 39680, 0x00},  // 937.4000
                      {3, 39888, 0x06},  // 940.0000
                      {4, 32768, 0x02},  // 851.0000
                      {5, 34303, 0x00},  // 870.1875
                      {6, 29408, 0x00},  // 809.0000
                  });
  image.AddSystem(2, 440, {{1, 0xFF20, 0x00}});  // trunked: not tested by a batch
  image.AddSystem(3, 500,
                  {
                      {9, 39887, 0x02},   // 939.9875
                      {9, 38448, 0x06},   // 922.0000
                      {10, 39568, 0x0E},  // 936.0000
                  });
  return image;
}

TEST(Tk941Handler, BatchMovesEveryRecordOf935To940AndCountsThem) {
  Kpg25dImage expected = BatchFixture();
  expected
      .SetCode(278, 36849, 0x04)   // 902.0125, alternative
      .SetCode(297, 38320, 0x00)   // 920.4000
      .SetCode(500, 38847, 0x02)   // 926.9875
      .SetCode(538, 37248, 0x0C);  // 907.0000, alternative
  for (bool interactive : {false, true}) {
    SCOPED_TRACE(interactive);
    const auto run = RunHandler(Tk941Handler, BatchFixture().Bytes(), ".910", "\n", interactive);
    EXPECT_TRUE(run.result.completed);
    EXPECT_EQ(run.bytes, expected.Bytes());
    EXPECT_EQ(run.change_count, 4);
    EXPECT_EQ(
        Lines(run.output),
        std::string("Processing data file for TK-941..\n") +
            (interactive ? "To enter Spotedit mode enter E, For Normal batch Hit Enter.? \n" : "") +
            "Processing Complete. 4 Change(s) made.\n");
  }
}

TEST(Tk941Handler, BatchReportsZeroWhenNothingIsIn935To940) {
  Kpg25dImage image(400);
  image.AddSystem(0, 278, {{1, 39488, 0x06}, {2, 39888, 0x06}, {3, 36848, 0x00}});
  const auto run = RunHandler(Tk941Handler, image.Bytes(), ".910", "");
  EXPECT_EQ(run.bytes, image.Bytes());
  EXPECT_EQ(Lines(run.output),
            "Processing data file for TK-941..\nProcessing Complete. 0 Change(s) made.\n");
}

TEST(Tk941Handler, BatchLeavesARecordCutShortByTheEndOfTheFile) {
  // The second record's flag byte would be at offset 306, one past the end.
  Kpg25dImage image(306);
  image.AddSystem(0, 278, {{1, 39489, 0x00}, {2, 39489, 0x00}});
  Kpg25dImage expected = image;
  expected.SetCode(278, 38849, 0x00);
  const auto run = RunHandler(Tk941Handler, image.Bytes(), ".910", "");
  EXPECT_EQ(run.bytes, expected.Bytes());
  EXPECT_EQ(run.change_count, 1);
}

TEST(Tk941Handler, ModeAnswerEOrLowerCaseEOnlyEntersSpotedit) {
  const struct {
    const char* answer;
    bool spotedit;
  } cases[] = {
      {"E", true},  {"e", true},   {"   e", true}, {"\tE", true},   {"", false},
      {"x", false}, {"e ", false}, {"EE", false},  {"Edit", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    // In Spotedit the 0 ends the editor; in the batch it is never read.
    const auto run = RunHandler(Tk941Handler, BatchFixture().Bytes(), ".910",
                                std::string(c.answer) + "\n0", true);
    EXPECT_EQ(run.output.find("RFRETUNE-Spotedit (TK-941)") != std::string::npos, c.spotedit);
    EXPECT_EQ(run.change_count, c.spotedit ? 0 : 4);
    EXPECT_EQ(run.bytes == BatchFixture().Bytes(), c.spotedit);
  }
}

TEST(Tk940Handler, BatchMoves851To870UpWithoutCountingOrAsking) {
  Kpg25dImage expected = BatchFixture();
  expected
      .SetCode(335, 36848, 0x02)   // 902.0000
      .SetCode(354, 38943, 0x00);  // 928.1875
  for (bool interactive : {false, true}) {
    SCOPED_TRACE(interactive);
    const auto run = RunHandler(Tk940Handler, BatchFixture().Bytes(), ".810", "", interactive);
    EXPECT_TRUE(run.result.completed);
    EXPECT_EQ(run.bytes, expected.Bytes());
    EXPECT_EQ(run.change_count, 0);
    EXPECT_EQ(run.lines_read, 0);
    EXPECT_EQ(Lines(run.output), "Processing data file for TK-940..\nProcess Complete\n");
  }
}

TEST(Kpg25dHandlers, RefuseAFileTheyCannotUseAndCreateNothing) {
  const struct {
    Handler handler;
    const char* first_line;
  } handlers[] = {
      {Tk941Handler, "Processing data file for TK-941..\n"},
      {Tk940Handler, "Processing data file for TK-940..\n"},
  };
  for (const auto& h : handlers) {
    TempDir dir;
    const std::string missing = dir.Path() + "/missing.910";
    for (const auto& [name, kind] : {std::pair{missing, FileErrorKind::kNotFound},
                                     std::pair{dir.Path(), FileErrorKind::kCannotOpen}}) {
      SCOPED_TRACE(name);
      ScriptedConsole scripted("E\n1\n", true);
      float change_count = 0;
      HandlerContext context{scripted.console, name, change_count};
      const HandlerResult result = h.handler(context);
      EXPECT_FALSE(result.completed);
      ASSERT_TRUE(result.file_error.has_value());
      EXPECT_EQ(result.file_error->kind, kind);
      EXPECT_EQ(Lines(scripted.Output()), h.first_line);
      EXPECT_EQ(scripted.input.LinesRead(), 0);
    }
    EXPECT_FALSE(FileExists(missing));
  }
}

TEST(Kpg25dHandlers, RefuseAReadOnlyFileUntouched) {
  TempDir dir;
  const std::string name = dir.Write("locked.910", BatchFixture().Bytes());
  testing::UnwritableFile locked(name);
  if (!locked.Made()) GTEST_SKIP() << "cannot make a file unwritable here";
  for (Handler handler : {Tk941Handler, Tk940Handler}) {
    ScriptedConsole scripted("", false);
    float change_count = 0;
    HandlerContext context{scripted.console, name, change_count};
    const HandlerResult result = handler(context);
    ASSERT_TRUE(result.file_error.has_value());
    EXPECT_EQ(result.file_error->kind, FileErrorKind::kCannotWrite);
    EXPECT_EQ(change_count, 0);
    EXPECT_EQ(testing::ReadFileBytes(name), BatchFixture().Bytes());
  }
}

TEST(Kpg25dDemoFiles, ConvertAsTheirCommentsSay) {
  const std::vector<DemoFile> demos = Kpg25dDemoFiles();
  ASSERT_EQ(demos.size(), 2u);
  EXPECT_EQ(demos[0].name, "radio.910");
  EXPECT_EQ(demos[1].name, "radio.810");

  // System 1 at 278, system 4 at 520; system 3 at 460 is trunked.
  Bytes want910 = demos[0].bytes;
  const struct {
    std::int64_t offset;
    int code;
    int flags;
  } moves910[] = {
      {278, 38849, 0x00}, {297, 36927, 0x04}, {316, 38208, 0x02}, {335, 38320, 0x00},
      {354, 38768, 0x04}, {373, 37007, 0x04}, {520, 37408, 0x04},
  };
  for (const auto& m : moves910) {
    want910[m.offset + 1] = m.code & 0xFF;
    want910[m.offset + 2] = m.code >> 8;
    want910[m.offset + 9] = m.flags;
  }
  const auto run910 = RunHandler(Tk941Handler, demos[0].bytes, ".910", "");
  EXPECT_EQ(run910.bytes, want910);
  EXPECT_EQ(Lines(run910.output),
            "Processing data file for TK-941..\nProcessing Complete. 7 Change(s) made.\n");

  Bytes want810 = demos[1].bytes;
  const struct {
    std::int64_t offset;
    int code;
  } moves810[] = {{278, 36848}, {297, 36849}, {316, 37567},
                  {335, 38128}, {354, 38943}, {520, 37168}};
  for (const auto& m : moves810) {
    want810[m.offset + 1] = m.code & 0xFF;
    want810[m.offset + 2] = m.code >> 8;
  }
  EXPECT_EQ(RunHandler(Tk940Handler, demos[1].bytes, ".810", "").bytes, want810);
}

}  // namespace
}  // namespace rfretune
