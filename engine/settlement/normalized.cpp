// Normalized load-transfer relations for drilled shafts in soil (O'Neill and Reese): the coarse
// side and base families with their trend, upper-bound and lower-bound lines, the fine side
// tables, curve building and reading, and the tip-depth check of the cohesive base family.
#include "normalized.h"

#include "format.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace kolmar::engine::settlement {
namespace {

// Side load transfer in cohesive soil: fractions of D against fractions of fmax.
const CoarseFamily kCohesiveSide = {
    {0.0, 0.001, 0.002, 0.003, 0.005, 0.006, 0.008, 0.012, 0.016, 0.02},
    {{{0.0, 0.51, 0.72, 0.9, 0.925, 0.945, 0.955, 0.925, 0.9, 0.835},
      {0.0, 0.74, 0.92, 0.97, 1.01, 1.02, 1.02, 1.0, 0.96, 0.92},
      {0.0, 0.29, 0.52, 0.7, 0.84, 0.87, 0.89, 0.85, 0.8, 0.75}}}};

// Side load transfer in cohesionless soil; the last point jumps from 1.6 % to 10 % of D.
const CoarseFamily kCohesionlessSide = {
    {0.0, 0.001, 0.002, 0.003, 0.005, 0.006, 0.008, 0.012, 0.016, 0.1},
    {{{0.0, 0.335, 0.58, 0.72, 0.86, 0.91, 0.95, 0.965, 0.96, 0.95},
      {0.0, 0.45, 0.76, 0.9, 0.98, 1.0, 1.0, 1.0, 1.0, 1.0},
      {0.0, 0.22, 0.4, 0.54, 0.74, 0.82, 0.9, 0.93, 0.92, 0.9}}}};

// Side load transfer along strong rock (side friction plus end bearing).
const CoarseFamily kStrongRockSide = {
    {0.0, 0.001, 0.002, 0.003, 0.005, 0.008, 0.012, 0.016, 0.022, 0.1},
    {{{0.0, 0.15, 0.25, 0.34, 0.52, 0.67, 0.81, 0.88, 0.97, 0.999},
      {0.0, 0.32, 0.43, 0.52, 0.67, 0.8, 0.9, 0.95, 1.0, 1.0},
      {0.0, 0.06, 0.15, 0.22, 0.33, 0.49, 0.65, 0.75, 0.88, 1.0}}}};

// Side load transfer in gravelly sand.
const CoarseFamily kGravellySandSide = {
    {0.0, 0.001, 0.002, 0.003, 0.005, 0.008, 0.012, 0.016, 0.022, 0.1},
    {{{0.0, 0.23, 0.36, 0.44, 0.58, 0.7, 0.82, 0.9, 0.999, 0.999},
      {0.0, 0.3, 0.45, 0.55, 0.74, 0.86, 0.92, 0.97, 1.0, 1.0},
      {0.0, 0.15, 0.29, 0.36, 0.46, 0.57, 0.7, 0.82, 0.96, 0.99}}}};

// Base load in cohesionless soil: fractions of Db against fractions of Qbmax, which the load
// exceeds at large movements (no capping).
const CoarseFamily kCohesionlessBase = {
    {0.0, 0.005, 0.01, 0.015, 0.025, 0.03, 0.04, 0.05, 0.07, 0.1},
    {{{0.0, 0.175, 0.345, 0.485, 0.64, 0.73, 0.88, 1.015, 1.195, 1.46},
      {0.0, 0.25, 0.48, 0.67, 0.76, 0.84, 0.96, 1.08, 1.28, 1.61},
      {0.0, 0.1, 0.21, 0.3, 0.52, 0.62, 0.8, 0.95, 1.11, 1.32}}}};

// Base load in cohesive soil.
const CoarseFamily kCohesiveBase = {
    {0.0, 0.005, 0.01, 0.015, 0.025, 0.03, 0.04, 0.05, 0.07, 0.1},
    {{{0.0, 0.395, 0.56, 0.7, 0.865, 0.9, 0.95, 0.97, 0.98, 0.991},
      {0.0, 0.59, 0.75, 0.86, 0.96, 0.98, 0.995, 0.995, 0.994, 0.992},
      {0.0, 0.2, 0.37, 0.54, 0.77, 0.82, 0.9, 0.94, 0.97, 0.99}}}};

using FineArray = std::array<double, kFinePoints>;

const FineArray kSandUpper = {0.0, 0.45, 0.76, 0.9, 0.95, 0.98, 1.0, 1.0, 1.0, 1.0, 1.0,
                              1.0, 1.0,  1.0,  1.0, 1.0,  1.0,  1.0, 1.0, 1.0, 1.0};
const FineArray kSandLower = {0.0,  0.22, 0.4,  0.54, 0.67, 0.74, 0.82, 0.87, 0.9, 0.92, 0.93,
                              0.93, 0.93, 0.93, 0.92, 0.92, 0.92, 0.91, 0.91, 0.9, 0.9};
const FineArray kClayUpper = {0.0, 0.74, 0.92, 0.97, 1.0,  1.01, 1.02, 1.02, 1.02, 1.01, 1.01,
                              1.0, 1.0,  0.99, 0.98, 0.97, 0.96, 0.95, 0.94, 0.93, 0.92};
const FineArray kClayLower = {0.0,  0.29, 0.52, 0.7,  0.78, 0.84, 0.87, 0.89, 0.89, 0.88, 0.87,
                              0.86, 0.85, 0.84, 0.83, 0.82, 0.8,  0.78, 0.77, 0.76, 0.75};

} // namespace

