// The 3D view's scene: soil boxes and their colours and labels, the water plane and symbols,
// the shaft's facets, portions and bell, and the result diagrams.
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "gui/results/View3dScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        p = TProgramData::Create();
        p->D.SetRowCount(3);
        p->D[0].Depth = 10;
        p->D[1].Depth = 30;
        p->D[2].Depth = 60;
        p->D[1].SetSoilType(kolmar::kClay);
        p->D[2].SetSoilType(kolmar::kStrongRockSideOrBase);
        p->DSTART = 2.0;
        p->METHOD = 2;
        p->PD = 40;
        p->WTD = 8;
    }

    TScene3D Build(const TBlockOptions& O = {}, const TGraphPlot* G = nullptr) {
        return BuildScene(*p, SceneExtent(*p), O, G);
    }

    // Primitives of one part of the scene.
    static std::vector<TPrimitive> Part(const TScene3D& S, TScenePart Which, bool Translucent) {
        const auto& list = Translucent ? S.Translucent : S.Opaque;
        const auto& parts = Translucent ? S.TranslucentParts : S.OpaqueParts;
        std::vector<TPrimitive> out;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (parts[i] == Which)
                out.push_back(list[i]);
        return out;
    }

    // Radius of the lowest disk of the shaft and its depth.
    static std::pair<double, double> BaseDisk(const TScene3D& S) {
        double depth = -1, radius = 0;
        for (const TPrimitive& pr : Part(S, TScenePart::Shaft, false))
            if (pr.Kind == TPrimitiveKind::Polygon && -pr.Points[0].X > depth) {
                depth = -pr.Points[0].X;
                radius = std::hypot(pr.Points[0].Y, pr.Points[0].Z);
            }
        return {radius, depth};
    }

    std::unique_ptr<TProgramData> p;
};

// A graph of three lines like the combined plots: depths 0..40, values growing with depth.
void FillCombined(TGraphPlot& G, double Y0, double Step) {
    G.SetLineCount(3);
    G.SetCount(5);
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 5; ++j)
            G.Data(k, j) = {(k + 1) * 10.0 * j, Y0 + Step * j};
}

} // namespace

