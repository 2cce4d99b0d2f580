// The real console: standard input and output, and line editing in raw mode
// when a person types at a terminal.
#ifndef RFRETUNE_IO_TERMINAL_H_
#define RFRETUNE_IO_TERMINAL_H_

#include <string>

#include "io/console.h"

namespace rfretune {

// Buffered writes to a file descriptor; write errors (a closed pipe) are
// ignored, as a console has nobody to report them to.
class FdOutput : public OutputSink {
 public:
  explicit FdOutput(int fd) : fd_(fd) {}
  ~FdOutput() override { Flush(); }
  void Write(std::string_view text) override;
  void Flush() override;

 private:
  int fd_;
  std::string buffer_;
};

// Lines read from a stream that is not a terminal. A line longer than
// kMaxLineLength keeps its first kMaxLineLength bytes; the rest is dropped,
// so that memory stays bounded whatever the input holds.
class FdInput : public InputSource {
 public:
  static constexpr std::size_t kMaxLineLength = 64 * 1024;
  explicit FdInput(int fd) : fd_(fd) {}
  bool ReadLine(std::string& line) override;

 private:
  bool Fill();
  int fd_;
  std::string buffer_;
  std::size_t position_ = 0;
  bool ended_ = false;
};

// Line editing on a terminal in raw mode: printable characters are inserted
// at the cursor; Backspace, Delete, Left, Right, Home and End; Esc erases the
// line; Tab inserts blanks up to the next multiple of 8; Enter ends the
// line; Ctrl-D on an empty line ends the input. Ctrl-C still interrupts.
// The terminal's settings are restored after every line, and by the signal
// handlers that InstallTerminalRestore sets up.
class TerminalLineEditor : public InputSource {
 public:
  static constexpr std::size_t kMaxLineLength = 8192;
  TerminalLineEditor(int in_fd, OutputSink& echo) : in_fd_(in_fd), echo_(echo) {}
  bool ReadLine(std::string& line) override;

 private:
  int in_fd_;
  OutputSink& echo_;
};

// Remembers the terminal settings of `fd` and installs handlers for SIGINT,
// SIGTERM, SIGHUP and SIGQUIT that put them back before the signal takes its
// usual effect. Call once at start, before any line is read.
void InstallTerminalRestore(int fd);

// Puts back the settings remembered by InstallTerminalRestore.
void RestoreTerminal();

// The terminal's width in columns, or 80 when it cannot be asked.
int TerminalWidth(int fd);

}  // namespace rfretune

#endif  // RFRETUNE_IO_TERMINAL_H_
