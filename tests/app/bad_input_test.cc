// Bad input at every question of a whole run: overlong lines, binary bytes
// and NUL, lone control characters and escape sequences, non-ASCII text, and
// input that ends in the middle of a line. Each run goes through RunFlow over
// a synthetic demo file, in four consoles: a scripted one (byte lines, both
// console modes), a piped one (FdInput, as the program reads a pipe) and a
// typed one (the terminal line editor, as the program reads a terminal).
//
// A bad answer is judged by the clean answer it must act exactly like: both
// runs must end with the same status, print the same dialogue and leave the
// same bytes. The clean run is then held to what the dialogue must show and
// to the file's expected bytes, so that the equivalence cannot pass by
// accident. Every run has a deadline: a run that does not end aborts the
// test binary with the case's name rather than hanging.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/run_flow.h"
#include "formats/dat/dat.h"
#include "formats/kpg16d/kpg16d.h"
#include "formats/kpg25d/kpg25d.h"
#include "formats/kpg5d/kpg5d.h"
#include "io/terminal.h"
#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using namespace std::string_literals;
using testing::Bytes;
using testing::Lines;
using testing::ReadFileBytes;
using testing::StringInput;
using testing::TempDir;

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// ---------------------------------------------------------------------------
// The demo files and what the accepted answers leave in them.

struct Edit {
  std::int64_t offset;
  std::uint8_t value;
};

struct Demo {
  DemoFile file;
  // The last line of its batch run.
  std::string batch_report;
  // The bytes that the editor's one accepted answer, 902.5 MHz for the
  // first frequency it is asked about (see kQuestionSetups), writes.
  std::vector<Edit> written;
};

const std::vector<Demo>& Demos() {
  static const std::vector<Demo> demos = [] {
    std::vector<DemoFile> files;
    for (auto family : {Kpg16dDemoFiles, Kpg25dDemoFiles, DatDemoFiles, Kpg5dDemoFiles}) {
      for (DemoFile& file : family()) files.push_back(std::move(file));
    }
    auto expected_of = [](const std::string& name) -> std::pair<std::string, std::vector<Edit>> {
      // radio.910: system 1, group 2 is the record at 297 (code 935.9875,
      // flags 0x06): 902.5 MHz is code 36888, low 0x18 high 0x90, and the
      // talk-around-off bit 0x02 of the flags is cleared.
      if (name == "radio.910") {
        return {"Processing Complete. 7 Change(s) made.\n",
                {{298, 0x18}, {299, 0x90}, {306, 0x04}}};
      }
      // .DAT files: system 1 has its base at 200, group 1 is the record at
      // origin 200 with its receive frequency at 232 to 235, least
      // significant pair first; KPG49D also turns the attribute at 240 from
      // 51 into 50.
      if (name == "kpg49d.dat") {
        return {"Processing Complete.  14 Chanage(s) made.\n",
                {{232, 0x00}, {233, 0x00}, {234, 0x25}, {235, 0x90}, {240, 50}}};
      }
      if (name == "kpg35d.dat") {
        return {"Processing Complete. 14 Change(s) made.\n",
                {{232, 0x00}, {233, 0x50}, {234, 0x02}, {235, 0x09}}};
      }
      return {"Process Complete\n", {}};
    };
    std::vector<Demo> all;
    for (DemoFile& file : files) {
      auto [report, written] = expected_of(file.name);
      all.push_back({std::move(file), report, written});
    }
    return all;
  }();
  return demos;
}

const Demo& DemoNamed(const std::string& name) {
  for (const Demo& demo : Demos()) {
    if (demo.file.name == name) return demo;
  }
  ADD_FAILURE() << "no demo file " << name;
  return Demos().front();
}

// ---------------------------------------------------------------------------
// Four consoles over three kinds of input.

enum class Source { kScripted, kPiped, kTyped };

struct ConsoleMode {
  const char* name;
  Source source;
  bool interactive;
};

constexpr ConsoleMode kConsoleModes[] = {
    {"scripted", Source::kScripted, false},
    {"scripted interactive", Source::kScripted, true},
    {"piped", Source::kPiped, false},
    {"typed", Source::kTyped, true},
};

// A run that does not end aborts the whole test binary, naming the run, so
// that a dialogue that loops shows as a failure and never as a hang: when it
// has not ended within kRunSeconds, or when it has printed more than any
// dialogue of these cases does (a loop that prints, long before the time).
constexpr int kRunSeconds = 10;
constexpr std::size_t kMaxDialogue = 8 * 1024 * 1024;

[[noreturn]] void AbortRun(const char* why, const std::string& what) {
  std::fprintf(stderr, "BadInput: the run %s: %s\n", why, what.c_str());
  std::abort();
}

