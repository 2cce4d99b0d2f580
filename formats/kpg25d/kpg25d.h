// The kpg25d family's entry points for the run flow and the demo builder.
#ifndef RFRETUNE_FORMATS_KPG25D_KPG25D_H_
#define RFRETUNE_FORMATS_KPG25D_KPG25D_H_

#include <vector>

#include "app/demo_file.h"
#include "app/handler.h"

namespace rfretune {

HandlerResult Tk941Handler(HandlerContext& context);
HandlerResult Tk940Handler(HandlerContext& context);

// Synthetic files of this family for build/demo/.
std::vector<DemoFile> Kpg25dDemoFiles();

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG25D_KPG25D_H_
