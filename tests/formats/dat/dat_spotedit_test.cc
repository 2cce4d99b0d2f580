// Spotedit on .DAT files: whole dialogues in both console modes, the bytes
// each accepted frequency leaves in the file, every refusal, and the end of
// input at every question.
#include "formats/dat/dat_spotedit.h"

#include <gtest/gtest.h>

#include "tests/formats/dat/dat_test_support.h"

namespace rfretune {
namespace {

using testing::HandlerRun;
using testing::Lines;
using testing::Record;
using testing::RunDat;
using testing::Transcript;

const DatVariantDescription& k49 = kKpg49dDescription;
const DatVariantDescription& k35 = kKpg35dDescription;

// The screens' texts, written out here so that they are checked letter by
// letter.
struct Screens {
  const DatVariantDescription* variant;
  std::string processing;
  std::string title;
  std::string start_rule;
  std::string frequency_rule;
  std::string information;
};

const Screens kScreens[] = {
    {&k49, "Processing data file for TK-x81 built using KPG49D..",
     "          RFRETUNE-Spotedit (TK-x81) KPG49D data file. ",
     "          -----------------------------------------    ",
     "          -----------------------------------------    ",
     "        Current Freq. info for  System -"},
    {&k35, "Processing data file for TK-481 built using KPG35D..",
     "          RFRETUNE-Spotedit (TK-481) KPG35D data file. ",
     "          -----------------------------------------  ",
     "          -----------------------------------------    ",
     "        Current Freq. info for System -"},
};

const std::string kAskSystem = "{Input a System number (1-32) or 0 to Quit}";
const std::string kAskGroup = "{Input a Group number}";
const std::string kAskRx = "Enter RX Freq: (902-928mhz) {}";
const std::string kAskTx = "Enter TX Freq: (902-928mhz) {}";

std::string Opening(const Screens& s) {
  return s.processing + "\n{To enter Spotedit mode enter E, For Normal batch Hit Enter.}";
}

std::string StartScreen(const Screens& s) {
  return "\n" + s.title + "\n" + s.start_rule + "\n\n" + kAskSystem;
}

std::string FrequencyScreen(const Screens& s, const std::string& system, const std::string& group,
                            const std::string& receive, const std::string& transmit) {
  return "\n" + s.title + "\n" + s.frequency_rule + "\n\n" + s.information + " " + system +
         "  Group - " + group + "\n\n        Rx Freq. : " + receive +
         " "  // to the next print zone, column 28
         "        Tx Freq. : " +
         transmit + "\n\n{Enter R to change RX, T to change TX, or Q / Enter to Quit:}";
}

std::string Report(const std::string& count) {
  return "Processing Complete. " + count + " Change(s) made.\n";
}

// System 1 holds group 1 and group 2 twice; system 2 is absent by its high
// byte, system 3 by its low byte, system 4 is trunked, the rest absent.
DatImage EditorFile(const DatVariantDescription& v) {
  DatImage image(v, 1024);
  image.AddSystem(
      1, 200,
      {Record(v, 1, "935.1250", "896.1250", 51, 51), Record(v, 2, "902.0000", "902.0000", 51, 51),
       Record(v, 2, "910.5000", "911.5000", 50, 51)});
  image.SetEntry(2, 0, kDatAbsentSystemByte);
  image.SetEntry(3, kDatAbsentSystemByte, 0);
  image.AddSystem(4, 400, {Record(v, 1, "935.0000", "896.0000")}, /*trunked=*/true);
  return image;
}

// The code each variant stores for the frequencies the dialogues type.
DatFrequencyCode Code(const DatVariantDescription& v, const std::string& text) {
  static const struct {
    const char* text;
    DatFrequencyCode kpg49d;
    DatFrequencyCode kpg35d;
  } codes[] = {
      {"927.1250", {0x00, 0x25, 0x71, 0x92}, {0x50, 0x12, 0x27, 0x09}},
      {"928.0000", {0x00, 0x00, 0x80, 0x92}, {0x00, 0x00, 0x28, 0x09}},
      {"902.1250", {0x00, 0x25, 0x21, 0x90}, {0x50, 0x12, 0x02, 0x09}},
  };
  for (const auto& code : codes) {
    if (text == code.text) return &v == &k49 ? code.kpg49d : code.kpg35d;
  }
  ADD_FAILURE() << "no code for " << text;
  return {};
}

void SetAttribute(DatImage& image, int record, DatRole role, std::uint8_t value) {
  const DatVariantDescription& v = image.Bytes()[4] == '9' ? k49 : k35;
  if (v.has_attributes)
    image.SetByte(DatAttributeOffset(image.RecordOrigin(1, record), role), value);
}

TEST(DatSpoteditTest, ReceiveWriteWholeDialogue) {
  for (const Screens& s : kScreens) {
    for (bool interactive : {false, true}) {
      SCOPED_TRACE(std::string(s.variant->name) + (interactive ? " interactive" : ""));
      const DatImage before = EditorFile(*s.variant);
      const HandlerRun run = RunDat(before, "E\n1\n1\nR\n927.125\n\n0\n", interactive);
      EXPECT_TRUE(run.result.completed);
      EXPECT_EQ(Lines(run.output),
                Transcript(Opening(s) + StartScreen(s) + kAskGroup +
                               FrequencyScreen(s, "1", "1", "935.1250", "896.1250") + kAskRx +
                               FrequencyScreen(s, "1", "1", "927.1250", "896.1250") +
                               StartScreen(s) + Report("1"),
                           interactive));
      // Only the receive code and its attribute change.
      DatImage after = before;
      after.SetFrequency(1, 0, DatRole::kReceive, Code(*s.variant, "927.1250"));
      SetAttribute(after, 0, DatRole::kReceive, 50);
      EXPECT_EQ(run.bytes, after.Bytes());
      EXPECT_EQ(run.change_count, 1);
      EXPECT_EQ(run.lines_read, 7);
    }
  }
}

TEST(DatSpoteditTest, RefusedSystemsAndGroupsChangeNothing) {
  for (const Screens& s : kScreens) {
    for (bool interactive : {false, true}) {
      SCOPED_TRACE(std::string(s.variant->name) + (interactive ? " interactive" : ""));
      const DatImage before = EditorFile(*s.variant);
      const HandlerRun run =
          RunDat(before, "E\n33\n1.5\n-1\n2\n3\n4\n5\n1\n0\n241\n2.5\n1\n9\n0\n", interactive);
      const std::string invalid_system = "Invalid system (1-32)\n" + StartScreen(s);
      EXPECT_EQ(Lines(run.output),
                Transcript(Opening(s) + StartScreen(s) + invalid_system +  // 33
                               invalid_system +                            // 1.5
                               invalid_system +                            // -1
                               "Not a valid system! " + kAskSystem +       // 2: high byte 255
                               "Group Not found. " + kAskSystem +          // 3: low byte 255
                               "Trunked System detected. " + kAskSystem +  // 4
                               "Not a valid system! " + kAskSystem +       // 5
                               kAskGroup +                                 // 1
                               "Invalid Group Number. " + kAskGroup +      // 0
                               "Invalid Group Number. " + kAskGroup +      // 241
                               "Group Not found. " + kAskSystem +          // 2.5
                               kAskGroup +                                 // 1
                               "Group Not found. " + kAskSystem +          // 9
                               Report("0"),
                           interactive));
      EXPECT_EQ(run.bytes, before.Bytes());
      EXPECT_EQ(run.change_count, 0);
    }
  }
}

TEST(DatSpoteditTest, LastOfDuplicateGroupsTransmitAndReceiveWrites) {
  for (const Screens& s : kScreens) {
    for (bool interactive : {false, true}) {
      SCOPED_TRACE(std::string(s.variant->name) + (interactive ? " interactive" : ""));
      const DatImage before = EditorFile(*s.variant);
      const HandlerRun run = RunDat(
          before,
          "E\n1\n2\nx\nT\n928.0125\n901.9875\n902.12\n902.5abc\nabc\nt\n928\nr\n902.12500\nq\n\n",
          interactive);
      const std::string group2 = "910.5000";
      EXPECT_EQ(Lines(run.output),
                Transcript(Opening(s) + StartScreen(s) + kAskGroup +
                               FrequencyScreen(s, "1", "2", "910.5000", "911.5000") +  // x
                               FrequencyScreen(s, "1", "2", "910.5000", "911.5000") +  // T
                               kAskTx + "Invalid Freq. out of range. " + kAskTx +
                               "Invalid Freq. out of range. " + kAskTx +
                               "Invailid Freq. Not a 12.5kc step. " + kAskTx +
                               "Invailid Freq. Not a 12.5kc step. " + kAskTx +  // abc
                               FrequencyScreen(s, "1", "2", "910.5000", "911.5000") + kAskTx +
                               FrequencyScreen(s, "1", "2", "910.5000", "928.0000") + kAskRx +
                               FrequencyScreen(s, "1", "2", "902.1250", "928.0000") +
                               StartScreen(s) + Report("2"),
                           interactive));
      // The later record of group 2 is edited; its receive attribute was 50
      // already, its transmit attribute 51 becomes 50.
      DatImage after = before;
      after.SetFrequency(1, 2, DatRole::kTransmit, Code(*s.variant, "928.0000"))
          .SetFrequency(1, 2, DatRole::kReceive, Code(*s.variant, "902.1250"));
      SetAttribute(after, 2, DatRole::kTransmit, 50);
      EXPECT_EQ(run.bytes, after.Bytes());
      EXPECT_EQ(run.change_count, 2);
    }
  }
}

TEST(DatSpoteditTest, AcceptedRepliesAreStoredByTheirExactValue) {
  const struct {
    const char* reply;
    const char* stored;
  } cases[] = {
      {"927.125", "927.1250"},    {"902", "902.0000"},          {"928", "928.0000"},
      {"902.5", "902.5000"},      {"927.9875", "927.9875"},     {"902.0125", "902.0125"},
      {"902.12500", "902.1250"},  // by position: 902.2500
      {"9.02e2", "902.0000"},     // by position: 900.2000
      {"9020125e-4", "902.0125"}, {"9.1E2", "910.0000"},        {"902.0125d0", "902.0125"},
      {"0902.0125", "902.0125"},  {"920.01250000", "920.0125"}, {"915.0125 ", "915.0125"},
      {"935.1250", "935.1250"},  // out of range: refused (checked below)
  };
  for (const auto& c : cases) {
    const bool in_band = std::string(c.stored) != "935.1250";
    for (const DatVariantDescription* variant : kDatVariants) {
      for (bool interactive : {false, true}) {
        SCOPED_TRACE(std::string(variant->name) + " '" + c.reply + "'" +
                     (interactive ? " interactive" : ""));
        const DatImage before = EditorFile(*variant);
        const HandlerRun run =
            RunDat(before, std::string("E\n1\n1\nR\n") + c.reply + "\n\n\n0\n", interactive);
        DatImage after = before;
        if (in_band) {
          after.SetFrequency(1, 0, DatRole::kReceive, DatCode(*variant, c.stored));
          SetAttribute(after, 0, DatRole::kReceive, 50);
        }
        EXPECT_EQ(run.bytes, after.Bytes());
        EXPECT_EQ(run.change_count, in_band ? 1 : 0);
        EXPECT_NE(Lines(run.output).find(std::string("Rx Freq. : ") + c.stored), std::string::npos);
      }
    }
  }
}

TEST(DatSpoteditTest, RefusedRepliesWriteNothing) {
  const std::string out_of_range = "Invalid Freq. out of range. ";
  const std::string off_raster = "Invailid Freq. Not a 12.5kc step. ";
  const struct {
    const char* reply;
    std::string message;  // empty: back to the frequency screen
  } cases[] = {
      {"928.0125", out_of_range},
      {"901.9875", out_of_range},
      {"1000", out_of_range},
      {"-902", out_of_range},
      {"1e9", out_of_range},
      {"902.12", off_raster},
      {"902.00625", off_raster},
      {"902.0126", off_raster},
      {"902.5abc", off_raster},
      {"&H386", off_raster},
      {"+902.5", off_raster},
      {"902.5.0", off_raster},
      {"nan", off_raster},
      {"", ""},
      {"abc", ""},
      {"0", ""},
      {"0.000", ""},
  };
  for (const auto& c : cases) {
    for (const Screens& s : kScreens) {
      for (bool interactive : {false, true}) {
        SCOPED_TRACE(std::string(s.variant->name) + " '" + c.reply + "'" +
                     (interactive ? " interactive" : ""));
        const DatImage before = EditorFile(*s.variant);
        // A refusal asks again (the empty answer then returns to the
        // frequency screen); a reply of value 0 returns there at once.
        const HandlerRun run =
            RunDat(before, std::string("E\n1\n1\nT\n") + c.reply + "\n\n\n0\n", interactive);
        const std::string screen = FrequencyScreen(s, "1", "1", "935.1250", "896.1250");
        const std::string after_reply = c.message.empty()
                                            ? screen + StartScreen(s)
                                            : c.message + kAskTx + screen + StartScreen(s);
        EXPECT_EQ(Lines(run.output), Transcript(Opening(s) + StartScreen(s) + kAskGroup + screen +
                                                    kAskTx + after_reply + Report("0"),
                                                interactive));
        EXPECT_EQ(run.bytes, before.Bytes());
      }
    }
  }
}

TEST(DatSpoteditTest, EndOfInputAtEveryQuestionEndsTheEditor) {
  // Answers for: mode, system, group, choice, frequency, choice, frequency,
  // choice, system.
  const std::vector<std::string> answers = {"E", "1", "1", "R", "927.125", "T", "abc", "Q", "0"};
  for (const DatVariantDescription* variant : kDatVariants) {
    for (bool interactive : {false, true}) {
      for (std::size_t given = 1; given <= answers.size(); ++given) {
        SCOPED_TRACE(std::string(variant->name) + " after " + std::to_string(given) +
                     (interactive ? " interactive" : ""));
        std::string script;
        for (std::size_t k = 0; k < given; ++k) script += answers[k] + "\n";
        const HandlerRun run = RunDat(EditorFile(*variant), script, interactive);
        EXPECT_TRUE(run.result.completed);
        const std::string output = Lines(run.output);
        const std::string report = Report(given >= 5 ? "1" : "0");
        ASSERT_GE(output.size(), report.size());
        EXPECT_EQ(output.substr(output.size() - report.size()), report);
        EXPECT_EQ(run.lines_read, static_cast<int>(given));
      }
    }
  }
}

TEST(DatSpoteditTest, EndOfInputAtTheGroupQuestionEndsLikeZero) {
  for (const Screens& s : kScreens) {
    for (bool interactive : {false, true}) {
      const DatImage before = EditorFile(*s.variant);
      const HandlerRun run = RunDat(before, "E\n1\n", interactive);
      EXPECT_EQ(Lines(run.output),
                Transcript(Opening(s) + StartScreen(s) + kAskGroup + Report("0"), interactive));
      EXPECT_EQ(run.bytes, before.Bytes());
      EXPECT_TRUE(run.result.completed);
    }
  }
}

TEST(DatSpoteditTest, RecordsNotWhollyInsideTheFileAreNotFound) {
  for (const Screens& s : kScreens) {
    DatImage image(*s.variant, 1024);
    image.AddSystem(1, 200,
                    {Record(*s.variant, 1, "935.1250", "896.1250"),
                     Record(*s.variant, 2, "935.1250", "896.1250")});
    // The file ends one byte short of the last used byte of group 2.
    image.Resize(232 + 31 + DatRecordUsedSize(*s.variant) - 1);
    const HandlerRun run = RunDat(image, "E\n1\n2\n1\n1\n\n0\n", false);
    EXPECT_EQ(
        Lines(run.output),
        Transcript(Opening(s) + StartScreen(s) + kAskGroup + "Group Not found. " + kAskSystem +
                       kAskGroup + FrequencyScreen(s, "1", "1", "935.1250", "896.1250") +
                       StartScreen(s) + Report("0"),
                   false));
    EXPECT_EQ(run.bytes, image.Bytes());
  }
}

TEST(DatSpoteditTest, Kpg35dTrunkMarkerOutsideTheFileFindsNothing) {
  // System 32's marker lies at 177; the file ends just before it although
  // the system's count (145) and record (131 to 139) lie inside.
  DatImage image(k35, 178);
  image.AddSystem(32, 100, {Record(k35, 1, "935.1250", "896.1250")});
  DatImage short_file = image;
  short_file.Resize(177);
  const Screens& s = kScreens[1];
  const HandlerRun run = RunDat(short_file, "E\n32\n0\n", false);
  EXPECT_EQ(Lines(run.output),
            Transcript(Opening(s) + StartScreen(s) + "Group Not found. " + kAskSystem + Report("0"),
                       false));
  EXPECT_EQ(run.bytes, short_file.Bytes());
  // With the marker inside the file the group is offered.
  EXPECT_NE(Lines(RunDat(image, "E\n32\n1\n", false).output).find("Rx Freq. : 935.1250"),
            std::string::npos);
}

}  // namespace
}  // namespace rfretune
