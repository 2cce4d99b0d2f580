// TK-431 (.900) files: random images through the program's run flow.
#include <cstddef>
#include <cstdint>

#include "formats/kpg16d/kpg16d_layout.h"
#include "fuzz/fuzz_harness.h"

namespace rfretune::fuzz {
namespace {

// Code and flag bytes of every slot of every in-use block inside the file.
LayoutFields Kpg16dFields(DataFile& file) {
  LayoutFields fields;
  for (int block = 0; block < kKpg16dBlockCount; ++block) {
    const std::int64_t base = Kpg16dBlockOffset(block);
    fields.navigation.push_back(base + Kpg16dBlock::kInUseMarker);
    if (file.ReadByte(base) != Kpg16dBlock::kInUse) continue;
    for (int slot = Kpg16dBlock::kFirstSlot; slot <= Kpg16dBlock::kLastSlot; ++slot) {
      const std::int64_t code = base + Kpg16dBlock::FrequencyCode(slot);
      const std::int64_t flags = base + Kpg16dBlock::SlotFlags(slot);
      if (!file.Contains(code, 2) || !file.Contains(flags)) continue;
      fields.writable.insert(fields.writable.end(), {code, code + 1, flags});
    }
  }
  return fields;
}

}  // namespace
}  // namespace rfretune::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rfretune::fuzz;
  RunAndCheck(".900", DecodeFuzzInput(data, size), Kpg16dFields);
  return 0;
}
