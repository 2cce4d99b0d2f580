// Whole Spotedit dialogues through Tk941Handler, driven from scripts of typed
// lines, in both console modes, with the file compared byte for byte.
#include "formats/kpg25d/kpg25d_spotedit.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/kpg25d/kpg25d.h"
#include "formats/kpg25d/kpg25d_image.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::Bytes;
using testing::Lines;
using testing::ReadFileBytes;
using testing::RunHandler;
using testing::StringInput;
using testing::TempDir;

// A piece of a transcript: printed text, or a question, which shows as its
// prompt and "? " and a line end in interactive mode only.
struct Piece {
  std::string text;
  bool question = false;
};

Piece Say(std::string text) { return {std::move(text), false}; }
Piece Ask(std::string prompt) { return {std::move(prompt), true}; }

const Piece kModeQuestion = Ask("To enter Spotedit mode enter E, For Normal batch Hit Enter.");
const Piece kSystemQuestion = Ask("Input a System number (1-32) or 0 to Quit");
const Piece kGroupQuestion = Ask("Input a Group number");
const Piece kFrequencyQuestion = Ask("Enter Freq: (902-928mhz) / 0 to Quit:");
const Piece kTitle =
    Say("\n"
        "          RFRETUNE-Spotedit (TK-941) KPG25D data file. \n"
        "          -----------------------------------------  \n"
        "\n");
const Piece kInvalidSystem = Say("Invalid system (1-32)\n");
const Piece kNotValidSystem = Say("Not a valid system! ");
const Piece kGroupNotFound = Say("Group Not found. ");
const Piece kTrunked = Say("Trunked System detected. ");
const Piece kInvalidGroup = Say("Invalid Group Number. ");
const Piece kOutOfRange = Say("Invalid Freq. out of range. ");
const Piece kNotOnStep = Say("Invailid Freq. Not a 12.5kc step. ");

// The group screen: the title, then the group's frequency and talk-around.
Piece Info(const std::string& system, const std::string& group, const std::string& frequency,
           char talk_around) {
  return Say(kTitle.text + "        Current Freq. info for System -" + system + "  Group -" +
             group + "\n\n          Freq. : " + frequency +
             " Mhz.     Talk Around = " + talk_around + "\n\n");
}

std::string Render(const std::vector<Piece>& pieces, bool interactive) {
  std::string text;
  for (const Piece& piece : pieces) {
    if (!piece.question) {
      text += piece.text;
    } else if (interactive) {
      text += piece.text + "? \n";
    }
  }
  return text;
}

// The whole run of Tk941Handler around the editor's own transcript.
std::string HandlerTranscript(const std::vector<Piece>& editor, int changes, bool interactive) {
  std::vector<Piece> pieces = {Say("Processing data file for TK-941..\n"), kModeQuestion, kTitle};
  pieces.insert(pieces.end(), editor.begin(), editor.end());
  pieces.push_back(Say("Processing Complete. " + std::to_string(changes) + " Change(s) made.\n"));
  return Render(pieces, interactive);
}

// Record offsets of system 1: 278 (group 1), 297 (2), 316 (5), 335 (5),
// 354 (250), 373 (3).
Kpg25dImage EditorFixture() {
  Kpg25dImage image(700);
  image.AddSystem(0, 278,
                  {
                      {1, 36848, 0x02},    // 902.0000, talk-around off
                      {2, 38296, 0x0A},    // 920.1000, talk-around off and bit 3
                      {5, 39489, 0x06},    // 935.0125, hidden by the next group 5
                      {5, 37648, 0x02},    // 912.0000
                      {250, 38928, 0xFF},  // 928.0000
                      {3, 44728, 0x00},    // 1000.5000
                  });
  image.SetPointerBytes(1, 0x00, 0xFF).SetGroupCount(1, 1);        // system 2
  image.SetPointerBytes(2, 0xFF, 0x67).SetGroupCount(2, 6);        // system 3
  image.AddSystem(3, 420, {{1, 0xFF10, 0x00}, {2, 38000, 0x00}});  // system 4, trunked
  image.SetPointerBytes(4, 0xE9, 0x65).SetGroupCount(4, 3);        // system 5, pointer 26089
  image.AddSystem(5, 470, {});                                     // system 6, no groups
  // System 32: group 8's record would end its used bytes past offset 699.
  image.AddSystem(31, 680, {{7, 38000, 0x02}, {8, 38000, 0x02}});
  return image;
}

struct Change {
  std::int64_t offset;
  int code;
  int flags;
};

struct DialogueCase {
  const char* name;
  const char* script;  // the answers after "E"
  std::vector<Piece> editor;
  std::vector<Change> changes;  // the records as they end up
  int writes = 0;
};

