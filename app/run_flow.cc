#include "app/run_flow.h"

#include "app/extension_table.h"
#include "app/handler.h"

namespace rfretune {
namespace {

constexpr const char* kBanner[] = {
    "     RFRETUNE binary auto-converter, Kenwood 900MHz radios (c) rfretune project",
    "     Latest information: README.md of the rfretune project",
    "",
    "     Supports the following   : TK-431     (KPG16D)  ",
    "                                TK-941/940 (KPG25D) with Spotedit.",
    "                                TK-481/981 (KPG49D) with Spotedit.",
    "                                TK-481     (KPG35D) with Spotedit.",
    "                  (800mhz Only) TK-930/HD  (KPG5D)  ",
    "",
    "                     WINdows Ver. 7 support                         09-07-2011",
    "",
    "",
};

constexpr const char* kNameQuestion =
    "Enter the full file name saved by the KW radio prg [name.ext]";

void PrintUsage(Console& console) {
  console.PrintLine("Usage: rfretune [FILE]");
  console.PrintLine("");
  console.PrintLine("Rewrites a radio data file in place, moving its stored frequencies into");
  console.PrintLine("the 902-928 MHz band in one batch pass, or, for TK-941 (.910) and .DAT");
  console.PrintLine("files, letting you set single frequencies in the Spotedit editor.");
  console.PrintLine("Without FILE the program asks for the name. Arguments are joined with");
  console.PrintLine("single blanks to form the name.");
  console.PrintLine("");
  console.PrintLine("Endings served (any case): " + KnownEndings());
  console.PrintLine("");
  console.PrintLine("Exit status: 0 when the file was processed, the editor session ended or");
  console.PrintLine("no name was given; 1 when the ending is unknown, the type is withdrawn,");
  console.PrintLine("the .DAT file is not supported, or the file cannot be opened or written.");
}

std::string FileErrorMessage(const FileError& error, const std::string& name) {
  switch (error.kind) {
    case FileErrorKind::kNotFound:
      return "File " + name + " not found\n";
    case FileErrorKind::kCannotOpen:
      return "Cannot open file " + name + ": " + error.reason + "\n";
    case FileErrorKind::kCannotWrite:
      return "Cannot write to file " + name + ": " + error.reason + "\n";
  }
  return "";
}

}  // namespace

int RunFlow(const std::vector<std::string>& arguments, Console& console, OutputSink& errors) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    PrintUsage(console);
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    console.PrintLine("rfretune " RFRETUNE_VERSION);
    return 0;
  }

  console.ClearScreen();
  std::string data_file_name;
  for (const std::string& argument : arguments) {
    if (&argument != &arguments.front()) data_file_name += ' ';
    data_file_name += argument;
  }
  float change_count = 0;
  for (const char* line : kBanner) console.PrintLine(line);

  if (data_file_name.empty()) data_file_name = console.AskText(kNameQuestion);
  if (data_file_name.empty()) return 0;

  Handler handler = HandlerFor(FormatNumber(ExtensionKey(data_file_name)));
  HandlerContext context{console, data_file_name, change_count};
  const HandlerResult result = handler(context);
  console.Flush();
  if (result.file_error) {
    errors.Write(FileErrorMessage(*result.file_error, data_file_name));
    errors.Flush();
  }
  return result.completed ? 0 : 1;
}

}  // namespace rfretune
