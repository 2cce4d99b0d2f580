#include "formats/kpg25d/kpg25d.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/kpg25d/kpg25d_batch.h"
#include "formats/kpg25d/kpg25d_image.h"
#include "formats/kpg25d/kpg25d_layout.h"
#include "formats/kpg25d/kpg25d_spotedit.h"

namespace rfretune {
namespace {

constexpr std::string_view kModeQuestion =
    "To enter Spotedit mode enter E, For Normal batch Hit Enter.";

using RecordRule = std::optional<Kpg25dMovedRecord> (*)(int low, int high, int flags);

// Applies the rule to every record in the file; returns the number moved.
// The records are found before any is changed: in a garbled file whose
// records lie over the system table, a write would otherwise lead the walk
// to records the file never had. Each record is read when its turn comes,
// so one shared by two systems is moved once.
int RunBatch(DataFile& file, RecordRule rule) {
  std::vector<std::int64_t> offsets;
  ForEachKpg25dRecord(file,
                      [&](const Kpg25dGroupRecord& found) { offsets.push_back(found.offset); });
  int moved_count = 0;
  for (const std::int64_t offset : offsets) {
    const Kpg25dGroupRecord record = Kpg25dReadRecord(file, offset);
    const auto moved = rule(record.code & 0xFF, record.code >> 8, record.flags);
    if (!moved) continue;
    Kpg25dWriteRecord(file, record.offset, moved->low + 256 * moved->high, moved->flags);
    ++moved_count;
  }
  return moved_count;
}

}  // namespace

HandlerResult Tk941Handler(HandlerContext& context) {
  Console& console = context.console;
  console.PrintLine("Processing data file for TK-941..");
  DataFile file;
  if (auto error = file.Open(context.data_file_name)) return HandlerResult::Failed(*error);

  const std::string answer = console.AskText(kModeQuestion);
  if (answer == "E" || answer == "e") {
    if (auto error = Kpg25dSpotedit(console, file, context.change_count)) {
      return HandlerResult::Failed(*error);
    }
  } else {
    context.change_count += static_cast<float>(RunBatch(file, ConvertTk941Record));
  }

  if (auto error = file.Close()) return HandlerResult::Failed(*error);
  console.PrintText("Processing Complete.");
  console.PrintNumber(context.change_count);
  console.PrintLine(" Change(s) made.");
  return HandlerResult::Completed();
}

HandlerResult Tk940Handler(HandlerContext& context) {
  Console& console = context.console;
  console.PrintLine("Processing data file for TK-940..");
  DataFile file;
  if (auto error = file.Open(context.data_file_name)) return HandlerResult::Failed(*error);
  // The TK-940 keeps no count of its changes.
  RunBatch(file, ConvertTk940Record);
  if (auto error = file.Close()) return HandlerResult::Failed(*error);
  console.PrintLine("Process Complete");
  return HandlerResult::Completed();
}

std::vector<DemoFile> Kpg25dDemoFiles() {
  // TK-941: system 1 has a record in each source block, normal and
  // alternative, at and beside the block edges; system 2 is an empty slot,
  // system 3 trunked, system 4 a second conventional system.
  Kpg25dImage radio910(640);
  radio910
      .AddSystem(0, 278,
                 {
                     {1, 39489, 0x00},  // 935.0125 -> 927.0125
                     {2, 39567, 0x06},  // 935.9875 -> 902.9875, talk-around on
                     {3, 39568, 0x02},  // 936.0000 -> 919.0000
                     {4, 39680, 0x00},  // 937.4000 -> 920.4000
                     {5, 39808, 0x04},  // 939.0000 -> 926.0000
                     {6, 39887, 0x06},  // 939.9875 -> 903.9875, talk-around on
                     {7, 39488, 0x06},  // 935.0000 stays
                     {8, 39888, 0x00},  // 940.0000 stays
                     {9, 36888, 0x02},  // 902.5000 stays
                 })
      .AddSystem(2, 460, {{1, 0xFF01, 0x00}, {2, 0x1234, 0x00}})
      .AddSystem(3, 520,
                 {
                     {10, 39728, 0x06},  // 938.0000 -> 909.0000
                     {20, 38448, 0x02},  // 922.0000 stays
                     {30, 38927, 0x00},  // 927.9875 stays
                 });

  // TK-940: the same shape, with codes below, in and above its two blocks.
  Kpg25dImage radio810(640);
  radio810
      .AddSystem(0, 278,
                 {
                     {1, 32768, 0x00},  // 851.0000 -> 902.0000
                     {2, 32769, 0x02},  // 851.0125 -> 902.0125
                     {3, 33487, 0x06},  // 859.9875 -> 910.9875
                     {4, 33488, 0x00},  // 860.0000 -> 918.0000
                     {5, 34303, 0x00},  // 870.1875 -> 928.1875
                     {6, 34304, 0x00},  // 870.2000 stays
                     {7, 32767, 0x00},  // 850.9875 stays
                     {8, 29408, 0x00},  // 809.0000 stays
                 })
      .AddSystem(2, 460, {{1, 0xFF01, 0x00}, {2, 0x1234, 0x00}})
      .AddSystem(3, 520,
                 {
                     {10, 33088, 0x00},  // 855.0000 -> 906.0000
                     {20, 38448, 0x02},  // 922.0000 stays
                 });

  return {{"radio.910", radio910.Bytes()}, {"radio.810", radio810.Bytes()}};
}

}  // namespace rfretune
