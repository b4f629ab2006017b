// Decomposed rock and gravel: capacity from blow-count correlations (friction angle, at-rest
// coefficient, base bearing stress) and the load-settlement curve of a compressible shaft in a
// layer of linearly growing stiffness, side first, then the base up to the ultimate load.
//
// Units: feet, pounds per square foot, pounds and tons. The modulus E_L enters
// wt = K Pt / (E_L Bb) (Pt in lb, Bb in ft) and lambda = 5200 Ec / E_L, which is 2.6 Ec / E_L
// with Ec in tsf and E_L in psf; the blow-count correlation gives E_L in psf. So the given
// Young's modulus (held in psi) is converted to psf and the concrete modulus (psi) to tsf.
#include "decomposed_rock.h"

#include "format.h"
#include "kolmar/ikolmar.h"
#include "transcendental.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>

namespace kolmar::engine::rock {
namespace {

constexpr double kPa = 2115.7;            // atmospheric pressure, psf
constexpr double kUnitWeightWater = 62.4; // pcf

std::string DepthText(double z, bool si) {
    return si ? F(z / kFtPerM, 9, 2) + " M" : F(z, 9, 2) + " FT";
}

} // namespace

DecomposedRockValues DecomposedRockValuesAt(const DecomposedRockSite& site, int m, double z,
                                            double sigma_z) {
    DecomposedRockValues v;
    const GeoLayer& layer = site.layers[static_cast<std::size_t>(m)];
    // Effective stress at the middle of the layer from the mean unit weights of the layers above
    // and half of this one, less the pore pressure at mid-depth below the water table.
    double S = 0.0;
    for (int j = 0; j < m; ++j) {
        const GeoLayer& above = site.layers[static_cast<std::size_t>(j)];
        S += 0.5 * (above.GAMMA[kTop] + above.GAMMA[kBottom]) * above.Thickness();
    }
    S += (layer.GAMMA[kTop] + layer.GAMMA[kBottom]) * 0.25 * layer.Thickness();
    const double z_mid = layer.zbot - 0.5 * layer.Thickness();
    // The rock kinds carry no unit weight; as in the profile's effective stress, a submerged
    // foot of such rock adds neither its weight nor takes off the water's.
    double submerged = std::max(z_mid - site.WTD, 0.0);
    for (int j = 0; j < m; ++j) {
        const GeoLayer& above = site.layers[static_cast<std::size_t>(j)];
        if (above.code == kStrongRockSideOrBase || above.code == kWeakRock ||
            above.code == kStrongRockSideAndBase)
            submerged -=
                std::max(std::min(above.zbot, z_mid) - std::max(above.ztop, site.WTD), 0.0);
    }
    const double u = kUnitWeightWater * std::max(submerged, 0.0);
    v.sigma_mid = S - u;

    const double f = z - layer.ztop;
    v.B = site.diameter_ratio * layer.At(layer.BDS, f);
    v.Bb = v.B < 0.001 ? site.D : v.B;
    v.sigma = site.L + 2.0 * v.B > z ? sigma_z : v.sigma_mid;
    v.N = layer.At(layer.BLOWS, f);
    v.R = 423.14 * v.N / v.sigma;
    return v;
}

DecomposedRockResistance DecomposedRockCapacityAt(const DecomposedRockSite& site, int m, double z,
                                                  double sigma_z, std::ostream& run_notes) {
    DecomposedRockResistance c;
    if (m < 0 || m >= static_cast<int>(site.layers.size()) ||
        site.layers[static_cast<std::size_t>(m)].code != kDecomposedRock) {
        c.status = KOLMAR_STATUS_INTERNAL;
        return c;
    }
    const DecomposedRockValues v = DecomposedRockValuesAt(site, m, z, sigma_z);
    std::string_view problem;
    if (!(v.sigma > 0.0)) {
        problem = "THE VERTICAL EFFECTIVE STRESS IS NOT POSITIVE;";
    } else if (!(v.N >= 0.0)) {
        problem = "THE BLOW COUNT IS NEGATIVE;";
    } else {
        // Friction angle from the blow count and the stress level, at-rest coefficient with the
        // overconsolidation implied by R, side resistance with an interface angle of 0.75 phi'.
        const double phi = math::Atan(math::Pow(v.N / (12.2 + 20.3 * v.sigma / kPa), 0.34));
        const double K0 = (1.0 - math::Sin(phi)) * math::Pow(v.R, math::Sin(phi));
        c.fs = K0 * v.sigma * math::Tan(0.75 * phi);
        // Base bearing stress 2.1459 sigma R^0.8 (psf) on the base area, in tons.
        c.QB = 1.6853898 * v.sigma * math::Pow(v.R, 0.8) * v.Bb * v.Bb / 2000.0;
        if (AllFinite({c.fs, c.QB}))
            return c;
        problem = "THE LAYER VALUES GIVE NO FINITE RESISTANCE;";
    }
    c.fs = 0.0;
    c.QB = 0.0;
    WriteBlankLines(run_notes, 1);
    WriteLine(run_notes, Blanks(5) + "*********************WARNING**********************");
    WriteLine(run_notes, Blanks(5) + "DECOMPOSED ROCK OR GRAVEL, LAYER " + std::to_string(m + 1) +
                             ", DEPTH" + DepthText(z, site.si) + ":");
    WriteLine(run_notes, Blanks(5) + std::string(problem));
    WriteLine(run_notes, Blanks(5) + "SIDE AND BASE RESISTANCE ARE TAKEN AS ZERO AT THIS DEPTH.");
    WriteBlankLines(run_notes, 1);
    return c;
}

DecomposedRockSettlement DecomposedRockLoadSettlement(const DecomposedRockSite& site, int N,
                                                      double sigma_tip, double Qs,
                                                      CurveBlock& block, std::ostream& report,
                                                      std::ostream& run_notes) {
    DecomposedRockSettlement r;
    block.top_movement.fill(0.0);
    block.tip_movement.fill(0.0);
    const auto refuse = [&](int status, const std::vector<std::string>& reasons) {
        r.status = status;
        block.top_load.fill(0.0);
        block.top_movement.fill(0.0);
        WriteNoCurveBlock(report, "DECOMPOSED ROCK OR GRAVEL", reasons);
        WriteNoCurveBlock(run_notes, "DECOMPOSED ROCK OR GRAVEL", reasons);
        return r;
    };
    if (N < 0 || N >= static_cast<int>(site.layers.size()) ||
        site.layers[static_cast<std::size_t>(N)].code != kDecomposedRock)
        return refuse(KOLMAR_STATUS_INTERNAL,
                      {"THE TIP LAYER GIVEN IS NOT A DECOMPOSED-ROCK OR GRAVEL LAYER."});

    const GeoLayer& tip = site.layers[static_cast<std::size_t>(N)];
    const std::string where = "LAYER " + std::to_string(N + 1) + ": ";
    const DecomposedRockValues v = DecomposedRockValuesAt(site, N, site.L, sigma_tip);
    std::vector<std::string> reasons;
    if (!(v.sigma > 0.0))
        reasons.push_back(where + "THE VERTICAL EFFECTIVE STRESS AT THE TIP IS NOT POSITIVE.");
    if (!(v.N >= 0.0))
        reasons.push_back(where + "THE BLOW COUNT AT THE TIP IS NEGATIVE.");
    const double Ec = site.Ec * kPsiToTsf;
    if (!(Ec > 0.0))
        reasons.push_back("THE ELASTIC MODULUS OF THE SHAFT CONCRETE IS NOT POSITIVE.");
    if (!(v.Bb > 0.0))
        reasons.push_back("THE SHAFT DIAMETER IS NOT POSITIVE.");

    // Embedded length, counted from the top of the layer above the tip layer.
    r.Lp = site.L - (N > 0 ? site.layers[static_cast<std::size_t>(N - 1)].ztop : 0.0);
    if (r.Lp < 0.0001)
        r.Lp = tip.zbot;
    const double ratio = r.Lp / v.Bb;

    // Modulus at the tip level and its gradient: the given modulus, or the blow-count
    // correlation E_L = 22 pa N^0.82 (psf) with the gradient of the blow counts.
    if (tip.EGM[kBottom] > 0.001) {
        r.EL = tip.EGM[kBottom] * kPsiToPsf;
        r.rho = (tip.EGM[kTop] + tip.EGM[kBottom]) / (2.0 * tip.EGM[kBottom]);
    } else {
        r.EL = 46545.4 * math::Pow(std::max(v.N, 0.0), 0.82);
        if (!(tip.BLOWS[kBottom] > 0.0))
            reasons.push_back(where + "WITHOUT A MODULUS, THE BLOW COUNT AT THE LAYER BOTTOM MUST "
                                      "BE POSITIVE.");
        else
            r.rho = tip.BLOWS[kTop] / tip.BLOWS[kBottom];
        if (!(r.EL > 0.0))
            reasons.push_back(where + "THE MODULUS IS 0 AND THE BLOW COUNT GIVES NONE.");
    }
    if (!reasons.empty())
        return refuse(KOLMAR_STATUS_BAD_INPUT, reasons);

    r.lambda = 5200.0 * Ec / r.EL;
    const double log_argument = 2.0 * ratio * (2.5 * (1.5 * r.rho - 0.25) + 0.25);
    if (!(log_argument > 1.0))
        return refuse(
            KOLMAR_STATUS_BAD_INPUT,
            {where + "THE LENGTH RATIO AND STIFFNESS GRADIENT GIVE NO POSITIVE",
             "RADIUS-OF-INFLUENCE FACTOR ZETA (LOGARITHM OF " + F(log_argument, 9, 3) + ")."});
    r.zeta = math::Log(log_argument);
    r.muL = 2.0 * ratio * std::sqrt(2.0 / (r.zeta * r.lambda));
    const double T = math::Tanh(r.muL);
    const double C = math::Cosh(r.muL);
    r.K = 5.6 * (1.0 + 8.0 * ratio * T / (4.7124 * r.lambda * r.muL)) /
          (26.6667 + 12.5664 * ratio * T * r.rho / (r.zeta * r.muL));
    const double mobilized = 1.0 - r.K / (2.1 * C);
    if (!(mobilized > 0.0))
        return refuse(KOLMAR_STATUS_BAD_INPUT,
                      {where + "1 - K / (2.1 COSH(MU L)) IS NOT POSITIVE: THE LOAD AT FULL SIDE",
                       "MOBILIZATION IS UNDEFINED FOR THIS SHAFT."});

    // Side: linear up to full mobilization.
    r.Pt = 2000.0 * Qs / mobilized;
    r.wt = r.K * r.Pt / (r.EL * v.Bb);
    // Base: the remaining load up to the ultimate, mobilized linearly.
    const double qb = 2.1459 * v.sigma * math::Pow(v.R, 0.8);
    const double Qb = 0.7854 * v.Bb * v.Bb * qb;
    const double dQ = 2000.0 * Qs + Qb - r.Pt;
    const double dw = 0.84 * dQ / (v.Bb * 0.4 * r.EL);
    if (dQ < 0.0)
        return refuse(KOLMAR_STATUS_BAD_INPUT,
                      {where + "THE LOAD AT FULL SIDE MOBILIZATION EXCEEDS THE ULTIMATE SIDE",
                       "AND BASE RESISTANCE: THE BASE CANNOT TAKE THE REMAINING LOAD."});
    if (!AllFinite({r.Pt, r.wt, Qb, dQ, dw}))
        return refuse(KOLMAR_STATUS_BAD_INPUT,
                      {where + "THE LAYER VALUES GIVE NO FINITE LOAD-SETTLEMENT CURVE."});
    r.QB = Qb / 2000.0;

    for (int i = 1; i <= 10; ++i) {
        const auto row = static_cast<std::size_t>(i - 1);
        block.top_movement[row] = r.wt * i / 10.0;
        block.top_load[row] = r.Pt * i / 10.0 / 2000.0;
    }
    for (int j = 1; j <= 4; ++j) {
        const auto row = static_cast<std::size_t>(9 + j);
        block.top_load[row] = (r.Pt + 0.25 * j * dQ) / 2000.0;
        block.top_movement[row] = r.wt + 0.25 * j * dw;
    }
    // The last row holds the ultimate load at 1.2 times the movement of full mobilization.
    block.top_load[14] = block.top_load[13];
    block.top_movement[14] = 1.2 * (r.wt + dw);

    WriteLoadSettlementHeading(report);
    ToOutputUnits(block.top_load, block.top_movement, site.si);
    return r;
}

} // namespace kolmar::engine::rock
