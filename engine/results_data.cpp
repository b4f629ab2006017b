// The tables of a run's results in the report's units, made from the engine's own doubles.
#include "results_data.h"

#include "capacity.h"
#include "input.h"
#include "kolmar/ikolmar.h"
#include "profile.h"
#include "resistance.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace kolmar::engine {
namespace {

constexpr double kInPerFt = 12.0;
constexpr double kLbPerTon = 2000.0;
constexpr double kLbPerKn = 224.82;

double LengthOut(const InputData& in, double ft) {
    return in.si() ? ft / kMToFt : ft;
}
double ForceOut(const InputData& in, double tons) {
    return in.si() ? tons / kKnToTons : tons;
}
double StressOut(const InputData& in, double tsf) {
    return in.si() ? tsf * kPsfPerTsf / kKpaToPsf : tsf;
}

double PerFactor(double a, double b) {
    return b > 0.0 ? a / b : 0.0;
}

// The feet of a shaft L ft long that carry side load: those whose middle lies above the bell
// and the bottom portion, as the capacity table counts them.
std::size_t CountedFeet(const CapacityTable& table, double L) {
    const double counted_depth = L - table.shaft.bottom_exclusion + GridTolerance(L);
    return static_cast<std::size_t>(std::clamp(std::floor(counted_depth - 0.5) + 1.0, 0.0, L));
}

// Bit for bit: a shared table must give every case exactly the numbers it computed.
bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameRow(const CapacityRow& a, const CapacityRow& b) {
    return a.tip_layer == b.tip_layer && Same(a.length, b.length) && Same(a.volume, b.volume) &&
           Same(a.QS, b.QS) && Same(a.QB, b.QB) && Same(a.qb, b.qb) && Same(a.QU, b.QU) &&
           Same(a.QBD, b.QBD) && Same(a.QDN, b.QDN) && Same(a.QU_per_volume, b.QU_per_volume) &&
           Same(a.QS_lrfd, b.QS_lrfd) && Same(a.QB_lrfd, b.QB_lrfd) && Same(a.QU_lrfd, b.QU_lrfd);
}

bool SameStep(const CapacityStep& a, const CapacityStep& b) {
    return a.layer == b.layer && Same(a.z, b.z) && Same(a.sigma_v, b.sigma_v) && Same(a.fs, b.fs) &&
           Same(a.side_diameter, b.side_diameter) && Same(a.QS, b.QS) && Same(a.QS_lrfd, b.QS_lrfd);
}

// The same table apart from the design row, which each case keeps for itself.
bool SameTable(const CapacityTable& a, const CapacityTable& b) {
    const ShaftGeometry &s = a.shaft, &t = b.shaft;
    return Same(s.D, t.D) && Same(s.Bb, t.Bb) && Same(s.h0, t.h0) && Same(s.H, t.H) &&
           Same(s.bell_volume, t.bell_volume) && Same(s.bottom_exclusion, t.bottom_exclusion) &&
           Same(a.profile_bottom, b.profile_bottom) && a.rows.size() == b.rows.size() &&
           a.steps.size() == b.steps.size() &&
           std::equal(a.rows.begin(), a.rows.end(), b.rows.begin(), SameRow) &&
           std::equal(a.steps.begin(), a.steps.end(), b.steps.begin(), SameStep);
}

// How many distinct tables are searched for a match: a run has at most 20 diameters, and a
// bound keeps a run whose every case differs from comparing each with all before it.
constexpr std::size_t kRecentTables = 32;

} // namespace

void RunResults::Keep(const CaseResult& result) {
    KeptCase kept;
    kept.setup = result.setup;
    kept.length = result.length;
    kept.design_row = result.capacity.design_row;
    kept.settlement = result.settlement;
    for (auto it = recent_.rbegin(); it != recent_.rend() && !kept.capacity; ++it)
        if (SameTable(**it, result.capacity))
            kept.capacity = *it;
    if (!kept.capacity) {
        auto table = std::make_shared<CapacityTable>(result.capacity);
        table->design_row = -1;
        kept.capacity = std::move(table);
        if (recent_.size() == kRecentTables)
            recent_.erase(recent_.begin());
        recent_.push_back(kept.capacity);
    }
    cases.push_back(std::move(kept));
}

