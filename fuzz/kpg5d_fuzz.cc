// TK-930 and TK-930HD (.B80, .F80) files, and the withdrawn TK-931 endings,
// which must leave any image alone.
#include <cstddef>
#include <cstdint>

#include "formats/kpg5d/kpg5d_layout.h"
#include "fuzz/fuzz_harness.h"

namespace rfretune::fuzz {
namespace {

LayoutFields CodeFields(DataFile& file, Kpg5dModel model) {
  LayoutFields fields;
  ForEachKpg5dCode(Kpg5dLayoutOf(model), [&](int, int, std::int64_t offset) {
    if (file.Contains(offset, kKpg5dFrequencyCodeWidth)) {
      fields.writable.insert(fields.writable.end(), {offset, offset + 1});
    }
  });
  return fields;
}

}  // namespace
}  // namespace rfretune::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rfretune;
  using namespace rfretune::fuzz;
  const FuzzInput input = DecodeFuzzInput(data, size);
  // The script's first byte picks the ending, so one target covers all four.
  const int pick = input.script.empty() ? 0 : static_cast<unsigned char>(input.script[0]) % 4;
  switch (pick) {
    case 0:
      RunAndCheck(".B80", input, [](DataFile& file) { return CodeFields(file, Kpg5dModel::kTk930); });
      break;
    case 1:
      RunAndCheck(".F80", input,
                  [](DataFile& file) { return CodeFields(file, Kpg5dModel::kTk930Hd); });
      break;
    default:
      RunAndCheck(pick == 2 ? ".B90" : ".F90", input, [](DataFile&) { return LayoutFields{}; });
      break;
  }
  return 0;
}
