// The soil profile at any depth: the layer holding a depth, linear interpolation of a layer
// parameter between its top and bottom values, and the vertical effective stress with the water
// table. Internal English units throughout (ft, pcf, psf).
#pragma once

#include "run_context.h"

namespace kolmar::engine {

inline constexpr double kUnitWeightWater = 62.4; // pcf

// Index of the layer holding depth z (ft): the first layer whose bottom lies at or below z, so
// that a depth on a boundary belongs to the layer above it. Depths above the ground surface give
// the first layer, depths below the profile the last. -1 for an empty profile.
int LayerAt(const InputData& input, double z);

// A layer parameter at depth z (ft), linear between its top and bottom values. Outside the layer
// the nearer end value applies; a layer without thickness gives its top value.
double Interpolate(const Layer& layer, const TopBottom& values, double z);

// Total unit weight (pcf) at depth z, interpolated in the layer holding z; 0 without layers.
double UnitWeightAt(const InputData& input, double z);

// Vertical effective stress sigma'v (psf) at depth z (ft), summed down from the surface in steps
// of one foot: every whole foot j <= z adds the unit weight at depth j, less the unit weight of
// water when j lies below the water table WTD; the part of the last foot down to z adds its share
// by the same rule at z. Depths at or above the surface give 0.
double SigmaV(const InputData& input, double z);

} // namespace kolmar::engine
