// Load-settlement analysis of a case by the tip material: the t-z solver for soils, the strong,
// decomposed and weak rock methods, and the report table of the rock curves.
#include "tip_settlement.h"

#include "format.h"
#include "kolmar/ikolmar.h"
#include "profile.h"
#include "results_data.h"
#include "settlement/rock/decomposed_rock.h"
#include "settlement/rock/strong_rock.h"
#include "settlement/rock/weak_rock.h"
#include "settlement/soil_settlement.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <locale>
#include <ostream>
#include <streambuf>

namespace kolmar::engine {
namespace {

using settlement::LoadSettlementBlock;
using settlement::LoadTransferLine;

// A stream that takes text and keeps none of it.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

bool IsStrongRock(int code) {
    return code == kStrongRockSideOrBase || code == kStrongRockSideAndBase;
}

bool IsRockMethod(int code) {
    return IsStrongRock(code) || code == kDecomposedRock || code == kWeakRock;
}

// The curves and the load distribution of every solved line, kept for the results as data.
void KeepCurves(RunResults& results, settlement::SettlementFiles& files) {
    files.keep_curves = [&results](settlement::LoadTransferLine line,
                                   const std::vector<settlement::TzCurve>& curves,
                                   const settlement::CurvePoints& qw) {
        LineCurves& kept = results.pending[static_cast<std::size_t>(settlement::LineIndex(line))];
        kept = LineCurves{};
        kept.solved = true;
        kept.tz = curves;
        kept.qw = qw;
    };
    files.keep_step = [&results](settlement::LoadTransferLine line, std::size_t step,
                                 const settlement::CarryResult& carried) {
        LineCurves& kept = results.pending[static_cast<std::size_t>(settlement::LineIndex(line))];
        for (const settlement::ElementResult& e : carried.elements)
            kept.distribution.push_back(
                {static_cast<int>(step) + 1, e.mid_depth, e.average_load, e.mid_movement});
    };
}

int SoilSettlement(RunContext& ctx, CaseResult& result, SettlementRunState& state) {
    const settlement::ShaftCase shaft = SoilCaseOf(ctx.input, result);
    const bool first_case = shaft.variation == 1 && shaft.chart_pass == 1;
    // The plot file announces as many q-w curves as were staged, and none at all when the first
    // case staged no t-z curves (its tip was not in soil).
    NullBuffer discard;
    std::ostream nowhere(&discard);
    const bool stage_qw = first_case || state.tz_staged;
    settlement::SettlementFiles base = settlement::FilesOf(ctx);
    settlement::SettlementFiles files{
        base.report,
        base.run_notes,
        base.tz_text,
        base.qw_stage,
        base.plot_t,
        stage_qw ? base.plot_q : nowhere,
        base.plot_l,
        base.chart,
        state.keep_tz_data ? base.rewrite_tz_data : std::function<void(const std::string&)>{},
        [&](const std::string&) {
            if (!stage_qw)
                return;
            ++state.qw_staged;
            base.rewrite_tz_diam(" " + std::to_string(state.qw_staged) + "\n");
        }};
    if (ctx.results && ctx.results->cases.size() < kCasesWithCurves)
        KeepCurves(*ctx.results, files);
    const int status = settlement::RunSoilSettlement(shaft, files, result.settlement, state.chart);
    if (status != 0)
        return status;
    if (first_case)
        state.tz_staged = true;
    result.settlement.series = 3;
    return 0;
}

// The capacity table's cumulative side resistance against length, foot by foot.
rock::CapacityProfile ProfileOf(const CapacityTable& table) {
    rock::CapacityProfile profile;
    profile.length_ft.reserve(table.steps.size());
    profile.side_tons.reserve(table.steps.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < table.steps.size(); ++i) {
        sum += table.steps[i].QS;
        profile.length_ft.push_back(static_cast<double>(i + 1));
        profile.side_tons.push_back(sum);
    }
    return profile;
}

// The rock curve in the report, below the method's heading: top load and top movement (two
// columns), or for strong rock the whole shaft's curve with the lower-bound and with the
// upper-bound soil tables side by side.
void WriteRockCurve(std::ostream& os, const LoadSettlementBlock& block, bool strong, bool si) {
    const settlement::UnitLabels labels = settlement::LabelsFor(si ? 2 : 1);
    WriteBlankLines(os, 1);
    std::string load_line =
        Blanks(11) + std::string(labels.load) + Blanks(13) + std::string(labels.movement);
    if (strong) {
        WriteLine(os,
                  Blanks(8) + "LOWER-BOUND SOIL TABLES" + Blanks(10) + "UPPER-BOUND SOIL TABLES");
        WriteLine(os, Blanks(8) + "TOP  LOAD     TOP MOVEMENT       TOP LOAD  " + Blanks(4) +
                          "TOP  MOVEMENT");
        load_line +=
            Blanks(14) + std::string(labels.load) + Blanks(12) + std::string(labels.movement);
    } else {
        WriteLine(os, Blanks(8) + "TOP  LOAD     TOP MOVEMENT");
    }
    WriteLine(os, load_line);
    for (const settlement::LoadSettlementRow& row : block) {
        std::string line = E(row.top_load, 17, 4) + E(row.top_movement, 16, 4);
        if (strong)
            line += E(row.tip_load, 16, 4) + E(row.tip_movement, 16, 4);
        WriteLine(os, line);
    }
}

int RockSettlement(RunContext& ctx, const InputData& grid, CaseResult& result, int code) {
    const InputData& in = ctx.input;
    const CapacityTable& table = result.capacity;
    const CapacityRow& row = table.rows[static_cast<std::size_t>(table.design_row)];
    const double L = row.length;
    const double D = table.shaft.D;
    const double ratio = D / in.DSTART;
    const std::vector<rock::GeoLayer> layers = rock::GeoLayersOf(grid);
    const int N = rock::TipLayerIndex(layers, L);
    LoadSettlementBlock& out = result.settlement.Block(LoadTransferLine::trend);
    std::ostream& report = ctx.report();
    std::ostream& notes = ctx.run_notes();
    rock::CurveBlock block;
    int status = 0;
    if (IsStrongRock(code)) {
        const rock::StrongRockInput input{layers,           N,      L,      D, ratio, in.Ec,
                                          ProfileOf(table), row.QB, in.si()};
        const rock::StrongRockResult r = rock::StrongRockSettlement(input, report, notes);
        status = r.status;
        block = r.block;
    } else if (code == kDecomposedRock) {
        const rock::DecomposedRockSite site{layers, in.WTD, D, ratio, L, in.Ec, in.si()};
        const rock::DecomposedRockSettlement r = rock::DecomposedRockLoadSettlement(
            site, N, SigmaV(grid, L), row.QS, block, report, notes);
        status = r.status;
        result.settlement_QB = r.QB;
    } else {
        const rock::WeakRockShaft shaft{layers, L, D, ratio, in.Ec, in.si()};
        const rock::WeakRockSettlement r =
            rock::WeakRockLoadSettlement(shaft, N, ProfileOf(table), block, report, notes);
        status = r.status;
        result.settlement_QB = r.QB;
    }
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k].top_load = block.top_load[k];
        out[k].top_movement = block.top_movement[k];
        // The decomposed and weak rock methods leave the tip-load column as it was: empty.
        if (IsStrongRock(code))
            out[k].tip_load = block.tip_load[k];
        out[k].tip_movement = block.tip_movement[k];
    }
    result.settlement.series = 1;
    if (status == 0)
        WriteRockCurve(report, out, IsStrongRock(code), in.si());
    return status;
}

