// Capacity against shaft length on the one-foot grid: bell geometry, side resistance foot by
// foot, base resistance or shaft weight at every whole-foot length, ASD and LRFD values, and the
// design length.
#include "capacity.h"

#include "checks.h"
#include "input.h"
#include "profile.h"
#include "resistance.h"
#include "settlement/rock/decomposed_rock.h"
#include "settlement/rock/weak_rock.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace kolmar::engine {
namespace {

constexpr double kRadiansPerBellDegree = 1.0 / 57.29;
constexpr double kCuFtPerCuYd = 27.0;

bool IsRock(int code) {
    return code >= kStrongRockSideOrBase && code <= kStrongRockSideAndBase;
}

bool HasProcedureOfItsOwn(int code) {
    return code == kDecomposedRock || code == kWeakRock;
}

// a / b for a factor of safety that may be absent (LRFD runs need none): 0 without one.
double PerFactor(double a, double b) {
    return b > 0.0 ? a / b : 0.0;
}

// The decomposed-rock and weak-rock procedures of one capacity pass: the layers as they read
// them, the shaft, and the weak-rock state of the side pass and of the base pass (the base pass
// starts its running modulus mean afresh but does not repeat the warnings of the side pass).
struct RockProcedures {
    std::vector<rock::GeoLayer> layers;
    rock::WeakRockState side_state;
    rock::WeakRockState base_state;
};

// Unit side resistance (psf) and base resistance (tons) of the code-5 or code-6 layer m at depth
// z, with the vertical effective stress sigma_v (psf) there and the shaft length L (ft) the
// procedures assume. A status that ends the run is kept in ctx.status; the pass goes on so that
// the case's report is complete.
struct RockValues {
    double fs = 0.0; // psf
    double QB = 0.0; // tons
};
RockValues RockProcedure(RunContext& ctx, RockProcedures& rock, const InputData& in, int m,
                         double z, double sigma_v, double L, double D, double ratio, bool base_pass,
                         std::ostream& notes) {
    const int code = in.layers[static_cast<std::size_t>(m)].code;
    RockValues values;
    int status = 0;
    if (code == kDecomposedRock) {
        const rock::DecomposedRockSite site{rock.layers, in.WTD, D, ratio, L, in.Ec, in.si()};
        const rock::DecomposedRockResistance r =
            rock::DecomposedRockCapacityAt(site, m, z, sigma_v, notes);
        values = {r.fs, r.QB};
        status = r.status;
    } else {
        const rock::WeakRockShaft shaft{rock.layers, L, D, ratio, in.Ec, in.si()};
        const rock::WeakRockResistance r =
            rock::WeakRockCapacityAt(shaft, m, z, base_pass ? rock.base_state : rock.side_state,
                                     notes, ctx.Out(FileRole::rock_msg));
        values = {r.fs, r.QB};
        status = r.status;
    }
    if (status != 0 && ctx.status == 0)
        ctx.status = status;
    return values;
}

// The shaft length the rock procedures assume: the case length, or under design control 1 the
// middle of the layer plus the top portion without side resistance.
double RockQueryLength(const InputData& in, const Layer& layer, const CaseSetup& setup) {
    if (in.METHOD == 2)
        return setup.length;
    return (layer.ztop + layer.zbot) / 2.0 + in.TOPLENG;
}

} // namespace

ShaftGeometry ShaftGeometryOf(const InputData& in, double D) {
    ShaftGeometry shaft;
    shaft.D = D;
    shaft.Bb = D;
    if (in.RATIO > 1.0) {
        shaft.Bb = in.RATIO * D;
        shaft.h0 = D <= 3.52 ? 0.25 : 0.5;
        const double theta = in.BELANGL * kRadiansPerBellDegree;
        shaft.H = (shaft.Bb - D) / (2.0 * std::tan(theta)) + shaft.h0;
        const double Bb = shaft.Bb;
        shaft.bell_volume = (kPi / 4.0 * Bb * Bb * shaft.h0 +
                             kPi * (shaft.H - shaft.h0) / 12.0 * (D * D + D * Bb + Bb * Bb)) /
                            kCuFtPerCuYd;
    }
    shaft.bottom_exclusion = shaft.H + in.BS;
    return shaft;
}

