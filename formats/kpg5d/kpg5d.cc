#include "formats/kpg5d/kpg5d.h"

namespace rfretune {

// Not built yet: the family's issue replaces these.
HandlerResult Tk930Handler(HandlerContext&) { return HandlerResult::NotDone(); }
HandlerResult Tk930HdHandler(HandlerContext&) { return HandlerResult::NotDone(); }
HandlerResult Tk931Handler(HandlerContext&) { return HandlerResult::NotDone(); }
HandlerResult Tk931HdHandler(HandlerContext&) { return HandlerResult::NotDone(); }

std::vector<DemoFile> Kpg5dDemoFiles() { return {}; }

}  // namespace rfretune
