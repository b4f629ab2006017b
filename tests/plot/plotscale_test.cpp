// The plot window's arithmetic without any drawing: value ranges and steps, nice tick
// spacing, marker shapes, colours, unit names, zoom limits, layout and the active-curve limit.
#include "gui/data/PlotScale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

::testing::AssertionResult Near(double Actual, double Expected, double Tolerance = 1e-9) {
    if (std::abs(Actual - Expected) <= Tolerance * (1.0 + std::abs(Expected)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << Expected << ", actual " << Actual
                                         << ", difference " << Actual - Expected;
}

// A graph with one curve through the given points.
void SetCurve(TGraphPlot& Graph, std::initializer_list<TFloatPoint> Points) {
    Graph.SetLineCount(1);
    Graph.SetCount(static_cast<int>(Points.size()));
    int j = 0;
    for (const TFloatPoint& p : Points)
        Graph.Data(0, j++) = p;
}

} // namespace

TEST(PlotRange, StepSpansThreeToThirtySteps) {
    struct Case {
        double Range, Step;
    };
    const Case cases[] = {{47, 10},    {14.5, 1}, {30, 10},         {29.9, 1},  {3, 1},
                          {2.99, 0.1}, {100, 10}, {0.02, 0.001},    {0.5, 0.1}, {1e6, 1e5},
                          {0, 0},      {-5, 0},   {std::nan(""), 0}};
    for (const Case& c : cases)
        EXPECT_TRUE(Near(RangeStep(c.Range), c.Step)) << "range " << c.Range;
}

TEST(PlotRange, ValuesFromZeroTo47ReachFifty) {
    TGraphPlot g;
    SetCurve(g, {{0, 3}, {47, 12.5}});
    const auto r = ValueRange(g);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (TFloatRect{0, 0, 50, 13}))
        << r->Left << " " << r->Top << " " << r->Right << " " << r->Bottom;
}

TEST(PlotRange, PositiveValuesStillShowZero) {
    TGraphPlot g;
    SetCurve(g, {{20, 30}, {34.5, 35}});
    const auto r = ValueRange(g);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Left, 0);
    EXPECT_EQ(r->Top, 0);
    EXPECT_EQ(r->Right, 40); // range 34.5: step 10
    EXPECT_EQ(r->Bottom, 40);
}

TEST(PlotRange, ElevationsPutTheTopFirst) {
    TGraphPlot g;
    g.Yreversed = true;
    SetCurve(g, {{0, 100}, {5, 93}, {8, 85.5}});
    const auto r = ValueRange(g);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Top, 100);
    EXPECT_EQ(r->Bottom, 85);
    // Negative elevations are widened outwards too, so no value falls off the graph.
    SetCurve(g, {{0, -10.5}, {1, -50.5}});
    const auto n = ValueRange(g);
    ASSERT_TRUE(n);
    EXPECT_GE(n->Top, -10.5);
    EXPECT_LE(n->Bottom, -50.5);
}

TEST(PlotRange, DegenerateRanges) {
    TGraphPlot g;
    SetCurve(g, {{0, 0}, {0, 0}});
    const auto r = ValueRange(g);
    ASSERT_TRUE(r); // moved apart by 0.01 each way
    EXPECT_TRUE(Near(r->Left, -0.01));
    EXPECT_TRUE(Near(r->Right, 0.01));
    SetCurve(g, {{0, 0}, {INFINITY, 1}});
    EXPECT_FALSE(ValueRange(g)); // a step of 0: nothing to show
    TGraphPlot empty;
    EXPECT_TRUE(ValueRange(empty));
}

TEST(PlotTicks, NiceSpacing) {
    struct Case {
        double Raw, Nice;
    };
    const Case cases[] = {{12.5, 10}, {1, 1},     {2, 2},       {4.99, 2},    {5, 5},     {8.9, 5},
                          {9, 10},    {0.3, 0.2}, {0.07, 0.05}, {1e-3, 1e-3}, {250, 200}, {0, 0}};
    for (const Case& c : cases)
        EXPECT_TRUE(Near(NiceSpacing(c.Raw), c.Nice)) << "raw " << c.Raw;
}

