#include "formats/kpg5d/kpg5d.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/kpg5d/kpg5d_conversion.h"
#include "formats/kpg5d/kpg5d_image.h"
#include "formats/kpg5d/kpg5d_layout.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::Bytes;
using testing::Lines;
using testing::RunHandler;

// Unnamed bytes of the fixtures hold this code in every byte pair: it lies
// in range A, so a read or write at any position the layout does not name
// would show as a changed byte.
constexpr std::uint16_t kStrayCode = 32000;
// Codes the fixtures leave alone hold the code just above range B.
constexpr std::uint16_t kOutsideCode = 33232;

Kpg5dCodeBytes BytesOf(int code) {
  return {.low = static_cast<std::uint8_t>(code & 0xFF),
          .high = static_cast<std::uint8_t>(code >> 8)};
}

// ---------------------------------------------------------------------------
// The code rule.

struct CodeCase {
  const char* what;
  int code;
  int expected;
};

const CodeCase kCodeCases[] = {
    {"31712 lies below range A", 31712, 31712},
    {"range A first code", 31713, 35793},
    {"range A last code", 32431, 36511},
    {"range B first code", 32432, 37072},
    {"range B last code", 33231, 37871},
    {"33232 lies above range B", 33232, 33232},
    {"code 0", 0, 0},
    {"code 65535", 65535, 65535},
    {"a code already in the band", 36000, 36000},
};

TEST(ConvertKpg5dCodeTest, RangeEdgesAndShifts) {
  for (const CodeCase& c : kCodeCases) {
    EXPECT_EQ(ConvertKpg5dCode(BytesOf(c.code)), BytesOf(c.expected)) << c.what;
  }
}

TEST(ConvertKpg5dCodeTest, LowByteCarriesIntoHighByte) {
  // 225 + 240 passes 255; 176 + 32 does not.
  EXPECT_EQ(ConvertKpg5dCode({.low = 225, .high = 123}), (Kpg5dCodeBytes{.low = 209, .high = 139}));
  EXPECT_EQ(ConvertKpg5dCode({.low = 176, .high = 126}), (Kpg5dCodeBytes{.low = 208, .high = 144}));
}

TEST(ConvertKpg5dCodeTest, OnlyRangeCodesShiftAndNoneShiftsTwice) {
  for (int code = 0; code <= 0xFFFF; ++code) {
    const Kpg5dCodeBytes converted = ConvertKpg5dCode(BytesOf(code));
    const int value = converted.low + 256 * converted.high;
    ASSERT_EQ(value != code, code >= 31713 && code <= 33231) << code;
    if (value == code) continue;
    ASSERT_GE(value, 35793) << code;
    ASSERT_EQ(ConvertKpg5dCode(converted), converted) << code;
  }
}

// ---------------------------------------------------------------------------
// The two converters: one set of cases over both layouts.

struct ModelCase {
  const char* name;
  Handler handler;
  Kpg5dModel model;
  const char* ending;
  const char* dialogue;
};

const ModelCase kModelCases[] = {
    {"Tk930", Tk930Handler, Kpg5dModel::kTk930, ".B80",
     "Processing data file for TK-930..\nProcess Complete\n"},
    {"Tk930Hd", Tk930HdHandler, Kpg5dModel::kTk930Hd, ".F80",
     "Processing data file for TK-930HD..\nProcess Complete\n"},
};

class Kpg5dHandlerTest : public ::testing::TestWithParam<ModelCase> {
 protected:
  const Kpg5dLayout& Layout() const { return Kpg5dLayoutOf(GetParam().model); }
  testing::HandlerRun Run(const Bytes& image) const {
    return RunHandler(GetParam().handler, image, GetParam().ending);
  }
};

// Records and codes counted from the end when negative, so that one table
// reaches the last code of both layouts.
struct FileCode {
  int record;
  int index;
  std::uint16_t code;
  std::uint16_t expected;
};

const FileCode kFileCodes[] = {
    {0, 0, 31713, 35793},  {0, 1, 32431, 36511},  {0, 2, 32432, 37072},   {0, 3, 33231, 37871},
    {1, 0, 31712, 31712},  {1, 1, 0, 0},          {1, 2, 65535, 65535},   {1, 3, 36511, 36511},
    {2, -1, 32000, 36080}, {-1, 0, 33000, 37640}, {-1, -1, 31800, 35880},
};

Bytes FileImage(const Kpg5dLayout& layout, bool converted) {
  Kpg5dImage image(layout, kOutsideCode, kStrayCode);
  for (const FileCode& c : kFileCodes) {
    const int record = c.record < 0 ? layout.record_count + c.record : c.record;
    const int index = c.index < 0 ? layout.codes_per_record + c.index : c.index;
    image.SetCode(record, index, converted ? c.expected : c.code);
  }
  // Bytes past the last code are no part of the layout.
  image.AppendFiller(30);
  return image.Bytes();
}

