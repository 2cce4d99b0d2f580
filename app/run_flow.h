// The program's one driver: banner, choice of the data file, dispatch.
#ifndef RFRETUNE_APP_RUN_FLOW_H_
#define RFRETUNE_APP_RUN_FLOW_H_

#include <string>
#include <vector>

#include "io/console.h"

namespace rfretune {

// Runs one data file through its handler and returns the exit status: 0
// when the run did what was asked (or the user gave no name), 1 when it did
// not. File errors are written to `errors`.
int RunFlow(const std::vector<std::string>& arguments, Console& console, OutputSink& errors);

}  // namespace rfretune

#endif  // RFRETUNE_APP_RUN_FLOW_H_