class Deadline {
 public:
  explicit Deadline(std::string what)
      : what_(std::move(what)), watcher_([this] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!ended_.wait_for(lock, std::chrono::seconds(kRunSeconds), [this] { return done_; })) {
            AbortRun("did not end in time", what_);
          }
        }) {}
  ~Deadline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    ended_.notify_all();
    watcher_.join();
  }

 private:
  std::string what_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread watcher_;
};

class BoundedOutput : public OutputSink {
 public:
  explicit BoundedOutput(const std::string& what) : what_(what) {}
  void Write(std::string_view text) override {
    if (text_.size() + text.size() > kMaxDialogue) AbortRun("printed without end", what_);
    text_ += text;
  }
  const std::string& Text() const { return text_; }

 private:
  const std::string& what_;
  std::string text_;
};

// Feeds a script into one end of a socket pair from a thread, as a pipe or a
// person at a terminal would. When keys are typed, an Esc that does not open
// an escape sequence is sent on its own, and the next key only after the
// line editor has taken the Esc and its wait for a sequence has passed: a
// person who presses Esc alone.
class Feeder {
 public:
  // Well beyond the line editor's wait for the rest of an escape sequence.
  static constexpr int kEscapePauseMs = 150;

  Feeder(const std::string& text, bool typed) {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds_) != 0) {
      ADD_FAILURE() << "socketpair failed";
      fds_[0] = fds_[1] = -1;
      return;
    }
    writer_ = std::thread([this, chunks = Chunks(text, typed)] {
      for (std::size_t i = 0; i < chunks.size() && !stop_; ++i) {
        if (i > 0) {
          int unread = 1;
          while (!stop_ && ioctl(fds_[0], FIONREAD, &unread) == 0 && unread > 0) Nap(2);
          Nap(kEscapePauseMs);
        }
        Send(chunks[i]);
      }
      shutdown(fds_[1], SHUT_WR);
    });
  }
  ~Feeder() {
    stop_ = true;
    if (writer_.joinable()) writer_.join();
    for (int fd : fds_) {
      if (fd >= 0) close(fd);
    }
  }
  int ReadEnd() const { return fds_[0]; }

 private:
  static void Nap(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  static std::vector<std::string> Chunks(const std::string& text, bool typed) {
    std::vector<std::string> chunks(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
      chunks.back() += text[i];
      const bool lone_escape =
          text[i] == '\x1b' && (i + 1 >= text.size() || (text[i + 1] != '[' && text[i + 1] != 'O'));
      if (typed && lone_escape && i + 1 < text.size()) chunks.emplace_back();
    }
    return chunks;
  }

  void Send(const std::string& chunk) {
    std::size_t done = 0;
    while (done < chunk.size() && !stop_) {
      pollfd writable{fds_[1], POLLOUT, 0};
      if (poll(&writable, 1, 10) <= 0) continue;
      const ssize_t put =
          send(fds_[1], chunk.data() + done, chunk.size() - done, MSG_DONTWAIT | MSG_NOSIGNAL);
      if (put > 0) done += static_cast<std::size_t>(put);
      if (put < 0 && errno != EAGAIN && errno != EINTR) return;
    }
  }

  int fds_[2] = {-1, -1};
  std::atomic<bool> stop_ = false;
  std::thread writer_;
};

// The echo of the typed keys: a terminal shows it, the tests do not need it.
class DiscardedOutput : public OutputSink {
 public:
  void Write(std::string_view) override {}
};

struct Outcome {
  int status = -1;
  std::string dialogue;  // line ends shown as "\n"
  std::string errors;
};

Outcome RunOnce(const ConsoleMode& mode, const std::vector<std::string>& arguments,
                const std::string& script, const std::string& what) {
  Deadline deadline(what);
  std::optional<Feeder> feeder;
  DiscardedOutput echo;
  std::unique_ptr<InputSource> input;
  switch (mode.source) {
    case Source::kScripted:
      input = std::make_unique<StringInput>(script);
      break;
    case Source::kPiped:
      feeder.emplace(script, false);
      input = std::make_unique<FdInput>(feeder->ReadEnd());
      break;
    case Source::kTyped:
      feeder.emplace(script, true);
      input = std::make_unique<TerminalLineEditor>(feeder->ReadEnd(), echo);
      break;
  }
  BoundedOutput output(what);
  BoundedOutput errors(what);
  Console console(*input, output, ConsoleOptions{mode.interactive, false, 80, 0});
  Outcome outcome;
  outcome.status = RunFlow(arguments, console, errors);
  outcome.dialogue = Lines(output.Text());
  outcome.errors = errors.Text();
  return outcome;
}

