// The one run sequence of the program and the runner.
#include "gui/run/RunSequence.h"

#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "kolmar/portable.h"

#include <exception>
#include <system_error>

namespace fs = std::filesystem;

TLayerCheckInput LayerCheckInputOf(const TProgramData& Project) {
    TLayerCheckInput input;
    input.fUnits = Project.fUnits;
    input.PD = Project.METHOD == 1 ? 0.0 : Project.PD;
    input.DSTART = Project.DSTART;
    for (const TSoilLayer& layer : Project.D)
        input.LayerBottoms.push_back(layer.Depth);
    return input;
}

namespace {
// The plot file of a finished run into the result graphs; a refused file leaves the graphs
// hidden and says why.
void ReadResults(TRunOutcome& Outcome, TProgramData& Project, TResultGraphs& Graphs) {
    Graphs.ClearFlags();
    std::error_code ec;
    Outcome.PlotFound = fs::is_regular_file(Outcome.Files.Plot, ec);
    if (Outcome.PlotFound)
        Graphs.ShowOutput = ReadPlotData(Graphs, Project, kolmar::Utf8OfPath(Outcome.Files.Plot),
                                         &Outcome.PlotError);
}
} // namespace

TRunOutcome RunAnalysis(TProgramData& Project, const TRunRequest& Request) {
    TRunOutcome outcome;
    if (Request.SaveFirst) {
        // A run on a file that does not hold what the user sees would give results for
        // another project: a failed save stops the run.
        try {
            Project.Save();
        } catch (const std::exception& e) {
            outcome.Step = TRunOutcome::TStep::SaveFailed;
            outcome.Message = e.what();
            return outcome;
        }
    }
    if (auto warning = CheckData(LayerCheckInputOf(Project))) {
        outcome.Step = TRunOutcome::TStep::CheckRefused;
        outcome.Message = std::move(*warning);
        return outcome;
    }

    outcome.Files = RunFilesFor(kolmar::PathFromUtf8(Project.FileName));
    if (!Request.ResultsFile.empty())
        outcome.Files.Results = Request.ResultsFile;
    const TEngineRun run = Request.CallEngine
                               ? Request.CallEngine(outcome.Files, Request.EngineFile)
                               : RunEngine(outcome.Files, Request.EngineFile);
    if (!run.Called) {
        outcome.Step = run.NamesNotWritten ? TRunOutcome::TStep::NamesNotWritten
                                           : TRunOutcome::TStep::EngineNotCalled;
        outcome.Message = run.Error;
        return outcome;
    }
    outcome.Status = run.Status;
    outcome.Console = run.Console;
    outcome.Completion = CompletionMessage(run.Status);
    if (Request.Graphs)
        ReadResults(outcome, Project, *Request.Graphs);
    // The run itself leaves no scratch file; these are leftovers of an earlier run through
    // names.dat that stopped before it could tidy up.
    DeleteRunScratch(outcome.Files.Project.parent_path(), outcome.Files);
    return outcome;
}
