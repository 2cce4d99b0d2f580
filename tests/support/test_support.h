// Shared test fixtures: consoles driven from strings, temporary data files,
// and whole handler runs over a synthetic file image and a script of answers.
#ifndef RFRETUNE_TESTS_SUPPORT_TEST_SUPPORT_H_
#define RFRETUNE_TESTS_SUPPORT_TEST_SUPPORT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/handler.h"
#include "io/console.h"

namespace rfretune::testing {

using Bytes = std::vector<std::uint8_t>;

// Lines of a string, split at "\n". A last line without "\n" is still a line.
class StringInput : public InputSource {
 public:
  explicit StringInput(std::string text) : text_(std::move(text)) {}
  bool ReadLine(std::string& line) override;
  int LinesRead() const { return lines_read_; }

 private:
  std::string text_;
  std::size_t position_ = 0;
  int lines_read_ = 0;
};

class StringOutput : public OutputSink {
 public:
  void Write(std::string_view text) override { text_ += text; }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// A console over a script of typed lines with every printed byte captured.
struct ScriptedConsole {
  ScriptedConsole(std::string script, bool interactive, int width = 80);
  StringInput input;
  StringOutput output;
  Console console;
  const std::string& Output() const { return output.Text(); }
};

// A file in a fresh temporary folder, removed with the folder at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Writes the bytes to Path()/name and returns the full name.
  std::string Write(const std::string& name, const Bytes& bytes) const;

 private:
  std::string path_;
};

// Makes a file readable but not writable for as long as it lives: by its
// permission bits, or for the superuser (who ignores them) by marking it
// immutable. Made() is false where neither works.
class UnwritableFile {
 public:
  explicit UnwritableFile(std::string path);
  ~UnwritableFile();
  UnwritableFile(const UnwritableFile&) = delete;
  UnwritableFile& operator=(const UnwritableFile&) = delete;
  bool Made() const { return made_; }

 private:
  bool Set(bool on) const;
  std::string path_;
  bool made_;
};

Bytes ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// Everything a handler run left behind.
struct HandlerRun {
  HandlerResult result;
  std::string output;  // every byte the console printed
  Bytes bytes;         // the data file afterwards
  float change_count = 0;
  int lines_read = 0;  // answer lines the handler consumed
};

// Writes `image` to a temporary file named "data" + `ending` (".910",
// ".DAT", ...), runs the handler over it with the answers of `script`
// (lines separated by "\n") in the given console mode, and reports.
HandlerRun RunHandler(Handler handler, const Bytes& image, const std::string& ending,
                      const std::string& script = "", bool interactive = false);

// Test-readable form of a console transcript: "\r\n" shown as "\n".
std::string Lines(const std::string& output);

}  // namespace rfretune::testing

#endif  // RFRETUNE_TESTS_SUPPORT_TEST_SUPPORT_H_
