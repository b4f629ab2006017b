// Weak rock (code 6): the capacity use of the weak-rock socket procedure. Not available yet:
// every call writes the "NOT YET AVAILABLE" error block to the report, the run notes and the
// console, sets the run status to KOLMAR_STATUS_NOT_AVAILABLE and returns false, so that a
// profile holding such a layer never gives a silent zero resistance.
#pragma once

#include "run_context.h"
#include "settlement/rock_capacity.h"

namespace kolmar::engine {

// Unit side resistance and base resistance at query.z in the code-6 layer query.layer. Returns
// true with `out` filled, or false when the run must end (ctx.status is then set).
bool WeakRockCapacity(RunContext& ctx, const RockCapacityQuery& query, RockCapacity& out);

} // namespace kolmar::engine
