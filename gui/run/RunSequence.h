// One analysis run of a project, as the desktop program's Run Analysis command and `kolmar run`
// both make it: save (when asked), check the layer geometry, call the engine through its entry
// for programs, take the completion message and read the plot file into the result graphs (when
// given). The callers present the outcome their own way.
#pragma once

#include "gui/run/RunControl.h"

#include <filesystem>
#include <functional>
#include <string>

class TProgramData;
class TResultGraphs;

// What the layer check needs of a project, as the project stands after Save: with a design
// load the length is 0, and only the two diameters below the ground are asked for.
TLayerCheckInput LayerCheckInputOf(const TProgramData& Project);

// Calls the engine once on the run files (RunEngine by default). The desktop program runs the
// call off its user-interface thread; the runner announces it first.
using TEngineCall =
    std::function<TEngineRun(const TRunFiles& Files, const std::filesystem::path& EngineFile)>;

struct TRunRequest {
    std::filesystem::path EngineFile;  // the engine library, loaded afresh for this run
    bool SaveFirst = false;            // save the project to its file before the check
    TResultGraphs* Graphs = nullptr;   // read the plot file into these after a run, when given
    TEngineCall CallEngine;            // empty: RunEngine
    std::filesystem::path ResultsFile; // the results file; empty: NAME.results.json beside it
};

struct TRunOutcome {
    enum class TStep {
        SaveFailed,      // the project could not be saved; nothing ran (Message: why)
        CheckRefused,    // the layer check refused the project (Message: its warning)
        NamesNotWritten, // names.dat could not be written; nothing ran (Message: why)
        EngineNotCalled, // the engine could not be loaded or called (Message: why)
        Completed,       // the engine returned Status
    };
    TStep Step = TStep::Completed;
    std::string Message;
    TRunFiles Files;
    int Status = -1;
    std::string Completion; // the completion message of Status
    std::string Console;    // what the engine wrote for a console during the run
    bool PlotFound = false; // a plot file exists after the run (and Graphs were given)
    std::string PlotError;  // the plot-file reader's message when it refused the file
};

// Runs the analysis of Project as described above. The engine reads the project's file, so
// without SaveFirst the file must already hold the project.
TRunOutcome RunAnalysis(TProgramData& Project, const TRunRequest& Request);
