// The workbook of exported graphs, read back from its package: the Legend index with its
// hyperlinks, the data sheets, the charts with their series ranges, axes and legend, the cut
// to 255 series, refused values, the column letters, the CSV text and the zip container.
#include "WorkbookReader.h"
#include "gui/data/DataUnit.h"
#include "gui/data/ExcelExport.h"
#include "gui/data/ZipPackage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace fs = std::filesystem;
using workbook::TSeries;
using workbook::TWorkbook;

namespace {

fs::path FreshDir(const std::string& Name) {
    const fs::path dir =
        fs::temp_directory_path() / ("kolmar_export_" + Name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::vector<std::string> Names(const std::vector<TSeries>& Series) {
    std::vector<std::string> names;
    for (const TSeries& s : Series)
        names.push_back(s.Name);
    return names;
}

// The value axis (the vertical one, at the left) of a chart part.
std::string ValueAxis(const std::string& Chart) {
    for (const std::string& axis : workbook::Contents(Chart, "c:valAx"))
        if (axis.find("<c:axPos val=\"l\"/>") != std::string::npos ||
            axis.find("<c:axPos val=\"r\"/>") != std::string::npos)
            return axis;
    return {};
}

bool Reversed(const std::string& Axis) {
    return Axis.find("<c:orientation val=\"maxMin\"/>") != std::string::npos;
}

// A graph of Lines curves of Points points each, point j of curve i at (i + j, j).
void FillGraph(TGraphPlot& Graph, int Lines, int Points) {
    Graph.Caption = "Made up";
    Graph.XCaption = "Load";
    Graph.XUnits = "F2";
    Graph.YCaption = "Depth";
    Graph.YUnits = "L2";
    Graph.SetLineCount(Lines);
    Graph.SetCount(Points);
    for (int i = 0; i < Lines; ++i)
        for (int j = 0; j < Points; ++j)
            Graph.Data(i, j) = {static_cast<double>(i + j), static_cast<double>(j)};
}

TEST(ColumnLetters, OneTwoAndThreeLetters) {
    const struct {
        int Column;
        const char* Letters;
    } cases[] = {{1, "A"},    {2, "B"},    {26, "Z"},    {27, "AA"},     {52, "AZ"}, {53, "BA"},
                 {510, "SP"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}, {0, ""},    {-3, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(ColumnLetters(c.Column), c.Letters) << "column " << c.Column;
}

// Every graph of a run over two diameters with two design charts, t-z, q-w and load
// distribution, exported once.
class DesignChartExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        project = TProgramData::Create();
        project->DSTART = 3.0;
        project->DIAMINCR = 0.5;
        project->NLRFD = 2;
        project->KCYCL = 1;
        project->IChart = 1;
        project->NPOINTPD = 2;
        project->PDSETT[0] = 0.5;
        project->PDSETT[1] = 1.0;
        project->PrintTZCurves = 1;
        project->D.SetRowCount(2);
        project->D[0].SetSoilType(kolmar::kSand);
        project->D[0].Depth = 20.0;
        project->D[1].SetSoilType(kolmar::kClay);
        project->D[1].Depth = 60.0;
        graphs = std::make_unique<TResultGraphs>();
        std::string error;
        ASSERT_TRUE(ReadPlotData(
            *graphs, *project, std::string(KOLMAR_TEST_DATA) + "/data/design-charts.kx8p", &error))
            << error;
        graphs->ShowOutput = true;
        rows = OfferedExportRows(OfferGraphs(*graphs, *project, true), *graphs);
        std::vector<const TGraphPlot*> chosen;
        for (int row : rows)
            chosen.push_back(&GraphOfExportRow(*graphs, row));
        dir = FreshDir("charts");
        file = (dir / "design-charts.xlsx").string();
        const TExportResult result = WriteExcelWorkbook(file, chosen, true);
        ASSERT_TRUE(result.Ok) << result.Error;
        EXPECT_FALSE(result.more255);
        book = std::make_unique<TWorkbook>(file);
        ASSERT_TRUE(book->Ok()) << book->Error();
    }
    static void TearDownTestSuite() {
        book.reset();
        graphs.reset();
        project.reset();
        fs::remove_all(dir);
    }

    static std::string Chart(int K) { return book->Chart("Plot_" + std::to_string(K)); }

    static inline std::unique_ptr<TProgramData> project;
    static inline std::unique_ptr<TResultGraphs> graphs;
    static inline std::vector<int> rows;
    static inline fs::path dir;
    static inline std::string file;
    static inline std::unique_ptr<TWorkbook> book;
};

TEST_F(DesignChartExport, OffersTheGraphsOfTheResultsInTheFixedOrder) {
    std::vector<std::string> names;
    for (int row : rows)
        names.push_back(ExportRows()[static_cast<std::size_t>(row - 1)].Name);
    const std::vector<std::string> expected = {
        "pltSkin",    "pltTip",      "pltTotal", "FSpltSkin", "FSpltTip",  "FSpltTotal",
        "pltCombine", "pltCombineD", "pltAxial", "pltUpper",  "pltLower",  "pltCombinedSettle",
        "pltTz",      "pltQw",       "pltTzAdd", "pltLoad",   "PltChart1", "PltChart2"};
    EXPECT_EQ(names, expected);
}

TEST_F(DesignChartExport, LegendIndexesEveryGraphWithLinks) {
    ASSERT_TRUE(book->Ok());
    std::vector<std::string> sheets = {"Legend"};
    for (std::size_t k = 1; k <= rows.size(); ++k) {
        sheets.push_back("Page_" + std::to_string(k));
        sheets.push_back("Plot_" + std::to_string(k));
    }
    EXPECT_EQ(book->SheetNames(), sheets);

    EXPECT_EQ(book->Cell("Legend", "B2"), "     N    ");
    EXPECT_EQ(book->Cell("Legend", "C2"),
              "                             Plot Name                             ");
    EXPECT_EQ(book->Cell("Legend", "D2"), "  Sheet Name  ");
    EXPECT_EQ(book->Cell("Legend", "E2"), "  Chart Name  ");
    EXPECT_EQ(book->Cell("Legend", "F2"), "          Status          ");

    const auto links = book->Hyperlinks("Legend");
    EXPECT_EQ(links.size(), rows.size());
    for (std::size_t k = 1; k <= rows.size(); ++k) {
        const std::string r = std::to_string(k + 2);
        const std::string page = "Page_" + std::to_string(k);
        SCOPED_TRACE("Legend row " + r);
        EXPECT_EQ(book->Cell("Legend", "B" + r), std::to_string(k));
        EXPECT_EQ(book->Cell("Legend", "C" + r), GraphOfExportRow(*graphs, rows[k - 1]).Caption);
        EXPECT_EQ(book->Cell("Legend", "D" + r), page);
        EXPECT_EQ(book->Cell("Legend", "E" + r), "Plot_" + std::to_string(k));
        EXPECT_EQ(book->Cell("Legend", "F" + r), "Complete");
        EXPECT_EQ(links.count("D" + r) ? links.at("D" + r) : "", page + "!A1");
        const auto back = book->Hyperlinks(page);
        EXPECT_EQ(back.count("G1") ? back.at("G1") : "", "Legend!A1");
    }
    EXPECT_EQ(book->Cell("Legend", "C19"), "Design Chart (0.5-in movement)");
}

TEST_F(DesignChartExport, DataSheetsHoldCaptionTitlesNamesAndPoints) {
    // Ultimate skin friction, two diameters of four points.
    EXPECT_EQ(book->Cell("Page_1", "A1"), "Ultimate Skin Friction vs Depth");
    EXPECT_EQ(book->Cell("Page_1", "A2"), "X");
    EXPECT_EQ(book->Cell("Page_1", "B2"), "Ultimate Skin Friction  (tons)");
    EXPECT_EQ(book->Cell("Page_1", "A3"), "Y");
    EXPECT_EQ(book->Cell("Page_1", "B3"), "Depth (ft)");
    EXPECT_EQ(book->Cell("Page_1", "A4"), "Dia=3 ft");
    EXPECT_EQ(book->Cell("Page_1", "C4"), "Dia=3.5 ft");
    EXPECT_EQ(book->Cell("Page_1", "C5"), "X");
    EXPECT_EQ(book->Cell("Page_1", "D5"), "Y");
    EXPECT_EQ(book->Cell("Page_1", "A8"), "20");
    EXPECT_EQ(book->Cell("Page_1", "B8"), "10");
    EXPECT_EQ(book->Cell("Page_1", "A10"), "");

    // The combined graph: three column pairs with the component names.
    EXPECT_EQ(book->Cell("Page_7", "A4"), "  Skin Friction");
    EXPECT_EQ(book->Cell("Page_7", "C4"), "  Tip Resistance");
    EXPECT_EQ(book->Cell("Page_7", "E4"), "  Total Capacity");

    // A design chart in feet and tons.
    EXPECT_EQ(book->Cell("Page_17", "A1"), "Design Chart (0.5-in movement)");
    EXPECT_EQ(book->Cell("Page_17", "B2"), "Axial Capacity (tons)");
    EXPECT_EQ(book->Cell("Page_17", "C4"), "Dia=3.5 ft");
    EXPECT_EQ(book->Cell("Page_17", "A6"), "100");
    EXPECT_EQ(book->Cell("Page_17", "B6"), "10");
    EXPECT_EQ(book->Cell("Page_17", "C8"), "390");
    EXPECT_EQ(book->Cell("Page_17", "D8"), "30");
}

TEST_F(DesignChartExport, ChartsHaveOneSeriesPerCurveOverItsColumns) {
    const std::vector<TSeries> skin = TWorkbook::Series(Chart(1));
    ASSERT_EQ(skin.size(), 2u);
    EXPECT_EQ(Names(skin), (std::vector<std::string>{"Dia=3 ft", "Dia=3.5 ft"}));
    EXPECT_EQ(skin[0].X, "Page_1!$A$6:$A$9");
    EXPECT_EQ(skin[0].Y, "Page_1!$B$6:$B$9");
    EXPECT_EQ(skin[1].X, "Page_1!$C$6:$C$9");
    EXPECT_EQ(skin[1].Y, "Page_1!$D$6:$D$9");
    EXPECT_FALSE(skin[0].NoMarker);

    // The load distribution has 15 curves: its last columns lie past Z.
    const std::vector<TSeries> load = TWorkbook::Series(Chart(16));
    ASSERT_EQ(load.size(), 15u);
    EXPECT_EQ(load[12].X, "Page_16!$Y$6:$Y$7");
    EXPECT_EQ(load[13].X, "Page_16!$AA$6:$AA$7");
    EXPECT_EQ(load[13].Y, "Page_16!$AB$6:$AB$7");
    EXPECT_EQ(load[14].Y, "Page_16!$AD$6:$AD$7");
}

TEST_F(DesignChartExport, ChartsHaveAxisTitlesGridlinesAndAFramedLegend) {
    const std::string skin = Chart(1);
    EXPECT_NE(skin.find("<c:autoTitleDeleted val=\"1\"/>"), std::string::npos);
    EXPECT_NE(skin.find("Ultimate Skin Friction  (tons)"), std::string::npos);
    EXPECT_NE(skin.find("Depth (ft)"), std::string::npos);
    const auto axes = workbook::Contents(skin, "c:valAx");
    ASSERT_EQ(axes.size(), 2u);
    for (const std::string& axis : axes)
        EXPECT_NE(axis.find("<c:majorGridlines"), std::string::npos);
    const std::string legend = workbook::First(skin, "c:legend");
    EXPECT_NE(legend.find("<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill><a:ln>"
                          "<a:solidFill><a:srgbClr val=\"000000\"/>"),
              std::string::npos)
        << legend;
}

TEST_F(DesignChartExport, ValueAxisRunsDownwardsWhereTheXAxisIsOnTop) {
    for (std::size_t k = 1; k <= rows.size(); ++k) {
        const TGraphPlot& g = GraphOfExportRow(*graphs, rows[k - 1]);
        const std::string axis = ValueAxis(Chart(static_cast<int>(k)));
        ASSERT_FALSE(axis.empty()) << "Plot_" << k;
        EXPECT_EQ(Reversed(axis), g.XOnTop) << "Plot_" << k << " (" << g.Caption << ")";
    }
    // t-z and q-w curves grow upwards.
    EXPECT_FALSE(Reversed(ValueAxis(Chart(13))));
    EXPECT_FALSE(Reversed(ValueAxis(Chart(14))));
}

TEST_F(DesignChartExport, NoMarkersWhenNotAsked) {
    const std::string plain = (dir / "plain.xlsx").string();
    ASSERT_TRUE(WriteExcelWorkbook(plain, {&graphs->pltSkin, &graphs->pltLoad}, false).Ok);
    TWorkbook book2(plain);
    ASSERT_TRUE(book2.Ok()) << book2.Error();
    for (const char* sheet : {"Plot_1", "Plot_2"})
        for (const TSeries& s : TWorkbook::Series(book2.Chart(sheet)))
            EXPECT_TRUE(s.NoMarker) << sheet << " " << s.Name;
}

TEST(ExcelExport, ChartIsCutTo255SeriesAndTheDataSheetKeepsAll) {
    const fs::path dir = FreshDir("many");
    TGraphPlot wide, narrow;
    FillGraph(wide, 300, 2);
    FillGraph(narrow, 255, 2);
    const std::string file = (dir / "many.xlsx").string();

    const TExportResult result = WriteExcelWorkbook(file, {&narrow, &wide}, true);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_TRUE(result.more255);
    TWorkbook book(file);
    ASSERT_TRUE(book.Ok()) << book.Error();
    const std::vector<TSeries> all = TWorkbook::Series(book.Chart("Plot_1"));
    ASSERT_EQ(all.size(), 255u);
    const std::vector<TSeries> cut = TWorkbook::Series(book.Chart("Plot_2"));
    ASSERT_EQ(cut.size(), 255u);
    EXPECT_EQ(cut.back().Name, "Curve #255");
    EXPECT_EQ(cut.back().X, "Page_2!$SO$6:$SO$7");
    EXPECT_EQ(cut.back().Y, "Page_2!$SP$6:$SP$7");
    EXPECT_EQ(book.Cell("Page_2", ColumnLetters(599) + "4"), "Curve #300");
    EXPECT_EQ(book.Cell("Page_2", ColumnLetters(600) + "7"), "1");
    EXPECT_NE(ExportCompletedMessage(true).find("Some plots show only 255 series"),
              std::string::npos);

    EXPECT_FALSE(WriteExcelWorkbook(file, {&narrow}, true).more255);
    fs::remove_all(dir);
}

TEST(ExcelExport, RefusesValuesThatAreNotNumbersAndKeepsTheOldFile) {
    const fs::path dir = FreshDir("refuse");
    TGraphPlot g;
    FillGraph(g, 2, 3);
    g.Lines(1).fValueS = "Dia=4 ft";
    g.Data(1, 1).Y = std::numeric_limits<double>::quiet_NaN();
    const fs::path file = dir / "old.xlsx";
    {
        std::ofstream old(file);
        old << "previous";
    }
    const TExportResult result = WriteExcelWorkbook(file.string(), {&g}, true);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("curve \"Dia=4 ft\", point 2: the Y value"), std::string::npos)
        << result.Error;
    EXPECT_EQ(workbook::ReadFile(file.string()), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    g.Data(1, 1).Y = 1.0;
    const TExportResult nowhere =
        WriteExcelWorkbook((dir / "missing" / "out.xlsx").string(), {&g}, true);
    EXPECT_FALSE(nowhere.Ok);
    EXPECT_NE(nowhere.Error.find("missing/out.xlsx"), std::string::npos) << nowhere.Error;
    fs::remove_all(dir);
}

TEST(ExcelExport, CsvHasOneHeadRowAndEmptyCellsBelowShortCurves) {
    TGraphPlot g;
    FillGraph(g, 2, 3);
    g.XCaption = "Ultimate Skin Friction ";
    g.Lines(0).fValueS = "  Skin, side";
    g.Lines(1).Points.pop_back();
    g.Data(0, 2).X = 0.1 + 0.2;
    EXPECT_EQ(GraphCsvText(g), "\"Skin, side: Ultimate Skin Friction (tons)\","
                               "\"Skin, side: Depth (ft)\","
                               "Curve #2: Ultimate Skin Friction (tons),Curve #2: Depth (ft)\n"
                               "0,0,1,0\n"
                               "1,1,2,1\n"
                               "0.3,2,,\n");
    g.Data(0, 0).X = std::numeric_limits<double>::infinity();
    EXPECT_THROW(GraphCsvText(g), std::domain_error);
}

TEST(ZipPackage, RoundTripAndDamageIsFound) {
    std::vector<TZipEntry> entries = {{"a.xml", std::string(5000, 'x') + "end"},
                                      {"empty", ""},
                                      {"dir/b.bin", std::string("\0\1\2\3", 4)}};
    const std::string archive = WriteZip(entries);
    std::vector<TZipEntry> back;
    std::string error;
    ASSERT_TRUE(ReadZip(archive, back, &error)) << error;
    ASSERT_EQ(back.size(), entries.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].Name, entries[i].Name);
        EXPECT_EQ(back[i].Data, entries[i].Data);
    }

    std::string damaged = archive;
    damaged[30 + 5 + 2] ^= 0x55; // inside the first entry's compressed data
    EXPECT_FALSE(ReadZip(damaged, back, &error));
    EXPECT_FALSE(ReadZip(archive.substr(0, archive.size() / 2), back, &error));
    EXPECT_FALSE(error.empty());
}

// The workbook opens in an independent spreadsheet program (skipped where there is none).
TEST_F(DesignChartExport, OpensInLibreOffice) {
    std::string office;
    for (const char* candidate : {"libreoffice", "soffice"})
        if (std::system(("command -v " + std::string(candidate) + " >/dev/null 2>&1").c_str()) == 0)
            office = candidate;
    if (office.empty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const fs::path out = dir / "pdf";
    const fs::path profile = dir / "profile";
    const std::string command = office + " -env:UserInstallation=file://" + profile.string() +
                                " --headless --convert-to pdf --outdir '" + out.string() + "' '" +
                                file + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const fs::path pdf = out / "design-charts.pdf";
    ASSERT_TRUE(fs::is_regular_file(pdf)) << command;
    EXPECT_GT(fs::file_size(pdf), 1000u);
}

} // namespace
