// Weak-rock sockets (cohesive intermediate geomaterial): normal stress of the fluid concrete
// with the slump factor, adhesion and joint factor, softening factor, stiffness factors of the
// socket, hyperbolic side mobilization, base term; capacity use with its range warnings and the
// load-settlement use with the elastic shortening of the shaft above the socket.
//
// Units: feet, pounds per square foot, pounds and tons. Both moduli enter in tsf: the softening
// chart's parameter 2000 Em / sigma_n (sigma_n in psf) and the side stiffness
// K = 2000 Em Gamma2 w / (Lz pi fa Gamma1) (fa in psf) are dimensionless only with Em in tsf, and
// the base term 20.88 (304.8 w)^0.67 Eb is 0.0134 Em (psf) times dimensionless factors with Em
// in tsf. The intact modulus Ei and the concrete modulus Ec (both held in psi) are converted to
// tsf where they are read; Ec/Em and log10(Ec/Em) are ratios.
#include "weak_rock.h"

#include "format.h"
#include "kolmar/ikolmar.h"
#include "rock_charts.h"
#include "transcendental.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace kolmar::engine::rock {
namespace {

constexpr double kPa = 2115.7;              // atmospheric pressure, psf
constexpr double kConcreteUnitWeight = 150; // pcf
constexpr double kTan30 = 0.57735187;
constexpr double kPi = 3.1416;

bool IsSocketRock(int code) {
    return code == kWeakRock || code == kStrongRockSideAndBase;
}

// Socket diameter from a layer value: scaled with the stem diameter, or the stem itself when the
// layer gives none.
double SocketDiameter(const WeakRockShaft& shaft, double value) {
    return value >= 0.001 ? value * shaft.diameter_ratio : shaft.D;
}

// Everything of the method at one depth, for one socket mid-depth zc.
struct Socket {
    std::string error; // why the layer's values allow no result; empty when they do
    bool rough = true;
    double qu = 0.0; // psf
    double B = 0.0;  // socket diameter, ft
    double Em = 0.0; // rock-mass modulus, tsf
    double Ec = 0.0; // concrete modulus, tsf
    double Lz = 0.0; // ft
    double fa = 0.0; // limiting adhesion, psf
    double n = 0.0;  // softening factor, -
    WeakRockStiffness stiffness;
    double Eb = 0.0;             // base stiffness term
    bool side_undefined = false; // no valid side stiffness: side fully mobilized, no base
    bool base_undefined = false; // base term b not positive: no base
};

Socket Evaluate(const WeakRockShaft& shaft, const GeoLayer& layer, double z, double zc, double Lz,
                WeakRockState& state) {
    Socket s;
    const double f = z - layer.ztop;
    const int condition = layer.ICOND;
    s.rough = condition == 1 || condition == 3;
    const bool open_joints = condition == 3 || condition == 4;
    const double slump = layer.At(layer.SLUMP, f);
    const double rqd = layer.At(layer.RQD, f);
    s.qu = layer.At(layer.QUR, f);
    const double phi_rc_deg = layer.At(layer.DELTA, f);
    s.B = SocketDiameter(shaft, layer.At(layer.BDS, f));
    state.ei_sum += layer.At(layer.EL, f);
    state.ei_count += 1;
    const double em_over_ei = WeakRockModulusRatio(rqd, open_joints);
    s.Em = state.ei_sum / state.ei_count * em_over_ei * kPsiToTsf;
    s.Ec = shaft.Ec * kPsiToTsf;
    s.Lz = Lz;

    if (!(s.qu > 0.0))
        s.error = "THE UNIAXIAL COMPRESSIVE STRENGTH IS NOT POSITIVE.";
    else if (!(s.Em > 0.0))
        s.error = "THE ELASTIC MODULUS OF THE INTACT ROCK IS NOT POSITIVE.";
    else if (!(s.Ec > 0.0))
        s.error = "THE ELASTIC MODULUS OF THE SHAFT CONCRETE IS NOT POSITIVE.";
    else if (!s.rough && !(phi_rc_deg >= 0.0 && phi_rc_deg < 90.0))
        s.error = "THE INTERFACE FRICTION ANGLE MUST LIE FROM 0 UP TO 90 DEGREES.";
    else if (!(s.B > 0.0))
        s.error = "THE SOCKET DIAMETER IS NOT POSITIVE.";
    if (!s.error.empty())
        return s;

    // Normal stress of the fluid concrete on the socket wall.
    const double M = SlumpFactor(zc, slump);
    const double sigma_n = kConcreteUnitWeight * zc * M;

    // Limiting adhesion, reduced by the joint factor.
    const double phi_rc = phi_rc_deg * kPi / 180.0;
    const double adhesion =
        s.rough ? 0.5 * s.qu
                : AdhesionFactor(sigma_n / kPa, s.qu) * math::Tan(phi_rc) * s.qu / kTan30;
    s.fa = adhesion * JointFactor(em_over_ei);

    // Softening factor; a rough socket in rock weaker than the normal stress is held at 1
    // (linear up to fa, then constant), where the hyperbolic rule has no meaning.
    s.n = s.rough ? sigma_n / s.qu : SofteningFactor(2000.0 * s.Em / sigma_n, s.qu / kPa);
    s.n = std::clamp(s.n, 0.0, 1.0);

    // Stiffness factors and the base term.
    const double r = s.Lz > 0.0 ? std::sqrt(s.Lz / s.B) : 0.0;
    s.stiffness = WeakRockStiffnessFactors(r, math::Log10(s.Ec / s.Em));
    const double g1 = s.stiffness.gamma1;
    const double g2 = s.stiffness.gamma2;
    s.side_undefined = !(s.Lz > 0.0) || !(g1 > 0.0) || !(g2 > 0.0);
    if (!s.side_undefined) {
        const double LB = s.Lz / s.B;
        const double b = ((LB + 1.0) * 200.0 * (r - g2)) / (s.Lz * 957.5597 * g1);
        if (b > 0.0)
            s.Eb = (2.0 * s.Em * 0.641592 * LB * math::Pow(b, 0.67)) / (LB + 1.0);
        else
            s.base_undefined = true;
    }
    return s;
}

// Mobilized unit side resistance at the movement w (ft), psf.
double SideAt(const Socket& s, double w) {
    if (!(s.fa > 0.0))
        return 0.0;
    if (s.side_undefined)
        return s.fa;
    const double K =
        (2000.0 * s.Em * s.stiffness.gamma2) / (s.Lz * kPi * s.fa * s.stiffness.gamma1) * w;
    return MobilizedSide(s.fa, s.n, K);
}

// Unit base resistance at the base movement w (ft), psf; 304.8 w is the movement in mm.
double BaseAt(const Socket& s, double w) {
    return std::min(2.5 * s.qu, 20.88 * math::Pow(304.8 * w, 0.67) * s.Eb);
}

std::vector<std::string> LengthRatioLines(double value) {
    return {"                SOCKET LENGTH/SOCKET DIAMETER = " + F(value, 9, 2),
            "     L/D SHOULD BE GREATER THAN 2.0 AND LESS THAN 20.0"};
}

std::vector<std::string> StiffnessLines(const Socket& s) {
    const double ratio = s.Lz / s.B;
    if (s.side_undefined)
        return {"                SOCKET LENGTH/SOCKET DIAMETER = " + F(ratio, 9, 2),
                "     THE SIDE STIFFNESS OF THE SOCKET IS UNDEFINED (GAMMA1 OR GAMMA2 <= 0):",
                "     THE SIDE RESISTANCE IS TAKEN AS FULLY MOBILIZED, THE BASE AS ZERO."};
    return {"                SOCKET LENGTH/SOCKET DIAMETER = " + F(ratio, 9, 2),
            "     THE BASE STIFFNESS OF THE SOCKET IS UNDEFINED (BASE TERM b <= 0):",
            "     THE BASE RESISTANCE IS TAKEN AS ZERO."};
}

// A warning goes to the run notes once per computation depth and to ROCKMSG.DAT the first time
// of the pass.
void Warn(const std::vector<std::string>& lines, WeakRockWarning kind, bool& warned,
          WeakRockState& state, std::ostream& run_notes, std::ostream& rock_msg) {
    bool& noted = state.noted[static_cast<std::size_t>(kind)];
    if (!noted) {
        WriteWarningFrame(run_notes, lines);
        noted = true;
    }
    if (!warned) {
        WriteWarningFrame(rock_msg, lines);
        warned = true;
    }
}

void WriteLayerError(std::ostream& os, int m, const std::string& reason) {
    WriteBlankLines(os, 1);
    WriteLine(os, Blanks(5) + "*********************ERROR**********************");
    WriteLine(os, Blanks(5) + "WEAK ROCK, LAYER " + std::to_string(m + 1) + ": " + reason);
    WriteLine(os, Blanks(5) + "NO SIDE OR BASE RESISTANCE CAN BE COMPUTED; THE RUN ENDS.");
    WriteBlankLines(os, 1);
}

} // namespace

