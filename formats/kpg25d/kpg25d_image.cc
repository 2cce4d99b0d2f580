#include "formats/kpg25d/kpg25d_image.h"

#include "formats/kpg25d/kpg25d_layout.h"

namespace rfretune {

Kpg25dImage::Kpg25dImage(std::size_t size) : bytes_(size) {
  // A pattern of distinct, mostly non-zero bytes; it never needs to look
  // like a valid record.
  for (std::size_t i = 0; i < size; ++i) bytes_[i] = static_cast<std::uint8_t>((i * 37 + 11) % 251);
  for (int slot = 0; slot < kKpg25dSystemCount; ++slot) {
    SetPointerBytes(slot, kKpg25dEmptyPointerByte, kKpg25dEmptyPointerByte);
  }
}

Kpg25dImage& Kpg25dImage::AddSystem(int slot, std::int64_t records_offset,
                                    const std::vector<Kpg25dRecordSpec>& records) {
  const std::int64_t pointer = records_offset + kKpg25dPointerBase;
  SetPointerBytes(slot, static_cast<int>(pointer & 0xFF), static_cast<int>((pointer >> 8) & 0xFF));
  SetGroupCount(slot, static_cast<int>(records.size()));
  for (std::size_t index = 0; index < records.size(); ++index) {
    SetRecord(Kpg25dRecordOffset(static_cast<int>(pointer), static_cast<int>(index)),
              records[index]);
  }
  return *this;
}

Kpg25dImage& Kpg25dImage::SetPointerBytes(int slot, int low, int high) {
  SetByte(Kpg25dPointerLowOffset(slot), low);
  return SetByte(Kpg25dPointerHighOffset(slot), high);
}

Kpg25dImage& Kpg25dImage::SetGroupCount(int slot, int count) {
  return SetByte(Kpg25dGroupCountOffset(slot), count);
}

Kpg25dImage& Kpg25dImage::SetRecord(std::int64_t offset, const Kpg25dRecordSpec& record) {
  SetByte(offset + kKpg25dGroupNumberField, record.group_number);
  return SetCode(offset, record.code, record.flags);
}

Kpg25dImage& Kpg25dImage::SetCode(std::int64_t offset, int code, int flags) {
  SetByte(offset + kKpg25dCodeLowField, code & 0xFF);
  SetByte(offset + kKpg25dCodeHighField, (code >> 8) & 0xFF);
  return SetByte(offset + kKpg25dFlagsField, flags);
}

Kpg25dImage& Kpg25dImage::SetByte(std::int64_t offset, int value) {
  if (offset >= 0 && static_cast<std::uint64_t>(offset) < bytes_.size()) {
    bytes_[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value & 0xFF);
  }
  return *this;
}

}  // namespace rfretune
