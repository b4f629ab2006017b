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

} // namespace
} // namespace kolmar::engine
