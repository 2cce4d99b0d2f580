// What every handler is given and what it gives back to the run flow.
#ifndef RFRETUNE_APP_HANDLER_H_
#define RFRETUNE_APP_HANDLER_H_

#include <optional>
#include <string>
#include <utility>

#include "io/console.h"
#include "io/data_file.h"

namespace rfretune {

struct HandlerContext {
  Console& console;
  // The name as the user gave it, passed unchanged to DataFile::Open.
  const std::string& data_file_name;
  // Changes written to the data file during the run; never reset.
  float& change_count;
};

// How a handler ended. The run flow prints a file error and turns the
// result into the exit status.
struct HandlerResult {
  // The run did what was asked (a conversion finished, an editor session
  // ended). False for a withdrawn type, an unsupported file, a file error.
  bool completed = true;
  std::optional<FileError> file_error;

  static HandlerResult Completed() { return {}; }
  static HandlerResult NotDone() { return {false, std::nullopt}; }
  static HandlerResult Failed(FileError error) { return {false, std::move(error)}; }
};

using Handler = HandlerResult (*)(HandlerContext& context);

}  // namespace rfretune

#endif  // RFRETUNE_APP_HANDLER_H_