const DialogueCase kDialogues[] = {
    {"QuitsAtOnce", "0", {kSystemQuestion}, {}},
    {"EmptySystemAnswerQuits", "\n", {kSystemQuestion}, {}},
    {"SystemOutOfRangeOrFractionalClearsTheScreen",
     "33\n-1\n1.5\n0",
     {kSystemQuestion, kInvalidSystem, kTitle, kSystemQuestion, kInvalidSystem, kTitle,
      kSystemQuestion, kInvalidSystem, kTitle, kSystemQuestion},
     {}},
    {"EmptySlotsAndTrunkedSystemAskAgain",
     "2\n3\n4\n0",
     {kSystemQuestion, kNotValidSystem, kSystemQuestion, kGroupNotFound, kSystemQuestion, kTrunked,
      kSystemQuestion},
     {}},
    {"SystemsWithoutTheGroup",
     "5\n1\n6\n1\n32\n8\n1\n99\n0",
     {kSystemQuestion, kGroupQuestion, kGroupNotFound, kSystemQuestion, kGroupQuestion,
      kGroupNotFound, kSystemQuestion, kGroupQuestion, kGroupNotFound, kSystemQuestion,
      kGroupQuestion, kGroupNotFound, kSystemQuestion},
     {}},
    {"GroupOutOfRangeAsksAgainOnTheSameLine",
     "1\n0\n251\n-3\n2.5\n0",
     {kSystemQuestion, kGroupQuestion, kInvalidGroup, kGroupQuestion, kInvalidGroup, kGroupQuestion,
      kInvalidGroup, kGroupQuestion, kGroupNotFound, kSystemQuestion},
     {}},
    {"WriteShowsTheGroupAgainWithTalkAroundOn",
     "1\n1\n920.1\n0\n0",
     {kSystemQuestion, kGroupQuestion, Info(" 1", " 1", " 902.0000", 'N'), kFrequencyQuestion,
      Info(" 1", " 1", " 920.1000", 'Y'), kFrequencyQuestion, kTitle, kSystemQuestion},
     {{278, 38296, 0x00}},
     1},
    {"DuplicateGroupNumberEditsTheLastRecord",
     "1\n5\n902.0125\n0\n0",
     {kSystemQuestion, kGroupQuestion, Info(" 1", " 5", " 912.0000", 'N'), kFrequencyQuestion,
      Info(" 1", " 5", " 902.0125", 'Y'), kFrequencyQuestion, kTitle, kSystemQuestion},
     {{335, 36849, 0x00}},
     1},
    {"SameFrequencyIsStillWrittenAndCounted",
     "1\n2\n920.1\n0\n0",
     {kSystemQuestion, kGroupQuestion, Info(" 1", " 2", " 920.1000", 'N'), kFrequencyQuestion,
      Info(" 1", " 2", " 920.1000", 'Y'), kFrequencyQuestion, kTitle, kSystemQuestion},
     {{297, 38296, 0x08}},
     1},
    {"RefusedRepliesAskForTheFrequencyAgain",
     "1\n1\n901.9875\n928.0125\n902.01\n902.013\n0\n0",
     {kSystemQuestion, kGroupQuestion, Info(" 1", " 1", " 902.0000", 'N'), kFrequencyQuestion,
      kOutOfRange, kFrequencyQuestion, kOutOfRange, kFrequencyQuestion, kNotOnStep,
      kFrequencyQuestion, kNotOnStep, kFrequencyQuestion, kTitle, kSystemQuestion},
     {}},
    {"SeveralWritesInOneSession",
     "1\n250\n928\n902\n0\n32\n7\n927.9875\n0\n0",
     {kSystemQuestion, kGroupQuestion, Info(" 1", " 250", " 928.0000", 'N'), kFrequencyQuestion,
      Info(" 1", " 250", " 928.0000", 'Y'), kFrequencyQuestion,
      Info(" 1", " 250", " 902.0000", 'Y'), kFrequencyQuestion, kTitle, kSystemQuestion,
      kGroupQuestion, Info(" 32", " 7", " 916.4000", 'N'), kFrequencyQuestion,
      Info(" 32", " 7", " 927.9875", 'Y'), kFrequencyQuestion, kTitle, kSystemQuestion},
     {{354, 36848, 0xFD}, {680, 38927, 0x00}},
     3},
    {"FrequencyOf1000MhzShowsThreeDecimals",
     "1\n3\n0\n0",
     {kSystemQuestion, kGroupQuestion, Info(" 1", " 3", " 1000.500", 'Y'), kFrequencyQuestion,
      kTitle, kSystemQuestion},
     {}},
};

