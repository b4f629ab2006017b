// Decomposed rock and gravel (code 5), a cohesionless intermediate geomaterial: unit side
// resistance and base resistance from blow-count correlations for the capacity analysis, and the
// load-settlement curve of a shaft whose tip lies in it from the closed-form solution for a
// compressible pile in a layer whose stiffness grows with depth.
#pragma once

#include "rock_common.h"

#include <iosfwd>
#include <vector>

namespace kolmar::engine::rock {

// The shaft and profile of one pass of the capacity analysis.
struct DecomposedRockSite {
    std::vector<GeoLayer> layers; // the profile, top layer first
    double WTD = 0.0;             // depth of the water table, ft
    double D = 0.0;               // current stem diameter, ft (base of a layer without socket)
    double diameter_ratio = 1.0;  // current stem diameter / initial stem diameter
    double L = 0.0;               // shaft length of the pass, ft
    double Ec = 0.0;              // elastic modulus of the shaft concrete, psi
    bool si = false;              // SI project: messages and the block in SI units
};

// The values both uses share, for a layer and a depth in it.
struct DecomposedRockValues {
    double sigma_mid = 0.0; // vertical effective stress at the layer's mid-depth, psf
    double B = 0.0;         // socket diameter at the depth, ft (0 without one)
    double Bb = 0.0;        // base diameter, ft: B, or the stem diameter without a socket
    double sigma = 0.0;     // the effective stress used, psf
    double N = 0.0;         // blow count at the depth
    double R = 0.0;         // 0.2 pa N / sigma, -
};

// The shared steps for layer m at the depth z (ft) with the effective stress sigma_z (psf) there.
DecomposedRockValues DecomposedRockValuesAt(const DecomposedRockSite& site, int m, double z,
                                            double sigma_z);

struct DecomposedRockResistance {
    double fs = 0.0; // ultimate unit side resistance, psf
    double QB = 0.0; // ultimate base resistance of a tip at the depth, tons
    int status = 0;  // 0, or KOLMAR_STATUS_INTERNAL when layer m is not a code-5 layer
};

// Capacity use at a computation depth z (ft) in the code-5 layer m, with the vertical effective
// stress sigma_z (psf) at z. Where the effective stress used is not positive, the blow count is
// negative or the values give no finite result, both resistances are 0 and the run notes get a
// warning naming layer and depth; the run goes on.
DecomposedRockResistance DecomposedRockCapacityAt(const DecomposedRockSite& site, int m, double z,
                                                  double sigma_z, std::ostream& run_notes);

struct DecomposedRockSettlement {
    // 0, or KOLMAR_STATUS_BAD_INPUT when the method has no valid value for the shaft (the
    // top-load, top-movement and tip-movement columns are then all zero), or
    // KOLMAR_STATUS_INTERNAL when called for a tip that is not in a code-5 layer.
    int status = 0;
    double QB = 0.0; // the method's ultimate base resistance, tons (to replace the case's QB)
    // Intermediate values, for the tests.
    double Lp = 0.0, EL = 0.0, rho = 0.0, lambda = 0.0, zeta = 0.0, muL = 0.0, K = 0.0;
    double Pt = 0.0; // load at full side mobilization, lb
    double wt = 0.0; // its top movement, ft
};

// Load-settlement use for a tip at site.L in the code-5 layer N, with the effective stress at
// the tip sigma_tip (psf) and the ultimate side resistance of the shaft Qs (tons). Fills the
// top-load and top-movement columns of the block (rows 1 to 15, output units), clears its
// tip-movement column and leaves its tip-load column as it was; writes the load-settlement
// heading to the report, or the no-curve block to the report and the run notes.
DecomposedRockSettlement DecomposedRockLoadSettlement(const DecomposedRockSite& site, int N,
                                                      double sigma_tip, double Qs,
                                                      CurveBlock& block, std::ostream& report,
                                                      std::ostream& run_notes);

} // namespace kolmar::engine::rock
