// Load-settlement analysis of a shaft ending in soil, for one case: checks of the case data, the
// additional t-z curves, and the t-z solver for the three lines; the t-z layers of a shaft and
// the files of a run context.
#include "soil_settlement.h"

#include "format.h"
#include "kolmar/ikolmar.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <locale>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace kolmar::engine::settlement {
namespace {

void Require(bool condition, const std::string& what) {
    if (!condition)
        throw std::invalid_argument("load-settlement case: " + what);
}

bool Finite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Consistency of the data the case routine assembles; a failure is a fault of the engine.
void CheckAssembly(const ShaftCase& s) {
    for (const double v : {s.diameter, s.base_diameter, s.length, s.bell_height, s.top_length,
                           s.bottom_length, s.Ec, s.Qbmax})
        Require(std::isfinite(v), "a shaft value is not finite");
    Require(s.increments >= 1, "the number of shaft elements must be at least 1");
    Require(s.Qbmax >= 0.0, "the base resistance must not be negative");
    Require(s.profile_depth.size() == s.profile_fs.size(),
            "the side-resistance profile needs one value per depth");
    Require(Finite(s.profile_depth) && Finite(s.profile_fs),
            "a side-resistance profile value is not finite");
    Require(std::is_sorted(s.profile_depth.begin(), s.profile_depth.end()),
            "the side-resistance profile depths must increase");
    Require(
        std::all_of(s.profile_fs.begin(), s.profile_fs.end(), [](double v) { return v >= 0.0; }),
        "the side-resistance profile must not be negative");
    for (const TzLayer& layer : s.layers) {
        Require(layer.code >= 1 && layer.code <= 9, "a layer code is outside 1..9");
        Require(std::isfinite(layer.top) && std::isfinite(layer.bottom) &&
                    std::isfinite(layer.fs_top) && std::isfinite(layer.fs_bottom),
                "a layer value is not finite");
        Require(layer.fs_top >= 0.0 && layer.fs_bottom >= 0.0,
                "a layer's side resistance must not be negative");
    }
    Require(s.variation >= 1 && s.variation <= kMaxChartDiameters,
            "the diameter variation index is outside 1..20");
    Require(s.chart_pass >= 1 && s.chart_pass <= kMaxChartPasses,
            "the length variation index is outside 1..100");
    Require(static_cast<int>(s.chart_settlements.size()) <= kMaxChartSettlements,
            "more than 10 design-chart settlements");
    Require(Finite(s.chart_settlements) && Finite(s.tz_depths),
            "a settlement or t-z depth is not finite");
}

void WriteCaseError(std::ostream& os, const std::vector<std::string>& problems) {
    WriteBlankLines(os, 2);
    WriteLine(os, Blanks(5) + "*********************ERROR**********************");
    WriteLine(os, Blanks(5) + "THE LOAD-SETTLEMENT ANALYSIS CANNOT BE MADE:");
    for (const std::string& problem : problems)
        WriteLine(os, Blanks(5) + problem);
    WriteBlankLines(os, 2);
}

// A scratch file rewritten from its start: in the run's memory, or in the working directory.
std::function<void(const std::string&)> Rewriter(RunContext& ctx, FileRole role) {
    if (ctx.Holds(role)) {
        std::ostringstream& held = ctx.held[static_cast<std::size_t>(role)];
        return [&held](const std::string& text) { held.str(text); };
    }
    return [path = ctx.Resolve(role)](const std::string& text) {
        std::ofstream out(path, std::ios::out | std::ios::trunc | std::ios::binary);
        out.imbue(std::locale::classic());
        out << text;
    };
}

} // namespace

bool UsesTzMethod(int tip_code) {
    return tip_code == kSand || tip_code == kClay || tip_code == kClayShale ||
           tip_code == kGravellySand || tip_code == kGravel;
}

UnitSideResistance ResistanceFromSteps(const InputData& input, std::vector<double> depth,
                                       std::vector<int> layer, std::vector<double> fs) {
    Require(depth.size() == layer.size() && depth.size() == fs.size(),
            "the computation steps need a depth, a layer and a side resistance each");
    const Layer* first = input.layers.empty() ? nullptr : input.layers.data();
    return [first, depth = std::move(depth), layer = std::move(layer),
            fs = std::move(fs)](const Layer& of, double z) {
        const long index = first ? static_cast<long>(&of - first) : -1;
        const bool own = std::find(layer.begin(), layer.end(), index) != layer.end();
        double before_z = 0.0, before_fs = 0.0;
        bool have_before = false;
        for (std::size_t k = 0; k < depth.size(); ++k) {
            if (own && layer[k] != index)
                continue;
            if (depth[k] >= z) {
                if (!have_before || depth[k] == z || !(depth[k] > before_z))
                    return fs[k];
                return before_fs + (z - before_z) * (fs[k] - before_fs) / (depth[k] - before_z);
            }
            before_z = depth[k];
            before_fs = fs[k];
            have_before = true;
        }
        return before_fs;
    };
}

