// Runs whose cases differ in the load-settlement series they compute: a tip in soil gives a trend
// with upper and lower bounds, a tip in rock the trend alone. The reader takes the first header's
// series count for every block, so every block of the file must carry that count. Each run is a
// golden file, read back by the tests' own plot-file walk and by the program's reader. Also: the
// graphs of a soil run do not survive into a later rock run, and the curves of a run over several
// lengths are named by their shaft length.
#include "gui/data/DataUnit.h"
#include "gui/data/ExcelExport.h"
#include "gui/data/PltData.h"
#include "kolmar/ikolmar.h"
#include "plot_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine {
namespace {

using test::ReadFile;
using test::TempDir;

std::string TestProject(const std::string& name) {
    return ReadFile(std::string(KOLMAR_TEST_DATA) + "/data/" + name + ".kx8d");
}

std::string Example(const std::string& name) {
    return ReadFile(std::string(KOLMAR_SOURCE_DIR) + "/examples/" + name + ".kx8d");
}

// The third integer of every curve header of section 1, found by the first header's curve
// count, which every header repeats.
std::vector<int> HeaderSeries(const std::string& plot) {
    std::vector<int> series;
    const std::vector<std::string> lines = test::Lines(plot);
    std::istringstream first(lines.front());
    int nc = 0;
    first >> nc;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::vector<int> words;
        for (int w; in >> w;)
            words.push_back(w);
        if (words.size() == 3 && words[0] == nc && line.find('.') == std::string::npos)
            series.push_back(words[2]);
    }
    return series;
}

bool AllZero(const std::vector<std::array<double, 4>>& records) {
    for (const auto& r : records)
        for (double v : r)
            if (v != 0.0)
                return false;
    return !records.empty();
}

struct ReadBack {
    test::RunResult run;
    std::unique_ptr<TProgramData> project;
    TResultGraphs graphs;
};

void RunAndRead(const std::string& text, ReadBack& out, const TempDir& dir) {
    out.run = test::RunProject(dir, text);
    ASSERT_EQ(out.run.status, KOLMAR_STATUS_OK) << out.run.console;
    std::string error;
    out.project = TProgramData::CreateFromText(text, 1, &error);
    ASSERT_TRUE(out.project) << error;
    ASSERT_TRUE(ReadPlotData(out.graphs, *out.project, (dir / "run.kx8p").string(), &error))
        << error;
}

std::vector<std::string> Names(const TGraphPlot& graph) {
    std::vector<std::string> names;
    for (int i = 0; i < graph.LineCount(); ++i)
        names.push_back(graph.Lines(i).LineName());
    return names;
}

