// Geometry of the elevation view and the 3D view: bell heights, segment stacking, extent,
// world window, depth read-out, the printed page, scene extent and fit, the view state's
// zoom, pan, turns and zoom window, size-factor stepping and value labels.
#include "gui/data/DataUnit.h"
#include "gui/data/ShaftGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// A project with layers of the given bottom depths (sand).
std::unique_ptr<TProgramData> Project(std::initializer_list<double> Bottoms) {
    auto p = TProgramData::Create();
    p->D.SetRowCount(static_cast<int>(Bottoms.size()));
    int i = 0;
    for (double b : Bottoms)
        p->D[i++].Depth = b;
    return p;
}

void ExpectPoint(const TWorldPoint& P, double X, double Y, const char* What) {
    EXPECT_NEAR(P.X, X, 1e-12) << What << ": x expected " << X << ", got " << P.X;
    EXPECT_NEAR(P.Y, Y, 1e-12) << What << ": y expected " << Y << ", got " << P.Y;
}

} // namespace

TEST(ElevationShaft, BellHeightNeedsAnAngleAndAWiderBase) {
    struct Case {
        double D, R, A, Expected;
    };
    const Case cases[] = {
        {3.0, 2.5, 45.0, 3.0 * 1.5 / 2.0 / std::tan(3.1416 * 45.0 / 180.0)},
        {2.0, 3.0, 30.0, 2.0 * 2.0 / 2.0 / std::tan(3.1416 * 30.0 / 180.0)},
        {3.0, 2.5, 0.0, 0.0},  // no angle
        {3.0, 1.0, 45.0, 0.0}, // base no wider than the stem
        {3.0, 0.0, 45.0, 0.0}, // straight shaft
        {3.0, 0.5, 45.0, 0.0}, // narrower base: no bell in elevation
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(SideBellHeight(c.D, c.R, c.A), c.Expected)
            << "D " << c.D << " R " << c.R << " A " << c.A;
    // The 3D view's bell takes any positive ratio, the absolute widening and pi as 3.14.
    EXPECT_DOUBLE_EQ(BlockBellHeight(3.0, 2.5, 45.0), 2.25 / std::tan(45.0 * 3.14 / 180.0));
    EXPECT_DOUBLE_EQ(BlockBellHeight(2.0, 0.5, 60.0), 0.5 / std::tan(60.0 * 3.14 / 180.0));
    EXPECT_EQ(BlockBellHeight(2.0, 0.0, 60.0), 0.0);
    EXPECT_EQ(BlockBellHeight(2.0, 2.0, 0.0), 0.0);
}

TEST(ElevationShaft, SegmentsStackDownFromTheGroundLine) {
    const double D = 2.0, L = 30.0, T = 4.0, B = 3.0, R = 2.0, A = 45.0;
    const double H = SideBellHeight(D, R, A);
    const auto s = BuildShaftSegments({D, L, T, B, R, A});
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].Kind, TSegmentKind::Top);
    EXPECT_EQ(s[1].Kind, TSegmentKind::Middle);
    EXPECT_EQ(s[2].Kind, TSegmentKind::Bottom);
    EXPECT_EQ(s[3].Kind, TSegmentKind::Bell);
    const double y0 = 2 * D, y1 = y0 + T, y2 = y1 + (L - B - T - H), y3 = y2 + B, y4 = y3 + H;
    ExpectPoint(s[0].Corners[0], -1, y0, "top portion, top-left");
    ExpectPoint(s[0].Corners[3], 1, y1, "top portion, bottom-right");
    ExpectPoint(s[1].Corners[1], 1, y1, "middle, top-right");
    ExpectPoint(s[1].Corners[2], -1, y2, "middle, bottom-left");
    ExpectPoint(s[2].Corners[3], 1, y3, "bottom portion, bottom-right");
    ExpectPoint(s[3].Corners[0], -1, y3, "bell, top-left");
    ExpectPoint(s[3].Corners[2], -R * D / 2, y4, "bell, bottom-left");
    ExpectPoint(s[3].Corners[3], R * D / 2, y4, "bell, bottom-right");
    EXPECT_NEAR(y4, 2 * D + L, 1e-12) << "the shaft ends at its length below the ground";

    // Without a bell the last segment has no height and the stem's width.
    const auto straight = BuildShaftSegments({D, L, 0, 0, 0, 0});
    EXPECT_EQ(straight[3].Corners[0].Y, straight[3].Corners[2].Y);
    EXPECT_EQ(straight[3].Corners[3].X, 1.0);
    // Ignored portions longer than the shaft leave a middle part of no height, never negative.
    const auto crowded = BuildShaftSegments({D, 5.0, 4.0, 3.0, 0, 0});
    EXPECT_EQ(crowded[1].Corners[0].Y, crowded[1].Corners[2].Y);
}

