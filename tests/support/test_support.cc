#include "tests/support/test_support.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace rfretune::testing {

bool StringInput::ReadLine(std::string& line) {
  line.clear();
  if (position_ >= text_.size()) return false;
  std::size_t end = text_.find('\n', position_);
  if (end == std::string::npos) end = text_.size();
  line = text_.substr(position_, end - position_);
  position_ = end + 1;
  ++lines_read_;
  return true;
}

ScriptedConsole::ScriptedConsole(std::string script, bool interactive, int width)
    : input(std::move(script)),
      console(input, output, ConsoleOptions{interactive, false, width, 0}) {}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rfretune-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const Bytes& bytes) const {
  std::string full = path_ + "/" + name;
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return full;
}

UnwritableFile::UnwritableFile(std::string path) : path_(std::move(path)), made_(Set(true)) {}

UnwritableFile::~UnwritableFile() {
  if (made_) Set(false);
}

bool UnwritableFile::Set(bool on) const {
  if (geteuid() != 0) return chmod(path_.c_str(), on ? 0444 : 0644) == 0;
  const int fd = open(path_.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  close(fd);
  return done;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

HandlerRun RunHandler(Handler handler, const Bytes& image, const std::string& ending,
                      const std::string& script, bool interactive) {
  TempDir dir;
  const std::string name = dir.Write("data" + ending, image);
  ScriptedConsole scripted(script, interactive);
  HandlerRun run;
  HandlerContext context{scripted.console, name, run.change_count};
  run.result = handler(context);
  scripted.console.Flush();
  run.output = scripted.Output();
  run.bytes = ReadFileBytes(name);
  run.lines_read = scripted.input.LinesRead();
  return run;
}

std::string Lines(const std::string& output) {
  std::string text;
  for (std::size_t i = 0; i < output.size(); ++i) {
    if (output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n') continue;
    text += output[i];
  }
  return text;
}

}  // namespace rfretune::testing
