// Main analysis routine: input, checks and echo, then one case per stem diameter and length.
#include "cases.h"

#include "capacity.h"
#include "checks.h"
#include "entry.h"
#include "format.h"
#include "input.h"
#include "kolmar/ikolmar.h"
#include "plotfile.h"
#include "profile.h"
#include "report.h"
#include "resistance.h"

#include <fstream>
#include <locale>
#include <sstream>

namespace kolmar::engine {
namespace {

// Starts the rock-message file of a case afresh.
bool OpenRockMessages(RunContext& ctx) {
    std::ofstream& out = ctx.Out(FileRole::rock_msg);
    if (out.is_open())
        out.close();
    out.open(ctx.Resolve(FileRole::rock_msg), std::ios::out | std::ios::trunc);
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
    ctx.Out(FileRole::rock_msg).close();
    std::ifstream messages(ctx.Resolve(FileRole::rock_msg), std::ios::in | std::ios::binary);
    if (messages.is_open())
        CopyAs80Columns(messages, ctx.report());
}

} // namespace

void MainAnalysis(RunContext& ctx) {
    ReadInput(ctx);
    if (ctx.status != 0)
        return;
    if (!PrepareAnalysis(ctx))
        return;
    WriteComputationResultsHeading(ctx.report());
    AnalyseCase(ctx, FirstCase(ctx.input));
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

CaseSetup FirstCase(const InputData& in) {
    CaseSetup setup;
    setup.diameter = in.DSTART;
    setup.length = in.PD;
    return setup;
}

void AnalyseCase(RunContext& ctx, const CaseSetup& setup) {
    const InputData& in = ctx.input;
    CaseResult& result = ctx.current;
    result = CaseResult{};
    result.setup = setup;
    for (std::ostream* os : {ctx.console, static_cast<std::ostream*>(&ctx.report()),
                             static_cast<std::ostream*>(&ctx.run_notes())})
        WriteCaseHeading(*os, setup);
    WriteBlankLines(ctx.run_notes(), 1);
    if (!OpenRockMessages(ctx))
        return;

    // The capacity table on the whole-foot grid; its per-depth messages are held back so that the
    // run notes list them after the shaft summary.
    std::ostringstream notes;
    notes.imbue(std::locale::classic());
    CapacityTable& table = result.capacity;
    if (!ComputeCapacity(ctx, GridProfile(in), setup, table, notes)) {
        ctx.Out(FileRole::rock_msg).close();
        return;
    }
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
    WriteCapacityRows(run_notes, in, table);

    WritePredictedResults(ctx.report(), in, table);
    WriteBlankLines(ctx.report(), 1);
    CopyRockMessages(ctx);

    if (!found && in.METHOD == 2)
        WriteProposedDepthBeyondNote(*ctx.console);

    // The load-settlement analysis of the case's length fills result.settlement here; until it
    // does, the plot file carries zero records for it.
    WritePlotCurve(ctx.plot(), in, setup, table, result.settlement);

    if (!found && in.METHOD == 1) {
        for (std::ostream* os : {ctx.console, static_cast<std::ostream*>(&run_notes),
                                 static_cast<std::ostream*>(&ctx.report())})
            WriteNeedAnotherSoilLayer(*os);
        ctx.status = KOLMAR_STATUS_SHORT_PROFILE;
    }
}

} // namespace kolmar::engine