TEST_P(Kpg5dHandlerTest, ConvertsEveryRangeCodeAndKeepsEveryOtherByte) {
  const testing::HandlerRun run = Run(FileImage(Layout(), false));
  EXPECT_TRUE(run.result.completed);
  EXPECT_FALSE(run.result.file_error);
  EXPECT_EQ(Lines(run.output), GetParam().dialogue);
  EXPECT_EQ(run.change_count, 0);
  EXPECT_EQ(run.lines_read, 0);
  EXPECT_EQ(run.bytes, FileImage(Layout(), true));
}

TEST_P(Kpg5dHandlerTest, SecondRunChangesNothing) {
  const Bytes once = Run(FileImage(Layout(), false)).bytes;
  ASSERT_EQ(once, FileImage(Layout(), true));
  const testing::HandlerRun again = Run(once);
  EXPECT_EQ(Lines(again.output), GetParam().dialogue);
  EXPECT_EQ(again.bytes, once);
}

// A file cut short: every code holds 31713. The file ends `kept_bytes` bytes
// into the code at (record, index): the codes before it are converted, that
// code only when both its bytes are inside, and the file keeps its length.
struct ShortFileCase {
  const char* what;
  int record;
  int index;
  int kept_bytes;
};

const ShortFileCase kShortFileCases[] = {
    {"ends right before the first code", 0, 0, 0},
    {"ends inside the first code", 0, 0, 1},
    {"ends right after the first code", 0, 0, 2},
    {"ends inside a code of the second record", 1, 2, 1},
    {"ends right before the first code of the second record", 1, 0, 0},
    {"ends inside the last code", -1, -1, 1},
};

Bytes ShortImage(const Kpg5dLayout& layout, std::int64_t size, int converted_codes) {
  Kpg5dImage image(layout, 31713, kStrayCode);
  int n = 0;
  ForEachKpg5dCode(layout, [&](int record, int index, std::int64_t) {
    if (n++ < converted_codes) image.SetCode(record, index, 35793);
  });
  Bytes bytes = image.Bytes();
  bytes.resize(static_cast<std::size_t>(size));
  return bytes;
}

TEST_P(Kpg5dHandlerTest, ShortFileKeepsItsLengthAndTheCodeItCutsThrough) {
  const Kpg5dLayout& layout = Layout();
  for (const ShortFileCase& c : kShortFileCases) {
    const int record = c.record < 0 ? layout.record_count + c.record : c.record;
    const int index = c.index < 0 ? layout.codes_per_record + c.index : c.index;
    const std::int64_t size = Kpg5dCodeOffset(layout, record, index) + c.kept_bytes;
    const int converted = record * layout.codes_per_record + index + (c.kept_bytes == 2 ? 1 : 0);
    const testing::HandlerRun run = Run(ShortImage(layout, size, 0));
    EXPECT_TRUE(run.result.completed) << c.what;
    EXPECT_EQ(Lines(run.output), GetParam().dialogue) << c.what;
    EXPECT_EQ(run.bytes, ShortImage(layout, size, converted)) << c.what;
  }
  const testing::HandlerRun empty = Run({});
  EXPECT_TRUE(empty.result.completed);
  EXPECT_EQ(Lines(empty.output), GetParam().dialogue);
  EXPECT_EQ(empty.bytes, Bytes{});
}

struct DirectRun {
  HandlerResult result;
  std::string output;
};

DirectRun RunOn(Handler handler, const std::string& name) {
  testing::ScriptedConsole scripted("", false);
  float change_count = 0;
  HandlerContext context{scripted.console, name, change_count};
  DirectRun run{handler(context), ""};
  scripted.console.Flush();
  run.output = Lines(scripted.Output());
  EXPECT_EQ(change_count, 0);
  return run;
}

std::string FirstLine(const char* dialogue) {
  const std::string text = dialogue;
  return text.substr(0, text.find('\n') + 1);
}

TEST_P(Kpg5dHandlerTest, MissingFileIsReportedAndNotCreated) {
  testing::TempDir dir;
  const std::string name = dir.Path() + "/radio" + GetParam().ending;
  const DirectRun run = RunOn(GetParam().handler, name);
  EXPECT_FALSE(run.result.completed);
  ASSERT_TRUE(run.result.file_error);
  EXPECT_EQ(run.result.file_error->kind, FileErrorKind::kNotFound);
  EXPECT_EQ(run.output, FirstLine(GetParam().dialogue));
  EXPECT_FALSE(testing::FileExists(name));
}