WeakRockGeometry WeakRockSocketGeometry(const WeakRockShaft& shaft, double z) {
    WeakRockGeometry g;
    const auto first = std::find_if(shaft.layers.begin(), shaft.layers.end(),
                                    [](const GeoLayer& l) { return IsSocketRock(l.code); });
    if (first != shaft.layers.end())
        g.rock_top = first->ztop;
    const auto holding =
        std::find_if(shaft.layers.begin(), shaft.layers.end(),
                     [z](const GeoLayer& l) { return IsSocketRock(l.code) && l.zbot >= z; });
    if (holding != shaft.layers.end())
        g.Lz = std::max(SocketDiameter(shaft, holding->BDS[kBottom]), z - g.rock_top);
    if (g.Lz < 0.0)
        g.Lz = 1.0;
    g.Ls = shaft.L - g.rock_top;
    return g;
}

WeakRockStiffness WeakRockStiffnessFactors(double r, double g) {
    return {0.37 * r + 0.13 - (r - 1.0) * 0.15 * g, 1.14 * r - 0.44 - (r - 1.0) * 0.05 * g};
}

double MobilizedSide(double fa, double n, double K) {
    if (K <= n)
        return fa * K;
    return fa * (n + (K - n) * (1.0 - n) / ((1.0 - n) - n + K));
}

