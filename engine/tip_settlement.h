// The load-settlement analysis of one case, by the material at the shaft tip: the t-z method for
// soils (sand, clay, clay shale, gravelly sand, gravel), the elastic socket for strong rock, and
// the closed-form methods of decomposed rock or gravel and of weak rock. Exports the case entry
// and the run-wide state that the t-z method's staged plot sections need.
#pragma once

#include "run_context.h"
#include "settlement/tz_solver.h"

namespace kolmar::engine {

// What the load-settlement analysis keeps across the cases of a run.
struct SettlementRunState {
    settlement::DesignChartTable chart; // loads at the design-chart settlements
    // The first case staged t-z curves for the plot file; q-w curves of later cases are staged
    // only then, so that the plot file's t-z and q-w sections stay in step.
    bool tz_staged = false;
    int qw_staged = 0; // q-w curves staged so far: the count the plot file announces
    // TZDATA.DAT, which every t-z solver call would write afresh, is built only for the case
    // whose listing the file keeps: the last case of the run.
    bool keep_tz_data = true;
};

// Empties TZDIAM.DAT at the start of a run, so that a file left by an earlier run never adds a
// q-w count to this run's plot file.
void StartSettlementFiles(RunContext& ctx);

// The case as the t-z method takes it: the shaft of the case's design row, its layers cut at the
// tip with their unit side resistance from the capacity table. The case must have a design row.
settlement::ShaftCase SoilCaseOf(const InputData& in, const CaseResult& result);

// Runs the case's load-settlement method for the shaft `result` describes (its capacity table
// and design row, its setup and length; `grid` is the input on the whole-foot grid) and fills
// result.settlement in output units with its series. Writes the method's report sections and
// listings. Returns 0, or the nonzero status that ends the run (the report and run notes then
// say why). A case without a design row has no load-settlement analysis. Under uplift the base
// carries nothing: soils get the t-z curves of the side alone, and a tip in rock, whose methods
// rest on the base, gets a note instead of a curve.
int AnalyseLoadSettlement(RunContext& ctx, const InputData& grid, CaseResult& result,
                          SettlementRunState& state);

} // namespace kolmar::engine