// ---------------------------------------------------------------------------
// The questions, and the case table.

enum class Question { kName, kMode, kSystem, kGroup, kFrequency, kChoice };

// One question of one file: the answers that lead to it and the answers
// that follow the bad one (none: the input ends, which every question
// answers by heading for the end of the run).
struct QuestionSetup {
  Question question;
  const char* file;
  const char* before;
  const char* after;
};

// The system question is followed by group 2, so that a system chosen shows
// "System - 1  Group - 2"; the R/T/Q choice by T and 1000, so that a choice
// that shows the frequency screen again answers with the TX entry's refusal.
constexpr QuestionSetup kQuestionSetups[] = {
    {Question::kMode, "radio.910", "", ""},
    {Question::kMode, "kpg49d.dat", "", ""},
    {Question::kMode, "kpg35d.dat", "", ""},
    {Question::kSystem, "radio.910", "E\n", "2\n"},
    {Question::kSystem, "kpg49d.dat", "E\n", "2\n"},
    {Question::kSystem, "kpg35d.dat", "E\n", "2\n"},
    {Question::kGroup, "radio.910", "E\n1\n", ""},
    {Question::kGroup, "kpg49d.dat", "E\n1\n", ""},
    {Question::kGroup, "kpg35d.dat", "E\n1\n", ""},
    {Question::kFrequency, "radio.910", "E\n1\n2\n", ""},
    {Question::kFrequency, "kpg49d.dat", "E\n1\n1\nR\n", ""},
    {Question::kFrequency, "kpg35d.dat", "E\n1\n1\nR\n", ""},
    {Question::kChoice, "kpg49d.dat", "E\n1\n1\n", "T\n1000\n"},
    {Question::kChoice, "kpg35d.dat", "E\n1\n1\n", "T\n1000\n"},
};

enum class FileAfter {
  kUnchanged,
  kWritten,  // the demo's `written` edits, nothing else
  kBatch,    // converted by the batch; the dialogue ends with its report
};

// What a bad answer is read as, in one kind of console.
struct Reading {
  // An answer that the bad one must act exactly like. In name cases "@DIR@"
  // stands for the folder of the demo file.
  std::string clean;
  // Text the dialogue (and the error stream after it) must hold.
  std::string shows;
  FileAfter file = FileAfter::kUnchanged;
  int status = 0;
  // Text the dialogue must not hold.
  std::string hides = "";
  // The bad answer ends the input where it stands (Ctrl-D on an empty line).
  bool ends_input = false;
};

struct Case {
  const char* label;  // the test's name
  Question question;
  std::string bad;  // one answer line, without its line end
  Reading reading;  // in the scripted and piped consoles
  // Where the line editor reads the keys otherwise: control keys dropped or
  // obeyed, escape sequences taken as keys, a line cut at 8192.
  std::optional<Reading> typed = std::nullopt;
  // Where a piped line is cut at 64 KiB.
  std::optional<Reading> piped = std::nullopt;
  // The input ends after the bad answer, without a line end.
  bool ends_mid_line = false;
  // Name question: the demo file put in the folder, and its name there.
  std::string file = "";
  std::string stored_as = "";

  Case EndingMidLine() const {
    Case c = *this;
    c.ends_mid_line = true;
    return c;
  }
  Case In(std::string demo, std::string stored = "") const {
    Case c = *this;
    c.file = std::move(demo);
    c.stored_as = stored.empty() ? c.file : std::move(stored);
    return c;
  }
};

// Test names say which case failed; the bytes of the parameter would not.
void PrintTo(const Case& c, std::ostream* out) { *out << c.label; }

// Readings shared by many cases.
const std::string kNothingWritten = "Processing Complete. 0 Change(s) made.\n";

const Reading kBatch{"", "", FileAfter::kBatch};
const Reading kEditor{"E", kNothingWritten};

const Reading kQuit{"0", kNothingWritten};
const Reading kSystemOne{"1", "System - 1  Group - 2\n"};
const Reading kInvalidSystem{"33", "Invalid system (1-32)\n"};
const Reading kNotValidSystem{"19", "Not a valid system! "};

const Reading kGroupTwo{"2", "System - 1  Group - 2\n"};
const Reading kInvalidGroup{"0", "Invalid Group Number. "};

const Reading kWritten{"902.5", "Processing Complete. 1 Change(s) made.\n", FileAfter::kWritten};
const Reading kNotOnStep{"902.5x", "Invailid Freq. Not a 12.5kc step. "};
const Reading kOutOfRange{"9025", "Invalid Freq. out of range. "};
const Reading kBack{"0", kNothingWritten};

