#include "formats/kpg5d/kpg5d.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

#include "formats/kpg5d/kpg5d_conversion.h"
#include "formats/kpg5d/kpg5d_image.h"
#include "formats/kpg5d/kpg5d_layout.h"
#include "io/data_file.h"

namespace rfretune {
namespace {

// Every code that lies wholly inside the file is converted and written back,
// shifted or not. A code the end of the file cuts through, and every code
// past it, is left alone: a short file keeps its length rather than being
// padded out with zero codes.
HandlerResult ConvertKpg5dFile(HandlerContext& context, Kpg5dModel model) {
  const Kpg5dLayout& layout = Kpg5dLayoutOf(model);
  context.console.PrintLine(layout.first_line);
  DataFile file;
  if (std::optional<FileError> error = file.Open(context.data_file_name)) {
    return HandlerResult::Failed(*error);
  }
  ForEachKpg5dCode(layout, [&file](int, int, std::int64_t offset) {
    if (!file.Contains(offset, kKpg5dFrequencyCodeWidth)) return;
    const Kpg5dCodeBytes converted =
        ConvertKpg5dCode({.low = file.ReadByte(offset), .high = file.ReadByte(offset + 1)});
    file.WriteByte(offset, converted.low);
    file.WriteByte(offset + 1, converted.high);
  });
  if (std::optional<FileError> error = file.Close()) return HandlerResult::Failed(*error);
  context.console.PrintLine("Process Complete");
  return HandlerResult::Completed();
}

// The TK-931 types are no longer converted; their notice leaves the file
// alone, unopened, and the run counts as not done.
HandlerResult WithdrawnNotice(HandlerContext& context, std::string_view first_line,
                              std::string_view notice) {
  context.console.PrintLine(first_line);
  context.console.PrintLine(notice);
  return HandlerResult::NotDone();
}

std::vector<std::uint8_t> DemoImage(Kpg5dModel model) {
  const Kpg5dLayout& layout = Kpg5dLayoutOf(model);
  // Blank codes are 0, outside both ranges; other bytes hold blanks.
  Kpg5dImage image(layout, /*code=*/0, /*filler=*/0x2020);
  // Both edges of both ranges, the codes just outside them, one code from
  // the middle of each range and one already in the band, in the first
  // codes of the file; the rest stay blank.
  constexpr std::uint16_t kDemoCodes[] = {31713, 32431, 32432, 33231, 31712,
                                          33232, 32000, 33000, 36600};
  std::size_t next = 0;
  ForEachKpg5dCode(layout, [&](int record, int index, std::int64_t) {
    if (next < std::size(kDemoCodes)) image.SetCode(record, index, kDemoCodes[next++]);
  });
  return image.Bytes();
}

}  // namespace

HandlerResult Tk930Handler(HandlerContext& context) {
  return ConvertKpg5dFile(context, Kpg5dModel::kTk930);
}

HandlerResult Tk930HdHandler(HandlerContext& context) {
  return ConvertKpg5dFile(context, Kpg5dModel::kTk930Hd);
}

HandlerResult Tk931Handler(HandlerContext& context) {
  return WithdrawnNotice(context, "Processing data file for TK-931..",
                         "TK-931 is no longer supported by RFRETUNE. Use RADPATCH.");
}

HandlerResult Tk931HdHandler(HandlerContext& context) {
  return WithdrawnNotice(context, "Processing data file for TK-931HD..",
                         "TK-931HD is no longer supported by RFRETUNE. Use RADPATCH.");
}

std::vector<DemoFile> Kpg5dDemoFiles() {
  return {DemoFile{"radio.B80", DemoImage(Kpg5dModel::kTk930)},
          DemoFile{"radio.F80", DemoImage(Kpg5dModel::kTk930Hd)}};
}

}  // namespace rfretune
