// End-to-end runs of the built program: through pipes, and through a
// pseudo-terminal that types with the editing keys and interrupts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::FileExists;
using testing::TempDir;

struct Finished {
  int status = -1;  // exit status, or -1 when ended by a signal
  int signal = 0;
  std::string output;
  std::string errors;
};

Finished Wait(pid_t pid) {
  Finished done;
  int raw = 0;
  waitpid(pid, &raw, 0);
  if (WIFEXITED(raw)) done.status = WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) done.signal = WTERMSIG(raw);
  return done;
}

std::vector<char*> Argv(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<std::size_t>(got));
  return text;
}

// Runs the program with standard input, output and error on pipes.
Finished RunPiped(std::vector<std::string> arguments, const std::string& input) {
  arguments.insert(arguments.begin(), RFRETUNE_BINARY);
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    auto argv = Argv(arguments);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (!input.empty()) (void)!write(in[1], input.data(), input.size());
  close(in[1]);
  Finished done;
  std::thread error_reader([&] { done.errors = ReadAll(err[0]); });
  done.output = ReadAll(out[0]);
  error_reader.join();
  close(out[0]);
  close(err[0]);
  const Finished ended = Wait(pid);
  done.status = ended.status;
  done.signal = ended.signal;
  return done;
}

TEST(ProgramTest, PipedRunWithoutAnswersEndsQuietly) {
  const Finished run = RunPiped({}, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output.find("\x1b[2J"), std::string::npos);  // no clear sequence into a pipe
  EXPECT_EQ(run.output.rfind("     RFRETUNE", 0), 0u);
  EXPECT_EQ(run.output.find("? "), std::string::npos);
  EXPECT_EQ(run.output.substr(run.output.size() - 4), "\r\n\r\n");
}

TEST(ProgramTest, PipedNameAndMissingFile) {
  const Finished unknown = RunPiped({}, "c:\\kpg\\radio.txt\n");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.output.find("\r\nFile C:\\KPG\\RADIO.TXT not found\r\n"), std::string::npos);

  TempDir dir;
  const std::string name = dir.Path() + "/gone.910";
  const Finished missing = RunPiped({name}, "");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.errors, "File " + name + " not found\n");
  EXPECT_FALSE(FileExists(name));
}

// A program on a pseudo-terminal, with the terminal side kept open by the
// test so that its settings can be compared after the program has gone.
class PtyProgram {
 public:
  explicit PtyProgram(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), RFRETUNE_BINARY);
    winsize size{24, 80, 0, 0};
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) return;
    tcgetattr(slave_, &before_);
    pid_ = fork();
    if (pid_ == 0) {
      setsid();
      ioctl(slave_, TIOCSCTTY, 0);
      dup2(slave_, 0);
      dup2(slave_, 1);
      dup2(slave_, 2);
      close(master_);
      close(slave_);
      auto argv = Argv(arguments);
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  ~PtyProgram() {
    if (pid_ > 0 && !finished_) {
      kill(pid_, SIGKILL);
      Wait(pid_);
    }
    if (master_ >= 0) close(master_);
    close(slave_);
  }

  // Reads the screen until `text` has appeared `times` times, or five
  // seconds pass.
  bool WaitFor(const std::string& text, int times = 1) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Count(text) < times) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd ready{master_, POLLIN, 0};
      if (poll(&ready, 1, 50) > 0) {
        char buffer[1024];
        const ssize_t got = read(master_, buffer, sizeof buffer);
        if (got <= 0) return Count(text) >= times;
        screen_.append(buffer, static_cast<std::size_t>(got));
      }
    }
    return true;
  }
  void Type(const std::string& keys) {
    (void)!write(master_, keys.data(), keys.size());
    // Esc alone is told from a key sequence by a pause after it.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
  }
  // Waits for the program to end, keeping what it still prints.
  Finished End() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int raw = 0;
    pid_t ended = 0;
    while (ended == 0 && std::chrono::steady_clock::now() < deadline) {
      Drain(50);
      ended = waitpid(pid_, &raw, WNOHANG);
    }
    Drain(0);
    Finished done;
    if (ended == pid_) {
      finished_ = true;
      if (WIFEXITED(raw)) done.status = WEXITSTATUS(raw);
      if (WIFSIGNALED(raw)) done.signal = WTERMSIG(raw);
    }
    done.output = screen_;
    return done;
  }
  void Drain(int milliseconds) {
    if (master_ < 0) return;
    pollfd ready{master_, POLLIN, 0};
    while (poll(&ready, 1, milliseconds) > 0) {
      char buffer[1024];
      const ssize_t got = read(master_, buffer, sizeof buffer);
      if (got <= 0) return;
      screen_.append(buffer, static_cast<std::size_t>(got));
    }
  }
  void Signal(int number) { kill(pid_, number); }
  // Closes the terminal as a window closing would: the program gets SIGHUP.
  void Hangup() {
    close(master_);
    master_ = -1;
  }
  int Count(const std::string& text) const {
    int count = 0;
    for (std::size_t at = screen_.find(text); at != std::string::npos;
         at = screen_.find(text, at + 1)) {
      ++count;
    }
    return count;
  }
  bool SettingsAsBefore() const {
    termios after{};
    tcgetattr(slave_, &after);
    return after.c_lflag == before_.c_lflag && after.c_iflag == before_.c_iflag &&
           after.c_oflag == before_.c_oflag && after.c_cflag == before_.c_cflag &&
           std::memcmp(after.c_cc, before_.c_cc, sizeof after.c_cc) == 0;
  }
  const std::string& Screen() const { return screen_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  pid_t pid_ = -1;
  bool finished_ = false;
  termios before_{};
  std::string screen_;
};

