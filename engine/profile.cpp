// Soil profile: layer at a depth, interpolation, vertical effective stress (one-foot stepping).
#include "profile.h"

#include <algorithm>
#include <cmath>

namespace kolmar::engine {

int LayerAt(const InputData& input, double z) {
    const int count = static_cast<int>(input.layers.size());
    if (count == 0)
        return -1;
    for (int i = 0; i < count; ++i)
        if (z <= input.layers[static_cast<std::size_t>(i)].zbot)
            return i;
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

double SigmaV(const InputData& input, double z) {
    if (!(z > 0.0))
        return 0.0;
    // Effective unit weight at a depth: submerged below the water table.
    const auto effective = [&input](double depth) {
        const double gamma = UnitWeightAt(input, depth);
        return depth > input.WTD ? gamma - kUnitWeightWater : gamma;
    };
    const double whole = std::floor(z);
    // Below the deepest layer bottom the unit weight no longer changes, so the whole feet there
    // are summed at once (dry above the water table, submerged below it).
    const double deepest = input.layers.empty() ? 0.0 : input.layers.back().zbot;
    const double stepped = std::min(whole, std::floor(std::max(deepest, 0.0)) + 1.0);
    double sigma = 0.0;
    for (double j = 1.0; j <= stepped; j += 1.0)
        sigma += effective(j);
    if (whole > stepped) {
        const double gamma = UnitWeightAt(input, stepped + 1.0);
        const double dry = std::clamp(std::floor(input.WTD) - stepped, 0.0, whole - stepped);
        const double wet = whole - stepped - dry;
        sigma += dry * gamma + wet * (gamma - kUnitWeightWater);
    }
    const double part = z - whole;
    if (part > 0.0)
        sigma += part * effective(z);
    return sigma;
}

} // namespace kolmar::engine
