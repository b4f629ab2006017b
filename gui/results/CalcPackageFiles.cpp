// Reading a run for its calculation package and writing the package: PDF, printer, HTML.
#include "gui/results/CalcPackageFiles.h"

#include "engine/sha256.h"
#include "gui/data/DataUnit.h"
#include "gui/results/BidirectionalForm.h"
#include "gui/results/PileSide.h"
#include "gui/results/PlotPainter.h"
#include "kolmar/ikolmar.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Moves a finished temporary file over Path; removes it when that fails.
bool Replace(const fs::path& Temporary, const fs::path& Path) {
    std::error_code ec;
    if (fs::file_size(Temporary, ec) == 0 || ec) {
        fs::remove(Temporary, ec);
        return false;
    }
    fs::rename(Temporary, Path, ec);
    if (ec)
        fs::remove(Temporary, ec);
    return !ec;
}

fs::path TemporaryFor(const std::string& Path) {
    fs::path temporary(Path);
    temporary += ".tmp";
    return temporary;
}

} // namespace

TCalcPackage::TCalcPackage() = default;
TCalcPackage::~TCalcPackage() = default;

std::string ResultsOutOfDate(const TRunFiles& Files, const TJson& Results) {
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

std::string ProgramResultsOutOfDate(bool ChangedSinceSave, const TRunFiles& Files,
                                    const TJson& Results) {
    if (ChangedSinceSave)
        return "the project has changed since its last run";
    return ResultsOutOfDate(Files, Results);
}

namespace {

// The section of the simulated bidirectional test, when the set-up beside the project defines a
// cell depth: the set-up, the capacities and the balance depth, the equivalent top-down curve at
// the analysis' top movements beside its trend line, and the three figures. A test the engine
// refuses leaves its reason in the section.
void AddBidirectionalSection(const TProgramData& Project, const TRunFiles& Files,
                             const TCalcPackageRequest& Request, TCalcPackage& Package) {
    const bool si = Project.fUnits == 2;
    std::string error;
    const auto setup = ReadBidirSetup(Files.Project, si, &error);
    std::vector<TReportBlock>& blocks = Package.Doc.Blocks;
    const auto add = [&blocks](TReportBlock::TKind Kind, std::string Text) {
        TReportBlock b;
        b.Kind = Kind;
        b.Text = std::move(Text);
        blocks.push_back(std::move(b));
        return &blocks.back();
    };
    if (!setup && error.empty())
        return;
    add(TReportBlock::TKind::Heading, "Simulated bidirectional load test");
    if (!setup) {
        add(TReportBlock::TKind::Warning, error);
        return;
    }
    const fs::path engine = Request.Engine.empty() ? ExecutableDirectory() / KOLMAR_ENGINE_FILE
                                                   : fs::path(Request.Engine);
    TBidirAnswer& a = Package.Bidirectional;
    a = SimulateBidirectional(engine, Files.Project, setup->CellDepth, setup->CellCapacity, false);
    const std::string len = si ? "m" : "ft", force = si ? "kN" : "kips", mov = si ? "mm" : "in";
    add(TReportBlock::TKind::Text,
        "A jack cell " + PrintedNumber(setup->CellDepth, 2) + " " + len +
            " below the top of the shaft (" + BidirSetupPath(Files.Project).filename().string() +
            "), simulated on the trend line's t-z and q-w curves of the first case: the part above "
            "the cell pushed up (side resistance x RCYCL and its buoyant weight), the part below "
            "pushed down (side and base). The equivalent top-down curve adds, at equal cell "
            "movements, the upper part's side load to the lower part's load, and the elastic "
            "shortening of the upper part under the top-down load distribution.");
    if (a.Status != 0) {
        add(TReportBlock::TKind::Warning, "The test cannot be simulated: " + a.Message);
        return;
    }
    const auto value = [&a](TBidirValue v, int decimals) {
        const double x = a.Value(v);
        return std::isfinite(x) ? PrintedNumber(x, decimals) : std::string("-");
    };
    TReportBlock* values = add(TReportBlock::TKind::Table, "");
    values->Header = {"Quantity", "Value", "Unit"};
    values->Rows = {
        {"Cell depth (element boundary)", value(TBidirValue::CellDepth, 2), len},
        {"Cell capacity", value(TBidirValue::CellCapacity, 1), force},
        {"Buoyant weight of the upper part", value(TBidirValue::UpperWeight, 1), force},
        {"Upper part: ultimate upward resistance plus weight", value(TBidirValue::UpperCapacity, 1),
         force},
        {"Lower part: ultimate resistance", value(TBidirValue::LowerCapacity, 1), force},
        {"Cell load at which the " + a.FirstPart + " part reaches its ultimate",
         value(TBidirValue::FirstUltimateLoad, 1), force},
        {"Balance depth (nearest foot)", value(TBidirValue::BalanceDepth, si ? 2 : 0), len},
        {"Upper / lower capacity at the balance depth",
         value(TBidirValue::BalanceUpperCapacity, 1) + " / " +
             value(TBidirValue::BalanceLowerCapacity, 1),
         force}};
    // The equivalent curve at the top movements of the analysis' trend line.
    const TBidirTable& eq = a.Table(TBidirTableKind::Equivalent);
    const TBidirTable& td = a.Table(TBidirTableKind::TopDown);
    TReportBlock* compare = add(TReportBlock::TKind::Table, "");
    compare->Header = {"Top movement (" + mov + ")", "Top-down analysis, trend (" + force + ")",
                       "Equivalent top-down (" + force + ")"};
    for (const std::vector<double>& row : td.Rows) {
        std::string load = "-";
        for (std::size_t k = 1; k < eq.Rows.size(); ++k) {
            const double m0 = eq.Rows[k - 1][2], m1 = eq.Rows[k][2];
            if (row[1] >= m0 && row[1] <= m1 && m1 > m0) {
                const double q0 = eq.Rows[k - 1][1], q1 = eq.Rows[k][1];
                load = PrintedNumber(q0 + (row[1] - m0) * (q1 - q0) / (m1 - m0), 1);
                break;
            }
        }
        compare->Rows.push_back(
            {PrintedNumber(row[1], si ? 2 : 4), PrintedNumber(row[0], 1), load});
    }
    FillBidirectionalGraphs(a, si, Package.BidirectionalGraphs);
    // The page has no legend: the caption names the curves by the painter's first colours.
    static const char* const kColours[] = {"black", "blue", "red"};
    for (TGraphPlot& g : Package.BidirectionalGraphs) {
        if (!g.HasSomethingToDraw())
            continue;
        std::string names;
        for (int i = 0; i < g.LineCount() && i < 3; ++i)
            names +=
                std::string(i ? "; " : ": ") + g.Lines(i).LineName() + " (" + kColours[i] + ")";
        g.Caption += names;
        TReportBlock* figure = add(TReportBlock::TKind::Figure, "");
        figure->Plot = &g;
    }
}

} // namespace

TCalcPackageProblem PrepareCalcPackage(TProgramData& Project, const TRunFiles& Files,
                                       const TCalcPackageRequest& Request, TCalcPackage& Package) {
    using TKind = TCalcPackageProblem::TKind;
    std::error_code ec;
    if (!fs::is_regular_file(Files.Results, ec) || !fs::is_regular_file(Files.Plot, ec))
        return {TKind::NoResults, Files.Project.string() + " has no results (" +
                                      Files.Results.string() + "); run it first"};
    try {
        Package.Results = TJsonReader(ReadWhole(Files.Results)).ReadDocument();
    } catch (const std::exception& e) {
        return {TKind::Unreadable, Files.Results.string() + " cannot be read: " + e.what()};
    }
    if (const std::string why = ResultsOutOfDate(Files, Package.Results); !why.empty())
        return {TKind::OutOfDate, "the results are out of date: " + why};
    std::string error;
    if (!ReadPlotData(Package.Graphs, Project, Files.Plot.string(), &error))
        return {TKind::Unreadable, Files.Plot.string() + ":\n" + error};
    Package.Graphs.ShowOutput = true;
    for (const std::string& g : Request.Graphs)
        if (!GraphByName(Package.Graphs, QString::fromStdString(g)))
            return {TKind::UnknownGraph, "unknown graph '" + g + "'; the graphs are:\n  " +
                                             GraphNames().join(" ").toStdString()};
    try {
        Package.Doc = BuildReport(Package.Results, Files.Project.string(), Request.SignOff,
                                  Request.Graphs, ReportWarningBlocks(ReadWhole(Files.Report)));
    } catch (const std::exception& e) {
        return {TKind::Unreadable, Files.Results.string() + ": " + e.what()};
    }
    AddBidirectionalSection(Project, Files, Request, Package);
    const TJson* input = Package.Results.Find("input");
    const TJson* system = input ? input->Find("unit_system") : nullptr;
    Package.Letter =
        Request.Paper.empty() ? !(system && system->Text == "SI") : Request.Paper == "letter";
    // The elevation drawing is the elevation window's own painting.
    Package.ElevationView =
        std::make_unique<TDlgSideView>([&Project]() -> TProgramData& { return Project; });
    Package.ElevationView->resize(900, 700);
    Package.ElevationView->FormActivate();
    TDlgSideView* view = Package.ElevationView.get();
    Package.Elevation = [view](QPainter& P, const QRect& Area) { view->Draw(P, Area); };
    return {};
}

bool WriteCalcPackagePdf(TCalcPackage& Package, const std::string& Path, int& Pages) {
    const fs::path temporary = TemporaryFor(Path);
    {
        QPdfWriter pdf(QString::fromStdString(temporary.string()));
        pdf.setTitle(QString::fromStdString(Package.Doc.Title));
        pdf.setCreator("Kolmar");
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(Package.Letter ? QPageSize::Letter : QPageSize::A4),
                                      QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                                      QPageLayout::Millimeter));
        Pages = PaintReport(Package.Doc, Package.Graphs, Package.Elevation, pdf);
    }
    return Replace(temporary, Path);
}

bool WriteCalcPackageHtml(TCalcPackage& Package, const std::string& Path) {
    const fs::path temporary = TemporaryFor(Path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !(out << ReportHtml(Package.Doc, Package.Graphs, Package.Elevation)) ||
            !out.flush()) {
            std::error_code ec;
            fs::remove(temporary, ec);
            return false;
        }
    }
    return Replace(temporary, Path);
}

int PrintCalcPackage(TCalcPackage& Package, QPagedPaintDevice& Device) {
    return PaintReport(Package.Doc, Package.Graphs, Package.Elevation, Device);
}
