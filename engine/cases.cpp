// Main analysis routine: input, checks and echo, then one case per stem diameter and length.
#include "cases.h"

#include "capacity.h"
#include "checks.h"
#include "design_charts.h"
#include "format.h"
#include "input.h"
#include "kolmar/ikolmar.h"
#include "plotfile.h"
#include "profile.h"
#include "report.h"
#include "resistance.h"
#include "results_data.h"

#include <fstream>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

constexpr double kDiameterStep = 0.5;       // ft, without design charts
constexpr double kDiameterTolerance = 0.02; // ft, on the largest diameter DIALIM
constexpr double kInPerFt = 12.0;
// ft: a length that reaches PDMIN only through the rounding of repeated steps (or of the SI
// conversion) counts as PDMIN and is not analysed.
constexpr double kLengthTolerance = 1e-9;
constexpr std::size_t kHeaderWidth = 12; // the curve count's field in the first curve header

// Starts the rock-message file of a case afresh.
bool OpenRockMessages(RunContext& ctx) {
    if (ctx.Holds(FileRole::rock_msg)) {
        ctx.held[static_cast<std::size_t>(FileRole::rock_msg)].str({});
        return true;
    }
    std::ofstream& out = ctx.Out(FileRole::rock_msg);
    if (out.is_open())
        out.close();
    out.open(ctx.Resolve(FileRole::rock_msg), std::ios::out | std::ios::trunc | std::ios::binary);
    out.imbue(std::locale::classic());
    if (out.is_open())
        return true;
    const std::string& name = ctx.file_name[static_cast<std::size_t>(FileRole::rock_msg)];
    WriteFileError(ctx.report(), FileRole::rock_msg, name);
    WriteFileError(ctx.run_notes(), FileRole::rock_msg, name);
    WriteFileError(*ctx.console, FileRole::rock_msg, name);
    ctx.status = KOLMAR_STATUS_FILE_ERROR;
    return false;
}

// Closes the rock-message file and copies it into the report, each line as 80 columns.
void CopyRockMessages(RunContext& ctx) {
    if (ctx.Holds(FileRole::rock_msg)) {
        CopyAs80Columns(ctx.held[static_cast<std::size_t>(FileRole::rock_msg)].view(),
                        ctx.report());
        return;
    }
    ctx.Out(FileRole::rock_msg).close();
    std::ifstream messages(ctx.Resolve(FileRole::rock_msg), std::ios::in | std::ios::binary);
    if (messages.is_open())
        CopyAs80Columns(messages, ctx.report());
}

} // namespace

CasePlan PlanCases(const InputData& in) {
    CasePlan plan;
    const double step = in.IChart >= 1 ? in.DIAMINCR : kDiameterStep;
    double D = in.DSTART;
    plan.diameters.push_back(D);
    while (step > 0.0 && in.DIALIM > D && D + step < in.DIALIM + kDiameterTolerance) {
        D += step;
        if (static_cast<int>(plan.diameters.size()) == kMaxDiameters) {
            plan.first_diameter_cut = D;
            break;
        }
        plan.diameters.push_back(D);
    }
    double L = in.PD;
    plan.lengths.push_back(L);
    const bool vary = in.IPENT >= 1 || in.IChart >= 1;
    while (vary && in.PDINCR > 0.0 && L - in.PDINCR > in.PDMIN + kLengthTolerance) {
        L -= in.PDINCR;
        if (static_cast<int>(plan.lengths.size()) == kMaxLengths) {
            plan.first_length_cut = L;
            break;
        }
        plan.lengths.push_back(L);
    }
    return plan;
}

