// The calculation package of a run, read and written: the results file and plot file of a
// project that has been run, checked to belong to the project file as it stands, then laid out
// as a PDF file, on a printer or as one HTML file. `kolmar report` and the program's File menu
// both go through here.
#pragma once

#include "gui/data/PltData.h"
#include "gui/results/CalcPackagePages.h"
#include "gui/run/Bidirectional.h"
#include "gui/run/RunControl.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class QPagedPaintDevice;
class TDlgSideView;
class TProgramData;

struct TCalcPackageRequest {
    std::vector<std::string> Graphs; // the figures by graph name; empty: the default figures
    std::string Paper;               // "letter", "a4", or empty: letter for English, A4 for SI
    TReportSignOff SignOff;
    // The engine for the bidirectional test section (when NAME.bidir.json defines a cell
    // depth); empty: the library beside the program.
    std::string Engine;
};

struct TCalcPackage {
    TCalcPackage();
    ~TCalcPackage();
    TJson Results;
    TResultGraphs Graphs;
    TReportDocument Doc;
    bool Letter = true;
    std::unique_ptr<TDlgSideView> ElevationView;
    TElevationPainter Elevation;
    // The simulated bidirectional test of NAME.bidir.json and its figures.
    TBidirAnswer Bidirectional;
    std::array<TGraphPlot, 3> BidirectionalGraphs;
};

// What stands in the way of a package, or nothing.
struct TCalcPackageProblem {
    enum class TKind { None, NoResults, Unreadable, OutOfDate, UnknownGraph } Kind = TKind::None;
    std::string Message;
};

// Why the results do not belong to the project file as it stands, or empty when they do: a
// result file older than the project file, or a results file made from other bytes of it.
std::string ResultsOutOfDate(const TRunFiles& Files, const TJson& Results);
// The same in the program, where any change since the run saved the project (ChangedSinceSave,
// which a project never saved has too) also leaves the results behind.
std::string ProgramResultsOutOfDate(bool ChangedSinceSave, const TRunFiles& Files,
                                    const TJson& Results);

// Reads the run of Project (saved as Files.Project) into Package. Needs a QApplication.
TCalcPackageProblem PrepareCalcPackage(TProgramData& Project, const TRunFiles& Files,
                                       const TCalcPackageRequest& Request, TCalcPackage& Package);

// Writes the package whole through a temporary file; false (with nothing left) on failure.
bool WriteCalcPackagePdf(TCalcPackage& Package, const std::string& Path, int& Pages);
bool WriteCalcPackageHtml(TCalcPackage& Package, const std::string& Path);
// Paints the package on a printer (or any paged device) of its own page size.
int PrintCalcPackage(TCalcPackage& Package, QPagedPaintDevice& Device);
