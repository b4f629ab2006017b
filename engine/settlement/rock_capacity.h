// What the capacity analysis hands the decomposed-rock and weak-rock procedures at one depth, and
// what they hand back: the unit side resistance of the depth and the base resistance of a tip
// there. Shared by settlement/decomposed_rock.* and settlement/weak_rock.*.
#pragma once

namespace kolmar::engine {

struct RockCapacityQuery {
    int layer = -1;            // index of the layer holding the depth
    double z = 0.0;            // depth, ft
    double sigma_v = 0.0;      // vertical effective stress at z, psf
    double length = 0.0;       // shaft length the procedure assumes, ft
    double diameter = 0.0;     // current stem diameter, ft
    double socket_scale = 1.0; // current stem diameter over DSTART; scales the socket diameter
};

struct RockCapacity {
    double fs = 0.0; // ultimate unit side resistance at the depth, psf
    double QB = 0.0; // ultimate base resistance of a tip at the depth, tons
};

} // namespace kolmar::engine