TEST(PlotTicks, FourIntervalsOverFifty) {
    // A 400-pixel axis with a 16-pixel font fits 4 labelled intervals.
    const TTicks t = TicksFor(0, 50, 400 / (6 * 16));
    EXPECT_TRUE(Near(t.Spacing, 2));
    EXPECT_EQ(t.Start, 0);
    EXPECT_EQ(t.Finish, 25);
    std::vector<double> labels;
    for (long long i = t.Start; i <= t.Finish; ++i)
        if (TTicks::IsLabelled(i))
            labels.push_back(t.Value(i));
    EXPECT_EQ(labels, (std::vector<double>{0, 10, 20, 30, 40, 50}));
    // Reversed ranges and negative values tick the same way.
    const TTicks n = TicksFor(100, 85, 3);
    EXPECT_TRUE(Near(n.Spacing, 1));
    EXPECT_EQ(n.Start, 85);
    EXPECT_EQ(n.Finish, 100);
    EXPECT_TRUE(TicksFor(0, 50, 0).Empty());
    EXPECT_TRUE(TicksFor(5, 5, 4).Empty());
}

TEST(PlotCurves, MarkersRepeatEveryTenCurves) {
    EXPECT_EQ(MarkerShape(0), 1);
    EXPECT_EQ(MarkerShape(11), MarkerShape(1)); // curve 12 like curve 2
    EXPECT_EQ(MarkerShape(19), 10);             // curve 20 like curve 10
    EXPECT_EQ(MarkerShape(19), MarkerShape(9));
    EXPECT_EQ(MarkerAngles(1), (std::vector<double>{180, 300, 60}));
    EXPECT_EQ(MarkerAngles(2), (std::vector<double>{45, 135, 225, 315}));
    EXPECT_EQ(MarkerAngles(5).size(), 5u);
    // The triangle points down: its first corner lies below the point (y grows downwards).
    const std::vector<TFloatPoint> down = MarkerVertices(1, 4, 4);
    EXPECT_TRUE(Near(down[0].X, 0, 1e-12));
    EXPECT_TRUE(Near(down[0].Y, 4));
    // Polygons have a corner straight up.
    const std::vector<TFloatPoint> pentagon = MarkerVertices(5, 4, 6);
    EXPECT_TRUE(Near(pentagon[0].Y, -6));
}

TEST(PlotCurves, ColourTableRepeatsAfterSeventeen) {
    EXPECT_EQ(CurveColour(0), (TRgb{0, 0, 0}));
    EXPECT_EQ(CurveColour(1), (TRgb{0, 0, 255}));
    EXPECT_EQ(CurveColour(11), (TRgb{0, 160, 0}));
    EXPECT_EQ(CurveColour(13), (TRgb{204, 102, 0}));
    EXPECT_EQ(CurveColour(14), (TRgb{112, 128, 144}));
    EXPECT_EQ(CurveColour(15), (TRgb{184, 134, 11}));
    EXPECT_EQ(CurveColour(16), (TRgb{0, 139, 139}));
    EXPECT_EQ(CurveColour(17), CurveColour(0));
    EXPECT_EQ(CurveColour(12), CurveColour(10)); // gray twice
}

