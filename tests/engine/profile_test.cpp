// Soil profile: layer at a depth, interpolation, and the vertical effective stress stepped down
// foot by foot with the water table.
#include "profile.h"

#include <gtest/gtest.h>

namespace kolmar::engine {
namespace {

Layer MakeLayer(double ztop, double zbot, double gamma_top, double gamma_bottom) {
    Layer layer;
    layer.code = kSand;
    layer.ztop = ztop;
    layer.zbot = zbot;
    layer.GAMMA = {gamma_top, gamma_bottom};
    return layer;
}

InputData Profile(double wtd, std::initializer_list<Layer> layers) {
    InputData input;
    input.WTD = wtd;
    input.layers = layers;
    return input;
}

TEST(ProfileTest, UniformSandWithAWaterTable) {
    const InputData input = Profile(10.0, {MakeLayer(0, 70, 120, 120)});
    EXPECT_DOUBLE_EQ(SigmaV(input, 10.0), 1200.0);
    EXPECT_DOUBLE_EQ(SigmaV(input, 15.0), 1200.0 + 5 * 57.6);
    // The part of the last foot adds its share by the rule at its depth.
    EXPECT_DOUBLE_EQ(SigmaV(input, 10.5), 1200.0 + 0.5 * 57.6);
    EXPECT_DOUBLE_EQ(SigmaV(input, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(SigmaV(input, -3.0), 0.0);

    const InputData submerged = Profile(0.0, {MakeLayer(0, 70, 120, 120)});
    EXPECT_DOUBLE_EQ(SigmaV(submerged, 4.0), 4 * 57.6);
}

// Rock layers carry no unit weight. Below the water table a foot of such rock must add nothing,
// not take off 62.4 psf: 20 ft of sand (120 pcf, water at 10 ft), 20 ft of strong or weak rock,
// then sand again. The stress at 45 ft is the sand's alone: 1200 + 10 x 57.6 + 5 x 57.6.
TEST(ProfileTest, SubmergedRockWithoutUnitWeightLeavesTheStressBelowAsItWas) {
    for (const int rock : {kStrongRockSideOrBase, kWeakRock, kStrongRockSideAndBase}) {
        Layer middle = MakeLayer(20, 40, 0, 0);
        middle.code = rock;
        const InputData input =
            Profile(10.0, {MakeLayer(0, 20, 120, 120), middle, MakeLayer(40, 80, 120, 120)});
        EXPECT_DOUBLE_EQ(SigmaV(input, 30.0), 1200.0 + 10 * 57.6) << "rock code " << rock;
        EXPECT_DOUBLE_EQ(SigmaV(input, 45.0), 1200.0 + 15 * 57.6) << "rock code " << rock;
        EXPECT_DOUBLE_EQ(EffectiveUnitWeightAt(input, 30.0), 0.0) << "rock code " << rock;
    }
}

TEST(ProfileTest, EachFootTakesTheUnitWeightOfTheLayerAtItsDepth) {
    // 100 pcf to 2 ft, then 110 rising to 130 pcf at 12 ft; dry.
    const InputData input = Profile(50.0, {MakeLayer(0, 2, 100, 100), MakeLayer(2, 12, 110, 130)});
    EXPECT_EQ(LayerAt(input, 2.0), 0); // a boundary depth belongs to the layer above
    EXPECT_EQ(LayerAt(input, 2.01), 1);
    EXPECT_EQ(LayerAt(input, 99.0), 1);
    EXPECT_DOUBLE_EQ(UnitWeightAt(input, 7.0), 120.0);
    // Feet 1, 2 in the first layer; 3 and 4 at 112 and 114 pcf.
    EXPECT_DOUBLE_EQ(SigmaV(input, 4.0), 100 + 100 + 112 + 114);
}

TEST(ProfileTest, BelowTheProfileTheDeepestUnitWeightContinues) {
    // The bulk sum below the last layer equals stepping through an equal layer foot by foot.
    const InputData shallow = Profile(25.5, {MakeLayer(0, 10, 110, 120)});
    const InputData deep = Profile(25.5, {MakeLayer(0, 10, 110, 120), MakeLayer(10, 80, 120, 120)});
    for (const double z : {10.0, 11.0, 25.0, 26.0, 40.3, 79.0})
        EXPECT_NEAR(SigmaV(shallow, z), SigmaV(deep, z), 1e-9) << "z = " << z;
}

TEST(ProfileTest, InterpolationInsideAndAtTheEndsOfALayer) {
    const Layer layer = MakeLayer(3, 9, 100, 130);
    EXPECT_DOUBLE_EQ(Interpolate(layer, layer.GAMMA, 3.0), 100.0);
    EXPECT_DOUBLE_EQ(Interpolate(layer, layer.GAMMA, 5.0), 110.0);
    EXPECT_DOUBLE_EQ(Interpolate(layer, layer.GAMMA, 9.0), 130.0);
    EXPECT_DOUBLE_EQ(Interpolate(layer, layer.GAMMA, 20.0), 130.0);
    const Layer flat = MakeLayer(3, 3, 100, 130);
    EXPECT_DOUBLE_EQ(Interpolate(flat, flat.GAMMA, 3.0), 100.0);
}

TEST(ProfileTest, LayerBottomsGoToTheNearestWholeFoot) {
    const InputData input =
        Profile(5.0, {MakeLayer(0, 10.4, 110, 110), MakeLayer(10.4, 20.5, 120, 120),
                      MakeLayer(20.5, 20.7, 125, 125), MakeLayer(20.7, 30.49, 130, 130)});
    const InputData grid = GridProfile(input);
    const double bottoms[] = {10, 21, 21, 30};
    for (std::size_t i = 0; i < grid.layers.size(); ++i) {
        EXPECT_EQ(grid.layers[i].zbot, bottoms[i]) << "layer " << i + 1;
        EXPECT_EQ(grid.layers[i].ztop, i == 0 ? 0.0 : bottoms[i - 1]) << "layer " << i + 1;
    }
    // A 10 ft boundary of an English project comes back from SI as 3.048 m x 3.2808 ft/m; it
    // still rounds, and compares with the water table, as 10 ft.
    EXPECT_EQ(RoundToFoot(10.5 * 0.3048 * 3.2808), 11.0);
    EXPECT_FALSE(BelowWaterTable(10.0, 10.0 * 0.3048 * 3.2808));
    EXPECT_TRUE(BelowWaterTable(10.01, 10.0));
}

TEST(ProfileTest, AShaftTipOnABoundaryBearsOnTheLayerBelow) {
    const InputData input =
        Profile(50.0, {MakeLayer(0, 10, 110, 110), MakeLayer(10, 20, 120, 120)});
    EXPECT_EQ(TipLayerAt(input, 9.0), 0);
    EXPECT_EQ(TipLayerAt(input, 10.0), 1);
    EXPECT_EQ(TipLayerAt(input, 20.0), 1); // the bottom of the profile: the last layer
    EXPECT_EQ(LayerAt(input, 10.0), 0);    // while the foot ending there is the upper layer's
}

// The stress at every computation step equals the foot-by-foot sum down to the step; the half
// foot above the step takes the unit weight and the water rule at the step itself, so a water
// table inside a foot is met where it lies.
TEST(ProfileTest, StepStressesAtTheMiddleOfEveryFoot) {
    for (const double wtd : {0.0, 3.0, 3.7, 3.2, 100.0}) {
        const InputData input =
            Profile(wtd, {MakeLayer(0, 4, 100, 116), MakeLayer(4, 9, 120, 130)});
        const std::vector<double> stress = StepStresses(input, 12);
        ASSERT_EQ(stress.size(), 12u);
        for (int i = 0; i < 12; ++i)
            EXPECT_NEAR(stress[static_cast<std::size_t>(i)], SigmaV(input, i + 0.5), 1e-9)
                << "WTD " << wtd << ", step " << i + 0.5;
    }
    // Water table at 3.7 ft: the step at 3.5 ft is dry, its half foot counted at 112 pcf.
    const InputData input = Profile(3.7, {MakeLayer(0, 4, 100, 116), MakeLayer(4, 9, 120, 130)});
    EXPECT_DOUBLE_EQ(StepStresses(input, 4)[3], 104 + 108 + 112 + 0.5 * 114);
}

} // namespace
} // namespace kolmar::engine
