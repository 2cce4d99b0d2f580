// The one registration point: each data file ending selects one handler.
#ifndef RFRETUNE_APP_EXTENSION_TABLE_H_
#define RFRETUNE_APP_EXTENSION_TABLE_H_

#include <string>
#include <string_view>

#include "app/handler.h"

namespace rfretune {

// The format number of a name whose ending is in no row of the table.
constexpr int kNotFoundFormatNumber = 6;

// The last three characters of the name (the whole name when shorter), with
// a to z upper-cased. No point is needed: "RADIO900" gives "900".
std::string ExtensionKey(std::string_view data_file_name);

// 1 to 9: the row of the key, or kNotFoundFormatNumber.
int FormatNumber(std::string_view extension_key);

// The handler of a format number; NotFoundHandler for 6 and anything else.
Handler HandlerFor(int format_number);

// Prints "File NAME not found" with the name upper-cased; touches no file.
HandlerResult NotFoundHandler(HandlerContext& context);

// The endings the table serves, for the usage text.
std::string KnownEndings();

}  // namespace rfretune

#endif  // RFRETUNE_APP_EXTENSION_TABLE_H_
