#include <signal.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "app/run_flow.h"
#include "io/terminal.h"

int main(int argc, char** argv) {
  using namespace rfretune;
  // A closed output pipe must not kill the program between two writes of a
  // record; output errors are ignored instead.
  signal(SIGPIPE, SIG_IGN);

  const bool typed_at_terminal = isatty(STDIN_FILENO) == 1;
  const bool output_is_terminal = isatty(STDOUT_FILENO) == 1;
  FdOutput output(STDOUT_FILENO);
  FdOutput errors(STDERR_FILENO);
  // Typed keys are echoed on the terminal they come from, also when the
  // dialogue itself is sent elsewhere.
  FdOutput terminal_echo(STDIN_FILENO);

  std::unique_ptr<InputSource> input;
  if (typed_at_terminal) {
    InstallTerminalRestore(STDIN_FILENO);
    input = std::make_unique<TerminalLineEditor>(STDIN_FILENO,
                                                 output_is_terminal ? output : terminal_echo);
  } else {
    input = std::make_unique<FdInput>(STDIN_FILENO);
  }
  const int width = TerminalWidth(output_is_terminal ? STDOUT_FILENO : STDIN_FILENO);
  Console console(*input, output, ConsoleOptions{typed_at_terminal, output_is_terminal, width, 0});

  const int status = RunFlow(std::vector<std::string>(argv + 1, argv + argc), console, errors);
  console.Flush();
  if (typed_at_terminal) RestoreTerminal();
  return status;
}
