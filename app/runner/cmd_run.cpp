// kolmar run: the program's Run Analysis command for batch use.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "gui/run/RunSequence.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

int RunCommand(const TCommandLine& Line) {
    if (Line.Arguments.size() != 1) {
        std::cerr << "kolmar: run takes one project file\n";
        return ExitUsage;
    }
    std::string name;
    int status = 0;
    auto project = LoadProject(Line.Arguments[0], Line.Layout, name, status);
    if (!project)
        return status;
    if (const auto advice = UpgradeNeeded(*project, name)) {
        std::cerr << "kolmar: " << name << ":\n" << *advice << "\n";
        return ExitDataError;
    }
    if (FilterForFileName(name) != 1 && !ConvertOlderProject(*project, name, status))
        return status;

    // The runner runs the project's file as it is on disk.
    TRunRequest request;
    request.EngineFile = EngineLibraryFile();
    if (!Line.Json.empty()) {
        std::error_code ec;
        request.ResultsFile = fs::absolute(kolmar::PathFromUtf8(Line.Json), ec);
        if (ec)
            request.ResultsFile = kolmar::PathFromUtf8(Line.Json);
    }
    request.CallEngine = [](const TRunFiles& Files, const fs::path& Engine) {
        std::cout << "Kolmar " << KOLMAR_VERSION_STRING << ": analysing "
                  << kolmar::Utf8OfPath(Files.Project) << std::endl;
        return RunEngine(Files, Engine);
    };
    const TRunOutcome run = RunAnalysis(*project, request);
    switch (run.Step) {
    case TRunOutcome::TStep::SaveFailed: // not asked for
    case TRunOutcome::TStep::CheckRefused:
        std::cerr << "kolmar: " << name << ":\n" << run.Message << "\n";
        return ExitCheckFailed;
    case TRunOutcome::TStep::NamesNotWritten:
        std::cerr << "kolmar: " << run.Message << "\n";
        return ExitCantCreate;
    case TRunOutcome::TStep::EngineNotCalled:
        std::cerr << "kolmar: " << run.Message << "\n";
        return ExitNoEngine;
    case TRunOutcome::TStep::Completed:
        break;
    }

    // The engine's banner, title and messages, as a run through IKOLMAR shows them.
    std::cerr << run.Console << std::flush;
    std::cout << "\n" << run.Completion << "\n";
    std::cout << "Status " << run.Status << ": " << StatusMeaning(run.Status) << "\n";
    std::cout << "Result files:\n";
    for (const fs::path& f : ResultFiles(run.Files)) {
        std::error_code ec;
        if (fs::is_regular_file(f, ec))
            std::cout << "  " << kolmar::Utf8OfPath(f) << "  (" << fs::file_size(f, ec)
                      << " bytes)\n";
    }
    return run.Status;
}
