// Design charts and the run summary after the case loop: the plot file's design-chart section,
// the "DESIGN CHART CURVES" report section (pages of at most seven diameters), the block on the
// most efficient shaft of a design-load run, and the note on cases beyond the loop's limits.
#pragma once

#include "run_context.h"
#include "settlement/tz_solver.h"

#include <iosfwd>

namespace kolmar::engine {

inline constexpr int kMaxDiameters = settlement::kMaxChartDiameters; // per length, 20
inline constexpr int kMaxLengths = settlement::kMaxChartPasses;      // per run, 100
inline constexpr int kDiametersPerPage = 7;

// The chart table's extent actually computed: NT settlements, ND diameters, NQ lengths (only
// length passes whose every diameter was analysed count).
struct ChartExtent {
    int NT = 0;
    int ND = 0;
    int NQ = 0;
};

// Plot file, design-chart section: NT, ND, NQ; per settlement the settlement (inches, or metres
// in SI projects); per diameter the diameter (F10.4, inches or metres) and NQ pairs of length
// (inches) and load (pounds), from the longest length to the shortest.
void WritePlotDesignCharts(std::ostream& os, const InputData& in, const ChartExtent& extent,
                           const settlement::DesignChartTable& chart);

// "DESIGN CHART CURVES": per settlement, pages of at most seven diameters with one row per
// length from the shortest to the longest; feet and tons, or metres and kN.
void WriteDesignChartReport(std::ostream& os, const InputData& in, const ChartExtent& extent,
                            const settlement::DesignChartTable& chart);

// The case kept as the most efficient shaft of a design-load run: the largest concrete
// efficiency (QU per cubic yard, LRFD QU per cubic yard in LRFD mode) over the cases.
struct EfficientShaft {
    bool found = false;
    double D = 0.0, Bb = 0.0; // ft
    double length = 0.0;      // ft
    double volume = 0.0;      // cu yd
    double QU = 0.0;          // tons
    double efficiency = 0.0;  // tons per cu yd
};

// Keeps the design row of a case when its efficiency is strictly larger than the kept one's.
void KeepIfMoreEfficient(const InputData& in, const CaseResult& result, EfficientShaft& kept);

// "THE MOST EFFICIENT SHAFT FOR THIS SOIL PROFILE" with the kept case, in output units.
void WriteEfficientShaft(std::ostream& os, const InputData& in, const EfficientShaft& shaft);

// The cases beyond the loop's limits that were not analysed: the diameters from `first_diameter`
// up to DIALIM, and the lengths from `first_length` down to PDMIN (ft); a value below 0 means
// nothing was cut.
void WriteCasesNotAnalysed(std::ostream& os, const InputData& in, double first_diameter,
                           double first_length);

} // namespace kolmar::engine