WeakRockResistance WeakRockCapacityAt(const WeakRockShaft& shaft, int m, double z, int step,
                                      WeakRockState& state, std::ostream& run_notes,
                                      std::ostream& rock_msg) {
    WeakRockResistance c;
    if (step != state.noted_step) {
        state.noted_step = step;
        state.noted = {};
    }
    if (m < 0 || m >= static_cast<int>(shaft.layers.size()) ||
        shaft.layers[static_cast<std::size_t>(m)].code != kWeakRock) {
        c.status = KOLMAR_STATUS_INTERNAL;
        return c;
    }
    const GeoLayer& layer = shaft.layers[static_cast<std::size_t>(m)];
    const WeakRockGeometry geometry = WeakRockSocketGeometry(shaft, z);
    const double zc = std::min(40.0, 0.5 * (shaft.L + geometry.rock_top));
    // Values without a result: no resistance, the error block once per pass, an error status.
    const auto fail = [&](const std::string& reason) {
        if (!state.error_written) {
            WriteLayerError(run_notes, m, reason);
            WriteLayerError(rock_msg, m, reason);
            state.error_written = true;
        }
        return WeakRockResistance{0.0, 0.0, KOLMAR_STATUS_BAD_INPUT};
    };
    const Socket s = Evaluate(shaft, layer, z, zc, geometry.Lz, state);
    if (!s.error.empty())
        return fail(s.error);

    const double w = 0.05 * s.B;
    const double mobilized = SideAt(s, w);
    c.fs = s.rough ? mobilized : s.fa;
    c.QB = 0.7854 * s.B * s.B * BaseAt(s, w) / 2000.0;
    if (!AllFinite({c.fs, c.QB}))
        return fail("THE LAYER VALUES GIVE NO FINITE RESISTANCE.");
    if (state.first_side < 0.001)
        state.first_side = mobilized;

    // Range of the method: socket length ratio, modulus ratio, socket diameter.
    const double short_ratio = geometry.Ls / s.B;
    const double long_ratio = (geometry.Ls + 2.0 * shaft.D) / s.B;
    using enum WeakRockWarning;
    if (short_ratio <= 2.0)
        Warn(LengthRatioLines(short_ratio), short_socket, state.length_warned, state, run_notes,
             rock_msg);
    if (long_ratio > 20.0)
        Warn(LengthRatioLines(long_ratio), long_socket, state.length_warned, state, run_notes,
             rock_msg);
    const double modulus_ratio = s.Ec / s.Em;
    if (modulus_ratio < 10.0 || modulus_ratio > 500.0)
        Warn({"                         Ec/Em = " + F(modulus_ratio, 9, 2),
              "     Ec/Em SHOULD BE GREATER THAN 10.0 AND LESS THAN 500.0"},
             modulus, state.modulus_warned, state, run_notes, rock_msg);
    if (s.B < 1.64 || s.B > 5.0)
        Warn({"                         Diameter (FT) = " + F(s.B, 9, 2),
              "     SOCKET DIAMETER SHOULD BE GREATER THAN 0.5 m or 1.64 ft",
              "     AND LESS THAN 1.53 m or 5 ft."},
             diameter, state.diameter_warned, state, run_notes, rock_msg);
    if (s.side_undefined || s.base_undefined)
        Warn(StiffnessLines(s), stiffness, state.stiffness_warned, state, run_notes, rock_msg);
    return c;
}

