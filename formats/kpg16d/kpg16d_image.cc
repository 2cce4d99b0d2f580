#include "formats/kpg16d/kpg16d_image.h"

#include <cstddef>

#include "formats/kpg16d/kpg16d_layout.h"

namespace rfretune {

Kpg16dImage::Kpg16dImage(std::uint16_t code, std::uint8_t flags, std::uint16_t filler)
    : filler_(filler), bytes_(static_cast<std::size_t>(kKpg16dLayoutEnd)) {
  for (std::int64_t offset = 0; offset < kKpg16dLayoutEnd; ++offset) PutFiller(offset);
  for (int block = 0; block < kKpg16dBlockCount; ++block) {
    SetMarker(block, Kpg16dBlock::kInUse);
    for (int slot = Kpg16dBlock::kFirstSlot; slot <= Kpg16dBlock::kLastSlot; ++slot) {
      SetSlot(block, slot, code, flags);
    }
  }
}

void Kpg16dImage::PutFiller(std::int64_t offset) {
  bytes_[static_cast<std::size_t>(offset)] =
      static_cast<std::uint8_t>(offset % 2 == 0 ? filler_ & 0xFF : filler_ >> 8);
}

Kpg16dImage& Kpg16dImage::SetMarker(int block, std::uint8_t marker) {
  bytes_[static_cast<std::size_t>(Kpg16dBlockOffset(block) + Kpg16dBlock::kInUseMarker)] = marker;
  return *this;
}

Kpg16dImage& Kpg16dImage::SetSlot(int block, int slot, std::uint16_t code, std::uint8_t flags) {
  const auto at =
      static_cast<std::size_t>(Kpg16dBlockOffset(block) + Kpg16dBlock::FrequencyCode(slot));
  bytes_[at] = static_cast<std::uint8_t>(code & 0xFF);
  bytes_[at + 1] = static_cast<std::uint8_t>(code >> 8);
  bytes_[static_cast<std::size_t>(Kpg16dBlockOffset(block) + Kpg16dBlock::SlotFlags(slot))] = flags;
  return *this;
}

Kpg16dImage& Kpg16dImage::AppendFiller(std::int64_t count) {
  const auto end = static_cast<std::int64_t>(bytes_.size());
  bytes_.resize(static_cast<std::size_t>(end + count));
  for (std::int64_t offset = end; offset < end + count; ++offset) PutFiller(offset);
  return *this;
}

std::uint16_t Kpg16dImage::Code(int block, int slot) const {
  const auto at =
      static_cast<std::size_t>(Kpg16dBlockOffset(block) + Kpg16dBlock::FrequencyCode(slot));
  return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
}

std::uint8_t Kpg16dImage::Flags(int block, int slot) const {
  return bytes_[static_cast<std::size_t>(Kpg16dBlockOffset(block) + Kpg16dBlock::SlotFlags(slot))];
}

}  // namespace rfretune
