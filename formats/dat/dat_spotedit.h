// Spotedit: the interactive editor of single receive and transmit
// frequencies of a .DAT file.
#ifndef RFRETUNE_FORMATS_DAT_DAT_SPOTEDIT_H_
#define RFRETUNE_FORMATS_DAT_DAT_SPOTEDIT_H_

#include <optional>

#include "app/handler.h"
#include "formats/dat/dat_layout.h"
#include "io/data_file.h"

namespace rfretune {

// Runs the editor on the open file until the user gives 0 as the system
// number (or the input ends), then prints its report line. Every accepted
// frequency is written and made durable before the next screen; when that
// fails the editor stops at once and returns the error.
std::optional<FileError> DatSpotedit(DataFile& file, const DatVariantDescription& variant,
                                     HandlerContext& context);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_DAT_DAT_SPOTEDIT_H_
