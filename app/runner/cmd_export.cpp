// kolmar export: the result graphs of a project that has been run, into a spreadsheet workbook
// (a Legend sheet, a data sheet and a chart sheet per graph) and/or one CSV file per graph.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "gui/data/ExcelExport.h"
#include "gui/data/PltData.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

int Usage(const std::string& Why) {
    std::cerr << "kolmar: " << Why << "\n"
              << "Usage: kolmar export PROJECT -o FILE.xlsx [--graphs NAME,...] [--no-markers] "
                 "[--csv DIR] [--layout 2012|6.0]\n";
    return ExitUsage;
}

std::vector<std::string> SplitNames(const std::string& List) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= List.size()) {
        const std::size_t comma = std::min(List.find(',', start), List.size());
        if (comma > start)
            names.push_back(List.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

std::string NamesOf(const std::vector<int>& Rows) {
    std::string text;
    for (int row : Rows)
        text += (text.empty() ? "" : ", ") +
                std::string(ExportRows()[static_cast<std::size_t>(row - 1)].Name);
    return text.empty() ? "none" : text;
}

struct TExportOptions {
    std::string Project;
    std::string Workbook; // -o
    std::string CsvDir;   // --csv
    std::string Graphs;   // --graphs, comma-separated
    bool GraphsGiven = false;
    bool Markers = true;
    std::string Layout;
};

// Fills Options from the words after "export"; the reason on failure.
std::string ParseOptions(const std::vector<std::string>& Words, TExportOptions& Options) {
    for (std::size_t i = 0; i < Words.size(); ++i) {
        const std::string& w = Words[i];
        auto value = [&](std::string& Into) -> std::string {
            if (i + 1 >= Words.size())
                return w + " needs a value";
            Into = Words[++i];
            return {};
        };
        std::string error;
        if (w == "-o" || w == "--output") {
            error = value(Options.Workbook);
        } else if (w == "--csv") {
            error = value(Options.CsvDir);
        } else if (w == "--graphs") {
            error = value(Options.Graphs);
            Options.GraphsGiven = true;
        } else if (w == "--no-markers") {
            Options.Markers = false;
        } else if (w == "--layout") {
            error = value(Options.Layout);
            if (error.empty() && Options.Layout != "2012" && Options.Layout != "6.0")
                error = "unknown layout '" + Options.Layout + "' (2012 or 6.0)";
        } else if (w.size() > 1 && w[0] == '-') {
            error = "unknown option '" + w + "'";
        } else if (Options.Project.empty()) {
            Options.Project = w;
        } else {
            error = "export takes one project file ('" + w + "' is a second one)";
        }
        if (!error.empty())
            return error;
    }
    if (Options.Project.empty())
        return "export needs a project file";
    if (Options.Workbook.empty() && Options.CsvDir.empty())
        return "export needs -o FILE.xlsx or --csv DIR";
    return {};
}

} // namespace

int ExportCommand(const TCommandLine& Line) {
    TExportOptions options;
    if (const std::string error = ParseOptions(Line.Raw, options); !error.empty())
        return Usage(error);

    std::string name;
    int status = 0;
    const auto project = LoadProject(options.Project, options.Layout, name, status);
    if (!project)
        return status;

    const std::string plotFile = fs::path(name).replace_extension(".kx8p").string();
    std::error_code ec;
    if (!fs::is_regular_file(plotFile, ec)) {
        std::cerr << "kolmar: " << plotFile << ": no results for this project; run 'kolmar run "
                  << name << "' first\n";
        return ExitNoInput;
    }
    TResultGraphs graphs;
    std::string error;
    if (!ReadPlotData(graphs, *project, plotFile, &error)) {
        std::cerr << "kolmar: " << plotFile << ": the results cannot be read:\n" << error << "\n";
        return ExitDataError;
    }
    graphs.ShowOutput = true;
    const std::vector<int> offered = OfferedExportRows(OfferGraphs(graphs, *project, true), graphs);

    // The graphs: those named, in the order given, or every graph the results hold.
    std::vector<int> rows;
    if (options.GraphsGiven) {
        for (const std::string& graphName : SplitNames(options.Graphs)) {
            const int row = ExportRowOfName(graphName);
            if (row == 0)
                return Usage("no graph is named '" + graphName +
                             "'; the graphs of this project: " + NamesOf(offered));
            if (std::find(offered.begin(), offered.end(), row) == offered.end())
                return Usage("the results of " + name + " hold no graph '" + graphName +
                             "'; they hold: " + NamesOf(offered));
            if (std::find(rows.begin(), rows.end(), row) == rows.end())
                rows.push_back(row);
        }
        if (rows.empty())
            return Usage("--graphs names no graph");
    } else {
        rows = offered;
    }
    if (rows.empty()) {
        std::cerr << "kolmar: " << plotFile << ": the results hold no graph to export\n";
        return ExitDataError;
    }
    std::vector<const TGraphPlot*> chosen;
    for (int row : rows)
        chosen.push_back(&GraphOfExportRow(graphs, row));

    if (!options.Workbook.empty()) {
        const TExportResult result = WriteExcelWorkbook(options.Workbook, chosen, options.Markers);
        if (!result.Ok) {
            std::cerr << "kolmar: " << result.Error << "\n";
            return ExitCantCreate;
        }
        std::cout << options.Workbook << ": " << chosen.size() << " graph"
                  << (chosen.size() == 1 ? "" : "s") << " (" << NamesOf(rows) << ")\n";
        if (result.more255)
            std::cout << "Some plots show only 255 series: a chart holds at most 255; their data "
                         "sheets hold every curve.\n";
    }
    if (!options.CsvDir.empty()) {
        fs::create_directories(options.CsvDir, ec);
        if (ec) {
            std::cerr << "kolmar: " << options.CsvDir << ": " << ec.message() << "\n";
            return ExitCantCreate;
        }
        for (int row : rows) {
            const std::string file =
                (fs::path(options.CsvDir) /
                 (std::string(ExportRows()[static_cast<std::size_t>(row - 1)].Name) + ".csv"))
                    .string();
            if (!WriteGraphCsv(file, GraphOfExportRow(graphs, row), &error)) {
                std::cerr << "kolmar: " << error << "\n";
                return ExitCantCreate;
            }
            std::cout << file << "\n";
        }
    }
    return 0;
}
