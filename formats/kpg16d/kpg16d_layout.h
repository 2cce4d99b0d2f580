// The KPG16D data file of the TK-431, as far as the converter reads or
// writes it.
//
// The file is 16 blocks of 256 bytes. Each block starts with an in-use
// marker and holds ten frequency slots: a 16-bit code per slot (low byte
// first) and, further on, one flag byte per slot. Slots are numbered 1 to 10
// as the radio's programming software numbers them. Every other byte of a
// block (names, tones, options) is never read and keeps its value. Nothing
// at offset 4096 or beyond belongs to the layout.
#ifndef RFRETUNE_FORMATS_KPG16D_KPG16D_LAYOUT_H_
#define RFRETUNE_FORMATS_KPG16D_KPG16D_LAYOUT_H_

#include <cstdint>

namespace rfretune {

constexpr int kKpg16dBlockCount = 16;

struct Kpg16dBlock {
  static constexpr std::int64_t kSize = 256;

  // 0 marks a block in use; any other value marks a free block, whose
  // bytes are left exactly as they are even when they look like codes.
  static constexpr std::int64_t kInUseMarker = 0;
  static constexpr std::uint8_t kInUse = 0;

  static constexpr int kFirstSlot = 1;
  static constexpr int kLastSlot = 10;

  // Kpg16dFrequencyCode of slot s: 2 bytes, low byte first. In steps of
  // 12.5 kHz, the same steps the KPG25D files use.
  static constexpr std::int64_t kFrequencyCodeWidth = 2;
  static constexpr std::int64_t FrequencyCode(int slot) { return 30 + 2 * slot; }

  // Kpg16dSlotFlags of slot s: 1 byte. Bits 0x02 and 0x10 together select
  // the alternative shift; no other bit is looked at.
  static constexpr std::int64_t SlotFlags(int slot) { return 91 + slot; }
};

constexpr std::int64_t Kpg16dBlockOffset(int block) { return Kpg16dBlock::kSize * block; }

// One past the last byte of the layout.
constexpr std::int64_t kKpg16dLayoutEnd = Kpg16dBlockOffset(kKpg16dBlockCount);

static_assert(Kpg16dBlock::FrequencyCode(Kpg16dBlock::kFirstSlot) == 32);
static_assert(Kpg16dBlock::FrequencyCode(Kpg16dBlock::kLastSlot) +
                      Kpg16dBlock::kFrequencyCodeWidth ==
                  52,
              "codes fill offsets 32 to 51");
static_assert(Kpg16dBlock::SlotFlags(Kpg16dBlock::kFirstSlot) == 92);
static_assert(Kpg16dBlock::SlotFlags(Kpg16dBlock::kLastSlot) == 101);
static_assert(Kpg16dBlock::kInUseMarker < Kpg16dBlock::FrequencyCode(Kpg16dBlock::kFirstSlot) &&
                  Kpg16dBlock::FrequencyCode(Kpg16dBlock::kLastSlot) + 1 <
                      Kpg16dBlock::SlotFlags(Kpg16dBlock::kFirstSlot) &&
                  Kpg16dBlock::SlotFlags(Kpg16dBlock::kLastSlot) < Kpg16dBlock::kSize,
              "marker, codes and flags lie in this order inside a block");
static_assert(kKpg16dLayoutEnd == 4096);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG16D_KPG16D_LAYOUT_H_