OutputUnits UnitsOf(const InputData& in) {
    if (in.si())
        return {"m", "kN", "kPa", "cu m", "kN/cu m", "m"};
    return {"ft", "tons", "tsf", "cu yd", "tons/cu yd", "in"};
}

std::string_view MaterialName(int code) {
    switch (code) {
    case kSand:
        return "sand";
    case kClay:
        return "clay";
    case kClayShale:
        return "clay shale";
    case kStrongRockSideOrBase:
        return "strong rock (side or base)";
    case kDecomposedRock:
        return "decomposed rock or gravel";
    case kWeakRock:
        return "weak rock";
    case kStrongRockSideAndBase:
        return "strong rock (side and base)";
    case kGravellySand:
        return "gravelly sand";
    case kGravel:
        return "gravel";
    default:
        return "unknown";
    }
}

std::string MethodName(const Layer& layer) {
    switch (layer.code) {
    case kSand:
        return layer.ISIDE == kKoMethod     ? "Ko method"
               : layer.ISIDE == kBetaMethod ? "beta method"
                                            : "Kulhawy and Chen method";
    case kClay:
    case kClayShale:
        return "alpha method";
    case kGravellySand:
    case kGravel:
        return "beta method";
    case kDecomposedRock:
        return "decomposed rock method";
    case kWeakRock:
        return "weak rock method";
    default:
        return "rock socket";
    }
}

std::string_view StatusMeaning(int status) {
    switch (status) {
    case KOLMAR_STATUS_OK:
        return "normal completion";
    case KOLMAR_STATUS_WRONG_CODE:
        return "wrong call code; nothing was done";
    case KOLMAR_STATUS_TZ_BEYOND:
        return "a t-z curve depth lies beyond the input strength curve";
    case KOLMAR_STATUS_TIP_BEYOND:
        return "the shaft tip lies beyond the input strength curve";
    case KOLMAR_STATUS_SHORT_PROFILE:
        return "soil profile too short for the design load";
    case KOLMAR_STATUS_BAD_INPUT:
        return "project file unreadable or holding data the engine refuses";
    case KOLMAR_STATUS_FILE_ERROR:
        return "a file of the run could not be opened or created";
    default:
        return "unexpected internal failure of the engine";
    }
}

std::array<double, kCapacityColumns> CapacityValuesOf(const InputData& in, const CapacityRow& raw) {
    const CapacityRow r = ToOutputUnits(raw, in.si());
    return {r.length,  static_cast<double>(raw.tip_layer + 1),
            r.volume,  r.QS,
            r.QB,      r.qb,
            r.QU,      r.QBD,
            r.QDN,     r.QU_per_volume,
            r.QS_lrfd, r.QB_lrfd,
            r.QU_lrfd};
}

std::vector<ResultColumn> CapacityColumnsOf(const InputData& in) {
    const OutputUnits u = UnitsOf(in);
    const bool uplift = in.KCYCL == 2;
    return {{"L", u.length},
            {"tip_layer", "-"},
            {"volume", u.volume},
            {"QS", u.force},
            {uplift ? "WT" : "QB", u.force},
            {"qb", u.stress},
            {"QU", u.force},
            {"QBD", u.force},
            {"QDN", u.force},
            {"QU_per_volume", u.force_per_volume},
            {"QS_lrfd", u.force},
            {"QB_lrfd", u.force},
            {"QU_lrfd", u.force}};
}

ResultTable CapacityTableOf(const InputData& in, const KeptCase& result) {
    ResultTable t;
    t.name = "capacity";
    t.columns = CapacityColumnsOf(in);
    const std::vector<CapacityRow>& rows = result.Capacity().rows;
    t.values.reserve(rows.size() * kCapacityColumns);
    for (const CapacityRow& raw : rows) {
        const auto values = CapacityValuesOf(in, raw);
        t.values.insert(t.values.end(), values.begin(), values.end());
    }
    return t;
}

