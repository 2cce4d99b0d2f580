// The console dialogue: printing with a tracked cursor column, print zones,
// the question form, and text and number answers, over an input source and an
// output sink so that whole dialogues can be driven from strings.
#ifndef RFRETUNE_IO_CONSOLE_H_
#define RFRETUNE_IO_CONSOLE_H_

#include <string>
#include <string_view>

namespace rfretune {

// Where typed lines come from.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // Reads one line into `line`, without its line end. Returns false, with
  // `line` empty, when the input has ended before any character of a line.
  virtual bool ReadLine(std::string& line) = 0;
};

// Where printed text goes.
class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual void Write(std::string_view text) = 0;
  // Pushes buffered text out; called before every read of an answer.
  virtual void Flush() {}
};

struct ConsoleOptions {
  // A person types at a terminal: questions show their prompt and "? ", and
  // each question reads a fresh line. Otherwise answers are items taken from
  // the input stream and nothing is shown for a question.
  bool interactive = false;
  // Standard output is a terminal: only then does clearing send anything.
  bool output_is_terminal = false;
  int width = 80;
  // The column the terminal's cursor stands at when the console starts.
  int start_column = 0;
};

class Console {
 public:
  Console(InputSource& input, OutputSink& output, ConsoleOptions options);

  void PrintText(std::string_view text);
  void PrintLine(std::string_view text);
  void PrintEmptyLine();
  // Prints the text, then blanks up to the next 14-column print zone, or a
  // line end when that zone would leave less than 15 columns.
  void PrintToNextZone(std::string_view text);
  // The NumberText of the value, without a line end.
  void PrintNumber(float value);
  void PrintNumberLine(float value);
  void ClearScreen();

  // The question form followed by a text answer: one item of the line.
  std::string AskText(std::string_view prompt);
  // The question form followed by a number answer: one item, as a number.
  float AskNumber(std::string_view prompt);

  // True once a question has found the input ended: from then on text
  // answers are empty and number answers 0.
  bool InputEnded() const { return input_ended_; }
  int CursorColumn() const { return column_; }
  int Width() const { return options_.width; }
  bool Interactive() const { return options_.interactive; }
  void Flush() { output_.Flush(); }

 private:
  // Puts the prompt up (interactive only) and returns the text the answer's
  // item is taken from; `pending_` then holds what follows it on the line.
  bool NextLineForAnswer(std::string_view prompt);
  void FinishAnswer(std::size_t consumed);

  InputSource& input_;
  OutputSink& output_;
  ConsoleOptions options_;
  int column_;
  bool input_ended_ = false;
  // Non-interactive mode: the rest of the current input line, which the next
  // question takes its item from.
  std::string pending_;
  bool has_pending_ = false;
};

}  // namespace rfretune

#endif  // RFRETUNE_IO_CONSOLE_H_
