// The load-settlement analysis of one case whose shaft tip lies in soil (sand, clay, clay shale,
// gravelly sand, gravel): the additional t-z curves, then the t-z solver for the trend,
// upper-bound and lower-bound lines. Exports the case driver, the test of the tip material, the
// t-z layers of a shaft cut at its tip, and the files of a run context.
#pragma once

#include "normalized.h"
#include "run_context.h"
#include "tz_curves.h"
#include "tz_solver.h"

#include <functional>
#include <string>
#include <vector>

namespace kolmar::engine::settlement {

// True for the tip materials that the t-z method serves: 1, 2, 3, 8 and 9.
bool UsesTzMethod(int tip_code);

// Unit side resistance (tsf) of a layer's material at a depth (ft), as the capacity analysis
// computes it, without the zones that carry no side resistance.
using UnitSideResistance = std::function<double(const Layer& layer, double depth)>;

// Unit side resistance of a layer's material from the computation steps of the capacity
// analysis (parallel arrays: step depth in ft, increasing; index of the layer holding the step,
// 0-based in input.layers; unit side resistance in tsf): linear in depth between the steps that
// lie in the layer and held beyond the first and last of them; a layer without a step of its
// own takes the steps of the whole profile the same way (0 without steps).
UnitSideResistance ResistanceFromSteps(const InputData& input, std::vector<double> depth,
                                       std::vector<int> layer, std::vector<double> fs);

// The t-z layers of a shaft of length `length` (ft, a whole number of feet): the input layers
// with their bottoms on the whole-foot grid of the capacity analysis, from the surface down to
// the tip, the tip layer ending at the tip (a tip on a layer boundary ends the layer above), each
// with its unit side resistance at its top and bottom. A profile that ends above the tip gives
// layers that end there too (the solver then stops with status 4).
std::vector<TzLayer> TzLayersToTip(const InputData& input, double length,
                                   const UnitSideResistance& fs);

// The problems of a case that the analysis refuses (no positive stem or base diameter, shaft
// length or concrete modulus), one line each; empty when the case can be solved.
std::vector<std::string> CaseProblems(const ShaftCase& shaft);

// "AXIAL LOAD VS SETTLEMENT CURVES" with its underline, three blank lines first.
void WriteLoadSettlementHeading(std::ostream& report);

// The whole analysis of one case, in this order: the "ADDITIONAL TZ CURVES" section when
// requested (lines 1, 2, 3), the "AXIAL LOAD VS SETTLEMENT CURVES" heading, then the solver for
// lines 1, 2, 3. Stops at the first nonzero status and returns it: 2 or 4 from curve building,
// or KOLMAR_STATUS_BAD_INPUT (8) with an error block in the report and the run notes for a case
// it refuses. `table` is cleared first and receives the three lines; `chart` receives the loads
// of the design-chart settlements. Data that no project can produce (element count below 1,
// values that are not finite, arrays of different lengths, indices out of range) throws
// std::invalid_argument.
int RunSoilSettlement(const ShaftCase& shaft, SettlementFiles& files, LoadSettlementTable& table,
                      DesignChartTable& chart);

// The files of a run: its open streams by role, with TZDATA.DAT and TZDIAM.DAT rewritten in the
// run's working directory on every call.
SettlementFiles FilesOf(RunContext& ctx);

} // namespace kolmar::engine::settlement
