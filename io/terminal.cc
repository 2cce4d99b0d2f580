#include "io/terminal.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace rfretune {
namespace {

// The terminal's own settings, and the raw ones used while a line is typed.
// Signal handlers need them, so they live here rather than in an object.
struct TerminalState {
  int fd = -1;
  termios saved{};
  termios raw{};
  volatile sig_atomic_t raw_active = 0;
};
TerminalState terminal_state;

void PutBackSettings() {
  if (terminal_state.fd >= 0) tcsetattr(terminal_state.fd, TCSANOW, &terminal_state.saved);
}

// Ctrl-C, termination and hang-up: put the terminal back, then let the
// signal take its usual effect.
void OnEndingSignal(int signal_number) {
  PutBackSettings();
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

// Ctrl-Z: put the terminal back while stopped, and take up raw mode again
// when continued in the middle of a line.
void OnStopSignal(int) {
  PutBackSettings();
  raise(SIGSTOP);
  if (terminal_state.raw_active) tcsetattr(terminal_state.fd, TCSANOW, &terminal_state.raw);
}

int ReadKey(int fd) {
  unsigned char byte;
  for (;;) {
    const ssize_t got = read(fd, &byte, 1);
    if (got == 1) return byte;
    if (got < 0 && errno == EINTR) continue;
    return -1;
  }
}

// A key that follows Esc within this time belongs to an escape sequence;
// otherwise Esc was pressed alone.
int ReadKeyWithin(int fd, int milliseconds) {
  pollfd wait_for{fd, POLLIN, 0};
  if (poll(&wait_for, 1, milliseconds) <= 0) return -1;
  return ReadKey(fd);
}

enum class Key { kNone, kLeft, kRight, kHome, kEnd, kDelete, kEscape };

// Reads what follows an Esc: "[" or "O" sequences for the arrow, Home, End
// and Delete keys; anything else is Esc alone, and a key that followed it
// at once (typed ahead or pasted) is left in `next_key` rather than lost.
Key ReadEscapeSequence(int fd, int& next_key) {
  const int introducer = ReadKeyWithin(fd, 50);
  if (introducer != '[' && introducer != 'O') {
    next_key = introducer;
    return Key::kEscape;
  }
  std::string parameter;
  for (int guard = 0; guard < 16; ++guard) {
    const int c = ReadKeyWithin(fd, 50);
    if (c < 0) return Key::kNone;
    if (c >= 0x40 && c <= 0x7E) {
      switch (c) {
        case 'D':
          return Key::kLeft;
        case 'C':
          return Key::kRight;
        case 'H':
          return Key::kHome;
        case 'F':
          return Key::kEnd;
        case '~':
          if (parameter == "1" || parameter == "7") return Key::kHome;
          if (parameter == "4" || parameter == "8") return Key::kEnd;
          if (parameter == "3") return Key::kDelete;
          return Key::kNone;
        default:
          return Key::kNone;
      }
    }
    parameter += static_cast<char>(c);
  }
  return Key::kNone;
}

std::string MoveLeft(std::size_t columns) {
  return columns == 0 ? "" : "\x1b[" + std::to_string(columns) + "D";
}

}  // namespace

void FdOutput::Write(std::string_view text) {
  buffer_ += text;
  if (buffer_.size() >= 64 * 1024) Flush();
}

void FdOutput::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t put = write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;  // nobody to tell: the output is gone
    done += static_cast<std::size_t>(put);
  }
  buffer_.clear();
}

bool FdInput::Fill() {
  if (ended_) return false;
  buffer_.resize(64 * 1024);
  for (;;) {
    const ssize_t got = read(fd_, buffer_.data(), buffer_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ended_ = true;
      buffer_.clear();
      position_ = 0;
      return false;
    }
    buffer_.resize(static_cast<std::size_t>(got));
    position_ = 0;
    return true;
  }
}

