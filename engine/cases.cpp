// Main analysis routine: input, then the loop over stem diameters and shaft lengths.
#include "cases.h"

#include "input.h"

namespace kolmar::engine {

void MainAnalysis(RunContext& ctx) {
    ReadInput(ctx);
    if (ctx.status != 0)
        return;

    // The input echo, the case loop over diameters and lengths (soil profile, unit resistances,
    // capacity table, load-settlement by the tip material, plot records, report sections) and
    // the design charts follow here. Each step returns at once when it sets a nonzero status.
}

} // namespace kolmar::engine