void MainAnalysis(RunContext& ctx) {
    StartSettlementFiles(ctx);
    ReadInput(ctx);
    if (ctx.status != 0)
        return;
    if (!PrepareAnalysis(ctx))
        return;
    const InputData& in = ctx.input;
    WriteComputationResultsHeading(ctx.report());
    const CasePlan plan = PlanCases(in);
    // One capacity curve per length with multiple lengths, else one per diameter (at the first
    // length).
    const bool per_length = in.IPENT >= 1;
    const int planned_curves =
        static_cast<int>(per_length ? plan.lengths.size() : plan.diameters.size());

    CaseLoopState loop;
    loop.reuse = plan.lengths.size() > 1;
    SettlementRunState& state = loop.settlement;
    EfficientShaft efficient;
    std::vector<std::string> curves;
    int file_series = 0; // load-settlement series of the first curve, for every block
    int complete_lengths = 0;
    int number = 0;
    for (std::size_t li = 0; li < plan.lengths.size() && ctx.status == 0; ++li) {
        for (std::size_t di = 0; di < plan.diameters.size() && ctx.status == 0; ++di) {
            CaseSetup setup;
            setup.number = ++number;
            setup.length_index = static_cast<int>(li) + 1;
            setup.diameter_index = static_cast<int>(di) + 1;
            setup.diameter = plan.diameters[di];
            setup.length = plan.lengths[li];
            setup.plot_curves = planned_curves;
            state.keep_tz_data = li + 1 == plan.lengths.size() && di + 1 == plan.diameters.size();
            const bool computed = AnalyseCase(ctx, setup, loop);
            const CaseResult& result = ctx.current;
            if (ctx.results && computed) {
                ctx.results->Keep(result);
                ctx.results->curves.push_back(ctx.results->pending);
            }
            if (ctx.results)
                ctx.results->pending = CaseCurves{};
            state.chart.Length(setup.length_index) = kInPerFt * result.length;
            state.chart.Diameter(setup.diameter_index) = kInPerFt * setup.diameter;
            if (computed && (per_length ? di == 0 : li == 0)) {
                std::ostringstream curve;
                curve.imbue(std::locale::classic());
                if (curves.empty())
                    file_series = result.settlement.series;
                WritePlotCurve(curve, in, setup, result.capacity, result.settlement, file_series);
                curves.push_back(curve.str());
            }
            if (computed && in.METHOD == 1)
                KeepIfMoreEfficient(in, result, efficient);
        }
        if (ctx.status == 0)
            complete_lengths = static_cast<int>(li) + 1;
    }

    // Section 1 of the plot file; the first header announces the curves actually written.
    if (!curves.empty() && static_cast<int>(curves.size()) != planned_curves)
        curves.front().replace(0, kHeaderWidth, I(static_cast<long long>(curves.size()), 12));
    for (const std::string& curve : curves)
        ctx.plot() << curve;

    for (std::ostream* os :
         {static_cast<std::ostream*>(&ctx.report()), static_cast<std::ostream*>(&ctx.run_notes())})
        WriteCasesNotAnalysed(*os, in, plan.first_diameter_cut, plan.first_length_cut);
    if (in.METHOD == 1 && plan.diameters.size() > 1 && efficient.found && ctx.status == 0)
        WriteEfficientShaft(ctx.report(), in, efficient);
    if (in.IChart >= 1) {
        const ChartExtent extent{static_cast<int>(in.PDSETT.size()),
                                 static_cast<int>(plan.diameters.size()), complete_lengths};
        WritePlotDesignCharts(ctx.plot(), in, extent, state.chart);
        if (ctx.results) {
            ctx.results->charts = true;
            ctx.results->chart = std::make_unique<settlement::DesignChartTable>(state.chart);
            ctx.results->chart_settlements = extent.NT;
            ctx.results->chart_diameters = extent.ND;
            ctx.results->chart_lengths = extent.NQ;
        }
        if (ctx.status == 0)
            WriteDesignChartReport(ctx.report(), in, extent, state.chart);
    }
}

