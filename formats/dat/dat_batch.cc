#include "formats/dat/dat_batch.h"

#include <vector>

#include "formats/dat/dat_walk.h"

namespace rfretune {

std::optional<FileError> DatBatch(DataFile& file, const DatVariantDescription& variant,
                                  HandlerContext& context) {
  // The records are found before any is changed: in a garbled file whose
  // records lie over the group count table, a write would otherwise lead the
  // walk to records the file never had.
  std::vector<std::int64_t> origins;
  ForEachDatRecord(file, variant,
                   [&](const DatSystemEntry&, std::int64_t origin) { origins.push_back(origin); });
  for (const std::int64_t origin : origins) {
    for (DatRole role : kDatRoles) {
      const std::int64_t start = DatFrequencyOffset(origin, role);
      const std::int64_t low_offset = start + kDatMhzLowFromStart;
      const std::int64_t high_offset = start + kDatMhzHighFromStart;
      const DatMhzBytes before{file.ReadByte(low_offset), file.ReadByte(high_offset)};
      const DatMhzBytes after = DatApplyRules(variant, role, before);
      // Bytes that keep their value are not rewritten, so that a file with
      // nothing to move is not touched at all.
      if (after != before) {
        file.WriteByte(low_offset, after.low);
        file.WriteByte(high_offset, after.high);
        context.change_count += 1;
      }
      if (variant.has_attributes) {
        // The attribute is marked wherever a frequency was looked at, moved
        // or not, and is not counted as a change.
        const std::int64_t attribute_offset = DatAttributeOffset(origin, role);
        if (file.ReadByte(attribute_offset) == kDatAttributeBefore) {
          file.WriteByte(attribute_offset, kDatAttributeAfter);
        }
      }
    }
  }
  if (auto error = file.Flush()) return error;

  Console& console = context.console;
  console.PrintText(variant.batch_report_first);
  console.PrintNumber(context.change_count);
  console.PrintLine(variant.batch_report_second);
  return std::nullopt;
}

}  // namespace rfretune
