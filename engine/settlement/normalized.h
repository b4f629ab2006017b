// Normalized load-transfer relations of drilled shafts and the table in which every
// load-settlement method leaves its result. Exports the three lines of the measured scatter, the
// coarse side and base families (ten points each) with their choice by material code, the
// dimensional curves built from them, the fine side tables (21 points, used above rock sockets),
// the tip-depth check of the cohesive base family and `LoadSettlementTable`.
#pragma once

#include <array>
#include <iosfwd>
#include <string_view>

namespace kolmar::engine::settlement {

// `LoadTransferLine`: which line of the measured scatter a computation follows.
enum class LoadTransferLine : int { trend = 1, upper_bound = 2, lower_bound = 3 };
inline constexpr int kLineCount = 3;
inline constexpr std::array<LoadTransferLine, kLineCount> kAllLines = {
    LoadTransferLine::trend, LoadTransferLine::upper_bound, LoadTransferLine::lower_bound};

// 0-based index of a line (trend 0, upper bound 1, lower bound 2).
inline int LineIndex(LoadTransferLine line) {
    return static_cast<int>(line) - 1;
}

// "RESULT FROM TREND (AVERAGED) LINE", "RESULT FROM UPPER-BOUND LINE", "RESULT FROM LOWER-BOUND
// LINE".
std::string_view LineHeading(LoadTransferLine line);

// ---------------------------------------------------------------------------------------------
// Coarse families: ten abscissae as fractions of a diameter (x0 = 0) and, per line, ten
// ordinates as fractions of the maximum (y0 = 0).
// ---------------------------------------------------------------------------------------------
inline constexpr int kCurvePoints = 10;
using CurveArray = std::array<double, kCurvePoints>;

struct CoarseFamily {
    CurveArray x;                         // movement / diameter, -
    std::array<CurveArray, kLineCount> y; // mobilized fraction per line (trend, upper, lower), -
};

enum class SideFamily {
    cohesionless,  // sand
    cohesive,      // clay, clay shale and every material without a family of its own
    strong_rock,   // strong rock in side friction plus end bearing (code 7)
    gravelly_sand, // gravelly sand (code 8)
};
enum class BaseFamily { cohesionless, cohesive };

const CoarseFamily& Family(SideFamily family);
const CoarseFamily& Family(BaseFamily family);

// Side family of a layer by its material code: sand the cohesionless family, strong rock (7) and
// gravelly sand (8) their own families, every other code the cohesive family.
SideFamily SideFamilyFor(int code);

// Base family by the material code of the tip layer: sand, gravelly sand and gravel the
// cohesionless family, every other code the cohesive family.
BaseFamily BaseFamilyFor(int code);

// A dimensional curve of ten points: movement (inches) against a value (unit load transfer in
// psi for a t-z curve, tip load in pounds for a q-w curve).
struct CurvePoints {
    CurveArray movement{};
    CurveArray value{};
};

// Scales a family's line: movement_j = x_j * diameter, value_j = y_j(line) * maximum.
CurvePoints BuildCurve(const CoarseFamily& family, LoadTransferLine line, double diameter,
                       double maximum);

// The value of a curve at movement w: linear between the points around w, the last value at or
// beyond the last point, the first value at or before the first point.
double ReadCurve(const CurvePoints& curve, double w);

// Where the movement w falls on a curve whose movements never decrease: 0 at or before the
// first point, kCurvePoints beyond the last, else the index of the first point at or beyond w.
// The search starts at `segment` (the answer of the last search, kept by the caller between
// reads): the solver reads one curve at a run of nearby movements, which mostly fall in the
// same segment.
inline std::size_t SegmentFrom(const CurvePoints& curve, double w, std::size_t& segment) {
    if (!(w > curve.movement.front()))
        return 0;
    if (!(w <= curve.movement.back()))
        return kCurvePoints;
    std::size_t j = segment >= 1 && segment < kCurvePoints ? segment : 1;
    while (j > 1 && w <= curve.movement[j - 1])
        --j;
    while (w > curve.movement[j])
        ++j;
    segment = j;
    return j;
}

// The value of a curve at w in the segment SegmentFrom found for w, on this curve or on one with
// the same movements: the first value, the last value, or linear between the points around w.
inline double ValueInSegment(const CurvePoints& curve, double w, std::size_t j) {
    if (j == 0)
        return curve.value.front();
    if (j >= kCurvePoints)
        return curve.value.back();
    const double w0 = curve.movement[j - 1];
    const double w1 = curve.movement[j];
    if (w == w1)
        return curve.value[j];
    return curve.value[j - 1] + (w - w0) * (curve.value[j] - curve.value[j - 1]) / (w1 - w0);
}

// ReadCurve for a curve whose movements never decrease, the search started at `segment` (see
// SegmentFrom). Same segment, same arithmetic, same value as ReadCurve.
inline double ReadCurveFrom(const CurvePoints& curve, double w, std::size_t& segment) {
    return ValueInSegment(curve, w, SegmentFrom(curve, w, segment));
}

// ---------------------------------------------------------------------------------------------
// Fine side tables: N(0)..N(20) at s = k * 0.001 of the shaft diameter, N(0) = 0.
// ---------------------------------------------------------------------------------------------
enum class FineTable { sand_upper, sand_lower, clay_upper, clay_lower };
inline constexpr int kFinePoints = 21;
inline constexpr double kFineStep = 0.001;
inline constexpr double kFineEnd = 0.020; // s of N(20)

const std::array<double, kFinePoints>& FineTableValues(FineTable table);

// Mobilized fraction of the ultimate unit side resistance at the normalized movement s
// (movement / diameter): linear between the table points, N(20) at or beyond s = 0.020, 0 for a
// movement that is not positive.
double FineSideRatio(FineTable table, double s);

// ---------------------------------------------------------------------------------------------
// Tip-depth check before the cohesive base family is built.
// ---------------------------------------------------------------------------------------------

// Compares the tip depth with the deepest point of the strength curve (both inches). A tip
// deeper than the curve writes the warning to the report and the run notes and returns 4 (the
// run status); otherwise returns 0 and writes nothing.
int CheckTipDepth(double tip_depth, double deepest_point, std::ostream& report,
                  std::ostream& run_notes);

// ---------------------------------------------------------------------------------------------
// `LoadSettlementTable`: per line 15 rows of top load, top movement, tip load, tip movement, in
// output units (tons and inches for English projects, kN and metres for SI projects).
// ---------------------------------------------------------------------------------------------
inline constexpr int kSettlementSteps = 15;

struct LoadSettlementRow {
    double top_load = 0.0;
    double top_movement = 0.0;
    double tip_load = 0.0;
    double tip_movement = 0.0;
};
using LoadSettlementBlock = std::array<LoadSettlementRow, kSettlementSteps>;

// Every load-settlement method of a case leaves its result here: the t-z solver all three
// blocks, the rock methods block 1 only. `series` tells the plot file which blocks hold a curve:
// 0 none, 1 the first block only, 3 all three.
struct LoadSettlementTable {
    std::array<LoadSettlementBlock, kLineCount> block{};
    int series = 0;

    LoadSettlementBlock& Block(LoadTransferLine line) {
        return block[static_cast<std::size_t>(LineIndex(line))];
    }
    const LoadSettlementBlock& Block(LoadTransferLine line) const {
        return block[static_cast<std::size_t>(LineIndex(line))];
    }
    void Clear() { *this = LoadSettlementTable{}; }
};

} // namespace kolmar::engine::settlement
