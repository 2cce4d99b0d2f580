// The KPG25D data file of the TK-941 (.910) and TK-940 (.810): the fields the
// program reads or rewrites, and the one walk from the system table to the
// group records. Every byte not named here keeps its value.
//
//   offset 0..7      not used
//   offset 8..71     system table: 32 pointers, low byte first
//   offset 72        not used
//   offset 73..104   group counts, one byte per system
//   from 105 on      group records of 19 bytes, wherever the pointers place them
//
// Group record (offsets from its start):
//   0      group number (1 to 250 in use)
//   1, 2   frequency code, low byte first
//   3..8   not interpreted
//   9      group flags
//   10..18 not interpreted
#ifndef RFRETUNE_FORMATS_KPG25D_KPG25D_LAYOUT_H_
#define RFRETUNE_FORMATS_KPG25D_KPG25D_LAYOUT_H_

#include <cstdint>
#include <optional>

#include "io/data_file.h"

namespace rfretune {

// --- System table and group counts -----------------------------------------

inline constexpr int kKpg25dSystemCount = 32;  // numbered 1 to 32 on the console
inline constexpr std::int64_t kKpg25dSystemTableOffset = 8;
inline constexpr std::int64_t kKpg25dSystemPointerSize = 2;
inline constexpr std::int64_t kKpg25dGroupCountsOffset = 73;
// A pointer with this value in either byte marks an empty system slot.
inline constexpr int kKpg25dEmptyPointerByte = 0xFF;

// Slots are 0-based (system number minus 1).
constexpr std::int64_t Kpg25dPointerLowOffset(int slot) {
  return kKpg25dSystemTableOffset + kKpg25dSystemPointerSize * slot;
}
constexpr std::int64_t Kpg25dPointerHighOffset(int slot) {
  return Kpg25dPointerLowOffset(slot) + 1;
}
constexpr std::int64_t Kpg25dGroupCountOffset(int slot) { return kKpg25dGroupCountsOffset + slot; }

static_assert(Kpg25dPointerHighOffset(kKpg25dSystemCount - 1) == 71);
static_assert(Kpg25dGroupCountOffset(kKpg25dSystemCount - 1) == 104);
static_assert(Kpg25dPointerHighOffset(kKpg25dSystemCount - 1) < kKpg25dGroupCountsOffset);

// --- Group records -----------------------------------------------------------

// A pointer holds the record's file offset plus this base: the programming
// software stores the address its own memory image gives the records, and
// pointer 0x6700 addresses offset 278. A smaller pointer would place the
// records before the start of the file, so such a system has none.
inline constexpr int kKpg25dPointerBase = 26090;
inline constexpr std::int64_t kKpg25dRecordSize = 19;

inline constexpr std::int64_t kKpg25dGroupNumberField = 0;
inline constexpr std::int64_t kKpg25dCodeLowField = 1;
inline constexpr std::int64_t kKpg25dCodeHighField = 2;
inline constexpr std::int64_t kKpg25dFlagsField = 9;
// Offsets 0 to 9 are all a record's reads and writes touch. A record is used
// only when these bytes all lie inside the file, so that a file cut short
// is never read as code 0 nor written at its end.
inline constexpr std::int64_t kKpg25dRecordUsedSpan = kKpg25dFlagsField + 1;

static_assert(kKpg25dGroupNumberField < kKpg25dCodeLowField);
static_assert(kKpg25dCodeLowField + 1 == kKpg25dCodeHighField);
static_assert(kKpg25dCodeHighField < kKpg25dFlagsField);
static_assert(kKpg25dRecordUsedSpan <= kKpg25dRecordSize);

// A trunked system has this value as the code high byte of its first record;
// the editor refuses it.
inline constexpr int kKpg25dTrunkedCodeHigh = 0xFF;

// Start of record `index` of the system whose pointer is `pointer`, for a
// pointer of at least kKpg25dPointerBase.
constexpr std::int64_t Kpg25dRecordOffset(int pointer, int index) {
  return static_cast<std::int64_t>(pointer) - kKpg25dPointerBase + kKpg25dRecordSize * index;
}
static_assert(Kpg25dRecordOffset(0x6700, 0) == 278);
static_assert(Kpg25dRecordOffset(0x6700, 2) == 316);

// --- Group flags -------------------------------------------------------------

// Set: talk-around is off ("Talk Around = N"). Cleared by the editor on every
// write and by the TK-941 batch when it takes the alternative shift.
inline constexpr int kKpg25dTalkAroundOff = 0x02;
// Together with kKpg25dTalkAroundOff it selects the TK-941 alternative shift.
inline constexpr int kKpg25dAlternativeShiftFlags = 0x06;

// --- Frequency code ------------------------------------------------------------

// Unsigned 16-bit, 12.5 kHz steps: code 36848 (0x8FF0) is 902.0000 MHz and
// code 38928 (0x9810) is 928.0000 MHz.
inline constexpr int kKpg25dCodesPerMhz = 80;
inline constexpr int kKpg25dCode902Mhz = 36848;
inline constexpr int kKpg25dCode928Mhz = kKpg25dCode902Mhz + 26 * kKpg25dCodesPerMhz;
inline constexpr int kKpg25dMaxCode = 0xFFFF;
static_assert(kKpg25dCode928Mhz == 38928);

// --- Reading, writing and walking records --------------------------------------

struct Kpg25dGroupRecord {
  int slot = 0;   // system number minus 1
  int index = 0;  // record number within the system, from 0
  std::int64_t offset = 0;
  int group_number = 0;
  int code = 0;  // 256 * high + low
  int flags = 0;
};

// A present system: neither pointer byte is kKpg25dEmptyPointerByte.
struct Kpg25dSystem {
  int pointer = 0;
  int group_count = 0;
};

// The system in `slot`, or nothing for an empty slot.
std::optional<Kpg25dSystem> Kpg25dLookupSystem(DataFile& file, int slot);

Kpg25dGroupRecord Kpg25dReadRecord(DataFile& file, std::int64_t offset);

// Writes exactly three bytes, in this order: code low, code high, flags.
void Kpg25dWriteRecord(DataFile& file, std::int64_t offset, int code, int flags);

// Visits, in order, the records of one present system that lie wholly inside
// the file: none when the pointer is below kKpg25dPointerBase or the count 0.
template <typename Visit>
void ForEachKpg25dSystemRecord(DataFile& file, int slot, const Kpg25dSystem& system, Visit visit) {
  if (system.pointer < kKpg25dPointerBase) return;
  for (int index = 0; index < system.group_count; ++index) {
    const std::int64_t offset = Kpg25dRecordOffset(system.pointer, index);
    if (!file.Contains(offset, kKpg25dRecordUsedSpan)) continue;
    Kpg25dGroupRecord record = Kpg25dReadRecord(file, offset);
    record.slot = slot;
    record.index = index;
    visit(record);
  }
}

// Visits every record of every present system, slot by slot, in order.
template <typename Visit>
void ForEachKpg25dRecord(DataFile& file, Visit visit) {
  for (int slot = 0; slot < kKpg25dSystemCount; ++slot) {
    if (const auto system = Kpg25dLookupSystem(file, slot)) {
      ForEachKpg25dSystemRecord(file, slot, *system, visit);
    }
  }
}

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG25D_KPG25D_LAYOUT_H_
