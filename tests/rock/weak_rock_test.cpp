// Weak-rock sockets: geometry, stiffness factors, mobilization rule, the capacity use with its
// charts, caps, running mean and warnings, the load-settlement use, and the guards.
#include "settlement/rock/weak_rock.h"

#include "format.h"
#include "kolmar/ikolmar.h"
#include "rock_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace kolmar::engine::rock {
namespace {

using test::Both;
using test::Contains;
using test::Count;
using test::MakeLayer;

// Clay to 10 ft over weak rock to 60 ft: qu 50000 psf, rough with closed joints, slump 7 in,
// a 3 ft socket, Ei 300000 psi, RQD 60; a 3 ft shaft 35 ft long.
WeakRockShaft ClayOverWeakRock(int condition = 1) {
    WeakRockShaft shaft;
    shaft.layers = {MakeLayer(kClay, 0, 10), MakeLayer(kWeakRock, 10, 60)};
    GeoLayer& rock = shaft.layers[1];
    rock.QUR = Both(50000.0);
    rock.ICOND = condition;
    rock.SLUMP = Both(7.0);
    rock.DELTA = Both(30.0);
    rock.BDS = Both(3.0);
    rock.EL = Both(300000.0);
    rock.RQD = Both(60.0);
    shaft.L = 35.0;
    shaft.D = 3.0;
    shaft.Ec = 3.6e6;
    return shaft;
}

// Weak rock from the surface, smooth socket at 30 degrees, qu 20830 psf, RQD 100 (Em = Ei and a
// joint factor of 1), slump 8.86 in (slump factor 1 down to zc = 26.25 ft).
WeakRockShaft SmoothFromSurface(double L) {
    WeakRockShaft shaft = ClayOverWeakRock(2);
    shaft.layers = {MakeLayer(kWeakRock, 0, 120)};
    GeoLayer& rock = shaft.layers[0];
    rock.QUR = Both(20830.0);
    rock.ICOND = 2;
    rock.SLUMP = Both(8.86);
    rock.DELTA = Both(30.0);
    rock.BDS = Both(3.0);
    rock.EL = Both(300000.0);
    rock.RQD = Both(100.0);
    shaft.L = L;
    return shaft;
}

WeakRockResistance Capacity(const WeakRockShaft& shaft, int m, double z) {
    WeakRockState state;
    std::ostringstream notes, msg;
    return WeakRockCapacityAt(shaft, m, z, static_cast<int>(z), state, notes, msg);
}

TEST(WeakRock, SocketGeometryAndStiffnessFactors) {
    WeakRockShaft shaft = ClayOverWeakRock();
    WeakRockGeometry g = WeakRockSocketGeometry(shaft, 30.0);
    EXPECT_DOUBLE_EQ(g.rock_top, 10.0);
    EXPECT_DOUBLE_EQ(g.Lz, 20.0);
    EXPECT_DOUBLE_EQ(g.Ls, 25.0);
    // Just below the top of rock the socket is one bottom socket diameter long.
    EXPECT_DOUBLE_EQ(WeakRockSocketGeometry(shaft, 10.5).Lz, 3.0);
    shaft.diameter_ratio = 1.5;
    EXPECT_DOUBLE_EQ(WeakRockSocketGeometry(shaft, 10.5).Lz, 4.5);
    shaft.layers[1].BDS = Both(0.0);
    shaft.D = 4.0;
    EXPECT_DOUBLE_EQ(WeakRockSocketGeometry(shaft, 10.5).Lz, 4.0);
    // No rock layer holds the depth: no socket.
    EXPECT_DOUBLE_EQ(WeakRockSocketGeometry(shaft, 70.0).Lz, 0.0);

    const WeakRockStiffness at_zero = WeakRockStiffnessFactors(0.0, 1.2);
    EXPECT_NEAR(at_zero.gamma1, 0.13 + 0.15 * 1.2, 1e-12);
    EXPECT_NEAR(at_zero.gamma2, -0.44 + 0.05 * 1.2, 1e-12);
}

TEST(WeakRock, MobilizationIsLinearThenHyperbolicTowardsFa) {
    EXPECT_DOUBLE_EQ(MobilizedSide(1000.0, 0.3, 0.2), 200.0);
    EXPECT_NEAR(MobilizedSide(1000.0, 0.3, 0.3), 300.0, 1e-9);
    EXPECT_NEAR(MobilizedSide(1000.0, 0.3, 0.3 + 1e-9), 300.0, 1e-5);
    const double mid = MobilizedSide(1000.0, 0.3, 2.0);
    EXPECT_GT(mid, 300.0);
    EXPECT_LT(mid, 1000.0);
    EXPECT_NEAR(MobilizedSide(1000.0, 0.3, 1.0e12), 1000.0, 1e-6);
    EXPECT_LE(MobilizedSide(1000.0, 0.3, 1.0e12), 1000.0);
}

TEST(WeakRock, RoughSocketCapacityNeverReadsTheAlphaOrNCharts) {
    // Checked against an independent evaluation of the method: zc = 22.5 ft, M = 0.8206,
    // sigma_n = 2769 psf, fa = 0.5 qu x 0.7625, n = sigma_n / qu, K(0.15 ft) = 7.41; the base is
    // held at 2.5 qu.
    const WeakRockResistance rough = Capacity(ClayOverWeakRock(1), 1, 30.0);
    EXPECT_NEAR(rough.fs, 17013.387678287, 1e-6);
    EXPECT_NEAR(rough.QB, 0.7854 * 9.0 * 2.5 * 50000.0 / 2000.0, 1e-9);
    for (const double delta : {0.0, 10.0, 89.0}) {
        WeakRockShaft shaft = ClayOverWeakRock(1);
        shaft.layers[1].DELTA = Both(delta);
        EXPECT_DOUBLE_EQ(Capacity(shaft, 1, 30.0).fs, rough.fs) << delta;
    }
}

TEST(WeakRock, SmoothSocketTakesTheAdhesionChartAndCapsZcAt40Ft) {
    // zc = 10 ft: sigma_n / pa = 0.709 reads the first alpha curve, 0.145 at qu = 20830 psf.
    EXPECT_NEAR(Capacity(SmoothFromSurface(20.0), 0, 10.0).fs, 3020.35016597, 1e-6);
    // zc = 30 ft: slump factor 0.9714, sigma_n / pa = 2.066 between curves 2 and 3.
    EXPECT_NEAR(Capacity(SmoothFromSurface(60.0), 0, 10.0).fs, 4984.63071684, 1e-6);
    // zc is capped at 40 ft: shafts of 90 and 120 ft see the same normal stress.
    const double at_90 = Capacity(SmoothFromSurface(90.0), 0, 10.0).fs;
    EXPECT_NEAR(at_90, 5642.90018011, 1e-6);
    EXPECT_DOUBLE_EQ(Capacity(SmoothFromSurface(120.0), 0, 10.0).fs, at_90);
    // A smooth socket without interface friction has no side resistance.
    WeakRockShaft frictionless = SmoothFromSurface(20.0);
    frictionless.layers[0].DELTA = Both(0.0);
    EXPECT_EQ(Capacity(frictionless, 0, 10.0).fs, 0.0);
}

TEST(WeakRock, RunningMeanOfEiSpansTheDepthsOfThePass) {
    // Two weak-rock layers: Ei 36000 psi (Ec/Em = 100) over 4000 psi (Ec/Em = 900 alone).
    WeakRockShaft shaft = ClayOverWeakRock();
    shaft.layers[1].EL = Both(36000.0);
    shaft.layers[1].RQD = Both(100.0);
    shaft.layers[1].zbot = 30.0;
    GeoLayer lower = shaft.layers[1];
    lower.ztop = 30.0;
    lower.zbot = 60.0;
    lower.EL = Both(4000.0);
    shaft.layers.push_back(lower);

    WeakRockState state;
    std::ostringstream notes, msg;
    WeakRockCapacityAt(shaft, 1, 20.0, 20, state, notes, msg);
    WeakRockCapacityAt(shaft, 2, 40.0, 40, state, notes, msg);
    // The mean of 36000 and 4000 psi gives Ec/Em = 180: inside the range, no warning.
    EXPECT_FALSE(Contains(notes.str(), "Ec/Em =")) << notes.str();

    state.Reset();
    std::ostringstream fresh_notes;
    WeakRockCapacityAt(shaft, 2, 40.0, 40, state, fresh_notes, msg);
    EXPECT_TRUE(Contains(fresh_notes.str(), "                         Ec/Em =    900.00\n"))
        << fresh_notes.str();
}

TEST(WeakRock, RangeWarningsReachRockMessagesOnceAndRunNotesOncePerComputationDepth) {
    WeakRockShaft shaft = ClayOverWeakRock();
    shaft.L = 14.0; // a socket of 4 ft in a 3 ft diameter
    WeakRockState state;
    std::ostringstream notes, msg;
    // The side of foot 12 and a base at its bottom are one computation depth; foot 13 another.
    WeakRockCapacityAt(shaft, 1, 12.5, 12, state, notes, msg);
    WeakRockCapacityAt(shaft, 1, 13.0, 12, state, notes, msg);
    WeakRockCapacityAt(shaft, 1, 13.5, 13, state, notes, msg);
    const std::string frame = "                     WARNING MESSAGE                \n" + Blanks(3) +
                              Repeat('-', 60) +
                              "\n                SOCKET LENGTH/SOCKET DIAMETER =      1.33\n"
                              "     L/D SHOULD BE GREATER THAN 2.0 AND LESS THAN 20.0\n\n\n";
    EXPECT_EQ(msg.str(), frame);
    EXPECT_EQ(notes.str(), frame + frame);

    // A small socket diameter: the diameter warning with both advice lines.
    shaft = ClayOverWeakRock();
    shaft.layers[1].BDS = Both(1.0);
    state.Reset();
    std::ostringstream notes2, msg2;
    WeakRockCapacityAt(shaft, 1, 30.0, 30, state, notes2, msg2);
    EXPECT_TRUE(Contains(msg2.str(),
                         "                         Diameter (FT) =      1.00\n"
                         "     SOCKET DIAMETER SHOULD BE GREATER THAN 0.5 m or 1.64 ft\n"
                         "     AND LESS THAN 1.53 m or 5 ft.\n\n\n"))
        << msg2.str();
    // The long-socket check: (25 + 2 x 3) / 1 = 31 > 20.
    EXPECT_TRUE(Contains(msg2.str(), "SOCKET LENGTH/SOCKET DIAMETER =     31.00\n")) << msg2.str();
}

TEST(WeakRock, NoPositiveBaseTermGivesNoBaseAndAWarning) {
    // A socket 60 ft long in 3 ft with Ec/Em = 10: r = 4.47 puts r - Gamma2 below zero.
    WeakRockShaft shaft = SmoothFromSurface(70.0);
    shaft.layers[0].ICOND = 1;
    shaft.layers[0].EL = Both(360000.0);
    WeakRockState state;
    std::ostringstream notes, msg;
    const WeakRockResistance c = WeakRockCapacityAt(shaft, 0, 60.0, 60, state, notes, msg);
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.QB, 0.0);
    EXPECT_GT(c.fs, 0.0);
    for (const std::string& text : {notes.str(), msg.str()})
        EXPECT_TRUE(Contains(text, "     THE BASE STIFFNESS OF THE SOCKET IS UNDEFINED (BASE TERM "
                                   "b <= 0):\n     THE BASE RESISTANCE IS TAKEN AS ZERO.\n"))
            << text;