constexpr const char* kNameQuestion = "[name.ext]? ";

TEST(ProgramTerminalTest, EditingKeysShapeTheTypedName) {
  PtyProgram program({});
  ASSERT_TRUE(program.WaitFor(kNameQuestion));
  program.Type("junk");
  program.Type("\x1b");  // Esc erases the line
  program.Type("adio.tx");
  program.Type("\x1b[H");  // Home
  program.Type("r");
  program.Type("\x1b[F");        // End
  program.Type("tq\x7f");        // Backspace
  program.Type("\x1b[D\x1b[D");  // Left twice
  program.Type("\x1b[3~");       // Delete removes the x under the cursor
  program.Type("x");
  program.Type("\x1b[C\x1b[C");  // Right twice, to the end
  program.Type("\x1b[3~");       // Delete at the end only beeps
  program.Type("\r");
  ASSERT_TRUE(program.WaitFor(" not found"));
  const Finished done = program.End();
  EXPECT_NE(done.output.find("\nFile RADIO.TXT not found\r"), std::string::npos) << done.output;
  EXPECT_EQ(done.status, 1);
  EXPECT_TRUE(program.SettingsAsBefore());
}

TEST(ProgramTerminalTest, KeysTypedRightAfterEscAreKept) {
  PtyProgram program({});
  ASSERT_TRUE(program.WaitFor(kNameQuestion));
  program.Type("junk\x1bradio.txt\r");  // all at once, as a paste arrives
  ASSERT_TRUE(program.WaitFor(" not found"));
  EXPECT_NE(program.End().output.find("\nFile RADIO.TXT not found"), std::string::npos);
}

TEST(ProgramTerminalTest, TabInsertsBlanksToTheNextMultipleOfEight) {
  PtyProgram program({});
  ASSERT_TRUE(program.WaitFor(kNameQuestion));
  program.Type("ab\tc\r");
  ASSERT_TRUE(program.WaitFor(" not found"));
  EXPECT_NE(program.End().output.find("File AB      C not found"), std::string::npos);
}

TEST(ProgramTerminalTest, EndOfInputAtTheNameQuestionEndsTheRun) {
  PtyProgram program({});
  ASSERT_TRUE(program.WaitFor(kNameQuestion));
  program.Type("\x04");
  const Finished done = program.End();
  EXPECT_EQ(done.status, 0);
  EXPECT_EQ(done.signal, 0);
  EXPECT_TRUE(program.SettingsAsBefore());
}

TEST(ProgramTerminalTest, InterruptsLeaveTheTerminalAsItWas) {
  const struct {
    const char* how;
    int signal;
  } cases[] = {{"Ctrl-C", SIGINT}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}};
  for (const auto& c : cases) {
    PtyProgram program({});
    ASSERT_TRUE(program.WaitFor(kNameQuestion)) << c.how;
    program.Type("half a na");
    if (c.signal == SIGINT) {
      program.Type("\x03");
    } else {
      program.Signal(c.signal);
    }
    const Finished done = program.End();
    EXPECT_EQ(done.signal, c.signal) << c.how;
    EXPECT_TRUE(program.SettingsAsBefore()) << c.how;
  }
}

