#include "formats/kpg16d/kpg16d.h"

namespace rfretune {

// Not built yet: the family's issue replaces these.
HandlerResult Tk431Handler(HandlerContext&) { return HandlerResult::NotDone(); }

std::vector<DemoFile> Kpg16dDemoFiles() { return {}; }

}  // namespace rfretune
