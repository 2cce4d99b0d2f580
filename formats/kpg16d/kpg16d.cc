#include "formats/kpg16d/kpg16d.h"

#include <optional>

#include "formats/kpg16d/kpg16d_image.h"
#include "formats/kpg16d/kpg16d_layout.h"
#include "formats/kpg16d/tk431_conversion.h"
#include "io/data_file.h"

namespace rfretune {
namespace {

// Shifts the slots of every in-use block. A slot is touched only when all
// three of its bytes lie inside the file: a file cut short keeps its length
// and every byte of a slot it cuts through, rather than getting half a code
// converted or a flag byte appended past its end.
void ConvertTk431Blocks(DataFile& file) {
  for (int block = 0; block < kKpg16dBlockCount; ++block) {
    const std::int64_t base = Kpg16dBlockOffset(block);
    const std::int64_t marker = base + Kpg16dBlock::kInUseMarker;
    if (!file.Contains(marker) || file.ReadByte(marker) != Kpg16dBlock::kInUse) continue;
    for (int slot = Kpg16dBlock::kFirstSlot; slot <= Kpg16dBlock::kLastSlot; ++slot) {
      const std::int64_t code = base + Kpg16dBlock::FrequencyCode(slot);
      const std::int64_t flags = base + Kpg16dBlock::SlotFlags(slot);
      if (!file.Contains(code, Kpg16dBlock::kFrequencyCodeWidth) || !file.Contains(flags)) continue;
      const std::optional<Kpg16dSlotBytes> converted =
          ConvertTk431Slot({.low = file.ReadByte(code),
                            .high = file.ReadByte(code + 1),
                            .flags = file.ReadByte(flags)});
      if (!converted) continue;
      // The flag byte is written even when the normal shift kept it.
      file.WriteByte(code, converted->low);
      file.WriteByte(code + 1, converted->high);
      file.WriteByte(flags, converted->flags);
    }
  }
}

}  // namespace

HandlerResult Tk431Handler(HandlerContext& context) {
  context.console.PrintLine("Processing data file for TK-431..");
  DataFile file;
  if (std::optional<FileError> error = file.Open(context.data_file_name)) {
    return HandlerResult::Failed(*error);
  }
  ConvertTk431Blocks(file);
  if (std::optional<FileError> error = file.Close()) return HandlerResult::Failed(*error);
  context.console.PrintLine("Process Complete");
  return HandlerResult::Completed();
}

std::vector<DemoFile> Kpg16dDemoFiles() {
  // Blank slots hold code 0, outside every range; unnamed bytes hold blanks.
  Kpg16dImage image(/*code=*/0, /*flags=*/0, /*filler=*/0x2020);
  // Block 0: both edges of every range, with normal and alternative flags.
  image.SetSlot(0, 1, 6721, 0x00)
      .SetSlot(0, 2, 6799, 0x12)
      .SetSlot(0, 3, 6800, 0x02)
      .SetSlot(0, 4, 7039, 0xFF)
      .SetSlot(0, 5, 7040, 0x10)
      .SetSlot(0, 6, 7119, 0x13)
      .SetSlot(0, 7, 6720, 0x12)  // just below range 1: kept
      .SetSlot(0, 8, 7120, 0x12)  // just above range 3: kept
      .SetSlot(0, 9, 6081, 0x00)  // already in the band: kept
      .SetSlot(0, 10, 6900, 0x00);
  // Block 1: a few mid-range codes.
  image.SetSlot(1, 1, 6760, 0x12).SetSlot(1, 2, 6920, 0x00).SetSlot(1, 3, 7080, 0x12);
  // Block 2 is free: its codes lie in the ranges but stay as they are.
  image.SetMarker(2, 0xFF).SetSlot(2, 1, 6760, 0x12).SetSlot(2, 2, 7000, 0x00);
  return {DemoFile{"radio.900", image.Bytes()}};
}

}  // namespace rfretune
