// Load-settlement curve of a shaft whose tip lies in strong rock (codes 4 and 7): the socket
// settles elastically with an influence factor read by its length ratio and the modulus ratio
// Ec/Em, and the soil layers above the rock add side resistance mobilized along the fine
// normalized side tables. Two curves: lower-bound and upper-bound soil tables.
#pragma once

#include "rock_common.h"

#include <iosfwd>
#include <vector>

namespace kolmar::engine::rock {

// Whether a layer above the rock mobilizes its side resistance along the sand tables (the
// granular materials: sand, decomposed rock or gravel, gravelly sand, gravel) rather than the
// clay tables (the cohesive materials and rock).
bool UsesSandTables(int code);

struct StrongRockInput {
    std::vector<GeoLayer> layers; // the profile, top layer first
    int tip_layer = -1;           // index of the layer holding the tip (TipLayerIndex)
    double L = 0.0;               // shaft length, the depth of the tip, ft
    double D = 0.0;               // current stem diameter, ft
    double diameter_ratio = 1.0;  // current stem diameter / initial stem diameter
    double Ec = 0.0;              // elastic modulus of the shaft concrete, psi
    CapacityProfile capacity;     // the case's capacity table (cumulative QS against length)
    double QB = 0.0;              // ultimate base resistance at the tip, tons
    bool si = false;              // SI project: the block in kN and metres
};

struct StrongRockResult {
    // 0, or KOLMAR_STATUS_BAD_INPUT when the method has no valid value for the shaft (the block
    // is then all zero), or KOLMAR_STATUS_INTERNAL when called for a tip that is not in rock.
    int status = 0;
    // Columns 1-2: the shaft's curve with the lower-bound soil tables; columns 3-4: with the
    // upper-bound tables. Output units.
    CurveBlock block;
    // The socket, in internal units (for the tests and any later report line).
    double zr = 0.0;     // depth of the top of rock, ft
    double Lr = 0.0;     // socket length from the top of rock to the tip, ft
    double B = 0.0;      // socket diameter, ft
    double Em = 0.0;     // rock-mass modulus, tsf
    double I = 0.0;      // settlement influence factor, -
    double Qr = 0.0;     // socket capacity, tons
    int first_rock = -1; // index of the top layer of the rock zone
};

// Computes the two curves, writes the load-settlement heading to the report (or, without a
// valid result, the no-curve block to the report and the run notes) and returns the block.
StrongRockResult StrongRockSettlement(const StrongRockInput& in, std::ostream& report,
                                      std::ostream& run_notes);

} // namespace kolmar::engine::rock
