// The kpg5d family's entry points for the run flow and the demo builder.
#ifndef RFRETUNE_FORMATS_KPG5D_KPG5D_H_
#define RFRETUNE_FORMATS_KPG5D_KPG5D_H_

#include <vector>

#include "app/demo_file.h"
#include "app/handler.h"

namespace rfretune {

HandlerResult Tk930Handler(HandlerContext& context);
HandlerResult Tk930HdHandler(HandlerContext& context);
HandlerResult Tk931Handler(HandlerContext& context);
HandlerResult Tk931HdHandler(HandlerContext& context);

// Synthetic files of this family for build/demo/.
std::vector<DemoFile> Kpg5dDemoFiles();

}  // namespace rfretune

#endif  // RFRETUNE_FORMATS_KPG5D_KPG5D_H_