TEST(ElevationShaft, LengthOfAProjectWithoutOne) {
    auto p = Project({10.0, 25.0});
    p->METHOD = 2;
    p->PD = 20.0;
    EXPECT_EQ(ElevationLength(*p).L, 20.0);
    EXPECT_FALSE(ElevationLength(*p).SetInProject);
    p->PD = 0.0;
    EXPECT_EQ(ElevationLength(*p).L, 25.0);
    EXPECT_TRUE(ElevationLength(*p).SetInProject);
    // A design-load project has no length by its nature: drawn to the last bottom, not stored.
    p->METHOD = 1;
    EXPECT_EQ(ElevationLength(*p).L, 25.0);
    EXPECT_FALSE(ElevationLength(*p).SetInProject);
}

TEST(ElevationShaft, ExtentAndWorldWindow) {
    const double D = 2.0;
    const auto s = BuildShaftSegments({D, 30.0, 0, 0, 2.0, 45.0});
    const double bellHalf = 2.0;
    // Layers deeper than the shaft: the bottom follows the last layer's bottom, plus 3D.
    const TExtent deep = ShaftExtent(s, 50.0, D);
    EXPECT_DOUBLE_EQ(deep.DLeft, -bellHalf);
    EXPECT_DOUBLE_EQ(deep.DRight, bellHalf);
    EXPECT_DOUBLE_EQ(deep.DTop, 0.0);
    EXPECT_DOUBLE_EQ(deep.DBottom, 50.0 + 3 * D);
    const TExtent shallow = ShaftExtent(s, 10.0, D);
    EXPECT_DOUBLE_EQ(shallow.DBottom, 2 * D + 30.0 + 3 * D);

    // Extent 4 wide, 56 high. A window of the same proportions shows exactly the extent.
    const TWorldWindow same = WorldWindow(deep, 40, 560);
    ASSERT_FALSE(same.NoDraw);
    EXPECT_DOUBLE_EQ(same.Left, -2.0);
    EXPECT_DOUBLE_EQ(same.Bottom, 56.0);
    // A window twice as wide: the shaft stays centred with room on both sides.
    const TWorldWindow wide = WorldWindow(deep, 80, 560);
    EXPECT_DOUBLE_EQ(wide.Left, -4.0);
    EXPECT_DOUBLE_EQ(wide.Right, 4.0);
    EXPECT_DOUBLE_EQ(wide.Bottom, 56.0);
    EXPECT_EQ(PixelX(wide, 0.0, 80), 40);
    // A relatively taller window goes deeper.
    const TWorldWindow tall = WorldWindow(deep, 40, 1120);
    EXPECT_DOUBLE_EQ(tall.Left, -2.0);
    EXPECT_DOUBLE_EQ(tall.Bottom, 112.0);

    // Nothing can be drawn for a shaft without width or a window without area.
    EXPECT_TRUE(
        WorldWindow(ShaftExtent(BuildShaftSegments({0, 30, 0, 0, 0, 0}), 0, 0), 80, 60).NoDraw);
    EXPECT_TRUE(WorldWindow(deep, 80, 0).NoDraw);
    EXPECT_TRUE(WorldWindow(deep, 0, 60).NoDraw);
}

