// The dat family's entry points for the run flow and the demo builder.
#ifndef RFRETUNE_FORMATS_DAT_DAT_H_
#define RFRETUNE_FORMATS_DAT_DAT_H_

#include <vector>

#include "app/demo_file.h"
#include "app/handler.h"

namespace rfretune {

HandlerResult DatHandler(HandlerContext& context);

// Synthetic files of this family for build/demo/.
std::vector<DemoFile> DatDemoFiles();

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_DAT_DAT_H_