void PrintTo(const DialogueCase& c, std::ostream* os) { *os << c.name; }

class Kpg25dSpoteditDialogue : public ::testing::TestWithParam<DialogueCase> {};

TEST_P(Kpg25dSpoteditDialogue, ShowsEveryScreenAndWritesOnlyAcceptedFrequencies) {
  const DialogueCase& c = GetParam();
  Kpg25dImage expected = EditorFixture();
  for (const Change& change : c.changes) expected.SetCode(change.offset, change.code, change.flags);
  const int count = c.writes;
  for (bool interactive : {true, false}) {
    SCOPED_TRACE(interactive ? "interactive" : "piped");
    const auto run = RunHandler(Tk941Handler, EditorFixture().Bytes(), ".910",
                                std::string("E\n") + c.script, interactive);
    EXPECT_TRUE(run.result.completed);
    EXPECT_EQ(Lines(run.output), HandlerTranscript(c.editor, count, interactive));
    EXPECT_EQ(run.bytes, expected.Bytes());
    EXPECT_EQ(run.change_count, count);
  }
}

INSTANTIATE_TEST_SUITE_P(Dialogues, Kpg25dSpoteditDialogue, ::testing::ValuesIn(kDialogues),
                         [](const auto& info) { return std::string(info.param.name); });

enum class Reply { kAccepted, kOutOfRange, kNotOnStep, kBackToStart };

struct ReplyCase {
  const char* reply;
  Reply outcome;
  int code = 0;            // written, when accepted
  const char* shown = "";  // its display text
};

// Group 1 of system 1 (902.0000, talk-around off) gets each reply in turn.
TEST(Kpg25dSpotedit, JudgesTheFrequencyReplyByTheExactValueTyped) {
  const ReplyCase cases[] = {
      {"902", Reply::kAccepted, 36848, " 902.0000"},
      {"928", Reply::kAccepted, 38928, " 928.0000"},
      {"902.0125", Reply::kAccepted, 36849, " 902.0125"},
      {"920.1", Reply::kAccepted, 38296, " 920.1000"},
      {"920.1 ", Reply::kAccepted, 38296, " 920.1000"},
      {"920.1\t", Reply::kAccepted, 38296, " 920.1000"},
      {"   927.9875", Reply::kAccepted, 38927, " 927.9875"},
      {"902.01250", Reply::kAccepted, 36849, " 902.0125"},
      {"0902.5", Reply::kAccepted, 36888, " 902.5000"},
      {"902.", Reply::kAccepted, 36848, " 902.0000"},
      {"9.02e2", Reply::kAccepted, 36848, " 902.0000"},
      {"9.020125E2", Reply::kAccepted, 36849, " 902.0125"},
      {"9.02d2", Reply::kAccepted, 36848, " 902.0000"},
      // Half a step: stored as 902.0000 if it were rounded, so refused.
      {"902.00625", Reply::kNotOnStep},
      {"902.5abc", Reply::kNotOnStep},
      {"&H386", Reply::kNotOnStep},  // 902 as a hexadecimal number
      {"902.01", Reply::kNotOnStep},
      {"902.013", Reply::kNotOnStep},
      {"902.0125.5", Reply::kNotOnStep},
      {"927.99999999", Reply::kNotOnStep},
      {"901.9875", Reply::kOutOfRange},
      {"928.0125", Reply::kOutOfRange},
      {"-902", Reply::kOutOfRange},
      {"1e3", Reply::kOutOfRange},
      {"inf", Reply::kOutOfRange},
      {"0", Reply::kBackToStart},
      {"", Reply::kBackToStart},
      {"abc", Reply::kBackToStart},
      {"-0.0", Reply::kBackToStart},
  };
  for (const ReplyCase& c : cases) {
    for (bool interactive : {true, false}) {
      SCOPED_TRACE(std::string("reply \"") + c.reply + "\"" + (interactive ? " interactive" : ""));
      std::vector<Piece> editor = {kSystemQuestion, kGroupQuestion,
                                   Info(" 1", " 1", " 902.0000", 'N'), kFrequencyQuestion};
      Kpg25dImage expected = EditorFixture();
      int count = 0;
      switch (c.outcome) {
        case Reply::kAccepted:
          editor.push_back(Info(" 1", " 1", c.shown, 'Y'));
          editor.push_back(kFrequencyQuestion);
          expected.SetCode(278, c.code, 0x00);
          count = 1;
          break;
        case Reply::kOutOfRange:
          editor.push_back(kOutOfRange);
          editor.push_back(kFrequencyQuestion);
          break;
        case Reply::kNotOnStep:
          editor.push_back(kNotOnStep);
          editor.push_back(kFrequencyQuestion);
          break;
        case Reply::kBackToStart:
          break;
      }
      editor.push_back(kTitle);
      editor.push_back(kSystemQuestion);
      const auto run = RunHandler(Tk941Handler, EditorFixture().Bytes(), ".910",
                                  std::string("E\n1\n1\n") + c.reply + "\n0\n0", interactive);
      EXPECT_EQ(Lines(run.output), HandlerTranscript(editor, count, interactive));
      EXPECT_EQ(run.bytes, expected.Bytes());
      EXPECT_EQ(run.change_count, count);
    }
  }
}

