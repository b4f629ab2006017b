// The main analysis routine: reads the input, checks what the analysis needs, writes the input
// echo, then analyses the cases. A case is one stem diameter and one shaft length; AnalyseCase is
// the routine the loop over diameters and lengths calls for each. Every step sets ctx.status and
// returns at once when a condition ends the run early.
#pragma once

#include "run_context.h"

namespace kolmar::engine {

void MainAnalysis(RunContext& ctx);

// After reading: refuses shaft and design data the analysis cannot use (status 8, an error block
// in the report, the run notes and on the console), marks the values the analysis derives, and
// writes the input echo and the multiple-length and design-chart headings. False when the run
// ends.
bool PrepareAnalysis(RunContext& ctx);

// The first case of a run: the initial diameter DSTART with the proposed length (design control
// 2), or the length the capacity table finds for the design load (design control 1).
CaseSetup FirstCase(const InputData& in);

// Analyses one case: the case heading, the capacity table, DRILLED SHAFT INFORMATION and
// PREDICTED RESULTS with the rock messages in the report, the case summary in the run notes, and
// the capacity curve in the plot file. Leaves the results in ctx.current. Under design control 1
// a design load that no length within the profile carries ends the run with status 7.
void AnalyseCase(RunContext& ctx, const CaseSetup& setup);

} // namespace kolmar::engine
