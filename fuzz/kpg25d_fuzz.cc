// TK-941 (.910, batch and Spotedit) and TK-940 (.810) files.
#include <cstddef>
#include <cstdint>

#include "formats/kpg25d/kpg25d_layout.h"
#include "fuzz/fuzz_harness.h"

namespace rfretune::fuzz {
namespace {

// Code and flag bytes of every record wholly inside the file.
LayoutFields Kpg25dFields(DataFile& file) {
  LayoutFields fields;
  for (std::int64_t at = kKpg25dSystemTableOffset; at < Kpg25dGroupCountOffset(kKpg25dSystemCount);
       ++at) {
    fields.navigation.push_back(at);
  }
  ForEachKpg25dRecord(file, [&](const Kpg25dGroupRecord& record) {
    fields.writable.insert(fields.writable.end(), {record.offset + kKpg25dCodeLowField,
                                                   record.offset + kKpg25dCodeHighField,
                                                   record.offset + kKpg25dFlagsField});
  });
  return fields;
}

}  // namespace
}  // namespace rfretune::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rfretune::fuzz;
  FuzzInput input = DecodeFuzzInput(data, size);
  // The options byte's bit 1 picks the TK-940 ending.
  const bool tk940 = size > 0 && (data[0] & 2) != 0;
  RunAndCheck(tk940 ? ".810" : ".910", input, Kpg25dFields);
  return 0;
}