// Where a question waits, the keys that lead there from the start, and the
// piped answers that leave the file as it must be after a signal there (the
// edits accepted so far) and after end of input (which answers the waiting
// question as empty).
struct StopPoint {
  const char* where;
  const char* demo;  // a file of build/demo
  const char* keys;
  const char* prompt;
  int prompt_times;
  const char* piped_as_signalled;
  const char* piped_as_ended;
};

constexpr StopPoint kStopPoints[] = {
    {"TK-941 mode question", "radio.910", "", "Hit Enter.? ", 1, "E\n0\n", ""},
    {".DAT mode question", "kpg49d.dat", "", "Hit Enter.? ", 1, "E\n0\n", ""},
    {"TK-941 editor after a write", "radio.910", "E\r1\r1\r920.1\r",
     "Enter Freq: (902-928mhz) / 0 to Quit:? ", 2, "E\n1\n1\n920.1\n0\n0\n", "E\n1\n1\n920.1\n"},
    {"KPG49D editor after a write", "kpg49d.dat", "E\r1\r1\rR\r927.125\r",
     "or Q / Enter to Quit:? ", 2, "E\n1\n1\nR\n927.125\nQ\n0\n", "E\n1\n1\nR\n927.125\n"},
    {"KPG35D editor after a write", "kpg35d.dat", "e\r1\r4\rT\r920.1\r", "or Q / Enter to Quit:? ",
     2, "e\n1\n4\nT\n920.1\nQ\n0\n", "e\n1\n4\nT\n920.1\n"},
};

enum class Stop { kCtrlC, kTerm, kHangupSignal, kEndOfInput, kCloseTerminal };

TEST(ProgramTerminalTest, EveryWayOutKeepsTheTerminalAndTheAcceptedEdits) {
  const struct {
    const char* how;
    Stop stop;
  } ways[] = {{"Ctrl-C", Stop::kCtrlC},
              {"SIGTERM", Stop::kTerm},
              {"SIGHUP", Stop::kHangupSignal},
              {"Ctrl-D", Stop::kEndOfInput},
              {"closed terminal", Stop::kCloseTerminal}};
  for (const StopPoint& point : kStopPoints) {
    TempDir dir;
    const testing::Bytes demo =
        testing::ReadFileBytes(std::string(RFRETUNE_DEMO_DIR "/") + point.demo);
    ASSERT_FALSE(demo.empty()) << point.demo;
    auto piped = [&](const char* answers) {
      const std::string reference = dir.Write("reference.copy" + std::string(point.demo), demo);
      EXPECT_EQ(RunPiped({reference}, answers).status, 0) << point.where;
      return testing::ReadFileBytes(reference);
    };
    const testing::Bytes as_signalled = piped(point.piped_as_signalled);
    const testing::Bytes as_ended = piped(point.piped_as_ended);
    const std::string name = dir.Path() + "/" + point.demo;
    for (const auto& way : ways) {
      const std::string label = std::string(point.where) + ", " + way.how;
      dir.Write(point.demo, demo);
      PtyProgram program({name});
      program.Type(point.keys);
      ASSERT_TRUE(program.WaitFor(point.prompt, point.prompt_times)) << label << program.Screen();
      switch (way.stop) {
        case Stop::kCtrlC:
          program.Type("\x03");
          break;
        case Stop::kTerm:
          program.Signal(SIGTERM);
          break;
        case Stop::kHangupSignal:
          program.Signal(SIGHUP);
          break;
        case Stop::kEndOfInput:
          program.Type("\x04");
          break;
        case Stop::kCloseTerminal:
          program.Hangup();
          break;
      }
      const Finished done = program.End();
      EXPECT_TRUE(done.signal != 0 || done.status >= 0) << label << ": still running";
      if (way.stop == Stop::kEndOfInput) {
        EXPECT_EQ(done.status, 0) << label;
      }
      if (way.stop != Stop::kCloseTerminal) {
        EXPECT_TRUE(program.SettingsAsBefore()) << label;
      }
      EXPECT_EQ(testing::ReadFileBytes(name),
                way.stop == Stop::kEndOfInput ? as_ended : as_signalled)
          << label;
    }
  }
}

}  // namespace
}  // namespace rfretune
