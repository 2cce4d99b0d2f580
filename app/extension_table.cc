#include "app/extension_table.h"

#include "formats/dat/dat.h"
#include "formats/kpg16d/kpg16d.h"
#include "formats/kpg25d/kpg25d.h"
#include "formats/kpg5d/kpg5d.h"

namespace rfretune {
namespace {

struct ExtensionRow {
  std::string_view key;
  int format_number;
  Handler handler;
};

// The numbers are the ones users and earlier versions know the types by;
// they do not follow the order of the keys, and 6 is the fallback.
constexpr ExtensionRow kExtensionTable[] = {
    {"900", 1, Tk431Handler},    // TK-431, KPG16D
    {"910", 2, Tk941Handler},    // TK-941, KPG25D, batch or Spotedit
    {"B90", 3, Tk931Handler},    // withdrawn TK-931: notice only
    {"F90", 4, Tk931HdHandler},  // withdrawn TK-931HD: notice only
    {"DAT", 5, DatHandler},      // KPG49D or KPG35D, batch or Spotedit
    {"B80", 7, Tk930Handler},    // TK-930, KPG5D
    {"F80", 8, Tk930HdHandler},  // TK-930HD, KPG5D
    {"810", 9, Tk940Handler},    // TK-940, KPG25D
};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string ExtensionKey(std::string_view data_file_name) {
  std::string key(data_file_name.substr(data_file_name.size() < 3 ? 0 : data_file_name.size() - 3));
  for (char& c : key) c = UpperAscii(c);
  return key;
}

int FormatNumber(std::string_view extension_key) {
  for (const ExtensionRow& row : kExtensionTable) {
    if (row.key == extension_key) return row.format_number;
  }
  return kNotFoundFormatNumber;
}

Handler HandlerFor(int format_number) {
  for (const ExtensionRow& row : kExtensionTable) {
    if (row.format_number == format_number) return row.handler;
  }
  return NotFoundHandler;
}

HandlerResult NotFoundHandler(HandlerContext& context) {
  std::string name = context.data_file_name;
  for (char& c : name) c = UpperAscii(c);
  context.console.PrintText("File ");
  context.console.PrintText(name);
  context.console.PrintLine(" not found");
  return HandlerResult::NotDone();
}

std::string KnownEndings() {
  std::string endings;
  for (const ExtensionRow& row : kExtensionTable) {
    if (!endings.empty()) endings += ", ";
    endings += row.key;
  }
  return endings;
}

}  // namespace rfretune