TEST(ElevationShaft, ReadoutAtTheGroundLineIsZero) {
    const double D = 3.0;
    const auto s = BuildShaftSegments({D, 40.0, 5.0, 0, 2.5, 45.0});
    const TExtent e = ShaftExtent(s, 70.0, D);
    for (int h : {300, 457, 611, 999}) {
        const TWorldWindow w = WorldWindow(e, 500, h);
        const int groundRow = PixelY(w, 2 * D, h);
        EXPECT_EQ(DepthReadout(DepthAtRow(w, groundRow, h, D)), "  Depth: 0.0") << "height " << h;
        // The next row down reads a little below the ground, in world units per pixel.
        const double perRow = (w.Bottom - w.Top) / h;
        EXPECT_NEAR(DepthAtRow(w, groundRow + 10, h, D), 10 * perRow, perRow) << "height " << h;
    }
    EXPECT_EQ(DepthReadout(12.34), "  Depth: 12.3");
    EXPECT_EQ(DepthReadout(-0.04), "  Depth: 0.0");
}

TEST(ElevationShaft, LayerLabels) {
    EXPECT_EQ(SideLayerLabel(0, 0.0, 20.0, 1, kolmar::kClay),
              "Layer 1; depth= 0.00 - 20.00 ft; Clay");
    EXPECT_EQ(SideLayerLabel(2, 6.096, 12.5, 2, kolmar::kDecomposedRock),
              "Layer 3; depth= 6.10 - 12.50 m; Decomposed Rock/Gravel");
    EXPECT_EQ(SideLayerLabel(1, 1, 2, 1, kolmar::kStrongRockSideAndBase),
              "Layer 2; depth= 1.00 - 2.00 ft; Strong Rock");
}

TEST(ElevationShaft, PrintedPageKeepsShaftAndLayersOnOneScale) {
    const double D = 2.0;
    const auto s = BuildShaftSegments({D, 30.0, 0, 0, 0, 0});
    const TPageMap page{1100, 850, ShaftExtent(s, 40.0, D), D};
    ASSERT_TRUE(page.Valid());
    EXPECT_DOUBLE_EQ(page.DepthY(0.0), page.SegmentY(s[0].Corners[0].Y)) << "ground vs shaft head";
    EXPECT_DOUBLE_EQ(page.DepthY(30.0), page.SegmentY(s[3].Corners[2].Y)) << "shaft tip";
    EXPECT_DOUBLE_EQ(page.SegmentY(page.Extent.DBottom), 0.9 * 850);
    EXPECT_DOUBLE_EQ(page.SegmentX(0.0), 550.0);
    EXPECT_FALSE((TPageMap{1100, 850, TExtent{}, D}.Valid()));
}

TEST(SceneExtent, WidthDepthAndFit) {
    auto p = Project({20.0, 70.0});
    p->DSTART = 3.0;
    p->METHOD = 2;
    p->PD = 40.0;
    p->WTD = 10.0;
    TSceneExtent e = SceneExtent(*p);
    EXPECT_EQ(e.L, 40.0);
    EXPECT_EQ(e.W, 37.5);
    EXPECT_EQ(e.Deepest, 70.0);
    EXPECT_EQ(e.Horizontal, 75.0);
    EXPECT_EQ(e.Size, 75.0);
    EXPECT_EQ(e.CentrePan.X, 35.0);
    EXPECT_DOUBLE_EQ(FitScale(e, 800, 600), 550.0 / 75.0);

    p->WTD = 50.0; // a deeper water table widens the scene
    p->METHOD = 1; // a design-load project: the shaft reaches the last bottom
    e = SceneExtent(*p);
    EXPECT_EQ(e.W, 50.0);
    EXPECT_EQ(e.L, 70.0);
    EXPECT_EQ(e.Size, 100.0);
    EXPECT_DOUBLE_EQ(FitScale(e, 400, 1000), 350.0 / 100.0);

    // A scene of no size: fit 1 rather than a division by zero.
    auto empty = Project({0.0});
    empty->DSTART = 0.0;
    EXPECT_EQ(FitScale(SceneExtent(*empty), 800, 600), 1.0);
    EXPECT_GT(FitScale(e, 10, 10), 0.0) << "a window smaller than the margin";
}

