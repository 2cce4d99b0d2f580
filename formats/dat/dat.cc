#include "formats/dat/dat.h"

namespace rfretune {

// Not built yet: the family's issue replaces these.
HandlerResult DatHandler(HandlerContext&) { return HandlerResult::NotDone(); }

std::vector<DemoFile> DatDemoFiles() { return {}; }

}  // namespace rfretune