std::string_view LineHeading(LoadTransferLine line) {
    switch (line) {
    case LoadTransferLine::upper_bound:
        return "RESULT FROM UPPER-BOUND LINE";
    case LoadTransferLine::lower_bound:
        return "RESULT FROM LOWER-BOUND LINE";
    case LoadTransferLine::trend:
        break;
    }
    return "RESULT FROM TREND (AVERAGED) LINE";
}

const CoarseFamily& Family(SideFamily family) {
    switch (family) {
    case SideFamily::cohesionless:
        return kCohesionlessSide;
    case SideFamily::strong_rock:
        return kStrongRockSide;
    case SideFamily::gravelly_sand:
        return kGravellySandSide;
    case SideFamily::cohesive:
        break;
    }
    return kCohesiveSide;
}

const CoarseFamily& Family(BaseFamily family) {
    return family == BaseFamily::cohesionless ? kCohesionlessBase : kCohesiveBase;
}

SideFamily SideFamilyFor(int code) {
    switch (code) {
    case 1:
        return SideFamily::cohesionless;
    case 7:
        return SideFamily::strong_rock;
    case 8:
        return SideFamily::gravelly_sand;
    default:
        return SideFamily::cohesive;
    }
}

BaseFamily BaseFamilyFor(int code) {
    BaseFamily family = code == 1 ? BaseFamily::cohesionless : BaseFamily::cohesive;
    if (code > 7)
        family = BaseFamily::cohesionless;
    return family;
}

CurvePoints BuildCurve(const CoarseFamily& family, LoadTransferLine line, double diameter,
                       double maximum) {
    const CurveArray& y = family.y[static_cast<std::size_t>(LineIndex(line))];
    CurvePoints curve;
    for (std::size_t j = 0; j < kCurvePoints; ++j) {
        curve.movement[j] = family.x[j] * diameter;
        curve.value[j] = y[j] * maximum;
    }
    return curve;
}

double ReadCurve(const CurvePoints& curve, double w) {
    if (!(w > curve.movement.front()))
        return curve.value.front();
    for (std::size_t j = 1; j < kCurvePoints; ++j) {
        const double w0 = curve.movement[j - 1];
        const double w1 = curve.movement[j];
        if (w < w1) {
            // w0 < w < w1 here, so the interval has a length.
            return curve.value[j - 1] +
                   (w - w0) * (curve.value[j] - curve.value[j - 1]) / (w1 - w0);
        }
        if (w == w1)
            return curve.value[j];
    }
    return curve.value.back();
}

const std::array<double, kFinePoints>& FineTableValues(FineTable table) {
    switch (table) {
    case FineTable::sand_upper:
        return kSandUpper;
    case FineTable::sand_lower:
        return kSandLower;
    case FineTable::clay_upper:
        return kClayUpper;
    case FineTable::clay_lower:
        break;
    }
    return kClayLower;
}

double FineSideRatio(FineTable table, double s) {
    const FineArray& n = FineTableValues(table);
    if (!(s > 0.0))
        return 0.0;
    if (s >= kFineEnd)
        return n.back();
    const auto k = std::min(static_cast<std::size_t>(std::floor(s / kFineStep)),
                            static_cast<std::size_t>(kFinePoints - 2));
    return n[k] + (s - static_cast<double>(k) * kFineStep) * (n[k + 1] - n[k]) / kFineStep;
}

int CheckTipDepth(double tip_depth, double deepest_point, std::ostream& report,
                  std::ostream& run_notes) {
    if (!(tip_depth > deepest_point))
        return 0;
    for (std::ostream* os : {&report, &run_notes}) {
        WriteBlankLines(*os, 1);
        WriteLine(*os, Blanks(29) + "**** WARNING ****");
        WriteLine(*os, Blanks(5) + "THE VALUE OF X =" + E(tip_depth, 9, 2) +
                           " IS BEYOND THE EXTENT OF THE INPUT STRENGTH CURVE");
    }
    return 4;
}

} // namespace kolmar::engine::settlement