TEST(ViewState, ZoomInThenOutIsNotExactlyOne) {
    TViewState v;
    ZoomIn(v);
    ZoomOut(v);
    EXPECT_EQ(v.Zoom, static_cast<long double>(ZoomInFactor) * ZoomOutFactor);
    EXPECT_EQ(ZoomInFactor, 1.4142);
    EXPECT_EQ(ZoomOutFactor, 0.7071135624381275633);
    EXPECT_NE(v.Zoom, 1.0L) << "the two factors are not exact reciprocals";
    v.AngleX = 30;
    v.Pan = {1, 2, 3};
    RestartView(v, {35, 0, 0});
    EXPECT_EQ(v.Zoom, 1.0);
    // Back to the oblique opening view.
    EXPECT_EQ(v.AngleZ, 0.0);
    EXPECT_EQ(v.AngleY, 20.0);
    EXPECT_EQ(v.AngleX, -30.0);
    EXPECT_EQ(v.Pan.X, 35.0);
    EXPECT_EQ(v.Pan.Y, 0.0);
}

TEST(ViewState, UprightSceneAtZeroAngles) {
    TViewState v;
    EXPECT_EQ(v.AngleY, InitialAngleY) << "the view opens obliquely";
    EXPECT_EQ(v.AngleX, InitialAngleX) << "the view opens obliquely";
    v.AngleZ = v.AngleY = v.AngleX = 0.0;
    v.Fit = 2.0;
    const TMatrix4 m = ModelViewMatrix(v);
    const TVec3 deep = Transform(m, {-10, 0, 0});
    EXPECT_DOUBLE_EQ(deep.Y, -20.0) << "a depth lies below the ground on the screen";
    const TVec3 side = Transform(m, {0, 5, 0});
    EXPECT_DOUBLE_EQ(side.X, 10.0) << "y points to the right";
    const TVec3 far = Transform(m, {0, 0, 5});
    EXPECT_DOUBLE_EQ(far.Z, -10.0) << "z points away from the viewer";
    v.Pan = {5, 0, 0};
    EXPECT_NEAR(Transform(ModelViewMatrix(v), {-5, 0, 0}).Y, 0.0, 1e-12) << "pan centres";
}

TEST(ViewState, PanFollowsThePointerWhateverTheTurn) {
    TViewState press;
    press.Fit = 3.0;
    press.Zoom = 1.7;
    press.AngleZ = 20;
    press.AngleY = -35;
    press.AngleX = 50;
    press.Pan = {4, -1, 2};
    const TVec3 point{-12, 3, 1};
    const TVec3 before = Transform(ModelViewMatrix(press), point);
    TViewState after = press;
    after.Pan = PanDrag(press, 30, -12, false);
    const TVec3 moved = Transform(ModelViewMatrix(after), point);
    EXPECT_NEAR(moved.X - before.X, 30, 1e-9);
    EXPECT_NEAR(moved.Y - before.Y, -12, 1e-9);
    EXPECT_NEAR(moved.Z - before.Z, 0, 1e-9);
    // With shift only the larger component counts.
    after.Pan = PanDrag(press, 30, -12, true);
    EXPECT_NEAR(Transform(ModelViewMatrix(after), point).Y - before.Y, 0, 1e-9);
}

TEST(ViewState, RotateDragTurnsAboutTheScreenAxisAcrossTheMovement) {
    TViewState press;
    press.AngleZ = press.AngleY = press.AngleX = 0.0; // from the upright view
    TViewState v = press;
    // A drag to the right over a quarter of the width: 22.5 degrees about the upright axis.
    RotateDrag(v, press, 200, 0, 800, 600, false);
    EXPECT_NEAR(v.AngleX, 22.5, 1e-12);
    EXPECT_NEAR(v.AngleY, 0, 1e-12);
    EXPECT_NEAR(v.AngleZ, 0, 1e-12);
    // A drag upwards turns about the screen's horizontal, the scene's y at zero angles.
    RotateDrag(v, press, 0, 300, 800, 600, false);
    EXPECT_NEAR(std::fabs(v.AngleY), 45.0, 1e-12);
    EXPECT_NEAR(v.AngleX, 0, 1e-12);
    // Shift keeps the larger component; no movement leaves the recorded angles.
    RotateDrag(v, press, 200, 10, 800, 600, true);
    EXPECT_NEAR(v.AngleX, 22.5, 1e-12);
    RotateDrag(v, press, 0, 0, 800, 600, false);
    EXPECT_EQ(v.AngleX, 0.0);
    // Zoom drag: a drag down by half the height enlarges by half, never to zero or below.
    EXPECT_DOUBLE_EQ(static_cast<double>(ZoomDrag(2.0L, 300, 600)), 3.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(ZoomDrag(2.0L, -1200, 600)), 0.1);
}

