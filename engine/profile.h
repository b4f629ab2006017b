// The soil profile at any depth: the layer holding a depth, linear interpolation of a layer
// parameter between its top and bottom values, the water table and the vertical effective
// stress, and the whole-foot grid of the capacity computation (layer bottoms rounded to whole
// feet, one computation step in the middle of every foot). Internal English units throughout
// (ft, pcf, psf).
#pragma once

#include "run_context.h"

#include <vector>

namespace kolmar::engine {

inline constexpr double kUnitWeightWater = 62.4; // pcf

// Depths of an SI project are converted with 3.2808 ft per m, so a depth that an English
// project holds on a whole foot comes back a little short of it (10 ft -> 3.048 m -> 9.99988
// ft). Every comparison of a depth with the one-foot grid or the water table allows for this
// round-off: depths closer than GridTolerance count as equal.
inline constexpr double kGridTolerance = 5.0e-5; // relative
double GridTolerance(double z);

// Nearest whole foot, a fraction of 0.5 or more going up (10.4 -> 10, 10.5 -> 11).
double RoundToFoot(double z);

// True when depth z (ft) lies below the water table WTD (ft): the soil there is submerged. A
// depth at the water table is above it.
bool BelowWaterTable(double z, double WTD);

// Index of the layer holding depth z (ft): the first layer whose bottom lies at or below z, so
// that a depth on a boundary belongs to the layer above it. Depths above the ground surface give
// the first layer, depths below the profile the last. -1 for an empty profile.
int LayerAt(const InputData& input, double z);

// Index of the layer a shaft tip at depth z bears on: the first layer whose bottom lies below z,
// so that a tip on a boundary bears on the layer below it; below the profile the last layer.
// -1 for an empty profile.
int TipLayerAt(const InputData& input, double z);

// A layer parameter at depth z (ft), linear between its top and bottom values. Outside the layer
// the nearer end value applies; a layer without thickness gives its top value.
double Interpolate(const Layer& layer, const TopBottom& values, double z);

// Total unit weight (pcf) at depth z, interpolated in the layer holding z; 0 without layers.
double UnitWeightAt(const InputData& input, double z);

// Effective unit weight (pcf) at depth z: the total unit weight there, less the unit weight of
// water below the water table.
double EffectiveUnitWeightAt(const InputData& input, double z);

// Vertical effective stress sigma'v (psf) at depth z (ft), summed down from the surface in steps
// of one foot: every whole foot j <= z adds the effective unit weight at depth j (its bottom);
// the part of the last foot down to z adds its share by the same rule at z. Depths at or above
// the surface give 0.
double SigmaV(const InputData& input, double z);

// The profile of the capacity computation: the input's layers with every bottom (and so every
// top) rounded to the nearest whole foot, so that each computation step lies inside exactly one
// layer. Values at a layer's ends stay those of the input.
InputData GridProfile(const InputData& input);

// Vertical effective stress (psf) at the middle of each of the first `feet` feet of the profile:
// element i (0-based) holds sigma'v at depth i + 0.5. The stress at the bottom of the foot above
// is carried down and the half foot down to the step adds the effective unit weight at the step
// itself, the middle of its foot, so that a water table inside a foot is met where it lies. Equal
// to SigmaV at every step, in one pass.
std::vector<double> StepStresses(const InputData& input, int feet);

} // namespace kolmar::engine