const Reading kOtherChoice{"X", "Invalid Freq. out of range. "};
const Reading kStartScreen{"Q", kNothingWritten, FileAfter::kUnchanged, 0, "Enter TX Freq"};
const Reading kReceive{"R", "Enter RX Freq: (902-928mhz) ", FileAfter::kUnchanged, 0,
                       "Invalid Freq. out of range. "};
const Reading kTransmit{"T", "Enter TX Freq: (902-928mhz) ", FileAfter::kUnchanged, 0,
                        "Invalid Freq. out of range. "};

const std::string k64KiB = Repeat("x", 70000);  // longer than a piped line may be

std::vector<Case> NameCases() {
  const Question q = Question::kName;
  const std::string long_name = Repeat("x", 4092) + ".910";  // 4096 characters
  const std::string hundred = Repeat("r", 100) + ".910";
  const std::string not_found = " not found\n";
  // Where a name is its own clean answer, the case stands on what the
  // dialogue shows and on the file.
  auto as_given = [](const std::string& name, std::string shows, FileAfter file, int status) {
    return Reading{name, std::move(shows), file, status};
  };
  const std::string nul_first = "\0@DIR@/radio.900"s;
  const std::string binary = "@DIR@/\x01\xfe.dat";
  const std::string bell = "@DIR@/radio.B80\x07";
  const std::string delete_key = "@DIR@/radio.B800\x7f";
  const std::string arrows = "@DIR@/radio.80\x1b[D\x1b[DB";
  const std::string lone_escape = "junk\x1b@DIR@/radio.B80";
  const std::string fullwidth = "@DIR@/radio.９００";
  const Reading b80_batch{"@DIR@/radio.B80", "", FileAfter::kBatch};
  return {
      // Cut at 4096: the key of what is left is 910, so the TK-941 handler
      // gets the cut name, which no system can open.
      {"OverlongNameIsCutAt4096",
       q,
       long_name + Repeat("y", 904),
       {long_name,
        "Processing data file for TK-941..\nCannot open file " + long_name +
            ": File name too long\n",
        FileAfter::kUnchanged, 1}},
      {"NameLineOver64KiB",
       q,
       Repeat("a", 70000),
       {Repeat("a", 4096), "File " + Repeat("A", 4096) + not_found, FileAfter::kUnchanged, 1}},
      // A text item is not cut at 67 like a number item.
      Case{"NameLongerThan67", q, "@DIR@/" + hundred,
           as_given("@DIR@/" + hundred, "", FileAfter::kBatch, 0)}
          .In("radio.910", hundred),
      Case{"OverlongBinaryAfterAComma",
           q,
           "@DIR@/radio.900," + Repeat("\x01\xff", 3000),
           {"@DIR@/radio.900", "Processing data file for TK-431..\n", FileAfter::kBatch}}
          .In("radio.900"),
      Case{"NulBeforeTheName", q, nul_first,
           as_given(nul_first, "Cannot open file ", FileAfter::kUnchanged, 1),
           Reading{"@DIR@/radio.900", "", FileAfter::kBatch}}
          .In("radio.900"),
      Case{"BinaryNameWithAKnownEnding", q, binary,
           as_given(binary, " not found\n", FileAfter::kUnchanged, 1)}
          .In("kpg49d.dat"),
      Case{"BellAfterTheName", q, bell,
           as_given(bell, "/RADIO.B80\x07" + not_found, FileAfter::kUnchanged, 1), b80_batch}
          .In("radio.B80"),
      Case{"TabBeforeTheName", q, "\t@DIR@/radio.B80", b80_batch}.In("radio.B80"),
      Case{"DeleteKeyAfterTheName", q, delete_key,
           as_given(delete_key, "/RADIO.B800\x7f" + not_found, FileAfter::kUnchanged, 1), b80_batch}
          .In("radio.B80"),
      // Piped, the sequence is part of the name; typed, it is a key that
      // does nothing, and the empty name ends the run at once.
      {"EscapeSequenceAsTheName", q, "\x1b[2J",
       as_given("\x1b[2J", "File \x1b[2J" + not_found, FileAfter::kUnchanged, 1),
       Reading{"", "[name.ext]? \n"}},
      Case{"ArrowKeysEditTheName", q, arrows,
           as_given(arrows, "/RADIO.80\x1b[D\x1b[DB" + not_found, FileAfter::kUnchanged, 1),
           b80_batch}
          .In("radio.B80"),
      Case{"LoneEscErasesWhatWasTyped", q, lone_escape,
           as_given(lone_escape, "Cannot open file junk\x1b", FileAfter::kUnchanged, 1), b80_batch}
          .In("radio.B80"),
      Case{"Utf8Name", q, "@DIR@/ラジオ.910",
           as_given("@DIR@/ラジオ.910", "", FileAfter::kBatch, 0)}
          .In("radio.910", "ラジオ.910"),
      Case{"StrayHighByteInTheName", q, "@DIR@/radio\xe9.900",
           as_given("@DIR@/radio\xe9.900", "", FileAfter::kBatch, 0)}
          .In("radio.900", "radio\xe9.900"),
      // Only a to z are upper-cased in the not-found line.
      Case{"NonAsciiEnding", q, fullwidth,
           as_given(fullwidth, "/RADIO.９００" + not_found, FileAfter::kUnchanged, 1)}
          .In("radio.900"),
      Case{"NameEndsMidLine", q, "@DIR@/radio.900", {"@DIR@/radio.900", "", FileAfter::kBatch}}
          .EndingMidLine()
          .In("radio.900"),
  };
}

