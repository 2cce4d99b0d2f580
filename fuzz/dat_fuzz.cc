// .DAT files of either variant (batch and Spotedit), and of neither.
#include <cstddef>
#include <cstdint>

#include "formats/dat/dat_layout.h"
#include "formats/dat/dat_walk.h"
#include "fuzz/fuzz_harness.h"

namespace rfretune::fuzz {
namespace {

// Frequency and attribute bytes of every record wholly inside the file.
LayoutFields DatFields(DataFile& file) {
  LayoutFields fields;
  for (std::int64_t at = 0; at < kDatSystemTableOffset + kDatSystemCount * kDatSystemEntrySize;
       ++at) {
    fields.navigation.push_back(at);
  }
  const DatVariantDescription* variant = RecognizeDatVariant(file);
  if (variant == nullptr) return fields;
  for (int number = 1; number <= kDatSystemCount; ++number) {
    const DatSystemEntry entry = ReadDatSystemEntry(file, number);
    if (!entry.Present()) continue;
    fields.navigation.push_back(DatGroupCountOffset(*variant, number, entry.Base()));
    fields.navigation.push_back(DatTrunkMarkerOffset(*variant, number, entry.Base()));
  }
  ForEachDatRecord(file, *variant, [&](const DatSystemEntry&, std::int64_t origin) {
    for (DatRole role : kDatRoles) {
      const std::int64_t start = DatFrequencyOffset(origin, role);
      for (std::int64_t k = 0; k < kDatFrequencySize; ++k) fields.writable.push_back(start + k);
      if (variant->has_attributes) fields.writable.push_back(DatAttributeOffset(origin, role));
    }
  });
  return fields;
}

}  // namespace
}  // namespace rfretune::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rfretune::fuzz;
  RunAndCheck(".DAT", DecodeFuzzInput(data, size), DatFields);
  return 0;
}
