#include "app/run_flow.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "app/extension_table.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::FileExists;
using testing::Lines;
using testing::ScriptedConsole;
using testing::StringOutput;
using testing::TempDir;

constexpr const char* kBannerTail =
    "\n"
    "     Supports the following   : TK-431     (KPG16D)  \n"
    "                                TK-941/940 (KPG25D) with Spotedit.\n"
    "                                TK-481/981 (KPG49D) with Spotedit.\n"
    "                                TK-481     (KPG35D) with Spotedit.\n"
    "                  (800mhz Only) TK-930/HD  (KPG5D)  \n"
    "\n"
    "                     WINdows Ver. 7 support                         09-07-2011\n"
    "\n"
    "\n";

struct FlowRun {
  int status;
  std::string output;  // line ends shown as "\n"
  std::string errors;
};

FlowRun RunWith(std::vector<std::string> arguments, const std::string& script, bool interactive) {
  ScriptedConsole s(script, interactive);
  StringOutput errors;
  const int status = RunFlow(arguments, s.console, errors);
  return {status, Lines(s.Output()), errors.Text()};
}

// What follows the banner's twelve lines.
std::string AfterBanner(const std::string& output) {
  std::size_t at = 0;
  for (int line = 0; line < 12 && at != std::string::npos; ++line) at = output.find('\n', at) + 1;
  return output.substr(at);
}

TEST(ExtensionTableTest, KeysAndFormatNumbers) {
  const struct {
    const char* name;
    const char* key;
    int format_number;
  } cases[] = {
      {"radio.900", "900", 1},
      {"RADIO900", "900", 1},
      {"r.910", "910", 2},
      {"r.b90", "B90", 3},
      {"r.F90", "F90", 4},
      {"x.dat", "DAT", 5},
      {"x.Dat", "DAT", 5},
      {"ab", "AB", 6},
      {"r.b80", "B80", 7},
      {"r.f80", "F80", 8},
      {"r.810", "810", 9},
      {"radio.900 ", "00 ", 6},
      {"", "", 6},
      {"r.txt", "TXT", 6},
      {"r.9000", "000", 6},
      {"r.\xe9"
       "at",
       "\xe9"
       "AT",
       6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtensionKey(c.name), c.key) << c.name;
    EXPECT_EQ(FormatNumber(ExtensionKey(c.name)), c.format_number) << c.name;
  }
}

TEST(ExtensionTableTest, EveryFormatNumberHasItsOwnHandler) {
  std::set<Handler> handlers;
  for (int number = 1; number <= 9; ++number) {
    const Handler handler = HandlerFor(number);
    ASSERT_NE(handler, nullptr);
    handlers.insert(handler);
    EXPECT_EQ(handler == NotFoundHandler, number == kNotFoundFormatNumber) << number;
  }
  EXPECT_EQ(handlers.size(), 9u);
  EXPECT_EQ(HandlerFor(0), NotFoundHandler);
}

TEST(RunFlowTest, EmptyNameEndsTheRunAfterTheQuestion) {
  const FlowRun interactive = RunWith({}, "   \n", true);
  EXPECT_EQ(interactive.status, 0);
  EXPECT_EQ(AfterBanner(interactive.output),
            "Enter the full file name saved by the KW radio prg [name.ext]? \n");
  EXPECT_NE(interactive.output.find(kBannerTail), std::string::npos);
  const FlowRun piped = RunWith({}, "", false);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(AfterBanner(piped.output), "");
}

TEST(RunFlowTest, UnknownEndingGetsTheNotFoundLineAndStatusOne) {
  const struct {
    std::vector<std::string> arguments;
    const char* typed;
    const char* line;
  } cases[] = {
      {{"my", "radio.txt"}, "", "File MY RADIO.TXT not found\n"},
      {{"c:\\kpg\\radio.txt"}, "", "File C:\\KPG\\RADIO.TXT not found\n"},
      {{}, "radio.900 ", "File RADIO.900  not found\n"},
      {{}, "a,b.900", "File A not found\n"},
      {{}, "\"my radio.txt\"", "File MY RADIO.TXT not found\n"},
  };
  for (const auto& c : cases) {
    for (bool interactive : {false, true}) {
      const FlowRun run = RunWith(c.arguments, c.typed, interactive);
      EXPECT_EQ(run.status, 1) << c.line;
      const std::string tail = AfterBanner(run.output);
      EXPECT_EQ(tail.substr(tail.size() - std::string(c.line).size()), c.line);
      EXPECT_EQ(run.errors, "");
    }
  }
}

TEST(RunFlowTest, NameFromTheCommandLineIsNotAskedFor) {
  const FlowRun run = RunWith({"x.txt"}, "", true);
  EXPECT_EQ(AfterBanner(run.output), "File X.TXT not found\n");
}

TEST(RunFlowTest, FileErrorsGoToStandardErrorWithTheNameAsGiven) {
  TempDir dir;
  for (const char* ending : {".900", ".910", ".810", ".DAT", ".b80", ".F80"}) {
    const std::string name = dir.Path() + "/Missing" + ending;
    const FlowRun run = RunWith({name}, "", false);
    EXPECT_EQ(run.status, 1) << ending;
    EXPECT_EQ(run.errors, "File " + name + " not found\n") << ending;
    EXPECT_EQ(run.output.find("Complete"), std::string::npos) << ending;
    EXPECT_FALSE(FileExists(name)) << ending;
  }
  const FlowRun folder = RunWith({dir.Path() + "/.900"}, "", false);
  EXPECT_EQ(folder.errors, "File " + dir.Path() + "/.900 not found\n");
  mkdir((dir.Path() + "/sub.900").c_str(), 0700);
  const FlowRun is_folder = RunWith({dir.Path() + "/sub.900"}, "", false);
  EXPECT_EQ(is_folder.status, 1);
  EXPECT_EQ(is_folder.errors, "Cannot open file " + dir.Path() + "/sub.900: Is a directory\n");
}

TEST(RunFlowTest, HelpAndVersionTouchNothing) {
  for (const char* flag : {"--help", "-h"}) {
    const FlowRun run = RunWith({flag}, "", false);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("Usage: rfretune [FILE]"), std::string::npos);
    EXPECT_NE(run.output.find("900, 910, B90, F90, DAT, B80, F80, 810"), std::string::npos);
    EXPECT_EQ(run.output.find("Supports the following"), std::string::npos);
  }
  const FlowRun version = RunWith({"--version"}, "", false);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output.rfind("rfretune ", 0), 0u);
  // With other arguments the words are part of a file name.
  EXPECT_EQ(RunWith({"--help", "x"}, "", false).output.find("Usage"), std::string::npos);
}

}  // namespace
}  // namespace rfretune
