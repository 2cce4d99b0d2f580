#include "formats/kpg25d/kpg25d_layout.h"

namespace rfretune {

std::optional<Kpg25dSystem> Kpg25dLookupSystem(DataFile& file, int slot) {
  const int low = file.ReadByte(Kpg25dPointerLowOffset(slot));
  const int high = file.ReadByte(Kpg25dPointerHighOffset(slot));
  if (low == kKpg25dEmptyPointerByte || high == kKpg25dEmptyPointerByte) return std::nullopt;
  return Kpg25dSystem{256 * high + low, file.ReadByte(Kpg25dGroupCountOffset(slot))};
}

Kpg25dGroupRecord Kpg25dReadRecord(DataFile& file, std::int64_t offset) {
  Kpg25dGroupRecord record;
  record.offset = offset;
  record.group_number = file.ReadByte(offset + kKpg25dGroupNumberField);
  record.code = file.ReadByte(offset + kKpg25dCodeLowField) +
                256 * file.ReadByte(offset + kKpg25dCodeHighField);
  record.flags = file.ReadByte(offset + kKpg25dFlagsField);
  return record;
}

void Kpg25dWriteRecord(DataFile& file, std::int64_t offset, int code, int flags) {
  file.WriteByte(offset + kKpg25dCodeLowField, code & 0xFF);
  file.WriteByte(offset + kKpg25dCodeHighField, (code >> 8) & 0xFF);
  file.WriteByte(offset + kKpg25dFlagsField, flags);
}

}  // namespace rfretune
