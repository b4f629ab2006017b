// kolmar plot: paints one result graph of a project that has been run into a picture file
// (PNG, BMP, SVG or PDF by the extension), with the desktop program's painting code and no
// display: the offscreen platform unless QT_QPA_PLATFORM says otherwise. Runs in kolmar-paint.
#include "app/paint/paint.h"
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "gui/results/PlotPainter.h"
#include "ui/model/NumberText.h"

#include <QGuiApplication>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

struct TPlotOptions {
    std::string Project;
    std::string Layout;
    std::string Graph;
    std::string Output;
    TPictureSize Size; // 6 by 4 inches at 150 pixels per inch, as the program's save dialog
};

int Usage(const std::string& Why) {
    std::cerr << "kolmar plot: " << Why << "\n"
              << "Usage: kolmar plot PROJECT --graph NAME -o FILE.png|svg|pdf"
                 " [--width-in W --height-in H --ppi P]\n";
    return ExitUsage;
}

// Reads the options; an empty string on success, else what is wrong.
std::string ParseOptions(const std::vector<std::string>& Raw, TPlotOptions& Options) {
    for (std::size_t i = 0; i < Raw.size(); ++i) {
        const std::string& arg = Raw[i];
        auto value = [&](std::string& Into) -> std::string {
            if (i + 1 >= Raw.size())
                return arg + " needs a value";
            Into = Raw[++i];
            return {};
        };
        auto number = [&](double& Into, double Min, double Max) -> std::string {
            std::string text;
            if (std::string why = value(text); !why.empty())
                return why;
            double v = 0.0;
            if (!ParseReal(text, v))
                return arg + ": '" + text + "' is not a number";
            if (v < Min || v > Max)
                return arg + ": " + text + " is outside " + FormatGeneral(Min) + " to " +
                       FormatGeneral(Max);
            Into = v;
            return {};
        };
        std::string why;
        if (arg == "--graph") {
            why = value(Options.Graph);
        } else if (arg == "-o" || arg == "--output") {
            why = value(Options.Output);
        } else if (arg == "--layout") {
            why = value(Options.Layout);
            if (why.empty() && Options.Layout != "2012" && Options.Layout != "6.0")
                why = "unknown layout '" + Options.Layout + "' (2012 or 6.0)";
        } else if (arg == "--width-in") {
            why = number(Options.Size.WidthIn, 2.0, 100.0);
        } else if (arg == "--height-in") {
            why = number(Options.Size.HeightIn, 2.0, 100.0);
        } else if (arg == "--ppi") {
            double ppi = 0.0;
            why = number(ppi, 10.0, 2400.0);
            if (why.empty() && ppi != static_cast<int>(ppi))
                why = "--ppi: " + Raw[i] + " is not a whole number";
            Options.Size.Ppi = static_cast<int>(ppi);
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
    if (Options.Graph.empty())
        return "no graph given (--graph NAME)";
    if (Options.Output.empty())
        return "no picture file given (-o FILE)";
    const std::string kind = fs::path(Options.Output).extension().string();
    if (kind != ".png" && kind != ".svg" && kind != ".pdf" && kind != ".bmp")
        return "the picture file must end in .png, .svg, .pdf or .bmp: " + Options.Output;
    if (Options.Size.Pixels().isEmpty())
        return "the picture would be larger than " + FormatGeneral(kMaxPictureSide) +
               " pixels on a side";
    return {};
}

} // namespace

int PlotCommand(const TCommandLine& Line) {
    TPlotOptions options;
    if (const std::string why = ParseOptions(Line.Raw, options); !why.empty())
        return Usage(why);

    std::string name;
    int status = 0;
    auto project = LoadProject(options.Project, options.Layout, name, status);
    if (!project)
        return status;
    const fs::path plotFile = RunFilesFor(name).Plot;
    std::error_code ec;
    if (!fs::is_regular_file(plotFile, ec)) {
        std::cerr << "kolmar: " << plotFile.string()
                  << ": no plot file; run the project first (kolmar run " << name << ")\n";
        return ExitNoInput;
    }

    // The painting code needs a GUI application; without a display it draws offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char arg0[] = "kolmar";
    char* argv[] = {arg0, nullptr};
    QGuiApplication app(argc, argv);

    TResultGraphs graphs;
    std::string error;
    if (!ReadPlotData(graphs, *project, plotFile.string(), &error)) {
        std::cerr << "kolmar: " << plotFile.string() << ":\n" << error << "\n";
        return ExitDataError;
    }
    TGraphPlot* graph = GraphByName(graphs, QString::fromStdString(options.Graph));
    if (!graph) {
        std::cerr << "kolmar plot: unknown graph '" << options.Graph << "'; the graphs are:\n  "
                  << GraphNames().join(" ").toStdString() << "\n";
        return ExitUsage;
    }
    // The graphs the program's Graphics menu would offer for these results.
    graphs.ShowOutput = true;
    const TGraphicsMenuState offered = OfferGraphs(graphs, *project, true);
    bool enabled = false;
    for (int item = 0; item < giItemCount; ++item)
        if (GraphOfItem(graphs, item) == graph)
            enabled = offered[static_cast<std::size_t>(item)].Enabled;
    TPlotPainter painter(*graph);
    if (!enabled || !graph->HasSomethingToDraw() || !painter.Valid) {
        std::cerr << "kolmar: " << options.Graph << " (" << graph->Caption
                  << ") holds no curves in " << plotFile.string() << "\n";
        return ExitDataError;
    }
    ActivateCurves(*graph);
    QString why;
    if (!SavePicture(painter, QString::fromStdString(options.Output), options.Size,
                     TPictureColours::TrueColour24, &why)) {
        std::cerr << "kolmar: " << options.Output << ": " << why.toStdString() << "\n";
        return ExitCantCreate;
    }
    const QSize pixels = options.Size.Pixels();
    std::cout << "Wrote " << options.Output << " (" << options.Graph << ", " << pixels.width()
              << " x " << pixels.height() << " pixels)\n";
    return 0;
}