// WCAG 2 relative luminance of an sRGB colour, and its contrast ratio against white.
double ContrastAgainstWhite(const TRgb& C) {
    auto linear = [](int V) {
        const double c = V / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double l = 0.2126 * linear(C.R) + 0.7152 * linear(C.G) + 0.0722 * linear(C.B);
    return (1.0 + 0.05) / (l + 0.05);
}

TEST(PlotCurves, EveryCurveColourReadsOnWhite) {
    // The check itself: pure yellow and silver fail it, gray passes.
    EXPECT_LT(ContrastAgainstWhite({255, 255, 0}), 3.0);
    EXPECT_LT(ContrastAgainstWhite({192, 192, 192}), 3.0);
    EXPECT_NEAR(ContrastAgainstWhite({128, 128, 128}), 3.95, 0.01);
    for (int k = 0; k < CurveColourCount; ++k) {
        const TRgb c = CurveColour(k);
        EXPECT_GE(ContrastAgainstWhite(c), 3.0)
            << "entry " << k << " (" << c.R << ", " << c.G << ", " << c.B << ")";
    }
}

TEST(PlotCurves, TwentyFiveCurvesOpenWithTwentyActive) {
    TGraphPlot g;
    g.SetLineCount(25);
    g.Lines(3).Active = false; // activity does not survive reopening
    EXPECT_EQ(ActivateCurves(g), 20);
    EXPECT_TRUE(g.Lines(3).Active);
    EXPECT_TRUE(g.Lines(19).Active);
    EXPECT_FALSE(g.Lines(20).Active);
    g.LimitActive = false;
    EXPECT_EQ(ActivateCurves(g), 25);
}

TEST(PlotCaptions, UnitNames) {
    struct Case {
        const char* Code;
        int Units;
        const char* Name;
    };
    const Case cases[] = {{"F2", 1, "tons"},      {"F2", 2, "kN"},
                          {"F1", 1, "kips"},      {"F", 1, "lbs"},
                          {"L2", 1, "ft"},        {"L2", 2, "m"},
                          {"L1", 2, "mm"},        {"L", 1, "in"},
                          {"L", 2, "m"},          {"F/L^2", 1, "lbs/in^2"},
                          {"F/L^2", 2, "kN/m^2"}, {"F2/L2^2", 1, "tons/ft^2"},
                          {"F/L^2", 3, "F/L^2"},  {"", 1, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(UnitName(c.Code, c.Units), c.Name) << c.Code << " in system " << c.Units;
    EXPECT_EQ(AxisCaption("Depth", "L2", 1), "Depth (ft)");
    EXPECT_EQ(AxisCaption("Depth", "", 1), "Depth");
}

TEST(PlotZoom, NarrowRectangleWidensToATwentieth) {
    // A zoom to 1/100 of the full width becomes 1/20 about the same centre.
    auto [lo, hi] = LimitZoom(0, 100, 49.5, 50.5);
    EXPECT_TRUE(Near(lo, 47.5));
    EXPECT_TRUE(Near(hi, 52.5));
    // At the edge the widened range is shifted back inside.
    std::tie(lo, hi) = LimitZoom(0, 100, 0.5, 0);
    EXPECT_TRUE(Near(lo, 0));
    EXPECT_TRUE(Near(hi, 5));
    // A wide enough rectangle is kept; a reversed full range keeps its orientation.
    std::tie(lo, hi) = LimitZoom(100, 85, 90, 95);
    EXPECT_EQ(lo, 95);
    EXPECT_EQ(hi, 90);
    const TFloatRect z = ZoomTo({0, 100, 50, 80}, 10, 90, 20, 95);
    EXPECT_EQ(z, (TFloatRect{10, 95, 20, 90}));
}

TEST(PlotZoom, RightClickZoomsOutAroundThePoint) {
    // Current width 10: the new range is the point +- 10, held inside the full range.
    auto [lo, hi] = ZoomOutAround(0, 100, 40, 50, 45);
    EXPECT_EQ(lo, 35);
    EXPECT_EQ(hi, 55);
    std::tie(lo, hi) = ZoomOutAround(0, 100, 40, 50, 3);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 20);
    // Never more than the full range.
    std::tie(lo, hi) = ZoomOutAround(0, 100, 0, 100, 80);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
}

TEST(PlotLayout, MarginsFollowTheFontAndTheInch) {
    TLayoutInput in;
    in.Bounds = {0, 0, 800, 600};
    in.H = 16;
    in.Px = in.Py = 96;
    const TLayout top = LayOut(in);
    EXPECT_EQ(top.GraphArea.Left, 2 * 16 + 12 + 2);
    EXPECT_EQ(top.GraphArea.Top, 2 * 16 + 12 + 2);
    EXPECT_EQ(top.GraphArea.Right, 800 - 24 - 8);
    EXPECT_EQ(top.GraphArea.Bottom, 600 - 24 - 8);
    EXPECT_FALSE(top.HasLayers);

    in.XOnTop = false;
    in.HasTitle = true;
    in.TitleOnTop = false;
    in.ShowLayers = true;
    const TLayout bottom = LayOut(in);
    EXPECT_EQ(bottom.GraphArea.Top, 8 + 24);
    EXPECT_EQ(bottom.GraphArea.Bottom, 600 - 32 - 12 - 2 - 16);
    EXPECT_EQ(bottom.GraphArea.Right, 800 - 24 - 8 - 96);
    EXPECT_TRUE(bottom.HasLayers);
    EXPECT_TRUE(Near(bottom.LayersArea.Left, 768 - 96 + 19.2));
    EXPECT_EQ(bottom.LayersArea.Right, 768);

    // The page of a printer: graph to the right edge, fixed title room; offsets carry over.
    in.ForPrinter = true;
    in.TitleOnTop = true;
    in.ShowLayers = false;
    in.XOnTop = true;
    in.Bounds = {100, 50, 900, 650};
    const TLayout page = LayOut(in);
    EXPECT_EQ(page.GraphArea.Right, 900);
    EXPECT_EQ(page.GraphArea.Top, 50 + 46 + 24);
}
