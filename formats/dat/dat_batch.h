// The one-pass conversion of a .DAT file.
#ifndef RFRETUNE_FORMATS_DAT_DAT_BATCH_H_
#define RFRETUNE_FORMATS_DAT_DAT_BATCH_H_

#include <optional>

#include "app/handler.h"
#include "formats/dat/dat_layout.h"
#include "io/data_file.h"

namespace rfretune {

// Moves the receive and transmit frequencies of every record of every
// present system by the variant's rules, adding 1 to the change count for
// each frequency moved and marking KPG49D attributes of 51 as 50. Makes the
// changes durable, then prints the variant's report line; a file error is
// returned instead of the report.
std::optional<FileError> DatBatch(DataFile& file, const DatVariantDescription& variant,
                                  HandlerContext& context);

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_DAT_DAT_BATCH_H_
