// Soil profile: layer at a depth, interpolation, vertical effective stress (one-foot stepping),
// the whole-foot grid of the capacity computation.
#include "profile.h"

#include <algorithm>
#include <cmath>

namespace kolmar::engine {

double GridTolerance(double z) {
    return kGridTolerance * std::max(1.0, std::fabs(z));
}

double RoundToFoot(double z) {
    return std::floor(z + 0.5 + GridTolerance(z));
}

bool BelowWaterTable(double z, double WTD) {
    return z > WTD + GridTolerance(WTD);
}

int LayerAt(const InputData& input, double z) {
    const int count = static_cast<int>(input.layers.size());
    if (count == 0)
        return -1;
    for (int i = 0; i < count; ++i) {
        const double bottom = input.layers[static_cast<std::size_t>(i)].zbot;
        if (z <= bottom + GridTolerance(bottom))
            return i;
    }
    return count - 1;
}

int TipLayerAt(const InputData& input, double z) {
    const int count = static_cast<int>(input.layers.size());
    if (count == 0)
        return -1;
    for (int i = 0; i < count; ++i) {
        const double bottom = input.layers[static_cast<std::size_t>(i)].zbot;
        if (z < bottom - GridTolerance(bottom))
            return i;
    }
    return count - 1;
}

double Interpolate(const Layer& layer, const TopBottom& values, double z) {
    const double thickness = layer.zbot - layer.ztop;
    if (!(thickness > 0.0) || z <= layer.ztop)
        return values[kTop];
    if (z >= layer.zbot)
        return values[kBottom];
    return values[kTop] + (z - layer.ztop) * (values[kBottom] - values[kTop]) / thickness;
}

double UnitWeightAt(const InputData& input, double z) {
    const int i = LayerAt(input, z);
    if (i < 0)
        return 0.0;
    const Layer& layer = input.layers[static_cast<std::size_t>(i)];
    return Interpolate(layer, layer.GAMMA, z);
}

namespace {
// The rock kinds carry no unit weight in their records. A foot of such rock adds nothing to the
// effective stress: without its weight it must not take off the water's either, or the stress
// below a submerged rock layer would fall by 62.4 psf per foot of rock and turn negative. Leaving
// out the rock's weight keeps the stress of the layers below on the low, conservative side.
bool CarriesNoUnitWeight(const InputData& input, double z) {
    const int i = LayerAt(input, z);
    if (i < 0)
        return false;
    const int code = input.layers[static_cast<std::size_t>(i)].code;
    return code == kStrongRockSideOrBase || code == kWeakRock || code == kStrongRockSideAndBase;
}
} // namespace

double EffectiveUnitWeightAt(const InputData& input, double z) {
    if (CarriesNoUnitWeight(input, z))
        return 0.0;
    const double gamma = UnitWeightAt(input, z);
    return BelowWaterTable(z, input.WTD) ? gamma - kUnitWeightWater : gamma;
}

double SigmaV(const InputData& input, double z) {
    if (!(z > 0.0))
        return 0.0;
    const double whole = std::floor(z);
    // Below the deepest layer bottom the unit weight no longer changes, so the whole feet there
    // are summed at once (dry above the water table, submerged below it).
    const double deepest = input.layers.empty() ? 0.0 : input.layers.back().zbot;
    const double stepped = std::min(whole, std::floor(std::max(deepest, 0.0)) + 1.0);
    double sigma = 0.0;
    for (double j = 1.0; j <= stepped; j += 1.0)
        sigma += EffectiveUnitWeightAt(input, j);
    if (whole > stepped && !CarriesNoUnitWeight(input, stepped + 1.0)) {
        const double gamma = UnitWeightAt(input, stepped + 1.0);
        const double last_dry = std::floor(input.WTD + GridTolerance(input.WTD));
        const double dry = std::clamp(last_dry - stepped, 0.0, whole - stepped);
        const double wet = whole - stepped - dry;
        sigma += dry * gamma + wet * (gamma - kUnitWeightWater);
    }
    const double part = z - whole;
    if (part > 0.0)
        sigma += part * EffectiveUnitWeightAt(input, z);
    return sigma;
}

InputData GridProfile(const InputData& input) {
    InputData grid = input;
    double top = 0.0;
    for (Layer& layer : grid.layers) {
        layer.ztop = top;
        layer.zbot = std::max(RoundToFoot(layer.zbot), top);
        top = layer.zbot;
    }
    return grid;
}

std::vector<double> StepStresses(const InputData& input, int feet) {
    std::vector<double> stress(static_cast<std::size_t>(std::max(feet, 0)));
    double above = 0.0; // sigma'v at the top of the current foot
    for (int i = 0; i < feet; ++i) {
        const double top = static_cast<double>(i);
        stress[static_cast<std::size_t>(i)] = above + 0.5 * EffectiveUnitWeightAt(input, top + 0.5);
        above += EffectiveUnitWeightAt(input, top + 1.0);
    }
    return stress;
}

} // namespace kolmar::engine