TEST_F(SceneTest, SoilBoxesWithLayerColoursAndLabels) {
    TBlockOptions o;
    o.ShowSoilLayerLabels = true;
    o.ShowSoilLayerDepthLabels = true;
    const TScene3D s = Build(o);
    const auto faces = Part(s, TScenePart::Soil, true);
    ASSERT_EQ(faces.size(), 18u) << "six faces per layer";
    for (int i = 0; i < 3; ++i) {
        TColour3 c = LayerColour(i);
        c.A = 0.5f;
        EXPECT_EQ(faces[static_cast<std::size_t>(6 * i)].Colour, c) << "layer " << i;
    }
    // The second layer's box spans depths 10..30 across the scene's width (12.5 D each side).
    double xmin = 1e9, xmax = -1e9, ymax = 0;
    for (int f = 6; f < 12; ++f)
        for (const TVec3& v : faces[static_cast<std::size_t>(f)].Points) {
            xmin = std::min(xmin, v.X);
            xmax = std::max(xmax, v.X);
            ymax = std::max(ymax, v.Y);
        }
    EXPECT_EQ(xmin, -30.0);
    EXPECT_EQ(xmax, -10.0);
    EXPECT_EQ(ymax, 25.0);

    std::vector<std::string> texts;
    for (const TLabel3& l : s.Labels)
        texts.push_back(l.Text);
    for (const char* t :
         {"Sand", "Clay", "Strong Rock(FHWA)", "0.00 ft", "10.00 ft", "30.00 ft", "60.00 ft"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;

    EXPECT_EQ(LayerColour(3), LayerColour(7));
    EXPECT_EQ(LayerColour(12), LayerColour(2));
    EXPECT_EQ(BlockSoilName(0, 4), "Layer 5");
    EXPECT_TRUE(
        Part(Build(TBlockOptions{.ShowSoilLayers = false}), TScenePart::Soil, true).empty());
}

TEST_F(SceneTest, WaterPlaneWithTwentyFiveSymbols) {
    const TScene3D s = Build();
    const auto water = Part(s, TScenePart::Water, true);
    ASSERT_FALSE(water.empty());
    EXPECT_TRUE(water[0].TwoSided) << "the plane is seen from above and below";
    EXPECT_FLOAT_EQ(water[0].Colour.A, 0.75f);
    for (const TVec3& v : water[0].Points)
        EXPECT_EQ(v.X, -8.0);
    // Each symbol: a top square and four sides, alpha 0.5.
    EXPECT_EQ(water.size() - 1, 25u * 5u);
    EXPECT_FLOAT_EQ(water[1].Colour.A, 0.5f);
}

TEST_F(SceneTest, ShaftOfTwentyFacetsWithPortionsAndBell) {
    p->TOPLENG = 5;
    p->BS = 3;
    p->RATIO = 2.5;
    p->BELANGL = 45;
    const TScene3D belled = Build();
    const auto shaft = Part(belled, TScenePart::Shaft, false);
    const auto facets = std::count_if(shaft.begin(), shaft.end(), [](const TPrimitive& x) {
        return x.Kind == TPrimitiveKind::Quads;
    });
    EXPECT_EQ(facets, 4 * ShaftFacets) << "top portion, middle, bottom portion, bell";
    const auto [baseRadius, baseDepth] = BaseDisk(belled);
    EXPECT_NEAR(baseRadius, 2.5, 1e-12) << "the bell closes with the base diameter";
    EXPECT_NEAR(baseDepth, 40.0, 1e-12) << "the shaft keeps its length";
    // Ignored portions of a belled shaft are dark olive.
    EXPECT_EQ(shaft[2].Colour.B, 0.0f);
    EXPECT_LT(shaft[2].Colour.R, 0.4f);

    for (auto [ratio, angle] : {std::pair{0.0, 45.0}, std::pair{2.5, 0.0}}) {
        p->RATIO = ratio;
        p->BELANGL = angle;
        const auto [r, d] = BaseDisk(Build());
        EXPECT_NEAR(r, 1.0, 1e-12) << "no bell: a flat disk of the stem diameter";
        EXPECT_NEAR(d, 40.0, 1e-12);
    }
    EXPECT_TRUE(Part(Build(TBlockOptions{.ShowShaft = false}), TScenePart::Shaft, false).empty());
}

TEST_F(SceneTest, DiagramsAgainstDepthEvenWithElevations) {
    TGraphPlot g;
    FillCombined(g, 0.0, 10.0);
    TBlockOptions o;
    o.ShowUltimateEffects = true;
    EXPECT_TRUE(Part(Build(o, nullptr), TScenePart::Diagram, false).empty()) << "no results";
    EXPECT_TRUE(Part(Build(TBlockOptions{}, &g), TScenePart::Diagram, false).empty())
        << "plots not asked for";

    const TScene3D s = Build(o, &g);
    const auto strips = Part(s, TScenePart::Diagram, false);
    ASSERT_EQ(strips.size(), 3u * 4u) << "four pairs of points per curve";
    // The total capacity (largest, 120 at the toe, 40 ft) reaches r + S = D + 5 D at its
    // deepest pair.
    const TPrimitive& last = strips.back();
    ASSERT_EQ(last.Points.size(), 5u) << "the last pair closes back to the shaft";
    EXPECT_DOUBLE_EQ(last.Points[3].Z, 2.0 + 10.0);
    EXPECT_DOUBLE_EQ(last.Points[3].X, -40.0);
    EXPECT_DOUBLE_EQ(last.Points[4].Z, 2.0);
    ASSERT_EQ(s.Labels.size(), 3u);
    EXPECT_EQ(s.Labels[2].Text, "   120.000");
    EXPECT_DOUBLE_EQ(s.Labels[2].At.Z, 2.0 + 5.0);
    // The three labels stand one under another below the toe.
    EXPECT_LT(s.Labels[1].At.X, s.Labels[0].At.X);
    EXPECT_LT(s.Labels[2].At.X, s.Labels[1].At.X);
    EXPECT_LT(s.Labels[0].At.X, -40.0);

    // The same curves stored as elevations below a ground at elevation 100.
    p->UseElevation = 1;
    p->ValElevation = 100;
    TGraphPlot e;
    FillCombined(e, 100.0, -10.0);
    const auto elevated = Part(Build(o, &e), TScenePart::Diagram, false);
    ASSERT_EQ(elevated.size(), strips.size());
    for (std::size_t i = 0; i < strips.size(); ++i)
        for (std::size_t k = 0; k < strips[i].Points.size(); ++k)
            EXPECT_DOUBLE_EQ(elevated[i].Points[k].X, strips[i].Points[k].X);

    // Size factor doubles the width; curves switched off are not drawn.
    o.UltimateEffectsFactor = 2;
    o.ShowSkinFriction = false;
    o.ShowTipResistance = false;
    p->UseElevation = 0;
    const auto wide = Part(Build(o, &g), TScenePart::Diagram, false);
    ASSERT_EQ(wide.size(), 4u);
    EXPECT_DOUBLE_EQ(wide.back().Points[3].Z, 2.0 + 20.0);

    // All values zero: nothing to scale by, nothing drawn.
    TGraphPlot zero;
    zero.SetLineCount(3);
    zero.SetCount(4);
    EXPECT_TRUE(Part(Build(o, &zero), TScenePart::Diagram, false).empty());
}