bool FdInput::ReadLine(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (position_ >= buffer_.size() && !Fill()) return any;
    any = true;
    const std::size_t end = buffer_.find('\n', position_);
    const std::size_t stop = end == std::string::npos ? buffer_.size() : end;
    if (line.size() < kMaxLineLength) {
      line.append(buffer_, position_, std::min(stop - position_, kMaxLineLength - line.size()));
    }
    position_ = stop;
    if (end != std::string::npos) {
      ++position_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
  }
}

bool TerminalLineEditor::ReadLine(std::string& line) {
  line.clear();
  const bool raw_mode = terminal_state.fd == in_fd_;
  if (raw_mode) {
    terminal_state.raw_active = 1;
    tcsetattr(in_fd_, TCSADRAIN, &terminal_state.raw);
  }
  std::size_t cursor = 0;
  int next_key = -1;  // a key read ahead after a lone Esc
  bool ended = false;
  auto redraw = [&](std::size_t old_cursor) {
    std::string screen = MoveLeft(old_cursor) + line + "\x1b[K" + MoveLeft(line.size() - cursor);
    echo_.Write(screen);
    echo_.Flush();
  };
  for (;;) {
    const int c = next_key >= 0 ? std::exchange(next_key, -1) : ReadKey(in_fd_);
    const std::size_t before = cursor;
    if (c < 0) {  // the terminal is gone
      ended = line.empty();
      break;
    }
    if (c == '\r' || c == '\n') break;
    if (c == 0x04) {  // Ctrl-D
      if (line.empty()) {
        ended = true;
        break;
      }
      continue;
    }
    if (c == 0x7F || c == 0x08) {
      if (cursor == 0) continue;
      line.erase(--cursor, 1);
    } else if (c == '\t') {
      const std::size_t blanks = 8 - cursor % 8;
      if (line.size() + blanks > kMaxLineLength) continue;
      line.insert(cursor, blanks, ' ');
      cursor += blanks;
    } else if (c == 0x1B) {
      switch (ReadEscapeSequence(in_fd_, next_key)) {
        case Key::kLeft:
          if (cursor > 0) --cursor;
          break;
        case Key::kRight:
          if (cursor < line.size()) ++cursor;
          break;
        case Key::kHome:
          cursor = 0;
          break;
        case Key::kEnd:
          cursor = line.size();
          break;
        case Key::kDelete:
          if (cursor < line.size()) {
            line.erase(cursor, 1);
          } else {
            echo_.Write("\a");
          }
          break;
        case Key::kEscape:
          line.clear();
          cursor = 0;
          break;
        case Key::kNone:
          break;
      }
    } else if (c < 0x20) {
      continue;  // other control keys mean nothing here
    } else {
      if (line.size() >= kMaxLineLength) {
        echo_.Write("\a");
        echo_.Flush();
        continue;
      }
      line.insert(cursor++, 1, static_cast<char>(c));
      if (cursor == line.size()) {
        // Typing at the end of the line needs only the key itself on the
        // screen, which keeps a long paste from redrawing the line each time.
        echo_.Write(std::string(1, static_cast<char>(c)));
        echo_.Flush();
        continue;
      }
    }
    redraw(before);
  }
  if (raw_mode) {
    tcsetattr(in_fd_, TCSADRAIN, &terminal_state.saved);
    terminal_state.raw_active = 0;
  }
  return !ended;
}

void InstallTerminalRestore(int fd) {
  if (tcgetattr(fd, &terminal_state.saved) != 0) return;
  terminal_state.raw = terminal_state.saved;
  // Keys arrive one by one without echo; ISIG stays so that Ctrl-C still
  // interrupts, and output processing stays as it was.
  terminal_state.raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | IEXTEN));
  terminal_state.raw.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | INLCR | IGNCR));
  terminal_state.raw.c_cc[VMIN] = 1;
  terminal_state.raw.c_cc[VTIME] = 0;
  terminal_state.fd = fd;

  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_handler = OnEndingSignal;
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
    sigaction(signal_number, &action, nullptr);
  action.sa_handler = OnStopSignal;
  sigaction(SIGTSTP, &action, nullptr);
}

void RestoreTerminal() {
  terminal_state.raw_active = 0;
  PutBackSettings();
}

int TerminalWidth(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace rfretune
