#include "io/console.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::ScriptedConsole;

TEST(ConsoleQuestionTest, InteractiveShowsPromptAndEndsTheLine) {
  ScriptedConsole s("abc \n902 5\n\n", /*interactive=*/true);
  EXPECT_EQ(s.console.AskText("Name"), "abc ");
  EXPECT_EQ(s.console.AskNumber("Number"), 902);  // the rest of the line is discarded
  EXPECT_EQ(s.console.AskText(""), "");
  EXPECT_FALSE(s.console.InputEnded());
  EXPECT_EQ(s.Output(), "Name? \r\nNumber? \r\n? \r\n");
  EXPECT_EQ(s.console.CursorColumn(), 0);
}

TEST(ConsoleQuestionTest, EmptyPromptFollowsTextOnTheSameLine) {
  ScriptedConsole s("x\n", true);
  s.console.PrintText("Enter RX Freq: (902-928mhz) ");
  s.console.AskText("");
  EXPECT_EQ(s.Output(), "Enter RX Freq: (902-928mhz) ? \r\n");
}

TEST(ConsoleQuestionTest, NonInteractiveTakesItemsFromTheStream) {
  ScriptedConsole s("a,b\n902 5\n\"x, y\",7\n", /*interactive=*/false);
  EXPECT_EQ(s.console.AskText("q"), "a");
  EXPECT_EQ(s.console.AskText("q"), "b");
  EXPECT_EQ(s.console.AskNumber("q"), 902);
  EXPECT_EQ(s.console.AskNumber("q"), 5);  // a blank leaves the rest of the line
  EXPECT_EQ(s.console.AskText("q"), "x, y");
  EXPECT_EQ(s.console.AskNumber("q"), 7);
  EXPECT_FALSE(s.console.InputEnded());
  EXPECT_EQ(s.Output(), "");  // no prompt, no "? ", no line end
}

TEST(ConsoleQuestionTest, EndOfInputGivesEmptyAnswersInBothModes) {
  for (bool interactive : {false, true}) {
    ScriptedConsole s("5,", interactive);  // ends mid-line, after a comma
    EXPECT_EQ(s.console.AskNumber("n"), 5);
    if (!interactive) {
      EXPECT_EQ(s.console.AskText("t"), "");  // the item after the comma
    }
    EXPECT_FALSE(s.console.InputEnded());
    EXPECT_EQ(s.console.AskText("t"), "");
    EXPECT_TRUE(s.console.InputEnded());
    EXPECT_EQ(s.console.AskNumber("n"), 0);
    EXPECT_EQ(s.input.LinesRead(), 1);  // nothing read once ended
  }
}

TEST(ConsolePrintTest, TracksTheCursorColumnAndPrintZones) {
  const struct {
    int column;
    const char* expected_tail;
  } cases[] = {
      {27, " "},               // to column 28
      {14, "              "},  // 14 blanks, to column 28
      {0, "              "},   // to column 14
      {41, " "},               // to column 42
      {55, " "},               // to column 56 (width 80: 56 <= 65)
      {56, "\r\n"},            // 70 would leave too little room
  };
  for (const auto& c : cases) {
    ScriptedConsole s("", true);
    s.console.PrintText(std::string(c.column, 'x'));
    s.console.PrintToNextZone("");
    EXPECT_EQ(s.Output().substr(c.column), c.expected_tail) << c.column;
  }
  ScriptedConsole wrap("", true);
  wrap.console.PrintText(std::string(85, 'x'));
  EXPECT_EQ(wrap.console.CursorColumn(), 5);
}

TEST(ConsolePrintTest, NumbersHaveALeadingBlankAndNothingAfter) {
  ScriptedConsole s("", true);
  s.console.PrintNumber(0);
  s.console.PrintText("|");
  s.console.PrintNumber(12);
  s.console.PrintText("x");
  s.console.PrintNumberLine(-3);
  EXPECT_EQ(s.Output(), " 0| 12x-3\r\n");
}

TEST(ConsolePrintTest, ClearScreenSendsTheSequenceOnlyToATerminal) {
  for (bool terminal : {false, true}) {
    testing::StringInput input("");
    testing::StringOutput output;
    Console console(input, output, ConsoleOptions{true, terminal, 80, 0});
    console.PrintText("abc");
    console.ClearScreen();
    EXPECT_EQ(output.Text(), terminal ? "abc\x1b[2J\x1b[H" : "abc");
    EXPECT_EQ(console.CursorColumn(), 0);
  }
}

}  // namespace
}  // namespace rfretune