// A console sink that refuses to grow past a size no finished dialogue
// reaches, so an editor that loops at the end of input fails instead of
// hanging, and that can look at the file each time an answer is awaited.
class WatchedOutput : public OutputSink {
 public:
  explicit WatchedOutput(std::function<void()> on_answer_awaited)
      : on_answer_awaited_(std::move(on_answer_awaited)) {}
  void Write(std::string_view text) override {
    text_ += text;
    if (text_.size() > 100000) throw std::length_error("the dialogue does not end");
  }
  void Flush() override {
    if (on_answer_awaited_) on_answer_awaited_();
  }
  const std::string& Text() const { return text_; }

 private:
  std::function<void()> on_answer_awaited_;
  std::string text_;
};

struct WatchedRun {
  HandlerResult result;
  std::string output;
  float change_count = 0;
  std::vector<Bytes> file_at_each_answer;
};

WatchedRun RunWatched(const Bytes& image, const std::string& script, bool interactive) {
  TempDir dir;
  const std::string name = dir.Write("data.910", image);
  WatchedRun run;
  StringInput input(script);
  WatchedOutput output([&] { run.file_at_each_answer.push_back(ReadFileBytes(name)); });
  Console console(input, output, ConsoleOptions{interactive, false, 80, 0});
  HandlerContext context{console, name, run.change_count};
  try {
    run.result = Tk941Handler(context);
  } catch (const std::length_error& error) {
    ADD_FAILURE() << error.what();
  }
  run.output = output.Text();
  return run;
}

TEST(Kpg25dSpotedit, EndsWhenInputEndsAtAnyQuestion) {
  const struct {
    const char* script;
    int changes;
  } cases[] = {
      {"", 1},  // the batch runs: group 5's 935.0125 record moves
      {"E", 0},
      {"E\n33", 0},
      {"E\n3", 0},
      {"E\n1", 0},
      {"E\n1\n0", 0},
      {"E\n1\n251", 0},
      {"E\n1\n99", 0},
      {"E\n1\n1", 0},
      {"E\n1\n1\n2000", 0},
      {"E\n1\n1\n902.013", 0},
      {"E\n1\n1\n920.1", 1},
  };
  for (const auto& c : cases) {
    for (bool interactive : {true, false}) {
      SCOPED_TRACE(std::string("script \"") + c.script + "\"" +
                   (interactive ? " interactive" : ""));
      const WatchedRun run = RunWatched(EditorFixture().Bytes(), c.script, interactive);
      EXPECT_TRUE(run.result.completed);
      EXPECT_EQ(run.change_count, c.changes);
      const std::string report =
          "Processing Complete. " + std::to_string(c.changes) + " Change(s) made.\n";
      const std::string output = Lines(run.output);
      ASSERT_GE(output.size(), report.size());
      EXPECT_EQ(output.substr(output.size() - report.size()), report);
    }
  }
}

TEST(Kpg25dSpotedit, EndOfInputAtTheGroupQuestionEndsTheEditorAtOnce) {
  const WatchedRun run = RunWatched(EditorFixture().Bytes(), "E\n1", true);
  EXPECT_EQ(Lines(run.output),
            HandlerTranscript({kSystemQuestion, kGroupQuestion}, 0, /*interactive=*/true));
}

TEST(Kpg25dSpotedit, AcceptedFrequencyIsInTheFileBeforeTheNextQuestion) {
  const Bytes before = EditorFixture().Bytes();
  const Bytes after = EditorFixture().SetCode(278, 38296, 0x00).Bytes();
  for (bool interactive : {true, false}) {
    SCOPED_TRACE(interactive);
    // Answers awaited: mode, system, group, frequency, frequency, system.
    const WatchedRun run = RunWatched(before, "E\n1\n1\n920.1\n0\n0", interactive);
    ASSERT_EQ(run.file_at_each_answer.size(), 6u);
    EXPECT_EQ(run.file_at_each_answer[3], before);
    EXPECT_EQ(run.file_at_each_answer[4], after);
  }
}

}  // namespace
}  // namespace rfretune
