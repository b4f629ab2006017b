// kolmar report: the calculation package of a project that has been run, as a PDF or a
// self-contained HTML file, from NAME.results.json (every number) and the plot file (the
// figures). Results older than the project are refused unless --run runs it first.
#include "app/paint/paint.h"
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "gui/results/CalcPackageFiles.h"
#include "gui/results/PlotPainter.h"

#include <QApplication>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct TReportOptions {
    std::string Project, Output, Paper, Layout;
    std::vector<std::string> Graphs;
    TReportSignOff SignOff;
    bool Run = false;
};

int Usage(const std::string& Why) {
    std::cerr << "kolmar report: " << Why << "\n"
              << "Usage: kolmar report PROJECT -o calc.pdf|calc.html [--graphs NAME,...]"
                 " [--paper letter|a4] [--run] [--prepared-by NAME --checked-by NAME]\n";
    return ExitUsage;
}

std::string ParseOptions(const std::vector<std::string>& Raw, TReportOptions& Options) {
    for (std::size_t i = 0; i < Raw.size(); ++i) {
        const std::string& arg = Raw[i];
        auto value = [&](std::string& Into) -> std::string {
            if (i + 1 >= Raw.size())
                return arg + " needs a value";
            Into = Raw[++i];
            return {};
        };
        std::string why;
        if (arg == "-o" || arg == "--output") {
            why = value(Options.Output);
        } else if (arg == "--paper") {
            why = value(Options.Paper);
            if (why.empty() && Options.Paper != "letter" && Options.Paper != "a4")
                why = "unknown paper '" + Options.Paper + "' (letter or a4)";
        } else if (arg == "--graphs") {
            std::string list;
            why = value(list);
            std::stringstream words(list);
            for (std::string name; std::getline(words, name, ',');)
                if (!name.empty())
                    Options.Graphs.push_back(name);
        } else if (arg == "--prepared-by") {
            why = value(Options.SignOff.PreparedBy);
        } else if (arg == "--checked-by") {
            why = value(Options.SignOff.CheckedBy);
        } else if (arg == "--layout") {
            why = value(Options.Layout);
        } else if (arg == "--run") {
            Options.Run = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            why = "unknown option '" + arg + "'";
        } else if (Options.Project.empty()) {
            Options.Project = arg;
        } else {
            why = "more than one project given ('" + Options.Project + "', '" + arg + "')";
        }
        if (!why.empty())
            return why;
    }
    if (Options.Project.empty())
        return "no project given";
    if (Options.Output.empty())
        return "no package file given (-o FILE.pdf or FILE.html)";
    const std::string kind = fs::path(Options.Output).extension().string();
    if (kind != ".pdf" && kind != ".html")
        return "the package file must end in .pdf or .html: " + Options.Output;
    return {};
}

// Runs the project with the runner beside this program, as `kolmar run` would.
int RunFirst(const std::string& Project) {
    const std::string runner = (ExecutableDirectory() / "kolmar").string();
    std::cout.flush();
    const pid_t child = fork();
    if (child < 0)
        return ExitNoEngine;
    if (child == 0) {
        execl(runner.c_str(), runner.c_str(), "run", Project.c_str(), static_cast<char*>(nullptr));
        _exit(ExitNoEngine);
    }
    int status = 0;
    if (waitpid(child, &status, 0) < 0 || !WIFEXITED(status))
        return ExitNoEngine;
    return WEXITSTATUS(status);
}

} // namespace

int ReportCommand(const TCommandLine& Line) {
    TReportOptions options;
    if (const std::string why = ParseOptions(Line.Raw, options); !why.empty())
        return Usage(why);
    std::string name;
    int status = 0;
    auto project = LoadProject(options.Project, options.Layout, name, status);
    if (!project)
        return status;
    const TRunFiles files = RunFilesFor(name);
    if (options.Run) {
        const int run = RunFirst(name);
        if (run != 0) {
            std::cerr << "kolmar report: the run of " << name << " ended with status " << run
                      << "; no package written\n";
            return run;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char arg0[] = "kolmar";
    char* argv[] = {arg0, nullptr};
    // The elevation drawing is the elevation window's own painting, which needs the widgets.
    QApplication app(argc, argv);

    TCalcPackageRequest request;
    request.Graphs = options.Graphs;
    request.Paper = options.Paper;
    request.SignOff = options.SignOff;
    TCalcPackage package;
    const TCalcPackageProblem problem = PrepareCalcPackage(*project, files, request, package);
    switch (problem.Kind) {
    case TCalcPackageProblem::TKind::None:
        break;
    case TCalcPackageProblem::TKind::NoResults:
        std::cerr << "kolmar: " << problem.Message << " (kolmar run " << name
                  << ", or report --run)\n";
        return ExitNoInput;
    case TCalcPackageProblem::TKind::OutOfDate:
        std::cerr << "kolmar report: " << problem.Message
                  << "; run the project again or give --run\n";
        return ExitDataError;
    case TCalcPackageProblem::TKind::UnknownGraph:
        std::cerr << "kolmar report: " << problem.Message << "\n";
        return ExitUsage;
    case TCalcPackageProblem::TKind::Unreadable:
        std::cerr << "kolmar: " << problem.Message << "\n";
        return ExitDataError;
    }
    const std::string output = options.Output;
    if (fs::path(output).extension() == ".html") {
        if (!WriteCalcPackageHtml(package, output)) {
            std::cerr << "kolmar: cannot write " << output << "\n";
            return ExitCantCreate;
        }
        std::cout << "Wrote " << output << "\n";
        return 0;
    }
    int pages = 0;
    if (!WriteCalcPackagePdf(package, output, pages)) {
        std::cerr << "kolmar: cannot write " << output << "\n";
        return ExitCantCreate;
    }
    std::cout << "Wrote " << output << " (" << pages << " pages, "
              << (package.Letter ? "letter" : "A4") << ")\n";
    return 0;
}