// Two lengths, 50 and 40 ft: the longer tip in clay below a rock band (bounds, NS = 3), the
// shorter one in the rock (trend only). The second block carries NS = 3 and zero bound records.
TEST(PlotSeriesTest, BoundedFirstCaseThenRockTipWritesZeroBounds) {
    TempDir dir;
    ReadBack r;
    RunAndRead(TestProject("mixed_lengths"), r, dir);
    test::ExpectGolden(r.run.plot, "mixed_lengths.plot.golden");
    EXPECT_EQ(HeaderSeries(r.run.plot), (std::vector<int>{3, 3}));

    const test::PlotFileContent f = test::ReadPlotFileContent(r.run.plot, false, false);
    ASSERT_TRUE(f.complete);
    ASSERT_EQ(f.curves.size(), 2u);
    EXPECT_FALSE(AllZero(f.curves[0].settlement[1])) << "the clay tip has an upper bound";
    EXPECT_TRUE(AllZero(f.curves[1].settlement[1])) << "the rock tip has no upper bound";
    EXPECT_TRUE(AllZero(f.curves[1].settlement[2])) << "the rock tip has no lower bound";
    EXPECT_FALSE(AllZero(f.curves[1].settlement[0])) << "the rock tip has its trend";

    EXPECT_EQ(r.project->ID2, 3);
    EXPECT_TRUE(r.graphs.pltUpper.Lines(0).HoldsCurve());
    EXPECT_FALSE(r.graphs.pltUpper.Lines(1).HoldsCurve());
    EXPECT_FALSE(r.graphs.pltLower.Lines(1).HoldsCurve());
    EXPECT_TRUE(r.graphs.pltAxial.Lines(1).HoldsCurve());
    // Both curves reach the profile's bottom; they are named by the shaft of their case.
    const std::vector<std::string> byLength = {"L =50 ft", "L =40 ft"};
    EXPECT_EQ(Names(r.graphs.pltSkin), byLength);
    EXPECT_EQ(Names(r.graphs.pltAxial), byLength);
    EXPECT_EQ(Names(r.graphs.pltUpper), byLength);
    // The export leaves out the series the run did not compute.
    const std::string csv = GraphCsvText(r.graphs.pltUpper);
    EXPECT_NE(csv.find("L =50 ft"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("L =40 ft"), std::string::npos) << csv;
}

// Five diameters for a design load: the two smaller shafts reach decomposed rock (trend only,
// NS = 1), the larger ones stop in clay with bounds. Every block carries NS = 1 and the trend
// alone, and the bound graphs are not offered.
TEST(PlotSeriesTest, UnboundedFirstCaseWritesTrendOnlyForEveryCase) {
    TempDir dir;
    ReadBack r;
    RunAndRead(TestProject("mixed_diameters"), r, dir);
    test::ExpectGolden(r.run.plot, "mixed_diameters.plot.golden");
    EXPECT_EQ(HeaderSeries(r.run.plot), (std::vector<int>(5, 1)));
    EXPECT_NE(r.run.report.find("RESULT FROM UPPER-BOUND LINE"), std::string::npos)
        << "a later diameter computes bounds";

    const test::PlotFileContent f = test::ReadPlotFileContent(r.run.plot, false, false);
    ASSERT_TRUE(f.complete);
    ASSERT_EQ(f.curves.size(), 5u);
    for (const test::PlotCurve& c : f.curves)
        EXPECT_FALSE(AllZero(c.settlement[0]));

    EXPECT_EQ(r.project->ID2, 1);
    r.graphs.ShowOutput = true;
    const TGraphicsMenuState menu = OfferGraphs(r.graphs, *r.project, true);
    for (int item : {giUpper, giLower, giCombinedSettle})
        EXPECT_FALSE(menu[static_cast<std::size_t>(item)].Enabled) << item;
    EXPECT_TRUE(menu[giAxial].Enabled);
    EXPECT_EQ(
        Names(r.graphs.pltAxial),
        (std::vector<std::string>{"Dia=2 ft", "Dia=2.5 ft", "Dia=3 ft", "Dia=3.5 ft", "Dia=4 ft"}));
}

// The program keeps one set of graphs. A soil run with additional t-z curves, then a rock run
// of a project that asks for them too: nothing of the soil run may stay on offer under the
// rock project's names.
TEST(PlotSeriesTest, RockRunReadAfterSoilRunLeavesNoSoilGraph) {
    TempDir soilDir, rockDir;
    TResultGraphs graphs;
    std::string error;

    const std::string soilText = TestProject("sand_over_clay_tz");
    ASSERT_EQ(test::RunProject(soilDir, soilText).status, KOLMAR_STATUS_OK);
    std::unique_ptr<TProgramData> soil = TProgramData::CreateFromText(soilText, 1, &error);
    ASSERT_TRUE(soil) << error;
    ASSERT_TRUE(ReadPlotData(graphs, *soil, (soilDir / "run.kx8p").string(), &error)) << error;
    graphs.ShowOutput = true;
    ASSERT_GT(graphs.pltTzAdd.LineCount(), 0);
    ASSERT_TRUE(graphs.showtzcurves && graphs.showloadcurves);

    // The strong-rock example with two additional t-z depths.
    std::string rockText = Example("strong-rock-socket");
    const std::string control = "2 1 1 1 1 2 0 0 0 0 0\r\n";
    ASSERT_NE(rockText.find(control), std::string::npos);
    rockText.replace(rockText.find(control), control.size(), "2 1 1 1 1 2 0 0 0 0 1\r\n");
    rockText += "2\r\n10\r\n20\r\n";
    ASSERT_EQ(test::RunProject(rockDir, rockText).status, KOLMAR_STATUS_OK);
    std::unique_ptr<TProgramData> rock = TProgramData::CreateFromText(rockText, 1, &error);
    ASSERT_TRUE(rock) << error;
    graphs.ClearFlags();
    ASSERT_TRUE(ReadPlotData(graphs, *rock, (rockDir / "run.kx8p").string(), &error)) << error;
    graphs.ShowOutput = true;

    const TGraphicsMenuState menu = OfferGraphs(graphs, *rock, true);
    for (int item : {giUpper, giLower, giCombinedSettle, giTz, giQw, giTzAdd, giLoad})
        EXPECT_FALSE(menu[static_cast<std::size_t>(item)].Enabled) << "menu item " << item;
    for (const TGraphPlot* g : {&graphs.pltTz, &graphs.pltTzAdd, &graphs.pltQw, &graphs.pltLoad})
        EXPECT_EQ(g->LineCount(), 0) << g->Caption;
    for (const TGraphPlot* g : {&graphs.pltUpper, &graphs.pltLower})
        for (int i = 0; i < g->LineCount(); ++i)
            EXPECT_FALSE(g->Lines(i).HoldsCurve()) << g->Caption;
    EXPECT_FALSE(graphs.pltCombinedSettle.Lines(1).HoldsCurve());
    EXPECT_TRUE(graphs.pltCombinedSettle.Lines(0).HoldsCurve());
}

} // namespace
} // namespace kolmar::engine
