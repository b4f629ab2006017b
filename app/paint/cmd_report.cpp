// kolmar report: the calculation package of a project that has been run, as a PDF or a
// self-contained HTML file, from NAME.results.json (every number) and the plot file (the
// figures). Results older than the project are refused unless --run runs it first.
#include "app/paint/paint.h"
#include "app/paint/report_pages.h"
#include "app/runner/cli.h"
#include "engine/sha256.h"
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "gui/results/PlotPainter.h"

#include "gui/results/PileSide.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
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

std::string ReadWhole(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Why the results do not belong to the project as it stands, or empty when they do: a result
// file older than the project, or a results file made from other project bytes.
std::string OutOfDate(const TRunFiles& Files, const TJson& Results) {
    std::error_code ec;
    const auto projectTime = fs::last_write_time(Files.Project, ec);
    for (const fs::path& result : {Files.Results, Files.Report, Files.Notes, Files.Plot}) {
        std::error_code older;
        const auto resultTime = fs::last_write_time(result, older);
        if (!ec && !older && resultTime < projectTime)
            return result.string() + " is older than " + Files.Project.string();
    }
    const TJson* input = Results.Find("input");
    const TJson* hash = input ? input->Find("sha256") : nullptr;
    if (!hash || hash->Text != kolmar::engine::Sha256Hex(ReadWhole(Files.Project)))
        return Files.Results.string() + " was made from other contents of " +
               Files.Project.string();
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

bool WriteWhole(const fs::path& Path, const std::string& Text) {
    fs::path temporary = Path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !(out << Text) || !out.flush())
            return false;
    }
    std::error_code ec;
    fs::rename(temporary, Path, ec);
    if (ec)
        fs::remove(temporary, ec);
    return !ec;
}

bool WritePdf(const TReportDocument& Doc, TResultGraphs& Graphs, const TElevationPainter& Elevation,
              const fs::path& Path, bool Letter, int& Pages) {
    fs::path temporary = Path;
    temporary += ".tmp";
    {
        QPdfWriter pdf(QString::fromStdString(temporary.string()));
        pdf.setTitle(QString::fromStdString(Doc.Title));
        pdf.setCreator("Kolmar");
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(Letter ? QPageSize::Letter : QPageSize::A4),
                                      QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                                      QPageLayout::Millimeter));
        Pages = PaintReport(Doc, Graphs, Elevation, pdf);
    }
    std::error_code ec;
    if (fs::file_size(temporary, ec) == 0 || ec) {
        fs::remove(temporary, ec);
        return false;
    }
    fs::rename(temporary, Path, ec);
    if (ec)
        fs::remove(temporary, ec);
    return !ec;
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
    std::error_code ec;
    if (!fs::is_regular_file(files.Results, ec) || !fs::is_regular_file(files.Plot, ec)) {
        std::cerr << "kolmar: " << name << " has no results (" << files.Results.string()
                  << "); run it first (kolmar run " << name << ", or report --run)\n";
        return ExitNoInput;
    }
    TJson results;
    try {
        results = TJsonReader(ReadWhole(files.Results)).ReadDocument();
    } catch (const std::exception& e) {
        std::cerr << "kolmar: " << files.Results.string() << " cannot be read: " << e.what()
                  << "\n";
        return ExitDataError;
    }
    if (const std::string why = OutOfDate(files, results); !why.empty()) {
        std::cerr << "kolmar report: the results are out of date: " << why
                  << "; run the project again or give --run\n";
        return ExitDataError;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char arg0[] = "kolmar";
    char* argv[] = {arg0, nullptr};
    // The elevation drawing is the elevation window's own painting, which needs the widgets.
    QApplication app(argc, argv);

    TResultGraphs graphs;
    std::string error;
    if (!ReadPlotData(graphs, *project, files.Plot.string(), &error)) {
        std::cerr << "kolmar: " << files.Plot.string() << ":\n" << error << "\n";
        return ExitDataError;
    }
    graphs.ShowOutput = true;
    for (const std::string& g : options.Graphs)
        if (!GraphByName(graphs, QString::fromStdString(g))) {
            std::cerr << "kolmar report: unknown graph '" << g << "'; the graphs are:\n  "
                      << GraphNames().join(" ").toStdString() << "\n";
            return ExitUsage;
        }
    TReportDocument doc;
    try {
        doc = BuildReport(results, name, options.SignOff, options.Graphs,
                          ReportWarningBlocks(ReadWhole(files.Report)));
    } catch (const std::exception& e) {
        std::cerr << "kolmar: " << files.Results.string() << ": " << e.what() << "\n";
        return ExitDataError;
    }
    TDlgSideView elevationView([&]() -> TProgramData& { return *project; });
    elevationView.resize(900, 700);
    elevationView.FormActivate();
    const TElevationPainter elevation = [&](QPainter& P, const QRect& Area) {
        elevationView.Draw(P, Area);
    };
    const fs::path output(options.Output);
    if (output.extension() == ".html") {
        if (!WriteWhole(output, ReportHtml(doc, graphs, elevation))) {
            std::cerr << "kolmar: cannot write " << output.string() << "\n";
            return ExitCantCreate;
        }
        std::cout << "Wrote " << output.string() << "\n";
        return 0;
    }
    const TJson* input = results.Find("input");
    const TJson* system = input ? input->Find("unit_system") : nullptr;
    const bool letter =
        options.Paper.empty() ? !(system && system->Text == "SI") : options.Paper == "letter";
    int pages = 0;
    if (!WritePdf(doc, graphs, elevation, output, letter, pages)) {
        std::cerr << "kolmar: cannot write " << output.string() << "\n";
        return ExitCantCreate;
    }
    std::cout << "Wrote " << output.string() << " (" << pages << " pages, "
              << (letter ? "letter" : "A4") << ")\n";
    return 0;
}
