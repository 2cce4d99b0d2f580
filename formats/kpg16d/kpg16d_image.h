// Whole synthetic KPG16D files, built from the layout for the tests and the
// demo files.
#ifndef RFRETUNE_FORMATS_KPG16D_KPG16D_IMAGE_H_
#define RFRETUNE_FORMATS_KPG16D_KPG16D_IMAGE_H_

#include <cstdint>
#include <vector>

namespace rfretune {

class Kpg16dImage {
 public:
  // 16 blocks, all in use. Every slot holds `code` and `flags`; every byte
  // the layout does not name holds the repeating pair `filler`, low byte at
  // even offsets, so that a stray read or write at any position shows.
  Kpg16dImage(std::uint16_t code, std::uint8_t flags, std::uint16_t filler);

  Kpg16dImage& SetMarker(int block, std::uint8_t marker);
  Kpg16dImage& SetSlot(int block, int slot, std::uint16_t code, std::uint8_t flags);
  // Appends `count` bytes of filler past the end of the layout.
  Kpg16dImage& AppendFiller(std::int64_t count);

  std::uint16_t Code(int block, int slot) const;
  std::uint8_t Flags(int block, int slot) const;
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  void PutFiller(std::int64_t offset);

  std::uint16_t filler_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG16D_KPG16D_IMAGE_H_
