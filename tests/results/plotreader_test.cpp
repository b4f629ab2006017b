// The plot-file reader on hand-written plot files in the engine's record layout
// (data/*.plt): capacity curves, load-settlement series, design charts, t-z, q-w and
// load-distribution sections, and what a damaged file leaves behind.
#include "gui/data/DataUnit.h"
#include "gui/data/PlotScale.h"
#include "gui/data/PltData.h"
#include "ui/model/WordRead.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

std::string DataFile(const char* Name) {
    return std::string(KOLMAR_TEST_DATA) + "/data/" + Name;
}

std::string FileText(const char* Name) {
    std::ifstream in(DataFile(Name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first N lines of a text.
std::string FirstLines(const std::string& Text, int N) {
    std::size_t pos = 0;
    for (int i = 0; i < N && pos != std::string::npos; ++i) {
        pos = Text.find('\n', pos);
        if (pos != std::string::npos)
            ++pos;
    }
    return Text.substr(0, pos);
}

::testing::AssertionResult PointIs(const TFloatPoint& P, double X, double Y) {
    auto close = [](double a, double b) { return std::abs(a - b) <= 1e-9 * (1.0 + std::abs(b)); };
    if (close(P.X, X) && close(P.Y, Y))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected (" << X << ", " << Y << "), actual (" << P.X << ", " << P.Y
           << "), difference (" << P.X - X << ", " << P.Y - Y << ")";
}

class PlotReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        project = TProgramData::Create();
        project->DSTART = 3.0;
        project->NLRFD = 2;
        project->PrintTZCurves = 1;
        project->D.SetRowCount(2);
        project->D[0].SetSoilType(kolmar::kSand);
        project->D[0].Depth = 20.0;
        project->D[1].SetSoilType(kolmar::kClay);
        project->D[1].Depth = 60.0;
    }
    bool Read(const char* Name) { return ReadPlotData(graphs, *project, DataFile(Name), &error); }
    bool ReadText(const std::string& Text) {
        TWordReader reader = TWordReader::FromText(Text);
        return ReadPlotData(graphs, *project, reader, &error);
    }

    std::unique_ptr<TProgramData> project;
    TResultGraphs graphs;
    std::string error;
};

TEST_F(PlotReaderTest, TwoDiametersWithAllSections) {
    ASSERT_TRUE(Read("two-diameters.plt")) << error;
    EXPECT_EQ(project->ID2, 3);

    // Capacity curves: the two leading records, then the computation depths.
    ASSERT_EQ(graphs.pltSkin.LineCount(), 2);
    ASSERT_EQ(graphs.pltSkin.Count(), 4);
    EXPECT_TRUE(PointIs(graphs.pltSkin.Data(0, 1), 0, 5));
    EXPECT_TRUE(PointIs(graphs.pltSkin.Data(0, 2), 20, 10));
    EXPECT_TRUE(PointIs(graphs.pltTotal.Data(0, 3), 40, 15));
    EXPECT_TRUE(PointIs(graphs.FSpltSkin.Data(0, 3), 20, 15));
    EXPECT_TRUE(PointIs(graphs.FSpltTip.Data(1, 2), 11.5, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltTotal.Data(1, 2), 24, 10));
    // A zero tip resistance at the tip is shown as 0.00001; the ASD value keeps its zero.
    EXPECT_TRUE(PointIs(graphs.pltTip.Data(0, 3), 0.00001, 15));
    EXPECT_TRUE(PointIs(graphs.FSpltTip.Data(0, 3), 0, 15));
    // The second curve has three points: its last is repeated.
    EXPECT_TRUE(PointIs(graphs.pltTip.Data(1, 3), 35, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltSkin.Data(1, 3), 12.5, 10));

    // Load-settlement: origin, then 15 records per series.
    ASSERT_EQ(graphs.pltAxial.Count(), 16);
    EXPECT_TRUE(PointIs(graphs.pltAxial.Data(0, 0), 0, 0));
    EXPECT_TRUE(PointIs(graphs.pltAxial.Data(0, 15), 150, 1.5));
    EXPECT_TRUE(PointIs(graphs.pltUpper.Data(0, 2), 24, 0.2));
    EXPECT_TRUE(PointIs(graphs.pltLower.Data(1, 15), 135, 1.5));

    // Names, captions, combined graphs.
    for (TGraphPlot* g :
         {&graphs.pltSkin, &graphs.FSpltTotal, &graphs.pltAxial, &graphs.pltLower}) {
        EXPECT_EQ(g->Lines(0).LineName(), "Dia=3 ft");
        EXPECT_EQ(g->Lines(1).LineName(), "Dia=3.5 ft");
    }
    EXPECT_EQ(graphs.FSpltSkin.XCaption, "Side Resistance/F.S. ");
    EXPECT_EQ(graphs.pltCombineD.XCaption, "Resistance/F.S. ");
    EXPECT_EQ(graphs.pltSkin.YCaption, "Depth");
    EXPECT_FALSE(graphs.pltCombine.Yreversed);
    EXPECT_EQ(graphs.pltCombine.Lines(1).LineName(), "  Tip Resistance");
    EXPECT_EQ(graphs.pltCombinedSettle.Lines(0).LineName(), "  Trend (Averaged)");
    EXPECT_EQ(graphs.pltCombine.Lines(1).Points, graphs.pltTip.Lines(0).Points);
    EXPECT_EQ(graphs.pltCombineD.Lines(2).Points, graphs.FSpltTotal.Lines(0).Points);
    EXPECT_EQ(graphs.pltCombinedSettle.Lines(1).Points, graphs.pltUpper.Lines(0).Points);
    EXPECT_EQ(graphs.pltTotal.LayerLineCount(), 2);
    EXPECT_EQ(graphs.pltCombineD.LayerLines(1).LineName(), " CLAY ");
    EXPECT_EQ(graphs.pltAxial.LayerLineCount(), 0);

    // Section 3: additional t-z, t-z and q-w curves (X displacement, Y load).
    ASSERT_EQ(graphs.pltTzAdd.LineCount(), 1);
    EXPECT_EQ(graphs.pltTzAdd.Lines(0).LineName(), "H=12 ft");
    EXPECT_TRUE(PointIs(graphs.pltTzAdd.Data(0, 9), 0.1, 5));
    ASSERT_EQ(graphs.pltTz.LineCount(), 2);
    ASSERT_EQ(graphs.pltTz.Count(), 10);
    EXPECT_EQ(graphs.pltTz.Lines(1).LineName(), "H=12.5 ft");
    EXPECT_TRUE(PointIs(graphs.pltTz.Data(1, 9), 0.2, 8));
    ASSERT_EQ(graphs.pltQw.LineCount(), 2);
    EXPECT_EQ(graphs.pltQw.Lines(1).LineName(), "Dia=3.5 ft");
    EXPECT_TRUE(PointIs(graphs.pltQw.Data(1, 0), 0.03, 10));
    EXPECT_TRUE(graphs.showtzcurves);

    // Section 4: 15 load levels of NP - 2 elements, from the tip upwards.
    ASSERT_EQ(graphs.pltLoad.LineCount(), 15);
    ASSERT_EQ(graphs.pltLoad.Count(), 2);
    EXPECT_TRUE(PointIs(graphs.pltLoad.Data(0, 0), 3.25, 12.5));
    EXPECT_TRUE(PointIs(graphs.pltLoad.Data(0, 1), 2.75, 7.5));
    EXPECT_TRUE(graphs.showloadcurves);
    // Each load level is named by its load at the top.
    EXPECT_EQ(graphs.pltLoad.Lines(0).LineName(), "Q = 3.25 tons");

    for (TGraphPlot* g : graphs.All())
        EXPECT_EQ(g->Units(), 1);
}

TEST_F(PlotReaderTest, ElevationsLengthsAndSI) {
    project->UseElevation = 1;
    project->ValElevation = 100.0;
    project->IPENT = 1;
    project->PD = 15.0;
    project->PDINCR = 5.0;
    project->fUnits = 2;
    ASSERT_TRUE(Read("two-diameters.plt")) << error;
    for (TGraphPlot* g : {&graphs.pltSkin, &graphs.FSpltTip, &graphs.pltCombineD}) {
        EXPECT_EQ(g->YCaption, "Elevation");
        EXPECT_TRUE(g->Yreversed);
    }
    EXPECT_TRUE(PointIs(graphs.pltTotal.Data(0, 2), 50, 90)); // depth 10 below elevation 100
    EXPECT_TRUE(PointIs(graphs.pltCombine.Data(0, 2), 20, 90));
    EXPECT_EQ(graphs.pltSkin.LayerData(0, 0).Y, 80.0);
    EXPECT_EQ(graphs.pltSkin.LayersTop, 100.0);
    // Curves that differ by length are named by the tip elevation of their shaft: 15 m, then
    // 5 m shorter, below elevation 100.
    EXPECT_EQ(graphs.pltSkin.Lines(0).LineName(), "L =85 m");
    EXPECT_EQ(graphs.pltUpper.Lines(1).LineName(), "L =90 m");
    EXPECT_EQ(graphs.pltTz.Lines(0).LineName(), "H=10 m");
    EXPECT_EQ(graphs.pltQw.Lines(0).LineName(), "Dia=3 m");
    // The load distribution keeps depths; settlements are no depths.
    EXPECT_TRUE(PointIs(graphs.pltLoad.Data(0, 0), 3.25, 12.5));
    EXPECT_TRUE(PointIs(graphs.pltAxial.Data(0, 1), 10, 0.1));
    for (TGraphPlot* g : graphs.All())
        EXPECT_EQ(g->Units(), 2);
}

TEST_F(PlotReaderTest, NamesCarryFourSignificantDigits) {
    // A diameter carried through a unit conversion, and a second one half a foot larger.
    project->DSTART = 2.49999999999;
    ASSERT_TRUE(Read("two-diameters.plt")) << error;
    EXPECT_EQ(graphs.pltSkin.Lines(0).LineName(), "Dia=2.5 ft");
    EXPECT_EQ(graphs.pltSkin.Lines(1).LineName(), "Dia=3 ft");
    project->DSTART = 1.23456;
    project->fUnits = 2;
    ASSERT_TRUE(Read("two-diameters.plt")) << error;
    EXPECT_EQ(graphs.pltSkin.Lines(0).LineName(), "Dia=1.235 m");
    EXPECT_EQ(graphs.pltLoad.Lines(0).LineName(), "Q = 3.25 kN");
}

TEST_F(PlotReaderTest, UpliftAndLRFDCaptions) {
    project->KCYCL = 2;
    project->NLRFD = 1;
    ASSERT_TRUE(Read("two-diameters.plt")) << error;
    // Under uplift the ASD/LRFD tip graph shows the self-weight read for the ultimate one.
    EXPECT_TRUE(PointIs(graphs.FSpltTip.Data(0, 2), 30, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltTip.Data(1, 3), 35, 10));
    EXPECT_EQ(graphs.FSpltTip.XCaption, "Self-Weight");
    EXPECT_EQ(graphs.FSpltSkin.XCaption, "LRFD Side Resistance ");
    EXPECT_EQ(graphs.FSpltTotal.XCaption, "LRFD Total Resistance ");
    EXPECT_EQ(graphs.pltCombineD.XCaption, "LRFD Resistance ");
    EXPECT_EQ(graphs.pltCombine.Lines(1).LineName(), "  Self-Weight");
    EXPECT_EQ(graphs.pltCombineD.Lines(1).LineName(), "  Self-Weight");
}

TEST_F(PlotReaderTest, DesignChartsEnglish) {
    project->IChart = 1;
    project->DIAMINCR = 1.0;
    project->PrintTZCurves = 0;
    graphs.PltChart3.Caption = "kept";
    ASSERT_TRUE(Read("charts-english.plt")) << error;
    // NS 1: only the averaged series; the bounds are not touched.
    EXPECT_EQ(project->ID2, 1);
    EXPECT_TRUE(PointIs(graphs.pltAxial.Data(0, 15), 150, 1.5));
    for (const TFloatPoint& p : graphs.pltUpper.Lines(0).Points)
        EXPECT_TRUE(PointIs(p, 0, 0));
    EXPECT_EQ(graphs.pltSkin.Lines(0).LineName(), "Dia=3 ft");

    const TGraphPlot& c1 = graphs.PltChart1;
    EXPECT_EQ(c1.Caption, "Design Chart (0.5-in movement)");
    EXPECT_EQ(c1.UserCaption, c1.Caption);
    ASSERT_EQ(c1.LineCount(), 2);
    ASSERT_EQ(c1.Count(), 2);
    EXPECT_EQ(c1.Lines(0).LineName(), "Dia=3 ft");
    EXPECT_EQ(c1.Lines(1).LineName(), "Dia=4 ft");
    // Inches and pounds become feet and tons: (120 in, 200000 lb) -> (10 ft, 100 tons).
    EXPECT_TRUE(PointIs(c1.Data(0, 0), 100, 10));
    EXPECT_TRUE(PointIs(c1.Data(1, 1), 200, 20));
    EXPECT_EQ(graphs.PltChart2.Caption, "Design Chart (1-in movement)");
    EXPECT_TRUE(PointIs(graphs.PltChart2.Data(0, 0), 200, 10));
    // The vertical axis holds the lengths analysed, 10 to 20 ft, not reaching back to 0.
    EXPECT_EQ(c1.YCaption, "Shaft Length");
    const std::optional<TFloatRect> range = ValueRange(c1);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->Top, 10.0);
    EXPECT_EQ(range->Bottom, 20.0);
    EXPECT_EQ(range->Left, 0.0);
    // Charts beyond the file's count keep what they held.
    EXPECT_EQ(graphs.PltChart3.Caption, "kept");
    EXPECT_EQ(graphs.PltChart3.LineCount(), 0);
    // The file ends after the charts: no t-z or load-distribution curves.
    EXPECT_FALSE(graphs.showtzcurves);
    EXPECT_FALSE(graphs.showloadcurves);
}

TEST_F(PlotReaderTest, DesignChartsSI) {
    project->IChart = 1;
    project->fUnits = 2;
    project->DSTART = 0.9144;
    project->DIAMINCR = 0.3048;
    ASSERT_TRUE(Read("charts-si.plt")) << error; // CR LF line ends
    const TGraphPlot& c1 = graphs.PltChart1;
    EXPECT_EQ(c1.Caption, "Design Chart (0.5-m movement)");
    EXPECT_EQ(c1.Lines(0).LineName(), "Dia=0.9144 m");
    EXPECT_EQ(c1.Lines(1).LineName(), "Dia=1.219 m");
    // Inches and pounds become metres and kilonewtons.
    EXPECT_TRUE(PointIs(c1.Data(0, 0), 200000 / 224.82014388489208633, 120 / 39.37));
    EXPECT_NEAR(c1.Data(0, 0).X, 889.6, 0.05);
    EXPECT_NEAR(c1.Data(0, 0).Y, 3.048, 0.0001);
    EXPECT_EQ(graphs.pltAxial.Lines(0).LineName(), "Dia=0.9144 m");
}

TEST_F(PlotReaderTest, PreviousLayoutComputesTheAllowableValues) {
    project->Yesnewversion = 0;
    project->FST = 2.0;
    project->FSB = 3.0;
    ASSERT_TRUE(Read("previous-layout.plt")) << error;
    EXPECT_EQ(project->ID2, 0);
    EXPECT_TRUE(PointIs(graphs.pltTotal.Data(0, 2), 50, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltSkin.Data(0, 2), 10, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltTip.Data(0, 2), 10, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltTotal.Data(0, 2), 20, 10));

    project->KCYCL = 2; // uplift: the self-weight is not divided
    ASSERT_TRUE(Read("previous-layout.plt")) << error;
    EXPECT_TRUE(PointIs(graphs.FSpltTip.Data(0, 2), 30, 10));
    EXPECT_TRUE(PointIs(graphs.FSpltTotal.Data(0, 2), 40, 10));

    project->FST = 0.0;
    EXPECT_FALSE(Read("previous-layout.plt"));
    EXPECT_NE(error.find("factors of safety"), std::string::npos) << error;
}

// Values the reader computes from huge values in the file (allowable capacities of the previous
// layout, elevations) are refused when they overflow, so that no graph holds an infinity.
TEST_F(PlotReaderTest, ComputedValuesThatOverflowAreRefused) {
    const std::string text = FileText("previous-layout.plt");
    const std::string point = "  0.100E+02  0.200E+02  0.300E+02  0.500E+02  0.990E+02\n";
    ASSERT_NE(text.find(point), std::string::npos);
    const auto with = [&](const std::string& line) {
        std::string changed = text;
        changed.replace(changed.find(point), point.size(), line);
        return changed;
    };
    const struct {
        const char* What;
        std::string Line;
        double Factor;    // both factors of safety
        double Elevation; // of the shaft top; NaN = depths
        const char* Item; // of the message
    } cases[] = {
        {"side resistance over a factor below 1", " 10 1.7E308 30 50 99\n", 0.5, NAN, "Item 5"},
        {"tip resistance over a factor below 1", " 10 20 1.7E308 50 99\n", 0.5, NAN, "Item 5"},
        {"allowable side plus tip", " 10 1.7E308 1.7E308 50 99\n", 1.0, NAN, "Item 5"},
        {"elevation of a huge depth", " 1.7E308 20 30 50 99\n", 2.0, -1e308, "Item 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        project->Yesnewversion = 0;
        project->FST = project->FSB = c.Factor;
        project->UseElevation = std::isnan(c.Elevation) ? 0 : 1;
        project->ValElevation = std::isnan(c.Elevation) ? 0.0 : c.Elevation;
        EXPECT_FALSE(ReadText(with(c.Line)));
        EXPECT_NE(error.find(std::string("Error on Line 4 ") + c.Item +
                             "\nThe value computed from this record is out of range."),
                  std::string::npos)
            << error;
    }
    // The same values that stay finite are read.
    project->FST = project->FSB = 2.0;
    project->UseElevation = 0;
    EXPECT_TRUE(ReadText(with(" 10 1.7E308 1.7E308 50 99\n"))) << error;
    EXPECT_TRUE(PointIs(graphs.FSpltTotal.Data(0, 2), 1.7e308, 10));
}

TEST_F(PlotReaderTest, ShorterLaterCurvesArePaddedAndTheReadingStaysInStep) {
    project->fUnits = 2;
    project->DSTART = 0.9144;
    graphs.pltTz.SetLineCount(4); // from an earlier file
    graphs.showtzcurves = graphs.showloadcurves = true;
    ASSERT_TRUE(Read("five-diameters.plt")) << error;
    EXPECT_EQ(project->ID2, 0);
    ASSERT_EQ(graphs.pltSkin.LineCount(), 5);
    ASSERT_EQ(graphs.pltSkin.Count(), 5);
    // Curve 2 has four points, curve 5 two: both end in copies of their last point.
    EXPECT_TRUE(PointIs(graphs.pltSkin.Data(1, 3), 40, 15));
    EXPECT_TRUE(PointIs(graphs.pltSkin.Data(1, 4), 40, 15));
    EXPECT_TRUE(PointIs(graphs.FSpltTotal.Data(1, 4), 24, 15));
    for (int j = 1; j < 5; ++j)
        EXPECT_TRUE(PointIs(graphs.pltSkin.Data(4, j), 0, 5)) << "point " << j;
    EXPECT_TRUE(PointIs(graphs.pltTip.Data(4, 4), 0.00001, 5));
    // The last curve's series was read from the right place.
    EXPECT_TRUE(PointIs(graphs.pltAxial.Data(4, 15), 210, 1.5));
    // Diameters step by 0.152 m without design charts.
    // Names carry four significant digits.
    EXPECT_EQ(graphs.pltSkin.Lines(1).LineName(), "Dia=1.066 m");
    EXPECT_EQ(graphs.pltSkin.Lines(4).LineName(), "Dia=1.522 m");
    // The file ends after its capacity curves: the t-z graph of the earlier file is emptied.
    EXPECT_FALSE(graphs.showtzcurves);
    EXPECT_FALSE(graphs.showloadcurves);
    EXPECT_EQ(graphs.pltTz.LineCount(), 0);
}

TEST_F(PlotReaderTest, TZCurvesWithoutLoadDistribution) {
    const std::string text = FileText("two-diameters.plt");
    const std::size_t sectionFour = text.find("   0.125E+02");
    ASSERT_NE(sectionFour, std::string::npos);
    ASSERT_TRUE(ReadText(text.substr(0, sectionFour))) << error;
    EXPECT_TRUE(graphs.showtzcurves);
    EXPECT_FALSE(graphs.showloadcurves);

    // Blank lines between values and after the end are passed over.
    std::string spaced;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        spaced += line + "\n\n";
    ASSERT_TRUE(ReadText(spaced + "\n  \n")) << error;
    EXPECT_TRUE(graphs.showloadcurves);
    EXPECT_TRUE(PointIs(graphs.pltLoad.Data(0, 1), 2.75, 7.5));
}

TEST_F(PlotReaderTest, DamagedFilesFailWithTheReadersMessage) {
    const std::string text = FileText("two-diameters.plt");
    const struct {
        const char* What;
        std::string Text;
        const char* Message;
    } cases[] = {
        {"ends inside the second curve", FirstLines(text, 60),
         "This file either invalid or incomplete."},
        {"ends inside the t-z curves", FirstLines(text, 110),
         "This file either invalid or incomplete."},
        {"a word that is not a number", FirstLines(text, 3) + "  0.100E+02  x.200E+02\n",
         "Error on Line 4 Item 2\nA floating point number was expected but not found."},
        {"a later curve longer than the first", FirstLines(text, 52) + " 2 9 3\n",
         "Error on Line 53 Item 2\nThe number of points of curve 2 (at most that of the first "
         "curve) must be between 1 and 4, not 9."},
        {"no curves", " 0 4 3\n", "The number of curves must be between 1 and 1000, not 0."},
        {"an empty file", "", "This file either invalid or incomplete."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_FALSE(ReadText(c.Text));
        EXPECT_NE(error.find(c.Message), std::string::npos) << error;
    }

    // The graphs keep what was read before the failure.
    ASSERT_FALSE(ReadText(FirstLines(text, 60)));
    EXPECT_TRUE(PointIs(graphs.pltSkin.Data(0, 2), 20, 10));
    EXPECT_TRUE(PointIs(graphs.pltLower.Data(0, 15), 120, 1.5));
    EXPECT_FALSE(graphs.showtzcurves);

    EXPECT_FALSE(Read("no-such-file.plt"));
    EXPECT_NE(error.find("no-such-file.plt"), std::string::npos) << error;
}

} // namespace