std::vector<Case> ModeCases() {
  const Question q = Question::kMode;
  return {
      {"EThen5000Letters", q, "E" + Repeat("x", 5000), kBatch},
      // Cut at 4096, the blanks that are left still follow the E.
      {"EThen5000Blanks", q, "E" + Repeat(" ", 5000), kBatch},
      {"HundredLetterEs", q, Repeat("e", 100), kBatch},
      {"EThenALineOver64KiB", q, "E" + k64KiB, kBatch},
      // Blanks are skipped before the item; a piped line keeps only 64 KiB
      // of them and a typed one 8192, so there the E never arrives.
      {"EAfterBlanksOver64KiB", q, Repeat(" ", 70000) + "E", kEditor, kBatch, kBatch},
      {"ENul", q, "E\0"s, kBatch, kEditor},
      {"NulE", q, "\0E"s, kBatch, kEditor},
      {"BinaryBytes", q, "\x80\xfe\xff\x01", kBatch},
      // The rest of a piped line answers the next question: 0, the end.
      {"ECommaBinary", q, "E,\x01\xff", kEditor},
      {"Bell", q, "\x07", kBatch},
      {"EDelete", q, "E\x7f", kBatch},
      {"BackspaceE", q,
       "\x08"
       "E",
       kBatch, kEditor},
      {"LeftDeleteEditsToE", q, "x\x1b[D\x1b[3~E", kBatch, kEditor},
      {"ArrowKey", q, "\x1b[A", kBatch},
      {"ELoneEsc", q, "E\x1b", kBatch},
      {"LoneEscErasesJunkBeforeE", q,
       "junk\x1b"
       "E",
       kBatch, kEditor},
      // A line end of CR LF: a pipe drops the CR; the line editor takes CR
      // as Enter and the LF as an empty line, which the system question
      // reads as 0.
      {"ECarriageReturn", q, "E\r", kBatch, kEditor, kEditor},
      {"FullwidthE", q, "Ｅ", kBatch},
      {"EAcute", q, "É", kBatch},
      {"ECombiningAccent", q, "E\xcc\x81", kBatch},
      {"EStrayHighByte", q, "E\xc3", kBatch},
      Case{"EEndsMidLine", q, "E", kEditor}.EndingMidLine(),
      Case{"JunkEndsMidLine", q, "\xff\0x"s, kBatch}.EndingMidLine(),
  };
}

std::vector<Case> SystemCases() {
  const Question q = Question::kSystem;
  return {
      // 68 characters: cut at 67 the item is 1; whole it would be 19.
      {"NumberCutAt67", q, Repeat("0", 66) + "19", kSystemOne},
      {"HundredNines", q, Repeat("9", 100), kInvalidSystem},
      {"OneAfter5000Blanks", q, Repeat(" ", 5000) + "1", kSystemOne},
      {"OneThen5000Zeros", q, "1" + Repeat("0", 5000), kInvalidSystem},
      {"OneAfterBlanksOver64KiB", q, Repeat(" ", 70000) + "1", kSystemOne, kQuit, kQuit},
      {"DigitsOver64KiB", q, Repeat("1", 70000), kInvalidSystem},
      {"OneNulBinary", q, "1\0\xff"s, kSystemOne},
      {"NulOne", q, "\0"s + "1", kQuit, kSystemOne},
      {"BinaryBytes", q, "\x01\x02\xfe", kQuit},
      {"Bell", q, "\x07", kQuit},
      {"OneBackspace", q, "1\x08", kSystemOne, kQuit},
      {"ArrowKey", q, "\x1b[A", kQuit},
      {"CtrlRightThenOne", q, "\x1b[1;5C1", kQuit, kSystemOne},
      {"ColourCodesAround19", q, "\x1b[1m19\x1b[0m", kQuit, kNotValidSystem},
      {"LoneEscErasesNine",
       q,
       "9\x1b"
       "1",
       {"9", "Not a valid system! "},
       kSystemOne},
      {"FullwidthOne", q, "１", kQuit},
      {"OneEuro", q, "1€", kSystemOne},
      {"StrayHighByte", q, "\xb9", kQuit},
      Case{"OneEndsMidLine", q, "1", {"1", kNothingWritten}}.EndingMidLine(),
      Case{"NineteenEndsMidLine", q, "19", kNotValidSystem}.EndingMidLine(),
  };
}

