// Reading a run for its calculation package and writing the package: PDF, printer, HTML.
#include "gui/results/CalcPackageFiles.h"

#include "engine/sha256.h"
#include "gui/data/DataUnit.h"
#include "gui/results/PileSide.h"
#include "gui/results/PlotPainter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
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
