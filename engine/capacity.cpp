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
#include "transcendental.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <locale>
#include <ostream>
#include <sstream>

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
// them, and the weak-rock state that the side and base resistances of the pass share (its
// running modulus mean and the warnings written).
struct RockProcedures {
    std::vector<rock::GeoLayer> layers;
    rock::WeakRockState weak;
};

// Unit side resistance (psf) and base resistance (tons) of the code-5 or code-6 layer m at depth
// z, with the vertical effective stress sigma_v (psf) there and the shaft length L (ft) the
// procedures assume; `step` is the computation depth (the foot of the side resistance, the foot
// above a tip). A status that ends the run is kept in ctx.status; the pass goes on so that the
// case's report is complete.
struct RockValues {
    double fs = 0.0; // psf
    double QB = 0.0; // tons
};
RockValues RockProcedure(RunContext& ctx, RockProcedures& rock, const InputData& in, int m,
                         double z, double sigma_v, double L, double D, double ratio, int step,
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
        const rock::WeakRockResistance r = rock::WeakRockCapacityAt(
            shaft, m, z, step, rock.weak, notes, ctx.Stream(FileRole::rock_msg));
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

// What the steps of one capacity pass share: the case, its output, the rock procedures and the
// notes already written for a layer.
struct CapacityPass {
    RunContext& ctx;
    const InputData& in;
    const CaseSetup& setup;
    std::ostream& notes;
    std::ostream& rock_messages;
    double D;            // stem diameter, ft
    double socket_scale; // socket diameters are given for DSTART and scale with the stem
    RockProcedures rock;
    std::vector<bool> rock_noted;    // by layer: the side-or-base note of strong rock written
    std::vector<bool> spacing_noted; // by layer: the missing discontinuity spacing reported
};

// Side resistance of foot i, its middle at z = i + 0.5 under the vertical effective stress
// sigma_v (psf).
CapacityStep SideStep(CapacityPass& pass, int i, double sigma_v) {
    const InputData& in = pass.in;
    CapacityStep step;
    step.z = i + 0.5;
    step.layer = LayerAt(in, step.z);
    step.sigma_v = sigma_v;
    const Layer& layer = in.layers[static_cast<std::size_t>(step.layer)];
    if (UnitWeightMissing(layer.code, Interpolate(layer, layer.GAMMA, step.z)))
        WriteUnitWeightError(pass.notes);
    step.side_diameter = pass.D;
    if (IsRock(layer.code)) {
        const double socket = Interpolate(layer, layer.BDS, step.z) * pass.socket_scale;
        if (socket >= 0.001)
            step.side_diameter = socket;
    }
    if (HasProcedureOfItsOwn(layer.code)) {
        const RockValues values = RockProcedure(
            pass.ctx, pass.rock, in, step.layer, step.z, step.sigma_v,
            RockQueryLength(in, layer, pass.setup), pass.D, pass.socket_scale, i, pass.notes);
        step.fs = LimitSideResistance(layer, step.z, values.fs / kPsfPerTsf);
    } else {
        const SideResistance side = UnitSideResistance(in, layer, step.z, step.sigma_v);
        if (side.strength_missing)
            WriteSandStrengthError(pass.notes);
        if (side.cu_from_blows && !pass.ctx.clay_blows_warning_written) {
            WriteClayFromBlowCountWarning(pass.rock_messages);
            pass.ctx.clay_blows_warning_written = true;
        }
        step.fs = side.fs;
    }
    // The top portion TOPLENG carries no side resistance.
    if (step.z >= in.TOPLENG - GridTolerance(in.TOPLENG)) {
        step.QS = step.fs * kPi * step.side_diameter;
        step.QS_lrfd = step.QS * layer.LRFDS;
    }
    return step;
}

// Base resistance QB and qb of the row of length L (ft) on its tip layer; under uplift QB holds
// the weight of the shaft less the buoyancy.
void AddBaseResistance(CapacityPass& pass, const ShaftGeometry& shaft, int L, CapacityRow& row) {
    const InputData& in = pass.in;
    const Layer& tip = in.layers[static_cast<std::size_t>(row.tip_layer)];
    const int tip_number = row.tip_layer + 1;
    if (in.KCYCL == 2) {
        row.QB = row.volume * kConcreteLbPerCuYd / kPsfPerTsf - Buoyancy(L, in.WTD, pass.D);
    } else if (HasProcedureOfItsOwn(tip.code)) {
        const RockValues values = RockProcedure(pass.ctx, pass.rock, in, row.tip_layer, L,
                                                SigmaV(in, L), RockQueryLength(in, tip, pass.setup),
                                                pass.D, pass.socket_scale, L - 1, pass.notes);
        // The layer's maximum end bearing, as for every other material: a negative value is
        // the unit base resistance itself, a positive one caps it.
        const double area = kPi / 4.0 * shaft.Bb * shaft.Bb;
        const double qmax = Interpolate(tip, tip.QMAX, L) / kPsfPerTsf;
        row.QB = values.QB;
        if (qmax < 0.0)
            row.QB = -qmax * area;
        else if (qmax > 0.0 && row.QB > qmax * area)
            row.QB = qmax * area;
        row.qb = row.QB / area;
    } else {
        const BaseResistance base = UltimateBaseResistance(in, tip, L, shaft.Bb, pass.socket_scale);
        row.QB = base.QB;
        row.qb = base.qb;
        const auto index = static_cast<std::size_t>(row.tip_layer);
        if (base.spacing_missing && !pass.spacing_noted[index]) {
            WriteRockSpacingMissing(pass.notes, tip_number);
            WriteRockSpacingMissing(pass.rock_messages, tip_number);
            pass.spacing_noted[index] = true;
        }
        if (tip.code == kStrongRockSideOrBase && !pass.rock_noted[index]) {
            WriteSideOrBaseRockNote(pass.rock_messages, tip_number);
            pass.rock_noted[index] = true;
        }
    }
}

// The ASD and LRFD values of a row whose side and base resistance are known. Under uplift the
// base carries no factor of safety and no LRFD factor.
void AddDesignValues(const InputData& in, CapacityRow& row) {
    const bool uplift = in.KCYCL == 2;
    const Layer& tip = in.layers[static_cast<std::size_t>(row.tip_layer)];
    const double fsb = uplift ? 1.0 : in.FSB;
    row.QB_lrfd = uplift ? row.QB : row.QB * tip.LRFDB;
    row.QU = row.QS + row.QB;
    row.QBD = row.QS + PerFactor(row.QB, fsb);
    row.QDN = PerFactor(row.QS, in.FST) + PerFactor(row.QB, fsb);
    row.QU_per_volume = PerFactor(row.QU, row.volume);
    row.QU_lrfd = row.QS_lrfd + row.QB_lrfd;
}

// Side resistance of the shaft down to every whole foot: sums over the steps, plain and with
// the LRFD side factors, index n holding the first n feet.
struct SideSums {
    std::vector<double> plain{0.0};
    std::vector<double> lrfd{0.0};

    void Add(const CapacityStep& step) {
        plain.push_back(plain.back() + step.QS);
        lrfd.push_back(lrfd.back() + step.QS_lrfd);
    }
};

// The row of a shaft L ft long.
CapacityRow RowAt(CapacityPass& pass, const CapacityTable& table, const SideSums& sums, int L) {
    const InputData& in = pass.in;
    CapacityRow row;
    row.length = L;
    // The feet whose middle lies above the bell and the bottom portion BS carry side load.
    const double counted_depth = L - table.shaft.bottom_exclusion + GridTolerance(L);
    const int counted = static_cast<int>(
        std::clamp(std::floor(counted_depth - 0.5) + 1.0, 0.0, static_cast<double>(L)));
    row.QS = sums.plain[static_cast<std::size_t>(counted)];
    row.QS_lrfd = sums.lrfd[static_cast<std::size_t>(counted)];
    row.tip_layer = TipLayerAt(in, L);
    row.volume = ShaftVolume(table.shaft, L);
    AddBaseResistance(pass, table.shaft, L, row);
    AddDesignValues(in, row);
    return row;
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
        shaft.H = (shaft.Bb - D) / (2.0 * math::Tan(theta)) + shaft.h0;
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
    table.shaft = ShaftGeometryOf(in, D);
    table.profile_bottom = in.layers.empty() ? 0.0 : in.layers.back().zbot;
    const int feet = static_cast<int>(table.profile_bottom);
    const std::vector<double> stress = StepStresses(in, feet);
    CapacityPass pass{ctx,
                      in,
                      setup,
                      notes,
                      ctx.Stream(FileRole::rock_msg),
                      D,
                      D / in.DSTART,
                      RockProcedures{rock::GeoLayersOf(in), {}},
                      std::vector<bool>(in.layers.size(), false),
                      std::vector<bool>(in.layers.size(), false)};

    // Foot by foot from the surface: the side resistance of the foot, then the row of the shaft
    // whose tip is at its bottom, one row per whole-foot length below the top portion. The two
    // are one computation depth: the weak-rock procedure takes both into its running modulus mean
    // and writes a warning once for them. Whole feet are counted in double and clamped before
    // they become indices, so that no length given in the input can overflow them.
    const double first = std::clamp(std::floor(in.TOPLENG + GridTolerance(in.TOPLENG)) + 1.0, 1.0,
                                    static_cast<double>(feet) + 1.0);
    table.steps.reserve(static_cast<std::size_t>(feet));
    SideSums sums;
    for (int i = 0; i < feet; ++i) {
        table.steps.push_back(SideStep(pass, i, stress[static_cast<std::size_t>(i)]));
        sums.Add(table.steps.back());
        if (i + 1 >= static_cast<int>(first))
            table.rows.push_back(RowAt(pass, table, sums, i + 1));
    }
    table.design_row = DesignRow(in, table, setup.length);
}

void CapacityTables::Compute(RunContext& ctx, const InputData& grid, const CaseSetup& setup,
                             CapacityTable& table, std::ostream& notes) {
    // Diameters of a run: at most 20, a few more kept for good measure.
    constexpr std::size_t kKept = 32;
    const bool reusable =
        ctx.status == 0 && ctx.Holds(FileRole::rock_msg) &&
        std::none_of(grid.layers.begin(), grid.layers.end(),
                     [](const Layer& layer) { return HasProcedureOfItsOwn(layer.code); });
    const auto diameter = std::bit_cast<std::uint64_t>(setup.diameter);
    if (reusable) {
        for (const Entry& entry : entries_) {
            if (entry.diameter != diameter)
                continue;
            table = entry.table;
            table.design_row = DesignRow(grid, table, setup.length);
            notes << entry.notes;
            ctx.Stream(FileRole::rock_msg) << entry.rock_messages;
            return;
        }
    }
    ++computed_;
    if (!reusable || entries_.size() >= kKept) {
        ComputeCapacity(ctx, grid, setup, table, notes);
        return;
    }
    // What the computation writes is taken down to be written again for the next cases.
    std::ostringstream own_notes;
    own_notes.imbue(std::locale::classic());
    const std::size_t rock_start =
        ctx.held[static_cast<std::size_t>(FileRole::rock_msg)].view().size();
    const bool warned = ctx.clay_blows_warning_written;
    ComputeCapacity(ctx, grid, setup, table, own_notes);
    const std::string_view rock_view =
        ctx.held[static_cast<std::size_t>(FileRole::rock_msg)].view();
    notes << own_notes.view();
    if (ctx.status != 0 || ctx.clay_blows_warning_written != warned)
        return;
    entries_.push_back({diameter, table, own_notes.str(),
                        std::string(rock_view.substr(std::min(rock_start, rock_view.size())))});
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
