// Weak rock (code 6), a cohesive intermediate geomaterial with a socketed shaft: unit side
// resistance and base resistance for the capacity analysis, and the load-settlement curve of a
// shaft whose tip lies in it. Both uses share the socket geometry, the normal stress of the
// fluid concrete, the adhesion, the rock-mass modulus and joint factor, the stiffness factors of
// the socket and a hyperbolic mobilization rule.
#pragma once

#include "rock_common.h"

#include <array>
#include <cstddef>
#include <iosfwd>
#include <vector>

namespace kolmar::engine::rock {

// The shaft and profile of one pass.
struct WeakRockShaft {
    std::vector<GeoLayer> layers; // the profile, top layer first
    double L = 0.0;               // shaft length of the pass, ft
    double D = 0.0;               // current stem diameter, ft
    double diameter_ratio = 1.0;  // current stem diameter / initial stem diameter
    double Ec = 0.0;              // elastic modulus of the shaft concrete, psi
    bool si = false;              // SI project: the block in kN and metres
};

// The range warnings of the capacity use.
enum class WeakRockWarning : int { short_socket, long_socket, modulus, diameter, stiffness, count };

// What the capacity use keeps across the depths of one capacity pass, side and base alike.
// Reset before each pass.
struct WeakRockState {
    double ei_sum = 0.0; // sum of the intact-rock moduli met so far, psi
    int ei_count = 0;    // their number; the rock-mass modulus uses their running mean
    // The warnings that already reached ROCKMSG.DAT in this pass (the two length-ratio warnings
    // share one flag).
    bool length_warned = false;
    bool modulus_warned = false;
    bool diameter_warned = false;
    bool stiffness_warned = false;
    bool error_written = false;
    double first_side = 0.0; // the first mobilized side resistance of the pass, psf
    // The computation depth whose warnings the run notes hold, and which of them they hold: the
    // side resistance of a foot and the base of a tip at its bottom are one computation depth,
    // and each warning is written once for it.
    int noted_step = -1;
    std::array<bool, static_cast<std::size_t>(WeakRockWarning::count)> noted{};

    void Reset() { *this = WeakRockState{}; }
};

// Socket geometry at a depth z (ft).
struct WeakRockGeometry {
    double rock_top = 0.0; // top of the first weak or strong rock layer, ft
    double Lz = 0.0;       // socket length at z: at least one socket diameter, ft
    double Ls = 0.0;       // socket length of the shaft, L - rock_top, ft
};
WeakRockGeometry WeakRockSocketGeometry(const WeakRockShaft& shaft, double z);

// Stiffness factors of the socket for r = sqrt(Lz / B) and g = log10(Ec / Em).
struct WeakRockStiffness {
    double gamma1 = 0.0;
    double gamma2 = 0.0;
};
WeakRockStiffness WeakRockStiffnessFactors(double r, double g);

// Mobilized unit side resistance for the limiting adhesion fa, the softening factor n and the
// normalized stiffness K at the movement: linear while K <= n, then hyperbolic towards fa.
double MobilizedSide(double fa, double n, double K);

struct WeakRockResistance {
    double fs = 0.0; // ultimate unit side resistance, psf
    double QB = 0.0; // ultimate base resistance of a tip at the depth, tons
    // 0, or KOLMAR_STATUS_BAD_INPUT when the layer's values allow no result (both resistances
    // are then 0 and the error block went to the run notes and ROCKMSG.DAT once per pass), or
    // KOLMAR_STATUS_INTERNAL when layer m is not a weak-rock layer.
    int status = 0;
};

// Capacity use at the depth z (ft below the surface) in the weak-rock layer m, for the
// computation depth `step` of the capacity grid: foot `step` (its middle at step + 0.5 ft) for
// the side resistance, a tip at its bottom (step + 1 ft) for the base. Writes the range warnings
// (socket length ratio, Ec/Em, socket diameter, stiffness) to the run notes once per computation
// depth and to rock_msg the first time of the pass.
WeakRockResistance WeakRockCapacityAt(const WeakRockShaft& shaft, int m, double z, int step,
                                      WeakRockState& state, std::ostream& run_notes,
                                      std::ostream& rock_msg);

struct WeakRockSettlement {
    // 0, or KOLMAR_STATUS_BAD_INPUT when the method has no valid value for the shaft (the
    // top-load, top-movement and tip-movement columns are then all zero), or
    // KOLMAR_STATUS_INTERNAL when called for a tip that is not in a weak-rock layer.
    int status = 0;
    double QB = 0.0; // base resistance mobilized at the last step, tons
};

// Load-settlement use for a tip at shaft.L in the weak-rock layer N, with the case's capacity
// table. Fills the top-load and top-movement columns of the block (rows 1 to 15, output units,
// with the elastic shortening of the shaft above the socket), clears its tip-movement column and
// leaves its tip-load column as it was; writes the load-settlement heading to the report, or the
// no-curve block to the report and the run notes.
WeakRockSettlement WeakRockLoadSettlement(const WeakRockShaft& shaft, int N,
                                          const CapacityProfile& capacity, CurveBlock& block,
                                          std::ostream& report, std::ostream& run_notes);

} // namespace kolmar::engine::rock