std::vector<Case> GroupCases() {
  const Question q = Question::kGroup;
  const Reading ctrl_d{"", kNothingWritten, FileAfter::kUnchanged, 0, "", true};
  return {
      // 68 characters: cut at 67 the item is 2; whole it would be 25.
      {"NumberCutAt67", q, Repeat("0", 66) + "25", kGroupTwo},
      {"HundredNines", q, Repeat("9", 100), kInvalidGroup},
      {"TwoAfter5000Blanks", q, Repeat(" ", 5000) + "2", kGroupTwo},
      {"DigitsOver64KiB", q, Repeat("2", 70000), kInvalidGroup},
      {"TwoNulBinary", q, "2\0\xfe"s, kGroupTwo},
      {"Nul", q, "\0"s, kInvalidGroup},
      {"ControlCharacters", q, "\x01\x02\x03", kInvalidGroup},
      {"TwoDelete", q, "2\x7f", kGroupTwo, kInvalidGroup},
      {"TwoCtrlD", q, "2\x04", kGroupTwo},
      // Typed, Ctrl-D on an empty line ends the input: the editor ends.
      {"CtrlD", q, "\x04", kInvalidGroup, ctrl_d},
      {"PageUpKey", q, "\x1b[5~", kInvalidGroup},
      {"FullwidthTwo", q, "２", kInvalidGroup},
      {"TwoAndAHalfSign", q, "2½", kGroupTwo},
      {"StrayHighByte", q, "\xff", kInvalidGroup},
      Case{"TwoEndsMidLine", q, "2", kGroupTwo}.EndingMidLine(),
      Case{"JunkEndsMidLine", q, "\x80", kInvalidGroup}.EndingMidLine(),
  };
}

std::vector<Case> FrequencyCases() {
  const Question q = Question::kFrequency;
  const std::string blanks_to_4096 = Repeat(" ", 4091);  // after "902.5": 4096 characters
  return {
      // Cut at 4096 the x is gone and trailing blanks do not count.
      {"TextCutAt4096", q, "902.5" + blanks_to_4096 + "x", kWritten},
      {"Text4096IsKeptWhole", q, "902.5" + blanks_to_4096.substr(1) + "x", kNotOnStep},
      {"FiveThousandZeros", q, "902.5" + Repeat("0", 5000), kWritten},
      {"ZerosOver64KiB", q, "902.5" + Repeat("0", 70000), kWritten},
      // A text answer is not cut at 67: the 1 in the 68th place counts.
      {"TextLongerThan67", q, "902.5" + Repeat("0", 62) + "1", kNotOnStep},
      {"NulAfter", q, "902.5\0"s, kNotOnStep, kWritten},
      {"BinaryBefore", q,
       "\xff\xfe"
       "902.5",
       kBack},
      {"BellBefore", q,
       "\x07"
       "902.5",
       kBack, kWritten},
      {"TabsAround", q, "\t902.5\t", kWritten},
      {"DeleteCorrectsADigit", q, "902.55\x7f", kNotOnStep, kWritten},
      {"VerticalTabBefore", q,
       "\x0b"
       "902.5",
       kNotOnStep, kWritten},
      {"ArrowKeyBefore", q, "\x1b[A902.5", kBack, kWritten},
      {"LeftKeyPlacesThePoint", q, "9025\x1b[D.", kOutOfRange, kWritten},
      {"ColourCodes", q, "\x1b[31m902.5\x1b[0m", kBack, kWritten},
      {"LoneEscErasesAWrongNumber",
       q,
       "901\x1b"
       "902.5",
       {"901", "Invalid Freq. out of range. "},
       kWritten},
      {"TypedCtrlDInsideTheLine", q, "902.5\x04", kNotOnStep, kWritten},
      {"FullwidthDigits", q, "９０２．５", kBack},
      {"UnitAfterTheNumber", q, "902.5 MHz", kNotOnStep},
      {"StrayHighByteAfter", q, "902.5\xb5", kNotOnStep},
      Case{"EndsMidLine", q, "902.5", kWritten}.EndingMidLine(),
      Case{"EndsInsideQuotes", q, "\"902.5", kWritten}.EndingMidLine(),
  };
}