    CurveBlock block;
    std::ostringstream report, notes2;
    const CapacityProfile capacity = test::LinearCapacity(shaft.layers, {20.0}, 120.0);
    const WeakRockSettlement r = WeakRockLoadSettlement(shaft, 0, capacity, block, report, notes2);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.QB, 0.0);
    EXPECT_EQ(test::Count(report.str(), "BASE TERM b <= 0"), 1);
    EXPECT_EQ(test::Count(notes2.str(), "BASE TERM b <= 0"), 1);
}

TEST(WeakRock, LoadSettlementAddsTheShorteningOfTheFreeLength) {
    WeakRockShaft shaft = ClayOverWeakRock();
    shaft.D = 4.0; // a 4 ft stem over the 3 ft socket
    const CapacityProfile capacity = test::LinearCapacity(shaft.layers, {2.0, 20.0}, 60.0);
    CurveBlock block;
    block.tip_load.fill(7.0);
    block.tip_movement.fill(9.0);
    std::ostringstream report, notes;
    const WeakRockSettlement r = WeakRockLoadSettlement(shaft, 1, capacity, block, report, notes);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(report.str(), "\n\n                      LOAD SETTLEMENT RELATIONSHIP      \n"
                            "               ------------------------------------------   \n");
    // The socket is 25 ft long, the free length of the 4 ft stem 10 ft; row 1 moves 0.00009 B
    // at the socket.
    const double Ec = 3.6e6;
    const auto shortening = [&](double load) {
        return 10.0 * 24000.0 * load / (Ec * 16.0 * 113.0976);
    };
    EXPECT_NEAR(block.top_movement[0], 12.0 * 3.0 * 0.00009 + shortening(block.top_load[0]), 1e-12);
    EXPECT_NEAR(block.top_movement[14], 12.0 * 3.0 * 0.05 + shortening(block.top_load[14]), 1e-12);
    // The side is capped by the shaft's ultimate side resistance: 20 + 25 x 20 = 520 tons.
    EXPECT_NEAR(block.top_load[14], 520.0 + r.QB, 1e-9);
    EXPECT_LE(r.QB, 0.7854 * 9.0 * 2.5 * 50000.0 / 2000.0 + 1e-9);
    for (int k = 1; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_GE(block.top_load[i], block.top_load[i - 1]) << "row " << k + 1;
        EXPECT_GT(block.top_movement[i], block.top_movement[i - 1]) << "row " << k + 1;
    }
    for (int k = 0; k < kCurveRows; ++k) {
        EXPECT_EQ(block.tip_load[static_cast<std::size_t>(k)], 7.0);
        EXPECT_EQ(block.tip_movement[static_cast<std::size_t>(k)], 0.0);
    }
}