WeakRockSettlement WeakRockLoadSettlement(const WeakRockShaft& shaft, int N,
                                          const CapacityProfile& capacity, CurveBlock& block,
                                          std::ostream& report, std::ostream& run_notes) {
    WeakRockSettlement r;
    block.top_movement.fill(0.0);
    block.tip_movement.fill(0.0);
    const auto refuse = [&](int status, const std::vector<std::string>& reasons) {
        r.status = status;
        block.top_load.fill(0.0);
        block.top_movement.fill(0.0);
        WriteNoCurveBlock(report, "WEAK ROCK", reasons);
        WriteNoCurveBlock(run_notes, "WEAK ROCK", reasons);
        return r;
    };
    if (N < 0 || N >= static_cast<int>(shaft.layers.size()) ||
        shaft.layers[static_cast<std::size_t>(N)].code != kWeakRock)
        return refuse(KOLMAR_STATUS_INTERNAL, {"THE TIP LAYER GIVEN IS NOT A WEAK-ROCK LAYER."});

    const GeoLayer& tip = shaft.layers[static_cast<std::size_t>(N)];
    const std::string where = "LAYER " + std::to_string(N + 1) + ": ";
    const double L = shaft.L;
    const WeakRockGeometry geometry = WeakRockSocketGeometry(shaft, L);
    const double Lz = geometry.Lz;
    const double L_free = std::max(0.0, L - Lz); // shaft above the socket, ft
    const double zc = std::min(40.0, L - 0.5 * Lz);
    const double B = SocketDiameter(shaft, tip.AtDepth(tip.BDS, L));
    const double side_above = 2000.0 * capacity.SideAt(L - Lz); // lb
    const double side_limit = 2000.0 * capacity.SideAt(L);      // lb

    WeakRockState state; // the running mean of Ei starts afresh for this use
    Socket s;
    for (int k = 1; k <= kCurveRows; ++k) {
        const auto row = static_cast<std::size_t>(k - 1);
        const double ratio = k <= 12   ? 0.00009 * math::Pow(1.5, k - 1)
                             : k == 13 ? 0.0125
                             : k == 14 ? 0.025
                                       : 0.05;
        const double w = B * ratio;
        s = Evaluate(shaft, tip, L, zc, Lz, state);
        if (!s.error.empty())
            return refuse(KOLMAR_STATUS_BAD_INPUT, {where + s.error});
        const double fs = SideAt(s, w);
        const double Qb = 0.7854 * B * B * BaseAt(s, w);                                   // lb
        const double Qs = std::min(side_above + B * (1.5708 * Lz) * 2.0 * fs, side_limit); // lb
        block.top_load[row] = (Qs + Qb) / 2000.0;
        block.top_movement[row] = w;
        r.QB = Qb / 2000.0;
        if (!AllFinite({block.top_load[row], w}))
            return refuse(KOLMAR_STATUS_BAD_INPUT,
                          {where + "THE LAYER VALUES GIVE NO FINITE LOAD-SETTLEMENT CURVE."});
    }
    if (s.side_undefined || s.base_undefined) {
        WriteWarningFrame(report, StiffnessLines(s));
        WriteWarningFrame(run_notes, StiffnessLines(s));
    }

    WriteLoadSettlementHeading(report);
    // Elastic shortening of the shaft above the socket under the top load (in), on the stem's
    // area in square inches; Ec in psi (tsf x 2000 / 144).
    const double area_in2 = shaft.D * shaft.D * 113.0976;
    for (int k = 0; k < kCurveRows; ++k) {
        const auto row = static_cast<std::size_t>(k);
        const double w = block.top_movement[row];
        if (!(w > 0.0))
            continue;
        const double load = block.top_load[row];
        const double shortening = (L_free * 24000.0 * load) / ((s.Ec * 2000.0 / 144.0) * area_in2);
        if (shaft.si) {
            block.top_movement[row] = w / kFtPerM + 0.0254 * shortening;
            block.top_load[row] = load * kKnPerTon;
        } else {
            block.top_movement[row] = kInPerFt * w + shortening;
        }
    }
    return r;
}

} // namespace kolmar::engine::rock
