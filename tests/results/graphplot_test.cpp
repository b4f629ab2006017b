// The result graph holders: line sets and their counts, curve names, units, the plot window
// hook, the graphs of the main window, the soil layer bands and the Graphics-menu rules.
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(GraphPlot, LineAndPointCountsKeepEverySetRectangular) {
    TGraphPlot g;
    g.SetCount(5); // no lines yet: nothing to resize
    EXPECT_EQ(g.Count(), 0);
    g.SetLineCount(2);
    EXPECT_EQ(g.Count(), 0);
    g.SetCount(4);
    g.Data(1, 3) = {7.0, 8.0};
    g.SetLineCount(3); // a new line takes the first line's point count, all (0, 0)
    ASSERT_EQ(g.Lines(2).Points.size(), 4U);
    EXPECT_EQ(g.Data(2, 3).X, 0.0);
    g.SetCount(6); // existing points survive growth
    EXPECT_EQ(g.Data(1, 3).X, 7.0);
    EXPECT_EQ(g.Data(1, 5).Y, 0.0);
    g.SetCount(2);
    EXPECT_EQ(g.Count(), 2);
    EXPECT_THROW(g.Data(1, 3), std::out_of_range);
    g.SetLineCount(-4); // a negative count is 0
    EXPECT_EQ(g.LineCount(), 0);
    EXPECT_EQ(g.Count(), 0);
    EXPECT_FALSE(g.HasSomethingToDraw());
    EXPECT_THROW(g.Lines(0), std::out_of_range);

    // The four sets are independent.
    g.SetLayerLineCount(3);
    g.SetLayerCount(1);
    g.SetLineCount2(1);
    g.SetCount2(9);
    g.SetLineCount3(2);
    EXPECT_EQ(g.LineCount(), 0);
    EXPECT_EQ(g.LayerLineCount(), 3);
    EXPECT_EQ(g.LayerCount(), 1);
    EXPECT_EQ(g.Count2(), 9);
    EXPECT_EQ(g.LineCount3(), 2);
    EXPECT_EQ(g.Count3(), 0);
}

TEST(GraphPlot, LineNamesAndValues) {
    TGraphPlot g;
    g.SetLineCount(3);
    EXPECT_EQ(g.Lines(0).Value, 1.0);
    EXPECT_EQ(g.Lines(2).LineName(), "Curve #3");
    EXPECT_TRUE(g.Lines(2).Visible);
    EXPECT_TRUE(g.Lines(2).Active);

    g.DefLineNames = {"first", "second"};
    EXPECT_EQ(g.Lines(1).LineName(), "second");
    EXPECT_EQ(g.Lines(2).LineName(), "Curve #3"); // no default name at that index
    g.Lines(1).fValueS = "Dia=3 ft";
    EXPECT_EQ(g.Lines(1).LineName(), "Dia=3 ft");

    // Lines of the other sets count the main curves for their value and ignore the defaults.
    g.SetLayerLineCount(1);
    EXPECT_EQ(g.LayerLines(0).Value, 4.0);
    EXPECT_EQ(g.LayerLines(0).LineName(), "Curve #4");
    g.CurveName = "Layer ";
    EXPECT_EQ(g.LayerLines(0).LineName(), "Layer 4");
}

TEST(GraphPlot, UnitsAreClampedIntoTheThreeSystems) {
    TGraphPlot g;
    EXPECT_EQ(g.Units(), 1);
    for (auto [set, expected] : {std::pair{2, 2}, {3, 3}, {7, 3}, {0, 1}, {-5, 1}}) {
        g.SetUnits(set);
        EXPECT_EQ(g.Units(), expected) << "set " << set;
    }
}

class TCountingForm : public TGraphForm {
public:
    TCountingForm(int& Shown, int& Alive) : fShown(Shown), fAlive(Alive) { ++fAlive; }
    ~TCountingForm() override { --fAlive; }
    void ShowForm() override { ++fShown; }

private:
    int& fShown;
    int& fAlive;
};

