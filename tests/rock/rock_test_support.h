// Small builders shared by the rock tests: layers, a capacity table that grows linearly by
// layer, and a check that a text holds a line.
#pragma once

#include "settlement/rock/rock_common.h"

#include <string>
#include <vector>

namespace kolmar::engine::rock::test {

inline GeoLayer MakeLayer(int code, double ztop, double zbot) {
    GeoLayer layer;
    layer.code = code;
    layer.ztop = ztop;
    layer.zbot = zbot;
    return layer;
}

inline TopBottom Both(double value) {
    return {value, value};
}

// A capacity table on the one-foot grid down to `bottom` whose side resistance grows by
// `per_foot[i]` tons per foot inside layer i.
inline CapacityProfile LinearCapacity(const std::vector<GeoLayer>& layers,
                                      const std::vector<double>& per_foot, double bottom) {
    CapacityProfile profile;
    double qs = 0.0;
    for (double z = 1.0; z <= bottom; z += 1.0) {
        std::size_t i = 0;
        while (i + 1 < layers.size() && layers[i].zbot < z)
            ++i;
        qs += per_foot[i];
        profile.length_ft.push_back(z);
        profile.side_tons.push_back(qs);
    }
    return profile;
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace kolmar::engine::rock::test
