// Unit side resistance and end bearing by material: sand (Ko, beta and Kulhawy and Chen
// methods, the blow-count to friction-angle correlation), clay and clay shale (alpha method, Nc
// and the large-base reduction), strong rock (socket side shear and Ksp end bearing), gravelly
// sand and gravel (Rollins et al.), with the uplift reduction, the TRANLM and maximum end-bearing
// limits and the IMOD base reduction. Decomposed and weak rock (codes 5 and 6) have procedures of
// their own under settlement/. Stresses in psf on input, unit resistances in tsf, forces in tons.
#pragma once

#include "run_context.h"

namespace kolmar::engine {

inline constexpr double kAtmosphericPressure = 2116.8; // pa, psf
inline constexpr double kPsfPerTsf = 2000.0;
// The engine's value of pi in shaft geometry and resistances.
inline constexpr double kPi = 3.1416;
// Strong rock of code 4 stronger than this carries the load in end bearing only.
inline constexpr double kEndBearingRockStrength = 144000.0; // psf (1000 psi)

// Friction angle of sand (degrees) from the SPT blow count N and the effective overburden
// pressure p (psi, sigma'v / 144), read from three chart curves (p = 0, 20 and 40 psi) and
// interpolated between them; at most 45 degrees. A negative p counts as 0.
double FrictionAngleFromBlowCount(double N, double p);

// --- Side resistance formulas -----------------------------------------------------------------

// Sand, beta method (O'Neill and Reese): beta = 1.5 - 0.135 sqrt(z), z in ft, times N/15 for
// 0 < N < 15, within 0.25 to 1.2.
double SandBetaFromDepth(double z, double N);
// Sand, Kulhawy and Chen: OCR = max(1, 0.47 pa N^m / sigma'v) with sigma'v in psf; 1 when
// sigma'v is below 1.0e-10; held below 1.0e10.
double KulhawyChenOcr(double N, double m, double sigma_v);
// Sand, Kulhawy and Chen: the lateral coefficient, the smaller of K0 = (1 - sin phi) OCR^sin phi
// and the passive value tan^2(45 + phi/2); phi in degrees.
double KulhawyChenK(double phi, double OCR);
// Clay and clay shale: alpha from cu/pa (psf): 0.55 up to 1.5, falling by 0.1 per unit to 0.4
// at 2.5 and above.
double ClayAlpha(double cu);
// Undrained shear strength (psf) derived from the blow count for side resistance: clay 200 N
// (N/10 tsf), clay shale 2000 N / 53. The base of either takes 200 N when the layer gives no
// strength at both its ends.
double CuFromBlowCount(int code, double N);
// Gravelly sand (Rollins et al.): beta = 2.0 - 0.15 (z in m)^0.75, within 0.25 to 1.8; z in ft.
double GravellySandBeta(double z);
// Gravel (Rollins et al.): beta = 3.4 exp(-0.085 z in m), within 0.25 to 3.0; z in ft.
double GravelBeta(double z);
// Rock socket: 0.15 qu up to 280 psi (40320 psf), 2.5 sqrt(qu in psi) above; qu in psf, tsf out.
double RockUnitSide(double qu);

// --- End-bearing formulas --------------------------------------------------------------------

// Sand and gravels: qb = 0.6 N tsf, 30 tsf when N >= 50 or 0.6 N > 30; without a blow count
// from the friction angle (degrees): 1.0e-5 up to 30, 2.667 (phi - 30) up to 36,
// 2.8 (phi - 36) + 16 up to 41, 30 above.
double SandUnitBase(double N, double phi);
// The IMOD reduction of a sand base: 50 / (12 Bb) for Bb > 4.17 ft, times L / (10 Bb) for a tip
// shallower than 10 Bb; Bb and L in ft.
double SandBaseReduction(double Bb, double L);
// Clay: Nc = min(9, 6 (1 + 0.2 L / Bb)), L the tip depth and Bb the base diameter, ft.
double ClayNc(double L, double Bb);
// Clay, base wider than 6.25 ft (O'Neill and Reese): Fr = min(1, 2.5 / (a 12 Bb + 2.5 b)),
// a = min(0.015, 0.0071 + 0.0021 L/Bb), b = 0.45 sqrt(cu in ksf) within 0.5 to 1.5; 1 otherwise.
double ClayBaseReduction(double Bb, double L, double cu);
// Strong rock (Canadian Foundation Engineering Manual): Ksp = (3 + cs/Bs) / (10 sqrt(1 + 300
// td/cs)), cs the spacing and td the thickness of discontinuities, Bs the socket diameter, ft.
double RockKsp(double cs, double td, double Bs);

// --- Unit resistances of a layer at a depth ---------------------------------------------------

// Uniaxial compressive strength (psf) that governs a strong-rock socket at depth z: the smaller
// of the rock's and the concrete's (a concrete strength not above 0 counts as not given); the
// rock's top value when its interpolated value falls below both end values.
double RockStrengthAt(const Layer& layer, double z);

// The unit side resistance fs (tsf) at depth z held to the layer's maximum unit side resistance
// TRANLM, where that limit (interpolated, in tsf) is above 5.0e-8 tsf.
double LimitSideResistance(const Layer& layer, double z, double fs);

struct SideResistance {
    double fs = 0.0;               // ultimate unit side resistance, tsf
    bool strength_missing = false; // sand without blow count and friction angle: fs = 0
    bool cu_from_blows = false;    // clay whose strength was derived from the blow count
};

// Ultimate unit side resistance at depth z (ft) in a layer of code 1 to 4 or 7 to 9, with the
// vertical effective stress sigma_v (psf) there; the uplift reduction factor RCYCL under uplift
// (soils only) and the layer's TRANLM limit applied. Codes 5 and 6 give 0 here.
SideResistance UnitSideResistance(const InputData& in, const Layer& layer, double z,
                                  double sigma_v);

struct BaseResistance {
    double QB = 0.0;              // ultimate base resistance, tons
    double qb = 0.0;              // unit base resistance over the bearing area, tsf
    double area = 0.0;            // bearing area, sq ft (the socket's for a rock socket)
    bool spacing_missing = false; // strong rock without a spacing of discontinuities: QB = 0
    bool code4_side_only = false; // code 4 rock of 1000 psi or less: the base carries nothing
    bool code4_base_only = false; // code 4 rock stronger than 1000 psi: the base carries the load
};

// Ultimate base resistance in compression of a tip at depth L (ft) bearing on `layer` (code 1
// to 4 or 7 to 9), base diameter Bb (ft); `socket_scale` multiplies the layer's socket diameter
// (the current stem diameter over the initial one). The maximum end bearing of the layer applies.
BaseResistance UltimateBaseResistance(const InputData& in, const Layer& layer, double L, double Bb,
                                      double socket_scale);

// --- Values the analysis derives instead of taking them from the input ------------------------

// True when the capacity analysis derives `what` for the layer (at that end) instead of using
// the input: alpha of clays without both values, Nc of clays without both values, cu of clays
// at an end without strength but with a blow count, beta of the sand beta method and of the
// gravels without both values.
bool Derived(const Layer& layer, Estimated what, End end);
// The derived value at the layer's top or bottom, as the report echoes it; Bb is the base
// diameter (ft) for Nc.
double DerivedValue(const Layer& layer, Estimated what, End end, double Bb);
// Sets the estimate mark of every derived value of every layer.
void MarkDerivedEstimates(InputData& in);

} // namespace kolmar::engine
