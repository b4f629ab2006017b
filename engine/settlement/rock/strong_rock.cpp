// Strong-rock load-settlement: elastic socket with the settlement influence factor, the soil
// layers above the rock mobilized along the fine side tables, two bounding curves.
//
// Units: feet, tons and tons per square foot throughout. The concrete modulus Ec and the intact
// rock modulus Ei are held in psi and converted to tsf where they are read: the socket relations
// s_ult = Qr I / (B^2 Em) and Qs = B^2 Em s / I (Qr, Qs in tons, B in ft) and the shortening
// Q L / (Ec A) (ft) are dimensionally consistent only with both moduli in tsf.
#include "strong_rock.h"

#include "kolmar/ikolmar.h"
#include "rock_charts.h"
#include "settlement/normalized.h"
#include "transcendental.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace kolmar::engine::rock {
namespace {

constexpr double kQuarterPi = 0.7854;
constexpr int kMaxIterations = 100;

// Layers that carry an intact-rock modulus and RQD form the rock zone.
bool IsRock(int code) {
    return code == kStrongRockSideOrBase || code == kWeakRock || code == kStrongRockSideAndBase;
}

// Normalized socket settlement of point k (1..15).
double SettlementStep(int k) {
    if (k <= 12)
        return 0.00018 * math::Pow(1.5, k - 1);
    return k == 13 ? 0.025 : k == 14 ? 0.05 : 0.1;
}

struct Socket {
    int first = -1;      // top layer of the rock zone
    double zr = 0.0;     // top of rock, ft
    double Lr = 0.0;     // rock length down to the tip, ft
    double rqd = 0.0;    // thickness-weighted mean RQD, percent
    double ei_psi = 0.0; // thickness-weighted mean intact modulus, psi
};

// The rock zone: the run of rock layers that ends with the tip layer. Each layer counts with the
// part of it above the tip, and its mean value over that part. A tip on the top of the rock
// (Lr = 0) is a base bearing on it: the rock below the tip is the tip layer's top.
Socket RockZone(const StrongRockInput& in) {
    Socket s;
    s.first = in.tip_layer;
    while (s.first > 0 && IsRock(in.layers[static_cast<std::size_t>(s.first - 1)].code))
        --s.first;
    s.zr = in.layers[static_cast<std::size_t>(s.first)].ztop;
    s.Lr = in.L - s.zr;
    double thickness = 0.0;
    for (int i = s.first; i <= in.tip_layer; ++i) {
        const GeoLayer& layer = in.layers[static_cast<std::size_t>(i)];
        const double bottom = std::min(layer.zbot, in.L);
        const double t = bottom - layer.ztop;
        if (!(t > 0.0))
            continue;
        const auto mean = [&](const TopBottom& v) {
            return 0.5 * (v[kTop] + layer.AtDepth(v, bottom));
        };
        thickness += t;
        s.rqd += t * mean(layer.RQD);
        s.ei_psi += t * mean(layer.EL);
    }
    if (thickness > 0.0) {
        s.rqd /= thickness;
        s.ei_psi /= thickness;
    } else {
        const GeoLayer& tip = in.layers[static_cast<std::size_t>(in.tip_layer)];
        s.Lr = 0.0;
        s.rqd = tip.RQD[kTop];
        s.ei_psi = tip.EL[kTop];
    }
    return s;
}

// The fine side table of a layer above the rock, upper or lower bound.
settlement::FineTable FineTableOf(int code, bool upper) {
    using settlement::FineTable;
    if (UsesSandTables(code))
        return upper ? FineTable::sand_upper : FineTable::sand_lower;
    return upper ? FineTable::clay_upper : FineTable::clay_lower;
}

// One curve: the socket estimate at every point, then the soil layers above the rock.
void Curve(const StrongRockInput& in, const StrongRockResult& r, double Ec, bool upper,
           std::array<double, kCurveRows>& load, std::array<double, kCurveRows>& movement) {
    const double area = kQuarterPi * r.B * r.B;
    const double s_ult = r.Qr * r.I / (r.B * r.B * r.Em);
    for (int k = 1; k <= kCurveRows; ++k) {
        const auto row = static_cast<std::size_t>(k - 1);
        const double s = std::min(SettlementStep(k), s_ult);
        const double Qs = r.B * r.B * r.Em * s / r.I;
        // Movement at the top of rock: shortening of the socket under its load plus the socket
        // settlement. The shaft above the rock shortens layer by layer below.
        const double w = Qs * r.Lr / (Ec * area) + s * r.B;

        double Q = Qs;        // load at the current level, tons
        double sn = w / in.D; // movement at the current level / D
        for (int j = r.first_rock - 1; j >= 0; --j) {
            const GeoLayer& layer = in.layers[static_cast<std::size_t>(j)];
            double F = in.capacity.SideAt(GridDepth(layer.zbot)) -
                       in.capacity.SideAt(GridDepth(layer.ztop));
            if (F < 1.0e-20)
                F = 0.0;
            const double t = layer.Thickness();
            const settlement::FineTable table = FineTableOf(layer.code, upper);
            const double n_b = settlement::FineSideRatio(table, sn);
            const double tolerance = 0.1 * n_b * F;
            double Qt = Q + F * n_b;
            double st = sn;
            for (int it = 0; it < kMaxIterations; ++it) {
                st = sn + Qt * t / (Ec * kQuarterPi * in.D * in.D * in.D);
                const double n_t = settlement::FineSideRatio(table, st);
                const double next = Q + 0.5 * (n_b + n_t) * F;
                const bool done = std::fabs(next - Qt) <= tolerance || F <= 1.0e-20;
                Qt = next;
                if (done)
                    break;
            }
            Q = Qt;
            sn = st;
        }
        load[row] = Q;
        movement[row] = sn * in.D;
    }
}

} // namespace

