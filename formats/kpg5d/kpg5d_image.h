// Whole synthetic KPG5D files, built from a layout row for the tests and the
// demo files.
#ifndef RFRETUNE_FORMATS_KPG5D_KPG5D_IMAGE_H_
#define RFRETUNE_FORMATS_KPG5D_KPG5D_IMAGE_H_

#include <cstdint>
#include <vector>

#include "formats/kpg5d/kpg5d_layout.h"

namespace rfretune {

class Kpg5dImage {
 public:
  // A file just long enough for every code of the layout. Every code holds
  // `code`; every other byte holds the repeating pair `filler`, low byte at
  // even offsets, so that a stray read or write at any position shows.
  Kpg5dImage(const Kpg5dLayout& layout, std::uint16_t code, std::uint16_t filler);

  Kpg5dImage& SetCode(int record, int index, std::uint16_t code);
  // Appends `count` bytes of filler past the last code.
  Kpg5dImage& AppendFiller(std::int64_t count);

  std::uint16_t Code(int record, int index) const;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  void PutFiller(std::int64_t offset);

  Kpg5dLayout layout_;
  std::uint16_t filler_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG5D_KPG5D_IMAGE_H_
