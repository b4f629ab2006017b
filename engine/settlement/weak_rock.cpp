// Weak rock: the capacity entry, not available in this version.
#include "settlement/weak_rock.h"

#include "checks.h"
#include "kolmar/ikolmar.h"

namespace kolmar::engine {

bool WeakRockCapacity(RunContext& ctx, const RockCapacityQuery& query, RockCapacity& out) {
    out = RockCapacity{};
    for (std::ostream* os : {static_cast<std::ostream*>(&ctx.report()),
                             static_cast<std::ostream*>(&ctx.run_notes()), ctx.console})
        WriteMethodNotAvailable(*os, "WEAK-ROCK", kWeakRock, query.layer + 1);
    ctx.status = KOLMAR_STATUS_NOT_AVAILABLE;
    return false;
}

} // namespace kolmar::engine
