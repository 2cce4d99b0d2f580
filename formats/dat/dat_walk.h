// The one walk from the system table to the group records of a .DAT file,
// over any byte source with ReadByte(offset) and Contains(offset, count):
// the open DataFile for the batch and the editor, a fixture image for the
// tests and the demo files.
//
// Only bytes inside the file are used. A system whose table entry does not
// lie wholly inside the file counts as absent, a group count outside it as
// no records, and a record is visited only when every byte the program reads
// or writes in it (group number to the last field of the variant) lies
// inside the file, so that nothing is read as a made-up 0 or written past
// the end.
#ifndef RFRETUNE_FORMATS_DAT_DAT_WALK_H_
#define RFRETUNE_FORMATS_DAT_DAT_WALK_H_

#include <cstdint>
#include <optional>

#include "formats/dat/dat_layout.h"

namespace rfretune {

// The signature's variant, or nullptr for a file of neither variant (a file
// of fewer than five bytes included).
template <typename ByteSource>
const DatVariantDescription* RecognizeDatVariant(ByteSource& bytes) {
  if (!bytes.Contains(kDatSignatureOffset, kDatSignatureSize)) return nullptr;
  const std::uint8_t first = bytes.ReadByte(kDatSignatureOffset);
  const std::uint8_t second = bytes.ReadByte(kDatSignatureOffset + 1);
  for (const DatVariantDescription* variant : kDatVariants) {
    if (first == variant->signature[0] && second == variant->signature[1]) return variant;
  }
  return nullptr;
}

struct DatSystemEntry {
  int number = 0;       // 1 to 32
  bool inside = false;  // both bytes lie inside the file
  std::uint8_t low = 0;
  std::uint8_t high = 0;

  bool Present() const {
    return inside && low != kDatAbsentSystemByte && high != kDatAbsentSystemByte;
  }
  std::int64_t Base() const { return DatSystemBase(low, high); }
};

template <typename ByteSource>
DatSystemEntry ReadDatSystemEntry(ByteSource& bytes, int system_number) {
  DatSystemEntry entry;
  entry.number = system_number;
  const std::int64_t offset = DatSystemEntryOffset(system_number);
  entry.inside = bytes.Contains(offset, kDatSystemEntrySize);
  if (entry.inside) {
    entry.low = bytes.ReadByte(offset);
    entry.high = bytes.ReadByte(offset + 1);
  }
  return entry;
}

// The trunk marker of a present system; nothing when it lies outside the
// file.
template <typename ByteSource>
std::optional<std::uint8_t> ReadDatTrunkMarker(ByteSource& bytes,
                                               const DatVariantDescription& variant,
                                               const DatSystemEntry& entry) {
  const std::int64_t offset = DatTrunkMarkerOffset(variant, entry.number, entry.Base());
  if (!bytes.Contains(offset)) return std::nullopt;
  return bytes.ReadByte(offset);
}

// Calls visit(origin) for each record of a present system, in record order.
// The group count is read once, before the first record.
template <typename ByteSource, typename Visit>
void ForEachDatRecordOfSystem(ByteSource& bytes, const DatVariantDescription& variant,
                              const DatSystemEntry& entry, Visit&& visit) {
  if (!entry.Present()) return;
  const std::int64_t base = entry.Base();
  const std::int64_t count_offset = DatGroupCountOffset(variant, entry.number, base);
  const int count = bytes.Contains(count_offset) ? bytes.ReadByte(count_offset) : 0;
  for (int j = 0; j < count; ++j) {
    const std::int64_t origin = DatRecordOrigin(base, j);
    if (bytes.Contains(DatRecordFirstByte(origin), DatRecordUsedSize(variant))) visit(origin);
  }
}

// Calls visit(entry, origin) for each record of each present system,
// systems 1 to 32 in order. Each entry is read when its system's turn
// comes, so what a visit writes is seen by the systems after it.
template <typename ByteSource, typename Visit>
void ForEachDatRecord(ByteSource& bytes, const DatVariantDescription& variant, Visit&& visit) {
  for (int system_number = 1; system_number <= kDatSystemCount; ++system_number) {
    const DatSystemEntry entry = ReadDatSystemEntry(bytes, system_number);
    ForEachDatRecordOfSystem(bytes, variant, entry,
                             [&](std::int64_t origin) { visit(entry, origin); });
  }
}

template <typename ByteSource>
DatFrequencyCode ReadDatFrequency(ByteSource& bytes, std::int64_t origin, DatRole role) {
  const std::int64_t start = DatFrequencyOffset(origin, role);
  DatFrequencyCode code{};
  for (std::size_t k = 0; k < code.size(); ++k) {
    code[k] = bytes.ReadByte(start + static_cast<std::int64_t>(k));
  }
  return code;
}

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_DAT_DAT_WALK_H_
