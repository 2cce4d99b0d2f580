#include "io/console.h"

#include "io/number_text.h"

namespace rfretune {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kClearSequence = "\x1b[2J\x1b[H";
constexpr int kZoneWidth = 14;

}  // namespace

Console::Console(InputSource& input, OutputSink& output, ConsoleOptions options)
    : input_(input), output_(output), options_(options), column_(options.start_column) {
  if (options_.width < 1) options_.width = 80;
}

void Console::PrintText(std::string_view text) {
  output_.Write(text);
  column_ = static_cast<int>((column_ + text.size()) % static_cast<std::size_t>(options_.width));
}

void Console::PrintLine(std::string_view text) {
  PrintText(text);
  PrintEmptyLine();
}

void Console::PrintEmptyLine() {
  output_.Write(kLineEnd);
  column_ = 0;
}

void Console::PrintToNextZone(std::string_view text) {
  PrintText(text);
  const int zone = (column_ / kZoneWidth + 1) * kZoneWidth;
  if (zone > options_.width - 15) {
    PrintEmptyLine();
  } else {
    PrintText(std::string(static_cast<std::size_t>(zone - column_), ' '));
  }
}

void Console::PrintNumber(float value) { PrintText(NumberText(value)); }

void Console::PrintNumberLine(float value) { PrintLine(NumberText(value)); }

void Console::ClearScreen() {
  if (options_.output_is_terminal) output_.Write(kClearSequence);
  column_ = 0;
}

bool Console::NextLineForAnswer(std::string_view prompt) {
  if (options_.interactive) {
    PrintText(prompt);
    PrintText("? ");
    output_.Flush();
    // Once input has ended nothing more is read: every answer is empty.
    if (!input_ended_ && !input_.ReadLine(pending_)) input_ended_ = true;
    if (input_ended_) pending_.clear();
    PrintEmptyLine();
    return !input_ended_;
  }
  if (!has_pending_) {
    output_.Flush();
    if (input_ended_ || !input_.ReadLine(pending_)) {
      input_ended_ = true;
      pending_.clear();
      return false;
    }
    has_pending_ = true;
  }
  return true;
}

void Console::FinishAnswer(std::size_t consumed) {
  if (options_.interactive) {
    pending_.clear();  // the rest of a typed line is discarded
    return;
  }
  // A comma leaves the rest of the line for the next question; an item that
  // ran to the end of the line uses the line up.
  const bool line_used_up =
      consumed >= pending_.size() && (pending_.empty() || pending_.back() != ',');
  pending_.erase(0, consumed);
  if (line_used_up) has_pending_ = false;
}

std::string Console::AskText(std::string_view prompt) {
  if (!NextLineForAnswer(prompt)) return "";
  std::size_t consumed = 0;
  std::string item = TextItem(pending_, &consumed);
  FinishAnswer(consumed);
  return item;
}

float Console::AskNumber(std::string_view prompt) {
  if (!NextLineForAnswer(prompt)) return 0;
  std::size_t consumed = 0;
  const std::string item = NumberItem(pending_, &consumed);
  FinishAnswer(consumed);
  return NumberItemValue(item);
}

}  // namespace rfretune