double ShaftVolume(const ShaftGeometry& shaft, double L) {
    const double stem = std::max(L - shaft.H, 0.0);
    return kPi / 4.0 * shaft.D * shaft.D * stem / kCuFtPerCuYd + shaft.bell_volume;
}

double Buoyancy(double L, double WTD, double D) {
    return L > WTD ? (L - WTD) * kBuoyancyTonsPerCuFt * D * D : 0.0;
}

void ComputeCapacity(RunContext& ctx, const InputData& grid, const CaseSetup& setup,
                     CapacityTable& table, std::ostream& notes) {
    const InputData& in = grid;
    table = CapacityTable{};
    const double D = setup.diameter;
    const double socket_scale = D / in.DSTART;
    table.shaft = ShaftGeometryOf(in, D);
    table.profile_bottom = in.layers.empty() ? 0.0 : in.layers.back().zbot;
    const int feet = static_cast<int>(table.profile_bottom);
    const std::vector<double> stress = StepStresses(in, feet);
    std::ostream& rock_messages = ctx.Out(FileRole::rock_msg);
    const bool uplift = in.KCYCL == 2;

    RockProcedures rock;
    rock.layers = rock::GeoLayersOf(in);

    // Side resistance of every foot, from the surface down.
    table.steps.reserve(static_cast<std::size_t>(feet));
    for (int i = 0; i < feet; ++i) {
        CapacityStep step;
        step.z = i + 0.5;
        step.layer = LayerAt(in, step.z);
        step.sigma_v = stress[static_cast<std::size_t>(i)];
        const Layer& layer = in.layers[static_cast<std::size_t>(step.layer)];
        if (UnitWeightMissing(layer.code, Interpolate(layer, layer.GAMMA, step.z)))
            WriteUnitWeightError(notes);
        step.side_diameter = D;
        if (IsRock(layer.code)) {
            const double socket = Interpolate(layer, layer.BDS, step.z) * socket_scale;
            if (socket >= 0.001)
                step.side_diameter = socket;
        }
        if (HasProcedureOfItsOwn(layer.code)) {
            const RockValues values =
                RockProcedure(ctx, rock, in, step.layer, step.z, step.sigma_v,
                              RockQueryLength(in, layer, setup), D, socket_scale, false, notes);
            step.fs = LimitSideResistance(layer, step.z, values.fs / kPsfPerTsf);
        } else {
            const SideResistance side = UnitSideResistance(in, layer, step.z, step.sigma_v);
            if (side.strength_missing)
                WriteSandStrengthError(notes);
            if (side.cu_from_blows && !ctx.clay_blows_warning_written) {
                WriteClayFromBlowCountWarning(rock_messages);
                ctx.clay_blows_warning_written = true;
            }
            step.fs = side.fs;
        }
        // The top portion TOPLENG carries no side resistance.
        if (step.z >= in.TOPLENG - GridTolerance(in.TOPLENG)) {
            step.QS = step.fs * kPi * step.side_diameter;
            step.QS_lrfd = step.QS * layer.LRFDS;
        }
        table.steps.push_back(step);
    }
    std::vector<double> sum(static_cast<std::size_t>(feet) + 1, 0.0);
    std::vector<double> sum_lrfd(sum.size(), 0.0);
    for (std::size_t i = 0; i < table.steps.size(); ++i) {
        sum[i + 1] = sum[i] + table.steps[i].QS;
        sum_lrfd[i + 1] = sum_lrfd[i] + table.steps[i].QS_lrfd;
    }

    rock.base_state.length_warned = rock.side_state.length_warned;
    rock.base_state.modulus_warned = rock.side_state.modulus_warned;
    rock.base_state.diameter_warned = rock.side_state.diameter_warned;
    rock.base_state.stiffness_warned = rock.side_state.stiffness_warned;
    rock.base_state.error_written = rock.side_state.error_written;

    // One row per whole-foot length below the top portion.
    std::vector<bool> rock_noted(in.layers.size(), false);
    std::vector<bool> spacing_noted(in.layers.size(), false);
    const double fsb = uplift ? 1.0 : in.FSB;
    // Whole feet are counted in double and clamped before they become indices, so that no
    // length given in the input can overflow them.
    const double first = std::clamp(std::floor(in.TOPLENG + GridTolerance(in.TOPLENG)) + 1.0, 1.0,
                                    static_cast<double>(feet) + 1.0);
    const double exclusion = table.shaft.bottom_exclusion;
    for (int L = static_cast<int>(first); L <= feet; ++L) {
        CapacityRow row;
        row.length = L;
        // The feet whose middle lies above the bell and the bottom portion BS carry side load.
        const double counted_depth = L - exclusion + GridTolerance(L);
        const int counted = static_cast<int>(
            std::clamp(std::floor(counted_depth - 0.5) + 1.0, 0.0, static_cast<double>(L)));
        row.QS = sum[static_cast<std::size_t>(counted)];
        row.QS_lrfd = sum_lrfd[static_cast<std::size_t>(counted)];
        row.tip_layer = TipLayerAt(in, L);
        row.volume = ShaftVolume(table.shaft, L);
        const Layer& tip = in.layers[static_cast<std::size_t>(row.tip_layer)];
        const int tip_number = row.tip_layer + 1;
        if (uplift) {
            row.QB = row.volume * kConcreteLbPerCuYd / kPsfPerTsf - Buoyancy(L, in.WTD, D);
        } else if (HasProcedureOfItsOwn(tip.code)) {
            const RockValues values =
                RockProcedure(ctx, rock, in, row.tip_layer, L, SigmaV(in, L),
                              RockQueryLength(in, tip, setup), D, socket_scale, true, notes);
            // The layer's maximum end bearing, as for every other material: a negative value is
            // the unit base resistance itself, a positive one caps it.
            const double area = kPi / 4.0 * table.shaft.Bb * table.shaft.Bb;
            const double qmax = Interpolate(tip, tip.QMAX, L) / kPsfPerTsf;
            row.QB = values.QB;
            if (qmax < 0.0)
                row.QB = -qmax * area;
            else if (qmax > 0.0 && row.QB > qmax * area)
                row.QB = qmax * area;
            row.qb = row.QB / area;
        } else {
            const BaseResistance base =
                UltimateBaseResistance(in, tip, L, table.shaft.Bb, socket_scale);
            row.QB = base.QB;
            row.qb = base.qb;
            const auto index = static_cast<std::size_t>(row.tip_layer);
            if (base.spacing_missing && !spacing_noted[index]) {
                WriteRockSpacingMissing(notes, tip_number);
                WriteRockSpacingMissing(rock_messages, tip_number);
                spacing_noted[index] = true;
            }
            if (tip.code == kStrongRockSideOrBase && !rock_noted[index]) {
                WriteSideOrBaseRockNote(rock_messages, tip_number);
                rock_noted[index] = true;
            }
        }
        row.QB_lrfd = uplift ? row.QB : row.QB * tip.LRFDB;
        row.QU = row.QS + row.QB;
        row.QBD = row.QS + PerFactor(row.QB, fsb);
        row.QDN = PerFactor(row.QS, in.FST) + PerFactor(row.QB, fsb);
        row.QU_per_volume = PerFactor(row.QU, row.volume);
        row.QU_lrfd = row.QS_lrfd + row.QB_lrfd;
        table.rows.push_back(row);
    }
    table.design_row = DesignRow(in, table, setup.length);
}

int DesignRow(const InputData& in, const CapacityTable& table, double proposed_length) {
    const int count = static_cast<int>(table.rows.size());
    if (in.METHOD == 2) {
        const double target = RoundToFoot(proposed_length);
        for (int i = 0; i < count; ++i)
            if (table.rows[static_cast<std::size_t>(i)].length == target)
                return i;
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const CapacityRow& row = table.rows[static_cast<std::size_t>(i)];
        if ((in.NLRFD == 1 ? row.QU_lrfd : row.QDN) > in.P)
            return i;
    }
    return -1;
}

CapacityRow ToOutputUnits(const CapacityRow& row, bool si) {
    if (!si)
        return row;
    CapacityRow out = row;
    out.length = row.length / kMToFt;
    out.volume = row.volume / kCuYdPerCuM;
    for (double* force :
         {&out.QS, &out.QB, &out.QU, &out.QBD, &out.QDN, &out.QS_lrfd, &out.QB_lrfd, &out.QU_lrfd})
        *force /= kKnToTons;
    out.qb = row.qb * kPsfPerTsf / kKpaToPsf;
    out.QU_per_volume = row.QU_per_volume / kTonsPerCuYdPerKnPerCuM;
    return out;
}

} // namespace kolmar::engine