TEST(GraphPlot, ShowCreatesTheWindowOnceAndHideOrDestructionFreesIt) {
    int shown = 0, alive = 0, created = 0;
    {
        TGraphPlot g;
        g.Show(); // without a factory nothing happens
        EXPECT_FALSE(g.FormExists());
        g.FormFactory = [&](TGraphPlot&) {
            ++created;
            return std::make_unique<TCountingForm>(shown, alive);
        };
        g.Show();
        g.Show();
        EXPECT_TRUE(g.FormExists());
        EXPECT_EQ(created, 1);
        EXPECT_EQ(shown, 2);
        g.Hide();
        EXPECT_FALSE(g.FormExists());
        EXPECT_EQ(alive, 0);
        g.Show();
        EXPECT_EQ(created, 2);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(ResultGraphs, TheGraphsOfTheMainWindow) {
    TResultGraphs g;
    std::set<TGraphPlot*> distinct;
    for (TGraphPlot* p : g.All()) {
        distinct.insert(p);
        EXPECT_EQ(p->CurveName, "Curve #");
        EXPECT_EQ(p->Units(), 1);
        EXPECT_EQ(p->LineCount(), 0);
    }
    EXPECT_EQ(distinct.size(), 26U);

    EXPECT_EQ(g.pltSkin.Caption, "Ultimate Skin Friction vs Depth");
    EXPECT_EQ(g.pltSkin.XCaption, "Ultimate Skin Friction ");
    EXPECT_EQ(g.pltCombineD.XCaption, "Axial Capacity w/F. S.");
    EXPECT_EQ(g.pltAxial.YUnits, "L");
    EXPECT_EQ(g.pltQw.YUnits, "F2");
    EXPECT_EQ(g.pltTz.YUnits, "F/L^2");
    EXPECT_FALSE(g.pltTz.XOnTop);
    EXPECT_TRUE(g.pltLoad.XOnTop);
    EXPECT_EQ(g.PltChart(0).Caption, "Design Chart 1");
    EXPECT_EQ(&g.PltChart(9), &g.PltChart10);
    EXPECT_EQ(g.PltChart10.Caption, "Design Chart  10");
    EXPECT_THROW(g.PltChart(10), std::out_of_range);
}

TEST(LayerBands, LabelsPatternsAndDepths) {
    auto project = TProgramData::Create();
    ASSERT_TRUE(project->D.SetRowCount(9));
    for (int code = 1; code <= 9; ++code) {
        ASSERT_TRUE(project->D[code - 1].SetSoilType(code));
        project->D[code - 1].Depth = 10.0 * code;
    }

    TGraphPlot g;
    AddLayersGraphPlot(g, *project); // no curve: no bands
    EXPECT_EQ(g.LayerLineCount(), 0);
    g.SetLineCount(1);
    AddLayersGraphPlot(g, *project); // a curve without points: still none
    EXPECT_EQ(g.LayerLineCount(), 0);
    g.SetCount(1);
    AddLayersGraphPlot(g, *project);
    ASSERT_EQ(g.LayerLineCount(), 9);
    ASSERT_EQ(g.LayerCount(), 1);

    const struct {
        const char* Label;
        int Pattern;
    } expected[] = {{" SAND ", 7}, {" CLAY ", 1},    {" SHALE ", 8},
                    {" ROCK ", 9}, {" GRAVEL ", 12}, {" WEAK ROCK ", 10},
                    {" ROCK ", 9}, {" GW ", 11},     {" GRAVEL ", 12}};
    for (int r = 0; r < 9; ++r) {
        SCOPED_TRACE("soil type " + std::to_string(r + 1));
        EXPECT_EQ(g.LayerLines(r).LineName(), expected[r].Label);
        EXPECT_EQ(g.LayerData(r, 0).X, expected[r].Pattern);
        EXPECT_EQ(g.LayerData(r, 0).Y, 10.0 * (r + 1));
    }
    EXPECT_EQ(g.LayersTop, 0.0);
    EXPECT_EQ(LayerBandOf(0).Label, nullptr);
    EXPECT_EQ(LayerBandOf(0).Pattern, 0);

    // Elevations: the bands hang from the ground's elevation.
    project->UseElevation = 1;
    project->ValElevation = 100.0;
    project->D.SetRowCount(2);
    AddLayersGraphPlot(g, *project);
    ASSERT_EQ(g.LayerLineCount(), 2);
    EXPECT_EQ(g.LayerData(1, 0).Y, 80.0);
    EXPECT_EQ(g.LayersTop, 100.0);
}

// ---------------------------------------------------------------------------------------------
// Offering the graphs

class OfferGraphsTest : public ::testing::Test {
protected:
    void SetUp() override {
        project = TProgramData::Create();
        project->ID2 = 3;
        graphs.ShowOutput = true;
        graphs.showtzcurves = true;
        graphs.showloadcurves = true;
    }
    TGraphicsMenuState Offer(bool PlotFileExists = true) {
        return OfferGraphs(graphs, *project, PlotFileExists);
    }
    std::unique_ptr<TProgramData> project;
    TResultGraphs graphs;
};

TEST_F(OfferGraphsTest, NothingWithoutAPlotFileThatWasReadAndStillExists) {
    for (auto [showOutput, exists] : {std::pair{false, true}, {true, false}}) {
        graphs.ShowOutput = showOutput;
        const auto items = Offer(exists);
        for (int i = 0; i < giItemCount; ++i)
            EXPECT_FALSE(items[static_cast<std::size_t>(i)].Enabled) << "item " << i;
    }
    graphs.ShowOutput = true;
    const auto items = Offer();
    for (int i : {giSkin, giCombine, giFSTotal, giAxial, giUpper, giTz, giQw, giLoad})
        EXPECT_TRUE(items[static_cast<std::size_t>(i)].Enabled) << "item " << i;
}

TEST_F(OfferGraphsTest, ItemsFollowWhatTheFileHeld) {
    project->ID2 = 0; // no bound series
    graphs.showloadcurves = false;
    graphs.showtzcurves = false;
    auto items = Offer();
    for (int i : {giUpper, giLower, giCombinedSettle, giLoad, giTz, giQw, giTzAdd})
        EXPECT_FALSE(items[static_cast<std::size_t>(i)].Enabled) << "item " << i;
    EXPECT_TRUE(items[giAxial].Enabled);

    // The additional t-z curves need the project's request and at least one curve read.
    graphs.showtzcurves = true;
    project->PrintTZCurves = 1;
    EXPECT_FALSE(Offer()[giTzAdd].Enabled);
    graphs.pltTzAdd.SetLineCount(1);
    EXPECT_TRUE(Offer()[giTzAdd].Enabled);
    project->PrintTZCurves = 0;
    EXPECT_FALSE(Offer()[giTzAdd].Enabled);
}

TEST_F(OfferGraphsTest, CombinedCaptionsFollowWhatTheCurvesDifferBy) {
    project->IPENT = 0;
    auto items = Offer();
    // The two combined depth items tell ultimate from ASD/LRFD.
    EXPECT_EQ(items[giCombine].Caption, "Combined Plots vs Depth (Initial Diameter) (ultimate)");
    EXPECT_EQ(items[giCombineD].Caption, "Combined Plots vs Depth (Initial Diameter) (ASD/LRFD)");
    EXPECT_EQ(items[giCombinedSettle].Caption,
              "Combined Plots of Load vs Settlement (Initial Diameter)");
    EXPECT_EQ(items[giSkin].Caption, "Ultimate &Skin Friction vs Depth");
    EXPECT_EQ(items[giLoad].Caption, "Load Distribution (averaged, initial diameter)");
    project->IPENT = 1;
    items = Offer();
    EXPECT_EQ(items[giCombineD].Caption, "Combined Plots vs Depth (Initial Length) (ASD/LRFD)");
    EXPECT_EQ(items[giCombinedSettle].Caption,
              "Combined Plots of Load vs Settlement (Initial Length)");
}

TEST_F(OfferGraphsTest, DesignChartItemsFollowTheProjectsCharts) {
    project->IChart = 0;
    auto items = Offer();
    EXPECT_FALSE(items[giChartSeparator].Visible);
    for (int k = 0; k < 10; ++k) {
        EXPECT_FALSE(items[static_cast<std::size_t>(giChart1 + k)].Visible);
        EXPECT_FALSE(items[static_cast<std::size_t>(giChart1 + k)].Enabled);
    }

    project->IChart = 1;
    project->NPOINTPD = 3;
    items = Offer();
    EXPECT_TRUE(items[giChartSeparator].Visible);
    for (int k = 0; k < 10; ++k) {
        const auto& item = items[static_cast<std::size_t>(giChart1 + k)];
        EXPECT_EQ(item.Visible, k < 3) << "chart " << k + 1;
        EXPECT_EQ(item.Enabled, k < 3) << "chart " << k + 1;
    }
    EXPECT_EQ(items[giChart1 + 1].Caption, "Design Chart (0.25-in movement)");
    EXPECT_FALSE(Offer(false)[giChart1].Enabled);

    project->SetUnits(2);
    EXPECT_EQ(Offer()[giChart1].Caption, "Design Chart (0.00254-m movement)");
    project->NPOINTPD = 0;
    EXPECT_FALSE(Offer()[giChartSeparator].Visible);
}

TEST(ResultButtonsTest, FollowTheFlags) {
    TResultGraphs g;
    TResultButtons b = ResultButtons(g);
    EXPECT_FALSE(b.Combine || b.CombineD || b.Axial || b.Tz || b.Qw);
    g.ShowOutput = true;
    b = ResultButtons(g);
    EXPECT_TRUE(b.Combine && b.CombineD && b.Axial);
    EXPECT_FALSE(b.Tz || b.Qw);
    g.showtzcurves = true;
    b = ResultButtons(g);
    EXPECT_TRUE(b.Tz && b.Qw);
}

} // namespace
