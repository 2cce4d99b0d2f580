// Shared by the fuzz targets: one fuzz input is an answer script and a data
// file image; the program's own run flow handles the image, and the checks
// that every target makes are here.
#ifndef RFRETUNE_FUZZ_FUZZ_HARNESS_H_
#define RFRETUNE_FUZZ_FUZZ_HARNESS_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "io/data_file.h"

namespace rfretune::fuzz {

using Bytes = std::vector<std::uint8_t>;

// Input layout: one byte of options (bit 0: interactive console), two bytes
// of script length (low byte first), the script, then the image.
struct FuzzInput {
  bool interactive = false;
  std::string script;
  Bytes image;
};
FuzzInput DecodeFuzzInput(const std::uint8_t* data, std::size_t size);
Bytes EncodeFuzzInput(const FuzzInput& input);

// What a family's layout walk finds in an image: the offsets a run may write
// (code, flag and attribute bytes of records wholly inside the file, listed
// once per field, so an offset shared by two fields shows twice) and the
// bytes the walk reads to find its records (pointers, counts, markers).
struct LayoutFields {
  std::vector<std::int64_t> writable;
  std::vector<std::int64_t> navigation;
};
using LayoutWalk = std::function<LayoutFields(DataFile& file)>;

// Runs the program on the image, saved as "data" + ending, with the script
// as its typed answers, then checks and aborts on the first broken promise:
// - the file keeps its length;
// - every changed byte lies in a field the layout walk finds in the image
//   before the run (for an editor run over a garbled image whose fields lie
//   on the walk's own pointers and counts, only the length is checked);
// - a batch run over a batch run's result changes nothing more (the batch
//   is what an empty script selects), wherever the image's fields neither
//   overlap each other nor the bytes that lead the walk to them: a garbled
//   file whose records sit on its own pointers may change on every run.
// - the run ends, without printing without bound.
void RunAndCheck(const std::string& ending, const FuzzInput& input, const LayoutWalk& walk);

}  // namespace rfretune::fuzz

#endif  // RFRETUNE_FUZZ_FUZZ_HARNESS_H_
