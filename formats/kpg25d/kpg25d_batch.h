// The batch rules of the KPG25D family: how one group record's code and
// flags move into 902-928 MHz. Pure functions of the record's bytes; the
// handlers walk the file and write what these return.
#ifndef RFRETUNE_FORMATS_KPG25D_KPG25D_BATCH_H_
#define RFRETUNE_FORMATS_KPG25D_KPG25D_BATCH_H_

#include <optional>

namespace rfretune {

// The bytes a moved record is written back with.
struct Kpg25dMovedRecord {
  int low = 0;
  int high = 0;
  int flags = 0;
  bool operator==(const Kpg25dMovedRecord&) const = default;
};

// TK-941: moves 935.0125-939.9875 MHz down into 902-928 MHz. Nothing for a
// record that stays where it is.
std::optional<Kpg25dMovedRecord> ConvertTk941Record(int low, int high, int flags);

// TK-940: moves 851.0000-870.1875 MHz up. The flag byte keeps its value.
std::optional<Kpg25dMovedRecord> ConvertTk940Record(int low, int high, int flags);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG25D_KPG25D_BATCH_H_
