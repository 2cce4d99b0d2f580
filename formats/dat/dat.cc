#include "formats/dat/dat.h"

#include <string>

#include "formats/dat/dat_batch.h"
#include "formats/dat/dat_fixture.h"
#include "formats/dat/dat_spotedit.h"
#include "formats/dat/dat_walk.h"
#include "io/data_file.h"

namespace rfretune {
namespace {

constexpr std::string_view kModeQuestion =
    "To enter Spotedit mode enter E, For Normal batch Hit Enter.";
constexpr std::string_view kNotSupported = "File not supported...";

DatRecordSpec Record(const DatVariantDescription& variant, int group, std::string_view receive,
                     std::string_view transmit, std::uint8_t receive_attribute = kDatAttributeAfter,
                     std::uint8_t transmit_attribute = kDatAttributeAfter) {
  return {group, DatCode(variant, receive), DatCode(variant, transmit), receive_attribute,
          transmit_attribute};
}

// A file with something for every path of the handler: frequencies to move
// on both roles, frequencies already in the band, attributes to mark, an
// absent system by either byte, a trunked system and a group number used
// twice.
DemoFile DemoFor(const DatVariantDescription& variant, std::string name) {
  const auto& v = variant;
  DatImage image(variant, 1024);
  image.AddSystem(
      1, 200,
      {Record(v, 1, "935.1250", "896.1250", 51, 51), Record(v, 2, "937.5000", "898.7625", 51, 50),
       Record(v, 3, "927.0000", "902.0000"), Record(v, 4, "939.9875", "900.0125", 50, 51)});
  image.SetEntry(2, kDatAbsentSystemByte, 0);
  image.SetEntry(3, 0, kDatAbsentSystemByte);
  image.AddSystem(
      4, 400, {Record(v, 1, "936.0000", "897.0000", 51, 51), Record(v, 2, "938.2500", "899.5000")},
      /*trunked=*/true);
  image.AddSystem(
      5, 500,
      {Record(v, 7, "851.0125", "806.0125"), Record(v, 8, "935.6000", "896.6000", 51, 51),
       Record(v, 7, "938.0000", "899.0000", 51, 51)});
  return {std::move(name), image.Bytes()};
}

}  // namespace

HandlerResult DatHandler(HandlerContext& context) {
  Console& console = context.console;
  DataFile file;
  if (auto error = file.Open(context.data_file_name)) return HandlerResult::Failed(*error);

  const DatVariantDescription* variant = RecognizeDatVariant(file);
  if (variant == nullptr) {
    // Nothing was written: only the two signature bytes were read.
    if (auto error = file.Close()) return HandlerResult::Failed(*error);
    console.PrintLine(kNotSupported);
    return HandlerResult::NotDone();
  }

  console.PrintLine(variant->processing_line);
  const std::string answer = console.AskText(kModeQuestion);
  const std::optional<FileError> error = answer == "e" || answer == "E"
                                             ? DatSpotedit(file, *variant, context)
                                             : DatBatch(file, *variant, context);
  if (error) return HandlerResult::Failed(*error);
  if (auto close_error = file.Close()) return HandlerResult::Failed(*close_error);
  return HandlerResult::Completed();
}

std::vector<DemoFile> DatDemoFiles() {
  return {DemoFor(kKpg49dDescription, "kpg49d.dat"), DemoFor(kKpg35dDescription, "kpg35d.dat")};
}

}  // namespace rfretune