std::vector<Case> ChoiceCases() {
  const Question q = Question::kChoice;
  return {
      {"RThen5000Blanks", q, "R" + Repeat(" ", 5000), kOtherChoice},
      {"HundredLetterRs", q, Repeat("r", 100), kOtherChoice},
      {"ROver64KiB", q, "R" + k64KiB, kOtherChoice},
      {"RNul", q, "R\0"s, kOtherChoice, kReceive},
      {"BinaryBytes", q, "\0\x01\xfe"s, kOtherChoice},
      // A blank item, also when typed (a tab is blanks there).
      {"TabAlone", q, "\t", kStartScreen},
      {"Bell", q, "\x07", kOtherChoice, kStartScreen},
      {"QDelete", q, "Q\x7f", kOtherChoice, kStartScreen},
      {"ArrowKey", q, "\x1b[B", kOtherChoice, kStartScreen},
      {"LoneEscErasesQ", q, "Q\x1bT", kOtherChoice, kTransmit},
      {"FullwidthR", q, "Ｒ", kOtherChoice},
      {"RWithCaron", q, "Ř", kOtherChoice},
      {"StrayHighByte", q, "\xd2", kOtherChoice},
      Case{"REndsMidLine", q, "R", {"R", "Enter RX Freq: (902-928mhz) "}}.EndingMidLine(),
      Case{"TEndsMidLine", q, "T", {"T", "Enter TX Freq: (902-928mhz) "}}.EndingMidLine(),
  };
}

// ---------------------------------------------------------------------------
// One case, in every console, over every file its question is asked about.

struct Subject {
  std::string demo;       // "" when the folder stays empty
  std::string stored_as;  // its name in the folder
};

struct Finished {
  Outcome outcome;
  Bytes bytes;                  // the subject file afterwards
  std::set<std::string> files;  // what the folder holds afterwards
};

Finished RunIn(const TempDir& dir, const Subject& subject, const ConsoleMode& mode,
               const std::vector<std::string>& arguments, const std::string& script,
               const std::string& what) {
  if (!subject.demo.empty()) dir.Write(subject.stored_as, DemoNamed(subject.demo).file.bytes);
  Finished finished;
  finished.outcome = RunOnce(mode, arguments, script, what);
  if (!subject.demo.empty()) finished.bytes = ReadFileBytes(dir.Path() + "/" + subject.stored_as);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    finished.files.insert(entry.path().filename().string());
  }
  return finished;
}

// The offsets at which two file images differ, for a failure message.
std::string Differences(const Bytes& actual, const Bytes& expected) {
  std::string text = "length " + std::to_string(actual.size()) + ", expected " +
                     std::to_string(expected.size()) + "; bytes differ at";
  int shown = 0;
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()) && shown < 12; ++i) {
    if (actual[i] == expected[i]) continue;
    text += " " + std::to_string(i) + " (" + std::to_string(actual[i]) + ", expected " +
            std::to_string(expected[i]) + ")";
    ++shown;
  }
  return text;
}

std::string Printable(const std::string& text) {
  std::string shown;
  for (unsigned char c : text.substr(0, 80)) {
    if (c >= 0x20 && c < 0x7f) {
      shown += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      shown += escaped;
    }
  }
  return text.size() > 80 ? shown + "... (" + std::to_string(text.size()) + " bytes)" : shown;
}