bool UsesSandTables(int code) {
    return code == kSand || code == kDecomposedRock || code == kGravellySand || code == kGravel;
}

StrongRockResult StrongRockSettlement(const StrongRockInput& in, std::ostream& report,
                                      std::ostream& run_notes) {
    StrongRockResult r;
    const auto refuse = [&](int status, const std::vector<std::string>& reasons) {
        r.status = status;
        r.block = CurveBlock{};
        WriteNoCurveBlock(report, "STRONG ROCK", reasons);
        WriteNoCurveBlock(run_notes, "STRONG ROCK", reasons);
        return r;
    };
    const int count = static_cast<int>(in.layers.size());
    if (in.tip_layer < 0 || in.tip_layer >= count ||
        !(in.layers[static_cast<std::size_t>(in.tip_layer)].code == kStrongRockSideOrBase ||
          in.layers[static_cast<std::size_t>(in.tip_layer)].code == kStrongRockSideAndBase))
        return refuse(KOLMAR_STATUS_INTERNAL, {"THE TIP LAYER GIVEN IS NOT A STRONG-ROCK LAYER."});

    const GeoLayer& tip = in.layers[static_cast<std::size_t>(in.tip_layer)];
    const Socket zone = RockZone(in);
    r.first_rock = zone.first;
    r.zr = zone.zr;
    r.Lr = zone.Lr;
    r.Em = zone.ei_psi * kPsiToTsf * StrongRockModulusRatio(zone.rqd);
    // A layer given without a socket diameter is socketed with the shaft itself.
    r.B = tip.BDS[kTop] >= 0.001 ? tip.BDS[kTop] * in.diameter_ratio : in.D;
    const double Ec = in.Ec * kPsiToTsf;

    std::vector<std::string> reasons;
    const std::string where = "LAYER " + std::to_string(in.tip_layer + 1) + ": ";
    if (!(in.D > 0.0) || !(r.B > 0.0))
        reasons.push_back("THE SHAFT OR SOCKET DIAMETER IS NOT POSITIVE.");
    if (!(Ec > 0.0))
        reasons.push_back("THE ELASTIC MODULUS OF THE SHAFT CONCRETE IS NOT POSITIVE.");
    if (!(r.Em > 0.0))
        reasons.push_back(where + "THE ROCK-MASS MODULUS IS NOT POSITIVE (INTACT ROCK MODULUS 0).");
    if (!reasons.empty())
        return refuse(KOLMAR_STATUS_BAD_INPUT, reasons);

    // A base on the top of the rock (Lr = 0, so x = 0 and I = 1.1 on every curve) carries its
    // load in end bearing alone; a socket adds the side resistance of the rock above the tip.
    r.I = InfluenceFactor(r.Lr / r.B, Ec / r.Em);
    r.Qr = in.QB;
    if (r.Lr > 0.0)
        r.Qr += in.capacity.SideAt(in.L) - in.capacity.SideAt(GridDepth(r.zr));
    // Without a socket capacity the method would give a curve of zeros, as if the shaft carried
    // nothing at any movement (strong rock of code 4 up to 1000 psi, or a base without a spacing
    // of discontinuities, under a tip on the rock top or with no side resistance in the socket).
    if (!(r.Qr > 0.0))
        return refuse(KOLMAR_STATUS_BAD_INPUT,
                      {where + "THE ROCK CARRIES NO LOAD: NO BASE RESISTANCE AND NO SIDE",
                       "RESISTANCE IN THE SOCKET, SO THE METHOD GIVES NO CURVE."});

    Curve(in, r, Ec, false, r.block.top_load, r.block.top_movement);
    Curve(in, r, Ec, true, r.block.tip_load, r.block.tip_movement);

    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (!AllFinite({r.block.top_load[i], r.block.top_movement[i], r.block.tip_load[i],
                        r.block.tip_movement[i]}))
            return refuse(KOLMAR_STATUS_BAD_INPUT,
                          {where + "THE SOCKET VALUES GIVE NO FINITE LOAD-SETTLEMENT CURVE."});
    }

    WriteLoadSettlementHeading(report);
    ToOutputUnits(r.block.top_load, r.block.top_movement, in.si);
    ToOutputUnits(r.block.tip_load, r.block.tip_movement, in.si);
    return r;
}

} // namespace kolmar::engine::rock
