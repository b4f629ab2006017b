// Capacity against shaft length: the one-foot computation grid, the bell geometry, the side
// resistance summed foot by foot with the TOPLENG and bottom exclusions, the base resistance (or
// under uplift the weight of the shaft) at every whole-foot length, the ASD and LRFD values, the
// design length, and the rows in output units. Internal English units: ft, tons, cu yd, tsf.
#pragma once

#include "run_context.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace kolmar::engine {

// SI output of the capacity table.
inline constexpr double kCuYdPerCuM = 1.3078;
inline constexpr double kTonsPerCuYdPerKnPerCuM = 0.08594586;
// Weight of the shaft concrete, 150 pcf: lb per cu yd.
inline constexpr double kConcreteLbPerCuYd = 4050.0;
// Water over one square foot of stem area per foot of depth, 62.4 pi / 4 / 2000: tons per cu ft.
inline constexpr double kBuoyancyTonsPerCuFt = 0.02450448;

// Shaft geometry for stem diameter D (ft): base diameter RATIO D, the bell cylinder h0 (0.25 ft
// up to a 3.52 ft stem, 0.5 ft above), the bell height H = (Bb - D) / (2 tan theta) + h0 with
// theta = BELANGL / 57.29 radians, the underream volume (the base cylinder and the frustum from
// stem to base, cu yd), and the bottom length without side resistance, H + BS. A straight shaft
// has Bb = D and no bell.
ShaftGeometry ShaftGeometryOf(const InputData& in, double D);

// Concrete volume (cu yd) of a shaft of length L (ft): the stem down to the top of the bell and
// the underream.
double ShaftVolume(const ShaftGeometry& shaft, double L);

// Uplift of the water on a stem of diameter D (ft) reaching L ft deep with the water table at
// WTD ft: (L - WTD) 0.02450448 D^2 tons below the water table, 0 above.
double Buoyancy(double L, double WTD, double D);

// Computes the capacity table of a case on the whole-foot grid profile `grid` (GridProfile of
// the input): the steps, the rows and the design row. The per-depth error blocks go to `notes`,
// the rock and clay warnings to the rock-message file. Decomposed rock and weak rock take their
// values from their own procedures; when one of them finds no valid value it says so and sets
// ctx.status, and the table is still completed so that the case's report can be written before
// the run ends.
void ComputeCapacity(RunContext& ctx, const InputData& grid, const CaseSetup& setup,
                     CapacityTable& table, std::ostream& notes);

// The capacity tables of one run by stem diameter. A table, its per-depth notes and its rock
// messages depend on the input and the diameter alone, but for the decomposed-rock and weak-rock
// procedures, which take the case length (and keep a state of their own): without a layer of
// those, the cases of one diameter take the table of the first, with the design row of their own
// length. A table whose computation wrote the run's one clay-from-blows warning is not kept (the
// next case, which would not write it, computes its own). One per run, used by one thread; the
// rock messages are taken back only from a run that holds them in memory.
class CapacityTables {
public:
    // ComputeCapacity for the case, or the kept table of its diameter with what its computation
    // wrote: the same table, notes and rock messages, bit for bit.
    void Compute(RunContext& ctx, const InputData& grid, const CaseSetup& setup,
                 CapacityTable& table, std::ostream& notes);
    // Tables computed so far, the ones taken from an earlier case not counted.
    int computed() const { return computed_; }

private:
    struct Entry {
        std::uint64_t diameter = 0; // the bits of the stem diameter
        CapacityTable table;
        std::string notes;
        std::string rock_messages;
    };
    std::vector<Entry> entries_;
    int computed_ = 0;
};

// The design row: under design control 2 the row at the proposed length (the case length, rounded
// to the grid); under design control 1 the first row whose QDN (ASD) or LRFD QU (LRFD) is greater
// than the design load P. -1 when there is none.
int DesignRow(const InputData& in, const CapacityTable& table, double proposed_length);

// A row in output units: ft, cu yd, tons and tons per cu yd for English projects; m, cu m, kN
// and kN per cu m for SI projects.
CapacityRow ToOutputUnits(const CapacityRow& row, bool si);

} // namespace kolmar::engine