void CheckCase(const Case& c, const QuestionSetup& setup) {
  const bool asks_name = setup.question == Question::kName;
  const Subject subject = asks_name ? Subject{c.file, c.stored_as.empty() ? c.file : c.stored_as}
                                    : Subject{setup.file, setup.file};
  for (const ConsoleMode& mode : kConsoleModes) {
    const Reading& reading = mode.source == Source::kTyped && c.typed   ? *c.typed
                             : mode.source == Source::kPiped && c.piped ? *c.piped
                                                                        : c.reading;
    const std::string what = std::string(c.label) + " at " + subject.stored_as + ", " + mode.name;
    SCOPED_TRACE(what + ": bad answer \"" + Printable(c.bad) + "\"");
    TempDir dir;
    const std::string after = c.ends_mid_line ? "" : setup.after;
    const std::string bad_script =
        Replace(setup.before + c.bad + (c.ends_mid_line ? "" : "\n") + after, "@DIR@", dir.Path());
    const std::string clean_script =
        reading.ends_input
            ? setup.before
            : Replace(setup.before + reading.clean + "\n" + after, "@DIR@", dir.Path());
    const std::vector<std::string> arguments =
        asks_name ? std::vector<std::string>{}
                  : std::vector<std::string>{dir.Path() + "/" + setup.file};

    const Finished bad = RunIn(dir, subject, mode, arguments, bad_script, what);
    const Finished clean =
        clean_script == bad_script ? bad : RunIn(dir, subject, mode, arguments, clean_script, what);

    // The bad answer acts exactly like the clean one...
    EXPECT_EQ(bad.outcome.status, clean.outcome.status);
    EXPECT_EQ(bad.outcome.dialogue, clean.outcome.dialogue);
    EXPECT_EQ(bad.outcome.errors, clean.outcome.errors);
    EXPECT_TRUE(bad.bytes == clean.bytes) << Differences(bad.bytes, clean.bytes);
    EXPECT_EQ(bad.files, clean.files);

    // ...and the clean one does what the dialogue promises.
    const std::string seen = clean.outcome.dialogue + clean.outcome.errors;
    EXPECT_EQ(clean.outcome.status, reading.status)
        << seen.substr(seen.size() > 400 ? seen.size() - 400 : 0);
    EXPECT_NE(seen.find(reading.shows), std::string::npos)
        << "missing \"" << Printable(reading.shows) << "\" in:\n"
        << seen.substr(seen.size() > 600 ? seen.size() - 600 : 0);
    if (!reading.hides.empty()) {
      EXPECT_EQ(seen.find(reading.hides), std::string::npos) << "unexpected " << reading.hides;
    }
    // Nothing is ever created: the folder holds the subject file alone.
    EXPECT_EQ(clean.files, subject.demo.empty() ? std::set<std::string>{}
                                                : std::set<std::string>{subject.stored_as});
    if (subject.demo.empty()) continue;
    const Demo& demo = DemoNamed(subject.demo);
    Bytes expected = demo.file.bytes;
    switch (reading.file) {
      case FileAfter::kUnchanged:
        EXPECT_TRUE(clean.bytes == expected) << Differences(clean.bytes, expected);
        break;
      case FileAfter::kWritten:
        for (const Edit& edit : demo.written)
          expected[static_cast<std::size_t>(edit.offset)] = edit.value;
        EXPECT_TRUE(clean.bytes == expected) << Differences(clean.bytes, expected);
        break;
      case FileAfter::kBatch:
        EXPECT_EQ(clean.bytes.size(), expected.size());
        EXPECT_NE(clean.bytes, expected);
        EXPECT_NE(seen.find(demo.batch_report), std::string::npos) << seen;
        break;
    }
  }
}

class BadInputTest : public ::testing::TestWithParam<Case> {};

TEST_P(BadInputTest, ActsLikeItsCleanAnswer) {
  const Case& c = GetParam();
  if (c.question == Question::kName) {
    CheckCase(c, QuestionSetup{Question::kName, "", "", ""});
    return;
  }
  for (const QuestionSetup& setup : kQuestionSetups) {
    if (setup.question == c.question) CheckCase(c, setup);
  }
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(BadInputAtTheNameQuestion, BadInputTest, ::testing::ValuesIn(NameCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(BadInputAtTheModeQuestion, BadInputTest, ::testing::ValuesIn(ModeCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(BadInputAtTheSystemQuestion, BadInputTest,
                         ::testing::ValuesIn(SystemCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(BadInputAtTheGroupQuestion, BadInputTest,
                         ::testing::ValuesIn(GroupCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(BadInputAtTheFrequencyQuestion, BadInputTest,
                         ::testing::ValuesIn(FrequencyCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(BadInputAtTheRxTxChoice, BadInputTest, ::testing::ValuesIn(ChoiceCases()),
                         CaseName);

// A piped name may hold a NUL byte. The run flow picks the handler by the
// ending after it, while the system would read the name only up to the NUL:
// without a check, a .DAT file named before the NUL would be opened and
// rewritten by the TK-930 rules. No file can have such a name: the run
// refuses it and leaves every file as it was.
TEST(BadFileNameTest, NameWithNulIsRefusedAndTouchesNoFile) {
  const Demo& demo = DemoNamed("kpg49d.dat");
  for (const ConsoleMode& mode : kConsoleModes) {
    if (mode.source == Source::kTyped) continue;  // a typed NUL is dropped
    SCOPED_TRACE(mode.name);
    TempDir dir;
    const std::string script = dir.Path() + "/kpg49d.dat\0.B80\n"s;
    const Finished run = RunIn(dir, {"kpg49d.dat", "kpg49d.dat"}, mode, {}, script,
                               "NUL in the name, " + std::string(mode.name));
    EXPECT_EQ(run.outcome.status, 1);
    EXPECT_TRUE(run.bytes == demo.file.bytes) << Differences(run.bytes, demo.file.bytes);
    EXPECT_EQ(run.outcome.dialogue.find("Process Complete"), std::string::npos);
    EXPECT_NE(run.outcome.errors, "");
  }
}

}  // namespace
}  // namespace rfretune