ResultTable LayerResistanceOf(const InputData& in, const KeptCase& result) {
    const OutputUnits u = UnitsOf(in);
    const bool lrfd = in.NLRFD == 1;
    ResultTable t;
    t.name = "layer_resistance";
    t.columns = {{"layer", "-"},
                 {"code", "-"},
                 {"top", u.length},
                 {"bottom", u.length},
                 {"thickness", u.length},
                 {"fs_top", u.stress},
                 {"fs_bottom", u.stress},
                 {"QS", u.force},
                 {lrfd ? "QS_lrfd" : "QS_allowable", u.force},
                 {"share", "-"}};
    const CapacityTable& table = result.Capacity();
    if (result.design_row < 0 || result.design_row >= static_cast<int>(table.rows.size()))
        return t;
    const CapacityRow& row = table.rows[static_cast<std::size_t>(result.design_row)];
    const std::size_t feet = std::min(static_cast<std::size_t>(row.length), table.steps.size());
    const std::size_t counted = std::min(CountedFeet(table, row.length), feet);
    // One entry per run of steps in one layer, from the surface down.
    std::size_t i = 0;
    while (i < feet) {
        const int layer = table.steps[i].layer;
        std::size_t j = i;
        double QS = 0.0, factored = 0.0;
        for (; j < feet && table.steps[j].layer == layer; ++j) {
            if (j < counted) {
                QS += table.steps[j].QS;
                factored += lrfd ? table.steps[j].QS_lrfd : table.steps[j].QS;
            }
        }
        if (!lrfd)
            factored = PerFactor(factored, in.FST);
        const double top = table.steps[i].z - 0.5, bottom = table.steps[j - 1].z + 0.5;
        const int code = layer >= 0 && layer < static_cast<int>(in.layers.size())
                             ? in.layers[static_cast<std::size_t>(layer)].code
                             : 0;
        t.values.insert(t.values.end(),
                        {static_cast<double>(layer + 1), static_cast<double>(code),
                         LengthOut(in, top), LengthOut(in, bottom), LengthOut(in, bottom - top),
                         StressOut(in, table.steps[i].fs), StressOut(in, table.steps[j - 1].fs),
                         ForceOut(in, QS), ForceOut(in, factored),
                         row.QS > 0.0 ? QS / row.QS : 0.0});
        i = j;
    }
    return t;
}

std::vector<ResultTable> LoadSettlementOf(const InputData& in, const KeptCase& result) {
    const OutputUnits u = UnitsOf(in);
    static constexpr const char* kLines[] = {"trend", "upper_bound", "lower_bound"};
    const int lines = result.settlement.series >= 3 ? 3 : result.settlement.series >= 1 ? 1 : 0;
    std::vector<ResultTable> tables;
    if (lines == 1) {
        // A rock method's one curve: the top load against the top movement, for strong rock
        // with the lower-bound and the upper-bound soil tables side by side.
        const CapacityTable& c = result.Capacity();
        int code = 0;
        if (result.design_row >= 0 && result.design_row < static_cast<int>(c.rows.size())) {
            const int tip = c.rows[static_cast<std::size_t>(result.design_row)].tip_layer;
            if (tip >= 0 && tip < static_cast<int>(in.layers.size()))
                code = in.layers[static_cast<std::size_t>(tip)].code;
        }
        const bool strong = code == kStrongRockSideOrBase || code == kStrongRockSideAndBase;
        ResultTable t;
        t.name = "rock";
        if (strong)
            t.columns = {{"top_load_lower_bound_soil", u.force},
                         {"top_movement_lower_bound_soil", u.movement},
                         {"top_load_upper_bound_soil", u.force},
                         {"top_movement_upper_bound_soil", u.movement}};
        else
            t.columns = {{"top_load", u.force}, {"top_movement", u.movement}};
        for (const settlement::LoadSettlementRow& r : result.settlement.block[0]) {
            t.values.insert(t.values.end(), {r.top_load, r.top_movement});
            if (strong)
                t.values.insert(t.values.end(), {r.tip_load, r.tip_movement});
        }
        tables.push_back(std::move(t));
        return tables;
    }
    for (int k = 0; k < lines; ++k) {
        ResultTable t;
        t.name = kLines[k];
        t.columns = {{"top_load", u.force},
                     {"top_movement", u.movement},
                     {"tip_load", u.force},
                     {"tip_movement", u.movement}};
        for (const settlement::LoadSettlementRow& r :
             result.settlement.block[static_cast<std::size_t>(k)])
            t.values.insert(t.values.end(),
                            {r.top_load, r.top_movement, r.tip_load, r.tip_movement});
        tables.push_back(std::move(t));
    }
    return tables;
}

