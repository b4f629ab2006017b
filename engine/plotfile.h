// Records of the plot data file (.kx8p) that the engine writes while it runs: section 1, one
// capacity curve per case (a header of three integers, two fixed leading points, seven exponent
// fields per capacity row on two lines, and the load-settlement records of the case). Values in
// output units: ft and tons (or inches for settlements) for English projects, m and kN for SI.
#pragma once

#include "run_context.h"

#include <iosfwd>
#include <string>

namespace kolmar::engine {

// An exponent field of the plot file: one blank and E10.3.
std::string PlotField(double value);

// The curve header: the number of curves NC, the points of this curve NP (capacity rows + 2) and
// the load-settlement series NS, as a free-format list of three integers.
void WritePlotCurveHeader(std::ostream& os, int curves, int points, int series);

// The points of a capacity curve: the two fixed zero points (the second at the depth of the
// first row), then per row depth, side, tip (weight under uplift), total, and the ASD values
// (side / FST, tip / FSB, QDN) or the LRFD values, five fields on the first line, two on the
// second.
void WritePlotCapacityPoints(std::ostream& os, const InputData& in, const CapacityTable& table);

// The load-settlement records: 15 lines of top load, top settlement, tip load and tip movement,
// for the trend line, and when the file carries three series (`file_series` 3) for the upper and
// lower bounds too. A case without bounds of its own then writes 15 zero records for each.
void WritePlotLoadSettlement(std::ostream& os, const settlement::LoadSettlementTable& table,
                             int file_series);

// The whole block of one case: header, points and load-settlement records. The reader takes the
// series count of the first header for every block, so every block carries `file_series`, the
// count of the file's first case, in its header and in its records, whatever this case computed:
// a rock tip after a soil tip, or the other way round, must not put the reader out of step.
void WritePlotCurve(std::ostream& os, const InputData& in, const CaseSetup& setup,
                    const CapacityTable& capacity,
                    const settlement::LoadSettlementTable& settlement, int file_series);

} // namespace kolmar::engine