void WriteNoUpliftCurve(std::ostream& os) {
    WriteBlankLines(os, 2);
    WriteLine(os, Blanks(5) + "NOTE: NO LOAD-SETTLEMENT CURVE IS COMPUTED UNDER UPLIFT FOR A");
    WriteLine(os, Blanks(5) + "SHAFT TIP IN ROCK OR AN INTERMEDIATE GEOMATERIAL: THESE METHODS");
    WriteLine(os, Blanks(5) + "REST ON THE BASE, WHICH CARRIES NO UPLIFT LOAD.");
}

} // namespace

settlement::ShaftCase SoilCaseOf(const InputData& in, const CaseResult& result) {
    const CapacityTable& table = result.capacity;
    const CapacityRow& row = table.rows[static_cast<std::size_t>(table.design_row)];
    settlement::ShaftCase shaft;
    shaft.unit_system = in.unit_system;
    shaft.diameter = table.shaft.D;
    shaft.base_diameter = table.shaft.Bb;
    shaft.length = row.length;
    shaft.bell_height = table.shaft.H;
    shaft.top_length = in.TOPLENG;
    shaft.bottom_length = in.BS;
    shaft.Ec = in.Ec;
    // Under uplift the base column holds the weight of the shaft: the base itself carries nothing.
    shaft.uplift = in.KCYCL == 2;
    shaft.Qbmax = shaft.uplift ? 0.0 : std::max(row.QB, 0.0);
    shaft.increments = static_cast<int>(table.rows.size());
    std::vector<double> depth, fs;
    std::vector<int> layer;
    depth.reserve(table.steps.size());
    fs.reserve(table.steps.size());
    layer.reserve(table.steps.size());
    for (const CapacityStep& step : table.steps) {
        depth.push_back(step.z);
        fs.push_back(step.fs);
        layer.push_back(step.layer);
    }
    shaft.profile_depth = depth;
    shaft.profile_fs = fs;
    shaft.layers = settlement::TzLayersToTip(
        in, row.length,
        settlement::ResistanceFromSteps(in, std::move(depth), std::move(layer), std::move(fs)));
    shaft.variation = result.setup.diameter_index;
    shaft.chart_pass = result.setup.length_index;
    shaft.print_tz_curves = in.PrintTZCurves == 1;
    shaft.tz_depths = in.tz_depths;
    if (in.IChart >= 1)
        shaft.chart_settlements = in.PDSETT;
    return shaft;
}

void StartSettlementFiles(RunContext& ctx) {
    if (ctx.Holds(FileRole::tz_diam))
        return; // held in memory, empty at the start of every run
    std::ofstream empty(ctx.Resolve(FileRole::tz_diam),
                        std::ios::out | std::ios::trunc | std::ios::binary);
}

int AnalyseLoadSettlement(RunContext& ctx, const InputData& grid, CaseResult& result,
                          SettlementRunState& state) {
    result.settlement = settlement::LoadSettlementTable{};
    const CapacityTable& table = result.capacity;
    if (table.design_row < 0 || table.design_row >= static_cast<int>(table.rows.size()))
        return 0;
    const CapacityRow& row = table.rows[static_cast<std::size_t>(table.design_row)];
    const int code = ctx.input.layers[static_cast<std::size_t>(row.tip_layer)].code;
    if (settlement::UsesTzMethod(code))
        return SoilSettlement(ctx, result, state);
    if (!IsRockMethod(code))
        return 0;
    if (ctx.input.KCYCL == 2) {
        WriteNoUpliftCurve(ctx.report());
        return 0;
    }
    return RockSettlement(ctx, grid, result, code);
}

} // namespace kolmar::engine