std::string_view LineName(int line_index) {
    static constexpr std::string_view kNames[] = {"trend", "upper_bound", "lower_bound"};
    return line_index >= 0 && line_index < 3 ? kNames[line_index] : std::string_view("line");
}

ResultTable TzCurvesOf(const InputData& in, const LineCurves& line) {
    const OutputUnits u = UnitsOf(in);
    ResultTable t;
    t.name = "tz_curves";
    t.columns = {
        {"curve", "-"}, {"depth", u.length}, {"t", in.si() ? "kPa" : "psi"}, {"z", u.movement}};
    for (const settlement::TzCurve& curve : line.tz)
        for (std::size_t j = 0; j < curve.points.value.size(); ++j)
            t.values.insert(
                t.values.end(),
                {static_cast<double>(curve.number), LengthOut(in, curve.depth / kInPerFt),
                 in.si() ? curve.points.value[j] * settlement::kPsiToKpa : curve.points.value[j],
                 in.si() ? curve.points.movement[j] * settlement::kInToM
                         : curve.points.movement[j]});
    return t;
}

ResultTable QwCurveOf(const InputData& in, const LineCurves& line) {
    const OutputUnits u = UnitsOf(in);
    ResultTable t;
    t.name = "qw_curve";
    t.columns = {{"tip_load", u.force}, {"tip_movement", u.movement}};
    if (!line.solved)
        return t;
    for (std::size_t j = 0; j < line.qw.value.size(); ++j)
        t.values.insert(t.values.end(),
                        {in.si() ? line.qw.value[j] / kLbPerKn : line.qw.value[j] / kLbPerTon,
                         in.si() ? line.qw.movement[j] * settlement::kInToM : line.qw.movement[j]});
    return t;
}

ResultTable LoadDistributionOf(const InputData& in, const LineCurves& line) {
    const OutputUnits u = UnitsOf(in);
    ResultTable t;
    t.name = "load_distribution";
    t.columns = {{"step", "-"}, {"depth", u.length}, {"load", u.force}, {"movement", u.movement}};
    for (const LineCurves::Element& e : line.distribution)
        t.values.insert(t.values.end(),
                        {static_cast<double>(e.step), LengthOut(in, e.depth / kInPerFt),
                         in.si() ? e.load / kLbPerKn : e.load / kLbPerTon,
                         in.si() ? e.movement * settlement::kInToM : e.movement});
    return t;
}

ResultTable DesignChartsOf(const InputData& in, const RunResults& results) {
    const OutputUnits u = UnitsOf(in);
    ResultTable t;
    t.name = "design_charts";
    t.columns = {{"settlement", u.movement},
                 {"diameter", u.length},
                 {"length", u.length},
                 {"load", u.force}};
    if (!results.charts || !results.chart)
        return t;
    const double length_per_in = in.si() ? 1.0 / kMToIn : 1.0 / kInPerFt;
    const double load_per_lb = in.si() ? 1.0 / kLbPerKn : 1.0 / kLbPerTon;
    const int NT = std::min(results.chart_settlements, static_cast<int>(in.PDSETT.size()));
    for (int k = 1; k <= NT; ++k) {
        const double s = in.PDSETT[static_cast<std::size_t>(k - 1)];
        for (int j = 1; j <= results.chart_diameters; ++j)
            for (int i = 1; i <= results.chart_lengths; ++i)
                t.values.insert(t.values.end(), {in.si() ? s / kMToIn : s,
                                                 results.chart->Diameter(j) * length_per_in,
                                                 results.chart->Length(i) * length_per_in,
                                                 results.chart->Load(i, j, k) * load_per_lb});
    }
    return t;
}

} // namespace kolmar::engine