TEST(WeakRock, LayerValuesWithoutAResultStopTheMethod) {
    struct Case {
        const char* what;
        void (*change)(WeakRockShaft&);
        const char* reason;
    };
    const Case cases[] = {
        {"no strength", [](WeakRockShaft& s) { s.layers[1].QUR = Both(0.0); },
         "THE UNIAXIAL COMPRESSIVE STRENGTH IS NOT POSITIVE."},
        {"no modulus", [](WeakRockShaft& s) { s.layers[1].EL = Both(0.0); },
         "THE ELASTIC MODULUS OF THE INTACT ROCK IS NOT POSITIVE."},
        {"no concrete modulus", [](WeakRockShaft& s) { s.Ec = 0.0; },
         "THE ELASTIC MODULUS OF THE SHAFT CONCRETE IS NOT POSITIVE."},
        {"smooth, friction angle 90",
         [](WeakRockShaft& s) {
             s.layers[1].ICOND = 4;
             s.layers[1].DELTA = Both(90.0);
         },
         "THE INTERFACE FRICTION ANGLE MUST LIE FROM 0 UP TO 90 DEGREES."},
    };
    for (const Case& c : cases) {
        WeakRockShaft shaft = ClayOverWeakRock();
        c.change(shaft);
        WeakRockState state;
        std::ostringstream notes, msg;
        WeakRockResistance first = WeakRockCapacityAt(shaft, 1, 20.0, 20, state, notes, msg);
        WeakRockResistance second = WeakRockCapacityAt(shaft, 1, 21.0, 21, state, notes, msg);
        for (const WeakRockResistance& r : {first, second}) {
            EXPECT_EQ(r.status, KOLMAR_STATUS_BAD_INPUT) << c.what;
            EXPECT_EQ(r.fs, 0.0) << c.what;
            EXPECT_EQ(r.QB, 0.0) << c.what;
        }
        EXPECT_EQ(WeakRockCapacityAt(shaft, 0, 5.0, 5, state, notes, msg).status,
                  KOLMAR_STATUS_INTERNAL); // the clay layer
        const std::string line = "     WEAK ROCK, LAYER 2: " + std::string(c.reason) + "\n";
        EXPECT_EQ(Count(notes.str(), line), 1) << c.what << "\n" << notes.str();
        EXPECT_EQ(Count(msg.str(), line), 1) << c.what << "\n" << msg.str();

        CurveBlock block;
        std::ostringstream report, notes2;
        const CapacityProfile capacity = test::LinearCapacity(shaft.layers, {2.0, 20.0}, 60.0);
        const WeakRockSettlement r =
            WeakRockLoadSettlement(shaft, 1, capacity, block, report, notes2);
        EXPECT_EQ(r.status, KOLMAR_STATUS_BAD_INPUT) << c.what;
        EXPECT_EQ(block.top_load[0], 0.0) << c.what;
        for (const std::string& text : {report.str(), notes2.str()}) {
            EXPECT_TRUE(Contains(text, "     NO LOAD-SETTLEMENT CURVE FOR A TIP IN WEAK ROCK:\n"
                                       "     LAYER 2: " +
                                           std::string(c.reason) + "\n"))
                << c.what << "\n"
                << text;
            EXPECT_FALSE(Contains(text, "LOAD SETTLEMENT RELATIONSHIP")) << c.what;
        }
    }
}

} // namespace
} // namespace kolmar::engine::rock