TEST_P(Kpg5dHandlerTest, UnwritableFileIsRefusedUntouched) {
  testing::TempDir dir;
  const std::string name =
      dir.Write(std::string("radio") + GetParam().ending, FileImage(Layout(), false));
  testing::UnwritableFile locked(name);
  if (!locked.Made()) GTEST_SKIP() << "cannot make a file unwritable here";
  const DirectRun run = RunOn(GetParam().handler, name);
  EXPECT_FALSE(run.result.completed);
  ASSERT_TRUE(run.result.file_error);
  EXPECT_EQ(run.result.file_error->kind, FileErrorKind::kCannotWrite);
  EXPECT_EQ(run.output, FirstLine(GetParam().dialogue));
  EXPECT_EQ(testing::ReadFileBytes(name), FileImage(Layout(), false));
}

TEST_P(Kpg5dHandlerTest, DemoFileHoldsBothRangesAndConverts) {
  const std::vector<DemoFile> demos = Kpg5dDemoFiles();
  const std::string name = std::string("radio") + GetParam().ending;
  auto demo = std::find_if(demos.begin(), demos.end(),
                           [&](const DemoFile& file) { return file.name == name; });
  ASSERT_NE(demo, demos.end()) << name;
  ASSERT_EQ(static_cast<std::int64_t>(demo->bytes.size()), Kpg5dLayoutEnd(Layout()));

  auto count = [&](const Bytes& bytes, int first, int last) {
    int n = 0;
    ForEachKpg5dCode(Layout(), [&](int, int, std::int64_t offset) {
      const int code = bytes[static_cast<std::size_t>(offset)] |
                       bytes[static_cast<std::size_t>(offset) + 1] << 8;
      if (code >= first && code <= last) ++n;
    });
    return n;
  };
  EXPECT_GT(count(demo->bytes, 31713, 32431), 0);
  EXPECT_GT(count(demo->bytes, 32432, 33231), 0);
  EXPECT_GT(count(demo->bytes, 1, 31712) + count(demo->bytes, 33232, 0xFFFF), 0);

  const testing::HandlerRun run = Run(demo->bytes);
  EXPECT_EQ(Lines(run.output), GetParam().dialogue);
  EXPECT_EQ(count(run.bytes, 31713, 33231), 0);
  EXPECT_NE(run.bytes, demo->bytes);
}

INSTANTIATE_TEST_SUITE_P(Models, Kpg5dHandlerTest, ::testing::ValuesIn(kModelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Kpg5dDemoFilesTest, OneFilePerConvertedModel) {
  std::vector<std::string> names;
  for (const DemoFile& demo : Kpg5dDemoFiles()) names.push_back(demo.name);
  EXPECT_EQ(names, (std::vector<std::string>{"radio.B80", "radio.F80"}));
}

// ---------------------------------------------------------------------------
// The withdrawn TK-931 types.

struct WithdrawnCase {
  const char* name;
  Handler handler;
  const char* ending;
  const char* notice;
};

const WithdrawnCase kWithdrawnCases[] = {
    {"Tk931", Tk931Handler, ".B90",
     "Processing data file for TK-931..\n"
     "TK-931 is no longer supported by RFRETUNE. Use RADPATCH.\n"},
    {"Tk931Hd", Tk931HdHandler, ".F90",
     "Processing data file for TK-931HD..\n"
     "TK-931HD is no longer supported by RFRETUNE. Use RADPATCH.\n"},
};

class WithdrawnTypeTest : public ::testing::TestWithParam<WithdrawnCase> {};

TEST_P(WithdrawnTypeTest, PrintsNoticeAndLeavesFileAlone) {
  // A file that the converters would change, were it opened.
  const Bytes image = FileImage(Kpg5dLayoutOf(Kpg5dModel::kTk930), false);
  const testing::HandlerRun run = RunHandler(GetParam().handler, image, GetParam().ending);
  EXPECT_FALSE(run.result.completed);
  EXPECT_FALSE(run.result.file_error);
  EXPECT_EQ(Lines(run.output), GetParam().notice);
  EXPECT_EQ(run.change_count, 0);
  EXPECT_EQ(run.lines_read, 0);
  EXPECT_EQ(run.bytes, image);
}

TEST_P(WithdrawnTypeTest, MissingFileIsNeitherOpenedNorCreated) {
  testing::TempDir dir;
  const std::string name = dir.Path() + "/radio" + GetParam().ending;
  const DirectRun run = RunOn(GetParam().handler, name);
  EXPECT_FALSE(run.result.completed);
  EXPECT_FALSE(run.result.file_error) << "the file was looked for";
  EXPECT_EQ(run.output, GetParam().notice);
  EXPECT_FALSE(testing::FileExists(name));
}

INSTANTIATE_TEST_SUITE_P(Types, WithdrawnTypeTest, ::testing::ValuesIn(kWithdrawnCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rfretune
