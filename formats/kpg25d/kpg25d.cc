#include "formats/kpg25d/kpg25d.h"

namespace rfretune {

// Not built yet: the family's issue replaces these.
HandlerResult Tk941Handler(HandlerContext&) { return HandlerResult::NotDone(); }
HandlerResult Tk940Handler(HandlerContext&) { return HandlerResult::NotDone(); }

std::vector<DemoFile> Kpg25dDemoFiles() { return {}; }

}  // namespace rfretune