TEST(ViewState, ZoomWindow) {
    TViewState v;
    v.Fit = 2.0;
    v.AngleX = 30;
    const TViewState before = v;
    EXPECT_FALSE(ZoomToBox(v, 100, 100, 100, 180, 800, 600)) << "no width";
    EXPECT_FALSE(ZoomToBox(v, 100, 100, 180, 100, 800, 600)) << "no height";
    EXPECT_EQ(v.Zoom, before.Zoom);
    EXPECT_EQ(v.Pan.X, before.Pan.X);

    // A box 200 x 100 whose centre is 100 right and 50 below the window centre.
    const TMatrix4 m0 = ModelViewMatrix(v);
    // The scene point under the box centre: pixels (500, 350) are (100, -50) from the centre.
    TVec3 target;
    {
        const TVec3 d = ScreenToWorld(v, 100, -50);
        target = {d.X - v.Pan.X, d.Y - v.Pan.Y, d.Z - v.Pan.Z};
    }
    const TVec3 t0 = Transform(m0, target);
    ASSERT_NEAR(t0.X, 100, 1e-9);
    ASSERT_NEAR(t0.Y, -50, 1e-9);
    ASSERT_TRUE(ZoomToBox(v, 400, 300, 600, 400, 800, 600));
    EXPECT_DOUBLE_EQ(static_cast<double>(v.Zoom), 4.0) << "the smaller of 800/200 and 600/100";
    const TVec3 t1 = Transform(ModelViewMatrix(v), target);
    EXPECT_NEAR(t1.X, 0, 1e-9);
    EXPECT_NEAR(t1.Y, 0, 1e-9);
}

TEST(SizeFactor, StepsOneToNinePerDecade) {
    struct Case {
        double From;
        int Direction;
        double Expected;
    };
    const Case cases[] = {
        {1, -1, 0.9}, {0.9, -1, 0.8}, {0.3, -1, 0.2},  {0.3, 1, 0.4},   {0.7, 1, 0.8}, {9, 1, 10},
        {10, 1, 20},  {1, 1, 2},      {20, -1, 10},    {10, -1, 9},     {2.5, 1, 3},   {2.5, -1, 1},
        {0, 1, 1},    {-3, -1, 1},    {1000, 1, 2000}, {1000, -1, 900},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepSizeFactor(c.From, c.Direction), c.Expected)
            << c.From << (c.Direction > 0 ? " up" : " down");
    double f = 1;
    for (int i = 0; i < 12; ++i)
        f = StepSizeFactor(f, -1);
    EXPECT_EQ(f, 0.07) << "twelve steps down from 1";
    EXPECT_EQ(ValidSizeFactor(0.0), 1.0);
    EXPECT_EQ(ValidSizeFactor(std::nan("")), 1.0);
    EXPECT_EQ(ValidSizeFactor(2.5), 2.5);
}

TEST(ValueLabels, FixedOrExponentForm) {
    EXPECT_EQ(ValueLabel(123.4567), "   123.457");
    EXPECT_EQ(ValueLabel(-0.5), "    -0.500");
    EXPECT_EQ(ValueLabel(99999.9), " 99999.900");
    EXPECT_EQ(ValueLabel(123456.0), "1.235E+05");
    EXPECT_EQ(ValueLabel(0.001), "1.000E-03");
    EXPECT_EQ(ValueLabel(0.0), "0.000E+00");
    EXPECT_EQ(ValueLabel(-2.5e-7), "-2.500E-07");
}
