// Spotedit for TK-941 files: pick a system and a group, see its frequency,
// type a new one.
#ifndef RFRETUNE_FORMATS_KPG25D_KPG25D_SPOTEDIT_H_
#define RFRETUNE_FORMATS_KPG25D_KPG25D_SPOTEDIT_H_

#include <optional>

#include "io/console.h"
#include "io/data_file.h"

namespace rfretune {

// Runs the editor over the open file until the user gives system 0, or the
// input ends at the group question. Every accepted frequency is written and
// flushed to the file before the next screen, and adds 1 to `change_count`.
// Returns the error of a flush that failed; the editor stops there.
std::optional<FileError> Kpg25dSpotedit(Console& console, DataFile& file, float& change_count);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG25D_KPG25D_SPOTEDIT_H_
