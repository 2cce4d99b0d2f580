#include "fuzz/fuzz_harness.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/run_flow.h"
#include "io/console.h"

namespace rfretune::fuzz {
namespace {

// A handler that prints this much has lost its way: it is looping.
constexpr std::size_t kOutputLimit = 8 * 1024 * 1024;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

class ScriptInput : public InputSource {
 public:
  explicit ScriptInput(const std::string& script) : script_(script) {}
  bool ReadLine(std::string& line) override {
    line.clear();
    if (position_ >= script_.size()) return false;
    std::size_t end = script_.find('\n', position_);
    if (end == std::string::npos) end = script_.size();
    line = script_.substr(position_, end - position_);
    position_ = end + 1;
    return true;
  }

 private:
  const std::string& script_;
  std::size_t position_ = 0;
};

class BoundedOutput : public OutputSink {
 public:
  void Write(std::string_view text) override {
    written_ += text.size();
    if (written_ > kOutputLimit) Fail("output without bound: the handler loops");
  }

 private:
  std::size_t written_ = 0;
};

// Files live in memory-backed storage where there is one, so that the
// flushes after every edit cost nothing.
std::string WorkFolder() {
  static const std::string folder = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(base) + "/rfretune-fuzz-" + std::to_string(getpid());
  }();
  return folder;
}

void WriteFile(const std::string& name, const Bytes& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void RunProgram(const std::string& name, const std::string& script, bool interactive) {
  ScriptInput input(script);
  BoundedOutput output;
  BoundedOutput errors;
  Console console(input, output, ConsoleOptions{interactive, false, 80, 0});
  RunFlow({name}, console, errors);
}

}  // namespace

FuzzInput DecodeFuzzInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input;
  if (size < 3) {
    input.image.assign(data, data + size);
    return input;
  }
  input.interactive = (data[0] & 1) != 0;
  std::size_t script_size = data[1] | static_cast<std::size_t>(data[2]) << 8;
  if (script_size > size - 3) script_size = size - 3;
  input.script.assign(reinterpret_cast<const char*>(data + 3), script_size);
  input.image.assign(data + 3 + script_size, data + size);
  return input;
}

Bytes EncodeFuzzInput(const FuzzInput& input) {
  Bytes data{static_cast<std::uint8_t>(input.interactive ? 1 : 0),
             static_cast<std::uint8_t>(input.script.size() & 0xFF),
             static_cast<std::uint8_t>(input.script.size() >> 8 & 0xFF)};
  data.insert(data.end(), input.script.begin(), input.script.end());
  data.insert(data.end(), input.image.begin(), input.image.end());
  return data;
}

namespace {

LayoutFields Walk(const std::string& name, const LayoutWalk& walk) {
  DataFile file;
  if (file.Open(name)) return {};
  return walk(file);
}

bool FieldsStandApart(const LayoutFields& fields);

// Runs the program and checks the length and the changed bytes against the
// fields the layout walk found before the run. Returns the file afterwards.
// A batch finds its records before it changes any, so this holds for every
// batch. An editor searches the file afresh after each write; where the
// image's fields lie on the bytes that lead the walk (a garbled file), one
// write may move what the next search finds, so there only the length is
// checked for an editor run.
Bytes RunChecked(const std::string& name, const Bytes& before, const std::string& script,
                 bool interactive, const LayoutWalk& walk) {
  const LayoutFields fields = Walk(name, walk);
  const std::set<std::int64_t> allowed(fields.writable.begin(), fields.writable.end());
  const bool strict = script.empty() || FieldsStandApart(fields);
  RunProgram(name, script, interactive);
  const Bytes after = ReadFile(name);
  if (after.size() != before.size()) Fail("the file changed its length");
  for (std::size_t at = 0; strict && at < after.size(); ++at) {
    if (after[at] != before[at] && allowed.count(static_cast<std::int64_t>(at)) == 0) {
      Fail("byte " + std::to_string(at) + " changed outside the layout's fields");
    }
  }
  return after;
}

bool FieldsStandApart(const LayoutFields& fields) {
  std::set<std::int64_t> seen(fields.navigation.begin(), fields.navigation.end());
  for (std::int64_t at : fields.writable) {
    if (!seen.insert(at).second) return false;
  }
  return true;
}

}  // namespace

void RunAndCheck(const std::string& ending, const FuzzInput& input, const LayoutWalk& walk) {
  const std::string folder = WorkFolder();
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) Fail("cannot make " + folder);
  const std::string name = folder + "/data" + ending;
  WriteFile(name, input.image);

  const Bytes edited = RunChecked(name, input.image, input.script, input.interactive, walk);
  const bool stand_apart = FieldsStandApart(Walk(name, walk));
  const Bytes converted = RunChecked(name, edited, "", false, walk);
  const Bytes again = RunChecked(name, converted, "", false, walk);
  if (stand_apart && again != converted) Fail("a second batch run changed the converted file");
}

}  // namespace rfretune::fuzz