std::vector<TzLayer> TzLayersToTip(const InputData& input, double length,
                                   const UnitSideResistance& fs) {
    std::vector<TzLayer> layers;
    double top = 0.0;
    for (const Layer& layer : input.layers) {
        if (!(top < length))
            break;
        // Layer bottoms on the whole-foot grid of the capacity analysis (half a foot goes up).
        const double bottom = std::floor(layer.zbot + 0.5);
        TzLayer tz;
        tz.code = layer.code;
        tz.top = top;
        tz.bottom = std::min(bottom, length);
        top = std::max(top, bottom);
        tz.fs_top = fs(layer, tz.top);
        tz.fs_bottom = fs(layer, tz.bottom);
        layers.push_back(tz);
    }
    return layers;
}

std::vector<std::string> CaseProblems(const ShaftCase& shaft) {
    std::vector<std::string> problems;
    if (!(shaft.diameter > 0.0))
        problems.emplace_back("THE SHAFT DIAMETER MUST BE GREATER THAN ZERO.");
    if (!(shaft.base_diameter > 0.0))
        problems.emplace_back("THE BASE DIAMETER MUST BE GREATER THAN ZERO.");
    if (!(shaft.length > 0.0))
        problems.emplace_back("THE SHAFT LENGTH MUST BE GREATER THAN ZERO.");
    if (!(shaft.Ec > 0.0))
        problems.emplace_back(
            "THE ELASTIC MODULUS OF THE SHAFT CONCRETE, Ec, MUST BE GREATER THAN ZERO.");
    return problems;
}

void WriteLoadSettlementHeading(std::ostream& report) {
    constexpr std::string_view title = "AXIAL LOAD VS SETTLEMENT CURVES";
    WriteBlankLines(report, 3);
    WriteLine(report, Blanks(5) + std::string(title));
    WriteLine(report, Blanks(5) + Repeat('-', static_cast<int>(title.size())));
}

int RunSoilSettlement(const ShaftCase& shaft, SettlementFiles& files, LoadSettlementTable& table,
                      DesignChartTable& chart) {
    table.Clear();
    const std::vector<std::string> problems = CaseProblems(shaft);
    if (!problems.empty()) {
        WriteCaseError(files.report, problems);
        WriteCaseError(files.run_notes, problems);
        return KOLMAR_STATUS_BAD_INPUT;
    }
    CheckAssembly(shaft);

    if (shaft.print_tz_curves) {
        WriteAdditionalTzHeading(files.report);
        for (const LoadTransferLine line : kAllLines)
            if (const int status = AdditionalTzCurves(shaft, line, files); status != 0)
                return status;
    }
    WriteLoadSettlementHeading(files.report);
    if (shaft.uplift) {
        WriteBlankLines(files.report, 1);
        WriteLine(files.report, Blanks(3) + "NOTE: UPLIFT RUN WITH A SOIL TIP - THIS TABLE IS THE "
                                            "COMPRESSION T-Z CURVE WITHOUT BASE.");
    }
    for (const LoadTransferLine line : kAllLines)
        if (const int status = SolveLine(shaft, line, files, table, chart); status != 0)
            return status;
    return 0;
}

SettlementFiles FilesOf(RunContext& ctx) {
    // TZDATA.DAT is a file for whoever looks in the run's directory; a run that holds its
    // scratch files in memory has no such reader, so its listing (a third of a single long
    // shaft's work) is not built at all.
    std::function<void(const std::string&)> tz_data;
    if (!ctx.Holds(FileRole::tz_data))
        tz_data = Rewriter(ctx, FileRole::tz_data);
    return SettlementFiles{ctx.report(),
                           ctx.run_notes(),
                           ctx.tz_text(),
                           ctx.Stream(FileRole::qw_stage),
                           ctx.Stream(FileRole::plot_stage_t),
                           ctx.Stream(FileRole::plot_stage_q),
                           ctx.Stream(FileRole::plot_stage_l),
                           ctx.Stream(FileRole::chart),
                           std::move(tz_data),
                           Rewriter(ctx, FileRole::tz_diam)};
}

} // namespace kolmar::engine::settlement
