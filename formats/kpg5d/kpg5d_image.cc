#include "formats/kpg5d/kpg5d_image.h"

#include <cstddef>

namespace rfretune {

Kpg5dImage::Kpg5dImage(const Kpg5dLayout& layout, std::uint16_t code, std::uint16_t filler)
    : layout_(layout), filler_(filler), bytes_(static_cast<std::size_t>(Kpg5dLayoutEnd(layout))) {
  for (std::int64_t offset = 0; offset < Kpg5dLayoutEnd(layout_); ++offset) PutFiller(offset);
  ForEachKpg5dCode(layout_,
                   [&](int record, int index, std::int64_t) { SetCode(record, index, code); });
}

void Kpg5dImage::PutFiller(std::int64_t offset) {
  bytes_[static_cast<std::size_t>(offset)] =
      static_cast<std::uint8_t>(offset % 2 == 0 ? filler_ & 0xFF : filler_ >> 8);
}

Kpg5dImage& Kpg5dImage::SetCode(int record, int index, std::uint16_t code) {
  const auto at = static_cast<std::size_t>(Kpg5dCodeOffset(layout_, record, index));
  bytes_[at] = static_cast<std::uint8_t>(code & 0xFF);
  bytes_[at + 1] = static_cast<std::uint8_t>(code >> 8);
  return *this;
}

Kpg5dImage& Kpg5dImage::AppendFiller(std::int64_t count) {
  const auto end = static_cast<std::int64_t>(bytes_.size());
  bytes_.resize(static_cast<std::size_t>(end + count));
  for (std::int64_t offset = end; offset < end + count; ++offset) PutFiller(offset);
  return *this;
}

std::uint16_t Kpg5dImage::Code(int record, int index) const {
  const auto at = static_cast<std::size_t>(Kpg5dCodeOffset(layout_, record, index));
  return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
}

}  // namespace rfretune
