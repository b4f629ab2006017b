// Digitized charts of the rock procedures: the strong-rock modulus reduction and settlement
// influence factor, and the weak-rock slump factor, adhesion factor, softening factor, modulus
// ratio and joint factor, each with its lookup rule.
#pragma once

namespace kolmar::engine::rock {

// Strong rock: rock-mass to intact modulus ratio Em/Ei against RQD (percent), linear between
// the chart points and held at the end points outside them (RQD 100 gives 1.0).
double StrongRockModulusRatio(double rqd);

// Strong rock: settlement influence factor of a socket on one of the four chart curves
// (1: Ec/Em = 10, 2: 50, 3: 100, 4: 5000) at x = socket length / socket diameter; linear
// between the chart points, the value at 0 for x <= 0 and the value at 20 for x >= 20.
double InfluenceCurve(int curve, double x);

// Strong rock: influence factor at x for the modulus ratio Ec/Em, interpolated linearly in the
// ratio between the curves and held at curve 1 below 10 and at curve 4 from 5000 on.
double InfluenceFactor(double x, double ec_over_em);

// Weak rock, read by the family-chart rule: the curve c with P(c) <= p < P(c+1) (the first
// curve at or below the first parameter, the last curve at or above the last), the value on it
// linear in the abscissa and held at its end points, then linear in p towards curve c+1.
//
// Slump factor M: parameter the socket mid-depth zc (ft), abscissa the slump (in).
double SlumpFactor(double zc, double slump);
// Adhesion factor alpha of smooth sockets: parameter sigma_n / pa, abscissa qu (psf).
double AdhesionFactor(double sigma_n_over_pa, double qu);
// Softening factor n of smooth sockets: parameter Em / sigma_n, abscissa qu / pa. The chart's
// last curve is Em / sigma_n = 3000; stiffer ratios are read on it.
double SofteningFactor(double em_over_sigma_n, double qu_over_pa);

// Weak rock: rock-mass to intact modulus ratio Em/Ei against RQD (percent), for closed joints
// (interface conditions 1 and 2) or open joints (3 and 4); linear, held at the end points.
double WeakRockModulusRatio(double rqd, bool open_joints);

// Weak rock: joint factor phi_j against Em/Ei; linear, held at the end points.
double JointFactor(double em_over_ei);

} // namespace kolmar::engine::rock
