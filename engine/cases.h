// The main analysis routine: reads the input, checks what the analysis needs, writes the input
// echo, then analyses the cases. A case is one stem diameter and one shaft length; AnalyseCase is
// the routine the loop over diameters and lengths calls for each. Every step sets ctx.status and
// returns at once when a condition ends the run early.
#pragma once

#include "capacity.h"
#include "report.h"
#include "run_context.h"
#include "tip_settlement.h"

#include <vector>

namespace kolmar::engine {

void MainAnalysis(RunContext& ctx);

// After reading: refuses shaft and design data the analysis cannot use (status 8, an error block
// in the report, the run notes and on the console), marks the values the analysis derives, and
// writes the input echo and the multiple-length and design-chart headings. False when the run
// ends.
bool PrepareAnalysis(RunContext& ctx);

// The diameters and lengths a run analyses, in loop order (ft). Diameters from DSTART in steps
// of 0.5 ft (DIAMINCR with design charts) while a step stays below DIALIM + 0.02 ft; lengths from
// PD down by PDINCR while they stay above PDMIN, with multiple lengths or design charts, else
// the one length PD. At most 20 diameters and 100 lengths: the first one cut is kept (-1 when
// nothing was cut) so that the report can say which were not analysed.
struct CasePlan {
    std::vector<double> diameters;
    std::vector<double> lengths;
    double first_diameter_cut = -1.0;
    double first_length_cut = -1.0;
};
CasePlan PlanCases(const InputData& in);

// What the cases of one run carry from one to the next besides the run context: the state of
// the load-settlement analysis, the capacity tables by diameter and their formatted rows.
struct CaseLoopState {
    SettlementRunState settlement;
    // Tables are kept only in a run of several lengths, whose cases of one diameter may share
    // one: in a run of one length each diameter has its own table, and keeping it would only
    // hold on to memory the load-settlement analysis then takes afresh.
    bool reuse = true;
    CapacityTables capacity;
    CapacityRowsCache rows;
};

// Analyses one case: the case heading, the capacity table, DRILLED SHAFT INFORMATION and
// PREDICTED RESULTS with the rock messages in the report, the case summary in the run notes, and
// the load-settlement analysis of the case's length by the tip material. Leaves the results in
// ctx.current and returns true when the capacity table was computed (the case then has a plot
// curve). Under design control 1 a design load that no length within the profile carries ends
// the run with status 7; a procedure that ends the run sets its status.
bool AnalyseCase(RunContext& ctx, const CaseSetup& setup, CaseLoopState& state);

} // namespace kolmar::engine
