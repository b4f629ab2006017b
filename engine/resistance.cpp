// Unit resistances by material: the blow-count to friction-angle correlation of sands, the side
// resistance formulas and the end bearing of every material the capacity analysis computes
// itself, and the values it derives in place of missing input.
#include "resistance.h"

#include "checks.h"
#include "profile.h"
#include "transcendental.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <span>

namespace kolmar::engine {
namespace {

struct ChartPoint {
    double N;   // SPT blow count, blows per foot
    double phi; // friction angle, degrees
};

// Friction angle against blow count at three effective overburden pressures.
constexpr ChartPoint kCurveC[] = {{0, 0},   {2, 32},  {4, 34}, {6, 36},
                                  {10, 38}, {15, 42}, {20, 45}}; // p = 0 psi
constexpr ChartPoint kCurveB[] = {{6, 30},  {10, 32}, {15, 34}, {20, 36}, {25, 37}, {30, 39},
                                  {35, 40}, {40, 41}, {45, 42}, {50, 44}, {55, 45}}; // p = 20 psi
constexpr ChartPoint kCurveA[] = {{10, 31}, {15, 32}, {20, 34}, {25, 35}, {30, 36}, {35, 36},
                                  {40, 37}, {45, 38}, {50, 39}, {55, 39}, {60, 40}, {65, 41},
                                  {70, 42}, {75, 42}, {80, 43}, {85, 44}, {90, 44}}; // p = 40 psi

// The curve at N, linear between its points and held at its end values outside them.
double Curve(std::span<const ChartPoint> curve, double N) {
    if (N <= curve.front().N)
        return curve.front().phi;
    for (std::size_t i = 1; i < curve.size(); ++i) {
        if (N <= curve[i].N) {
            const ChartPoint& a = curve[i - 1];
            const ChartPoint& b = curve[i];
            return a.phi + (N - a.N) * (b.phi - a.phi) / (b.N - a.N);
        }
    }
    return curve.back().phi;
}

double C(double N) {
    return Curve(kCurveC, N);
}
double B(double N) {
    return Curve(kCurveB, N);
}
double A(double N) {
    return Curve(kCurveA, N);
}

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Thresholds above which both end values of a method value count as given.
constexpr double kGivenCoefficient = 1.0e-5; // Ko, beta, Nc
constexpr double kGivenAlpha = 1.0e-8;
// A TRANLM limit (tsf) binds when it is above this.
constexpr double kSideLimitFloor = 5.0e-8;

bool BothAbove(const TopBottom& values, double threshold) {
    return values[kTop] > threshold && values[kBottom] > threshold;
}

bool Uplift(const InputData& in) {
    return in.KCYCL == 2;
}

// The stress term of a soil method: sigma'v (never below 0), reduced under uplift.
double StressTerm(const InputData& in, double sigma_v) {
    const double stress = std::max(sigma_v, 0.0);
    return Uplift(in) ? stress * in.RCYCL : stress;
}

bool IsClay(int code) {
    return code == kClay || code == kClayShale;
}

bool UsesBeta(const Layer& layer) {
    return (layer.code == kSand && layer.ISIDE == kBetaMethod) || layer.code == kGravellySand ||
           layer.code == kGravel;
}

// Beta of a beta-method layer at depth z when its input values are not both given.
double BetaFormula(const Layer& layer, double z, double N) {
    switch (layer.code) {
    case kGravellySand:
        return GravellySandBeta(z);
    case kGravel:
        return GravelBeta(z);
    default:
        return SandBetaFromDepth(z, N);
    }
}

// The undrained shear strength (psf) at depth z, derived from the blow count where none is given.
double ClayStrengthAt(const Layer& layer, double z, bool* from_blows) {
    const double cu = Interpolate(layer, layer.CU, z);
    const double N = Interpolate(layer, layer.BLOWS, z);
    if (cu < 1.0e-5 && N > 0.0) {
        if (from_blows)
            *from_blows = true;
        return CuFromBlowCount(layer.code, N);
    }
    return std::max(cu, 0.0);
}

// The undrained shear strength (psf) of a clay or shale base at the tip depth L. A layer without
// a strength at either end takes it from the blow count as N/10 tsf, shale as well as clay: the
// shale's side rule 2000 N / 53 psf is a correlation for side resistance only.
double ClayBaseStrengthAt(const Layer& layer, double L) {
    if (layer.CU[kTop] <= 0.0 && layer.CU[kBottom] <= 0.0)
        return CuFromBlowCount(kClay, std::max(Interpolate(layer, layer.BLOWS, L), 0.0));
    return std::max(Interpolate(layer, layer.CU, L), 0.0);
}

// Interface friction angle (degrees): delta where the layer gives one, phi otherwise.
double InterfaceAngle(const Layer& layer, double z, double phi) {
    const bool given = layer.DELTA[kTop] > 0.0 || layer.DELTA[kBottom] > 0.0;
    return given ? Interpolate(layer, layer.DELTA, z) : phi;
}

SideResistance SandSide(const InputData& in, const Layer& layer, double z, double sigma_v) {
    SideResistance out;
    const double N = Interpolate(layer, layer.BLOWS, z);
    const double phi = Interpolate(layer, layer.PHI, z);
    if (SandStrengthMissing(N, phi)) {
        out.strength_missing = true;
        return out;
    }
    const double stress = StressTerm(in, sigma_v);
    const double tan_delta = math::Tan(InterfaceAngle(layer, z, phi) * kRadiansPerDegree);
    switch (layer.ISIDE) {
    case kKoMethod:
        out.fs = Interpolate(layer, layer.KO, z) * stress * tan_delta / kPsfPerTsf;
        break;
    case kBetaMethod: {
        const double beta = BothAbove(layer.BETA, kGivenCoefficient)
                                ? Interpolate(layer, layer.BETA, z)
                                : SandBetaFromDepth(z, N);
        out.fs = std::min(beta * stress / kPsfPerTsf, 2.1);
        break;
    }
    case kKulhawyChenMethod: {
        const double OCR = KulhawyChenOcr(N, Interpolate(layer, layer.MEXP, z), sigma_v);
        out.fs = KulhawyChenK(phi, OCR) * stress * tan_delta / kPsfPerTsf;
        break;
    }
    default:
        break;
    }
    return out;
}

} // namespace

double FrictionAngleFromBlowCount(double N, double p) {
    p = std::max(p, 0.0);
    if (p <= 20.0) {
        if (N < 6.0)
            return C(N) - (p / 20.0) * (C(N) - 30.0);
        if (N <= 20.0)
            return C(N) - (p / 20.0) * (C(N) - B(N));
        if (N <= 55.0)
            return B(N) + ((20.0 - p) / 20.0) * (45.0 - B(N));
        return 45.0;
    }
    if (p < 40.0) {
        if (N <= 6.0)
            return 30.0 * N / 6.0;
        if (N < 10.0)
            return 30.0 + 0.5 * (N - 6.0);
        if (N <= 55.0)
            return B(N) - ((p - 20.0) / 20.0) * (B(N) - A(N));
        if (N <= 90.0)
            return A(N) + ((40.0 - p) / 20.0) * (45.0 - A(N));
        return 45.0;
    }
    if (N <= 10.0)
        return 30.0 * N / 10.0;
    if (N <= 90.0)
        return A(N);
    return 45.0;
}

double SandBetaFromDepth(double z, double N) {
    double beta = 1.5 - 0.135 * std::sqrt(std::max(z, 0.0));
    if (N > 0.0 && N < 15.0)
        beta *= N / 15.0;
    return std::clamp(beta, 0.25, 1.2);
}

double KulhawyChenOcr(double N, double m, double sigma_v) {
    if (sigma_v < 1.0e-10)
        return 1.0;
    // 994.37897 = 0.47 pa.
    const double ocr = 994.37897 * math::Pow(std::max(N, 0.0), m) / sigma_v;
    if (!std::isfinite(ocr))
        return 1.0e10;
    return std::clamp(ocr, 1.0, 1.0e10);
}

double KulhawyChenK(double phi, double OCR) {
    const double sin_phi = math::Sin(phi * kRadiansPerDegree);
    const double K0 = (1.0 - sin_phi) * math::Pow(std::max(OCR, 1.0), sin_phi);
    const double passive = math::Pow(math::Tan((45.0 + phi / 2.0) * kRadiansPerDegree), 2.0);
    return std::min(K0, passive);
}

double ClayAlpha(double cu) {
    const double ratio = cu / kAtmosphericPressure;
    if (ratio <= 1.5)
        return 0.55;
    if (ratio < 2.5)
        return 0.55 - 0.1 * (ratio - 1.5);
    return 0.4;
}

double CuFromBlowCount(int code, double N) {
    return code == kClayShale ? 2000.0 * N / 53.0 : 200.0 * N;
}

double GravellySandBeta(double z) {
    const double beta = 2.0 - 0.15 * math::Pow(std::max(z, 0.0) * 0.3048, 0.75);
    return std::clamp(beta, 0.25, 1.8);
}

double GravelBeta(double z) {
    // 0.025908 per ft = 0.085 per m.
    return std::clamp(3.4 * math::Exp(-0.025908 * std::max(z, 0.0)), 0.25, 3.0);
}

double RockUnitSide(double qu) {
    if (qu <= 40320.0)
        return 0.15 * std::max(qu, 0.0) / kPsfPerTsf;
    return 2.5 * std::sqrt(qu / 144.0) * 144.0 / kPsfPerTsf;
}

double SandUnitBase(double N, double phi) {
    if (N > 0.0) {
        const double qb = 0.6 * N;
        return (N >= 50.0 || qb > 30.0) ? 30.0 : qb;
    }
    if (phi <= 30.0)
        return 1.0e-5;
    if (phi <= 36.0)
        return 2.667 * (phi - 30.0);
    if (phi <= 41.0)
        return 2.8 * (phi - 36.0) + 16.0;
    return 30.0;
}

double SandBaseReduction(double Bb, double L) {
    double factor = 1.0;
    if (Bb > 4.17)
        factor *= 50.0 / (12.0 * Bb);
    if (L < 10.0 * Bb)
        factor *= std::max(L, 0.0) / (10.0 * Bb);
    return factor;
}

double ClayNc(double L, double Bb) {
    return std::min(9.0, 6.0 * (1.0 + 0.2 * L / Bb));
}

double ClayBaseReduction(double Bb, double L, double cu) {
    if (!(Bb > 6.25))
        return 1.0;
    const double a = std::min(0.015, 0.0071 + 0.0021 * L / Bb);
    const double b = std::clamp(0.45 * std::sqrt(std::max(cu, 0.0) / 1000.0), 0.5, 1.5);
    return std::min(1.0, 2.5 / (a * 12.0 * Bb + 2.5 * b));
}

double RockKsp(double cs, double td, double Bs) {
    return (3.0 + cs / Bs) / (10.0 * std::sqrt(1.0 + 300.0 * std::max(td, 0.0) / cs));
}

double RockStrengthAt(const Layer& layer, double z) {
    double rock = Interpolate(layer, layer.QUR, z);
    if (rock < layer.QUR[kTop] && rock < layer.QUR[kBottom])
        rock = layer.QUR[kTop];
    const double concrete = Interpolate(layer, layer.QUCON, z);
    return concrete > 0.0 ? std::min(rock, concrete) : rock;
}

double LimitSideResistance(const Layer& layer, double z, double fs) {
    const double limit = Interpolate(layer, layer.TRANLM, z) / kPsfPerTsf;
    return limit > kSideLimitFloor ? std::min(fs, limit) : fs;
}

SideResistance UnitSideResistance(const InputData& in, const Layer& layer, double z,
                                  double sigma_v) {
    SideResistance out;
    switch (layer.code) {
    case kSand:
        out = SandSide(in, layer, z, sigma_v);
        break;
    case kClay:
    case kClayShale: {
        const double cu = ClayStrengthAt(layer, z, &out.cu_from_blows);
        out.cu_from_blows = out.cu_from_blows && layer.code == kClay;
        const double alpha = BothAbove(layer.ALPHA, kGivenAlpha)
                                 ? Interpolate(layer, layer.ALPHA, z)
                                 : ClayAlpha(cu);
        out.fs = alpha * (Uplift(in) ? cu * in.RCYCL : cu) / kPsfPerTsf;
        break;
    }
    case kGravellySand:
    case kGravel: {
        const double beta = BothAbove(layer.BETA, kGivenCoefficient)
                                ? Interpolate(layer, layer.BETA, z)
                                : BetaFormula(layer, z, 0.0);
        out.fs = beta * StressTerm(in, sigma_v) / kPsfPerTsf;
        break;
    }
    case kStrongRockSideOrBase:
    case kStrongRockSideAndBase: {
        const double qu = RockStrengthAt(layer, z);
        // Code 4 rock strong enough to carry the load in end bearing adds no side resistance.
        if (layer.code == kStrongRockSideOrBase && qu > kEndBearingRockStrength)
            break;
        out.fs = RockUnitSide(qu);
        break;
    }
    default:
        break;
    }
    out.fs = LimitSideResistance(layer, z, out.fs);
    return out;
}

BaseResistance UltimateBaseResistance(const InputData& in, const Layer& layer, double L, double Bb,
                                      double socket_scale) {
    BaseResistance out;
    out.area = kPi / 4.0 * Bb * Bb;
    switch (layer.code) {
    case kSand:
    case kGravellySand:
    case kGravel: {
        const double qb =
            SandUnitBase(Interpolate(layer, layer.BLOWS, L), Interpolate(layer, layer.PHI, L));
        out.QB = qb * out.area;
        if (in.IMOD == 1)
            out.QB *= SandBaseReduction(Bb, L);
        break;
    }
    case kClay:
    case kClayShale: {
        const double cu = ClayBaseStrengthAt(layer, L);
        const double Nc = BothAbove(layer.NC, kGivenCoefficient) ? Interpolate(layer, layer.NC, L)
                                                                 : ClayNc(L, Bb);
        double qb = Nc * cu / kPsfPerTsf;
        if (layer.code == kClay)
            qb = std::min(qb, 40.0);
        out.QB = qb * out.area * ClayBaseReduction(Bb, L, cu);
        break;
    }
    case kStrongRockSideOrBase:
    case kStrongRockSideAndBase: {
        double Bs = Interpolate(layer, layer.BDS, L) * socket_scale;
        if (Bs < 0.001)
            Bs = Bb;
        out.area = kPi / 4.0 * Bs * Bs;
        const double qu = RockStrengthAt(layer, L);
        if (layer.code == kStrongRockSideOrBase && !(qu > kEndBearingRockStrength)) {
            out.code4_side_only = true;
            return out;
        }
        out.code4_base_only = layer.code == kStrongRockSideOrBase;
        const double cs = Interpolate(layer, layer.CS, L);
        if (!(cs > 0.0)) {
            out.spacing_missing = true;
            break;
        }
        out.QB = 3.0 * kPi / 4.0 * Bs * Bs * (qu / kPsfPerTsf) *
                 RockKsp(cs, Interpolate(layer, layer.DISCT, L), Bs);
        break;
    }
    default:
        break;
    }
    // The layer's maximum end bearing: a negative value is the unit base resistance itself, a
    // positive one caps it.
    const double qmax = Interpolate(layer, layer.QMAX, L) / kPsfPerTsf;
    if (qmax < 0.0) {
        out.QB = -qmax * out.area;
        out.spacing_missing = false;
    } else if (qmax > 0.0 && out.QB > qmax * out.area) {
        out.QB = qmax * out.area;
    }
    out.qb = out.area > 0.0 ? out.QB / out.area : 0.0;
    return out;
}

bool Derived(const Layer& layer, Estimated what, End end) {
    switch (what) {
    case Estimated::ALPHA:
        return IsClay(layer.code) && !BothAbove(layer.ALPHA, kGivenAlpha);
    case Estimated::NC:
        return IsClay(layer.code) && !BothAbove(layer.NC, kGivenCoefficient);
    case Estimated::CU:
        return IsClay(layer.code) && layer.CU[end] < 1.0e-5 && layer.BLOWS[end] > 0.0;
    case Estimated::BETA:
        return UsesBeta(layer) && !BothAbove(layer.BETA, kGivenCoefficient);
    default:
        return false;
    }
}

double DerivedValue(const Layer& layer, Estimated what, End end, double Bb) {
    const double z = end == kTop ? layer.ztop : layer.zbot;
    const double cu = Derived(layer, Estimated::CU, end)
                          ? CuFromBlowCount(layer.code, layer.BLOWS[end])
                          : layer.CU[end];
    switch (what) {
    case Estimated::ALPHA:
        return ClayAlpha(cu);
    case Estimated::NC:
        return ClayNc(z, Bb);
    case Estimated::CU:
        return cu;
    case Estimated::BETA:
        return BetaFormula(layer, z, layer.BLOWS[end]);
    default:
        return 0.0;
    }
}

void MarkDerivedEstimates(InputData& in) {
    for (Layer& layer : in.layers)
        for (const Estimated what :
             {Estimated::ALPHA, Estimated::NC, Estimated::CU, Estimated::BETA})
            for (const End end : {kTop, kBottom})
                if (Derived(layer, what, end))
                    layer.marks.Set(what, end);
}

} // namespace kolmar::engine
