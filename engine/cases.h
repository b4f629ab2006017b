// The main analysis routine: reads the input, then runs the cases of the diameter and length
// loops. Sets ctx.status and returns at once when a condition ends the run early.
#pragma once

#include "run_context.h"

namespace kolmar::engine {

void MainAnalysis(RunContext& ctx);

} // namespace kolmar::engine