bool PrepareAnalysis(RunContext& ctx) {
    const std::vector<std::string> problems = AnalysisDataProblems(ctx.input);
    if (!problems.empty()) {
        for (const std::string& problem : problems) {
            WriteDataError(ctx.report(), problem);
            WriteDataError(ctx.run_notes(), problem);
            WriteDataError(*ctx.console, problem);
        }
        ctx.status = KOLMAR_STATUS_BAD_INPUT;
        return false;
    }
    MarkDerivedEstimates(ctx.input);
    WriteInputEcho(ctx.report(), ctx.input);
    for (std::size_t i = 0; i < ctx.input.layers.size(); ++i)
        if (KoGivesNoSide(ctx.input.layers[i]))
            WriteKoGivesNoSideWarning(ctx.run_notes(), static_cast<int>(i) + 1);
    if (ctx.input.IPENT >= 1) {
        WriteVaryLengthHeading(*ctx.console, ctx.input);
        WriteVaryLengthHeading(ctx.report(), ctx.input);
    }
    if (ctx.input.IChart >= 1) {
        WriteDesignChartHeading(*ctx.console, ctx.input);
        WriteDesignChartHeading(ctx.report(), ctx.input);
    }
    return true;
}

bool AnalyseCase(RunContext& ctx, const CaseSetup& setup, CaseLoopState& state) {
    const InputData& in = ctx.input;
    CaseResult& result = ctx.current;
    result = CaseResult{};
    result.setup = setup;
    const std::string heading = CaseHeadingText(setup);
    for (std::ostream* os : {ctx.console, static_cast<std::ostream*>(&ctx.report()),
                             static_cast<std::ostream*>(&ctx.run_notes())})
        WriteText(*os, heading);
    WriteBlankLines(ctx.run_notes(), 1);
    if (!OpenRockMessages(ctx))
        return false;

    // The capacity table on the whole-foot grid; its per-depth messages are held back so that the
    // run notes list them after the shaft summary.
    std::ostringstream notes;
    notes.imbue(std::locale::classic());
    CapacityTable& table = result.capacity;
    const InputData grid = GridProfile(in);
    if (state.reuse)
        state.capacity.Compute(ctx, grid, setup, table, notes);
    else
        ComputeCapacity(ctx, grid, setup, table, notes);
    const int design = table.design_row;
    const bool found = design >= 0;
    if (in.METHOD == 2)
        result.length = setup.length;
    else if (found)
        result.length = table.rows[static_cast<std::size_t>(design)].length;
    else if (!table.rows.empty())
        result.length = table.rows.back().length;

    WriteShaftInformation(ctx.report(), in, table.shaft);

    std::ostream& run_notes = ctx.run_notes();
    WriteRunNotesShaftInformation(run_notes, in, table.shaft, result.length);
    run_notes << notes.str();
    if (found) {
        const double tip = table.rows[static_cast<std::size_t>(design)].length;
        if (tip + 2.0 * table.shaft.Bb > table.profile_bottom + GridTolerance(tip))
            WriteSoilDepthForBaseNote(run_notes);
    }
    std::string formatted;
    const std::string& rows =
        state.reuse ? state.rows.Text(in, table) : (formatted = CapacityRowsText(in, table));
    WriteText(run_notes, rows);

    WritePredictedResults(ctx.report(), in, rows);
    WriteBlankLines(ctx.report(), 1);
    CopyRockMessages(ctx);

    if (!found && in.METHOD == 2)
        WriteProposedDepthBeyondNote(*ctx.console);

    // A rock procedure that found no valid value ends the run once the case is reported.
    if (ctx.status != 0)
        return true;
    const int settlement_status = AnalyseLoadSettlement(ctx, grid, result, state.settlement);
    if (settlement_status != 0) {
        ctx.status = settlement_status;
        return true;
    }

    if (!found && in.METHOD == 1) {
        for (std::ostream* os : {ctx.console, static_cast<std::ostream*>(&run_notes),
                                 static_cast<std::ostream*>(&ctx.report())})
            WriteNeedAnotherSoilLayer(*os);
        ctx.status = KOLMAR_STATUS_SHORT_PROFILE;
    }
    return true;
}

} // namespace kolmar::engine
