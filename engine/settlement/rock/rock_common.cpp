// Shared pieces of the rock procedures: layer adapter, tip layer, capacity lookup, output units
// and the message blocks.
#include "rock_common.h"

#include "format.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace kolmar::engine::rock {

double GeoLayer::At(const TopBottom& values, double below_top) const {
    const double t = Thickness();
    if (!(t > 0.0))
        return values[kTop];
    const double f = std::clamp(below_top, 0.0, t);
    return values[kTop] + (values[kBottom] - values[kTop]) * f / t;
}

std::vector<GeoLayer> GeoLayersOf(const InputData& input) {
    std::vector<GeoLayer> layers;
    layers.reserve(input.layers.size());
    for (const Layer& from : input.layers) {
        GeoLayer& to = layers.emplace_back();
        to.code = from.code;
        to.ztop = from.ztop;
        to.zbot = from.zbot;
        to.GAMMA = from.GAMMA;
        to.BLOWS = from.BLOWS;
        to.EGM = from.EGM;
        to.BDS = from.BDS;
        to.QUR = from.QUR;
        to.EL = from.EL;
        to.RQD = from.RQD;
        to.SLUMP = from.SLUMP;
        to.DELTA = from.DELTA;
        to.ICOND = from.ICOND[kTop];
    }
    return layers;
}

int TipLayerIndex(const std::vector<GeoLayer>& layers, double tip) {
    const int count = static_cast<int>(layers.size());
    for (int i = 0; i < count; ++i)
        if (layers[static_cast<std::size_t>(i)].zbot > tip)
            return i;
    return count - 1;
}

double CapacityProfile::SideAt(double z) const {
    const std::size_t n = std::min(length_ft.size(), side_tons.size());
    if (n == 0 || !(z > 0.0))
        return 0.0;
    double z0 = 0.0;
    double q0 = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double z1 = length_ft[i];
        const double q1 = side_tons[i];
        if (z <= z1) {
            if (!(z1 > z0))
                return q1;
            return q0 + (q1 - q0) * (z - z0) / (z1 - z0);
        }
        z0 = z1;
        q0 = q1;
    }
    return side_tons[n - 1];
}

double GridDepth(double z) {
    return std::floor(z + 0.5);
}

void ToOutputUnits(std::array<double, kCurveRows>& load, std::array<double, kCurveRows>& movement,
                   bool si) {
    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (!(movement[i] > 0.0))
            continue;
        if (si) {
            movement[i] /= kFtPerM;
            load[i] *= kKnPerTon;
        } else {
            movement[i] *= kInPerFt;
        }
    }
}

void WriteLoadSettlementHeading(std::ostream& os) {
    WriteBlankLines(os, 2);
    WriteLine(os, Blanks(15) + "       LOAD SETTLEMENT RELATIONSHIP      ");
    WriteLine(os, Blanks(15) + "------------------------------------------   ");
}

void WriteNoCurveBlock(std::ostream& os, std::string_view material,
                       const std::vector<std::string>& reasons) {
    WriteBlankLines(os, 2);
    WriteLine(os, Blanks(5) + "*********************WARNING**********************");
    WriteLine(os,
              Blanks(5) + "NO LOAD-SETTLEMENT CURVE FOR A TIP IN " + std::string(material) + ":");
    for (const std::string& reason : reasons)
        WriteLine(os, Blanks(5) + reason);
    WriteLine(os, Blanks(5) + "THE LOAD-SETTLEMENT ROWS ARE LEFT EMPTY AND THE RUN ENDS.");
    WriteBlankLines(os, 2);
}

void WriteWarningFrame(std::ostream& os, const std::vector<std::string>& lines) {
    WriteLine(os, "                     WARNING MESSAGE                ");
    WriteLine(os, Blanks(3) + Repeat('-', 60));
    for (const std::string& line : lines)
        WriteLine(os, line);
    WriteBlankLines(os, 2);
}

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace kolmar::engine::rock
