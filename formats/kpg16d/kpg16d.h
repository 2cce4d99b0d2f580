// The kpg16d family's entry points for the run flow and the demo builder.
#ifndef RFRETUNE_FORMATS_KPG16D_KPG16D_H_
#define RFRETUNE_FORMATS_KPG16D_KPG16D_H_

#include <vector>

#include "app/demo_file.h"
#include "app/handler.h"

namespace rfretune {

HandlerResult Tk431Handler(HandlerContext& context);

// Synthetic files of this family for build/demo/.
std::vector<DemoFile> Kpg16dDemoFiles();

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG16D_KPG16D_H_
