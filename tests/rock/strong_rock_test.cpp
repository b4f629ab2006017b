// Strong-rock load-settlement: the socket from the top of rock to the tip, the influence factor,
// the soil layers above the rock along the fine tables, the two curves and the guards.
#include "settlement/rock/strong_rock.h"

#include "kolmar/ikolmar.h"
#include "rock_test_support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace kolmar::engine::rock {
namespace {

using test::Both;
using test::Contains;
using test::MakeLayer;

constexpr double kEcPsi = 3.6e6;
constexpr double kEcTsf = kEcPsi * 0.072;
constexpr double kArea3 = 0.7854 * 9.0; // socket and shaft area of a 3 ft diameter, sq ft

// Clay from the surface to 20 ft over strong rock to 60 ft; a 3 ft shaft 32 ft long with a 3 ft
// socket. The capacity table adds 2 tons per foot in the clay and 15 in the rock; QB 300 tons.
StrongRockInput ClayOverRock(double ei_psi) {
    StrongRockInput in;
    in.layers = {MakeLayer(kClay, 0, 20), MakeLayer(kStrongRockSideAndBase, 20, 60)};
    in.layers[1].BDS = Both(3.0);
    in.layers[1].EL = Both(ei_psi);
    in.layers[1].RQD = Both(100.0);
    in.tip_layer = 1;
    in.L = 32.0;
    in.D = 3.0;
    in.Ec = kEcPsi;
    in.capacity = test::LinearCapacity(in.layers, {2.0, 15.0}, 60.0);
    in.QB = 300.0;
    return in;
}

TEST(StrongRock, SocketRunsFromTheTopOfRockToTheTip) {
    std::ostringstream report, notes;
    const StrongRockResult r = StrongRockSettlement(ClayOverRock(2.0e6), report, notes);
    ASSERT_EQ(r.status, 0);
    EXPECT_DOUBLE_EQ(r.zr, 20.0);
    EXPECT_DOUBLE_EQ(r.Lr, 12.0); // not the 40 ft down to the bottom of the rock layer
    EXPECT_DOUBLE_EQ(r.B, 3.0);
    EXPECT_NEAR(r.Em, 2.0e6 * 0.072, 1e-6);
    EXPECT_DOUBLE_EQ(r.I, 0.395); // x = 4, Ec/Em = 1.8: curve 1
    EXPECT_NEAR(r.Qr, 180.0 + 300.0, 1e-9);
    EXPECT_EQ(report.str(), "\n\n                      LOAD SETTLEMENT RELATIONSHIP      \n"
                            "               ------------------------------------------   \n");
    EXPECT_EQ(notes.str(), "");
}

// A tip on the top of the rock is a base bearing on it: no socket length, the rock values of the
// tip layer's top, x = 0 (I = 1.1 on every curve) and no side resistance of the rock.
TEST(StrongRock, ATipOnTheTopOfRockIsABaseBearingOnIt) {
    StrongRockInput in = ClayOverRock(0.0);
    in.layers[1].EL = {2.0e6, 3.0e6};
    in.layers[1].RQD = {100.0, 50.0};
    in.L = 20.0;
    std::ostringstream report, notes;
    const StrongRockResult r = StrongRockSettlement(in, report, notes);
    ASSERT_EQ(r.status, 0) << notes.str();
    EXPECT_EQ(notes.str(), "");
    EXPECT_DOUBLE_EQ(r.zr, 20.0);
    EXPECT_DOUBLE_EQ(r.Lr, 0.0);
    EXPECT_NEAR(r.Em, 2.0e6 * 0.072, 1e-6); // Ei 2e6 psi and RQD 100 at the top: Em/Ei = 1
    EXPECT_DOUBLE_EQ(r.I, 1.1);
    EXPECT_DOUBLE_EQ(r.Qr, 300.0); // the base alone
    // Point 1: s = 0.00018 (below s_ult = 300 x 1.1 / (9 Em) = 0.000255); the base load
    // 9 Em s / 1.1 = 212.07 tons, and the clay above adds its mobilized side resistance.
    const double Qs = 9.0 * r.Em * 0.00018 / 1.1;
    EXPECT_GT(r.block.top_load[0], Qs);
    EXPECT_LT(r.block.top_load[0], Qs + 40.0);
    for (int k = 1; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_GE(r.block.top_load[i], r.block.top_load[i - 1]) << "row " << k + 1;
        EXPECT_GE(r.block.top_movement[i], r.block.top_movement[i - 1]) << "row " << k + 1;
    }
}

TEST(StrongRock, RockFromTheSurfaceGivesTwoEqualSocketCurves) {
    StrongRockInput in = ClayOverRock(2.0e6);
    in.layers = {MakeLayer(kStrongRockSideOrBase, 0, 40)};
    in.layers[0].BDS = Both(3.0);
    in.layers[0].EL = {1.6e6, 2.4e6};
    in.layers[0].RQD = Both(100.0);
    in.tip_layer = 0;
    in.L = 20.0;
    in.capacity = test::LinearCapacity(in.layers, {15.0}, 40.0);
    std::ostringstream report, notes;
    const StrongRockResult r = StrongRockSettlement(in, report, notes);
    ASSERT_EQ(r.status, 0);
    EXPECT_DOUBLE_EQ(r.zr, 0.0);
    // The mean modulus is taken over the rock above the tip: (1.6e6 + 2.0e6) / 2 psi.
    const double Em = 1.8e6 * 0.072;
    EXPECT_NEAR(r.Em, Em, 1e-6);
    // Ec/Em = 2 reads curve 1, at x = 20 / 3.
    EXPECT_NEAR(r.I, 0.375 + (20.0 / 3.0 - 6.0) * (0.373 - 0.375) / 2.0, 1e-12);
    EXPECT_NEAR(r.Qr, 300.0 + 300.0, 1e-9);

    const double s_ult = r.Qr * r.I / (9.0 * Em);
    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_DOUBLE_EQ(r.block.top_load[i], r.block.tip_load[i]) << "row " << k + 1;
        EXPECT_DOUBLE_EQ(r.block.top_movement[i], r.block.tip_movement[i]) << "row " << k + 1;
    }
    // Row 1 by hand: s = 0.00018, socket load and the movement of shortening plus settlement.
    const double Qs = 9.0 * Em * 0.00018 / r.I;
    EXPECT_NEAR(r.block.top_load[0], Qs, 1e-9);
    EXPECT_NEAR(r.block.top_movement[0], 12.0 * (Qs * 20.0 / (kEcTsf * kArea3) + 0.00018 * 3.0),
                1e-12);
    // Beyond s_ult the socket carries Qr and the rows stay where they are.
    ASSERT_LT(s_ult, 0.025);
    EXPECT_NEAR(r.block.top_load[14], r.Qr, 1e-9);
    EXPECT_DOUBLE_EQ(r.block.top_load[13], r.block.top_load[14]);
    EXPECT_DOUBLE_EQ(r.block.top_movement[13], r.block.top_movement[14]);
}

TEST(StrongRock, SoilAboveTheRockAddsItsBoundingTables) {
    // A soft rock mass (Em 360 tsf) lets the socket move so far that the clay above it is fully
    // mobilized: the lower bound adds N(20) = 0.75 of its 40 tons, the upper bound 0.92. The
    // stem (4 ft) is wider than the socket (3 ft).
    StrongRockInput in = ClayOverRock(5000.0);
    in.D = 4.0;
    std::ostringstream report, notes;
    const StrongRockResult r = StrongRockSettlement(in, report, notes);
    ASSERT_EQ(r.status, 0);
    const double Em = 5000.0 * 0.072;
    ASSERT_NEAR(r.Em, Em, 1e-9);
    const double s_ult = r.Qr * r.I / (9.0 * Em);
    ASSERT_GT(s_ult, 0.025);
    ASSERT_LT(s_ult, 0.05);

    // Rows 14 and 15: the socket carries Qr at s_ult. The rock top moves by the shortening of
    // the socket and the socket settlement; the top adds the shortening of the 20 ft of stem.
    const double w = r.Qr * 12.0 / (kEcTsf * kArea3) + s_ult * 3.0;
    ASSERT_GT(w / 4.0, 0.020);
    for (const std::size_t i : {13u, 14u}) {
        for (const auto& [n20, load, movement] :
             {std::tuple{0.75, r.block.top_load[i], r.block.top_movement[i]},
              std::tuple{0.92, r.block.tip_load[i], r.block.tip_movement[i]}}) {
            const double Qt = r.Qr + n20 * 40.0;
            EXPECT_NEAR(load, Qt, 1e-9) << "row " << i + 1;
            EXPECT_NEAR(movement, 12.0 * (w + Qt * 20.0 / (kEcTsf * 0.7854 * 16.0)), 1e-9)
                << "row " << i + 1;
        }
    }

    // The lower-bound curve carries less than the upper-bound one, and it rises with every
    // step until the socket reaches Qr (rows 14 and 15).
    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_LT(r.block.top_load[i], r.block.tip_load[i]) << "row " << k + 1;
        if (k == 0 || k == 14)
            continue;
        EXPECT_GT(r.block.top_load[i], r.block.top_load[i - 1]) << "row " << k + 1;
        EXPECT_GT(r.block.top_movement[i], r.block.top_movement[i - 1]) << "row " << k + 1;
    }
}

TEST(StrongRock, SocketDiameterScalesWithTheStemOrFallsBackToIt) {
    StrongRockInput in = ClayOverRock(2.0e6);
    in.diameter_ratio = 1.5;
    in.D = 4.5;
    std::ostringstream report, notes;
    EXPECT_DOUBLE_EQ(StrongRockSettlement(in, report, notes).B, 4.5);
    in.layers[1].BDS = Both(0.0);
    in.D = 3.5;
    EXPECT_DOUBLE_EQ(StrongRockSettlement(in, report, notes).B, 3.5);
}

TEST(StrongRock, NoValidValueLeavesTheRowsEmptyAndSaysWhy) {
    struct Case {
        const char* what;
        void (*change)(StrongRockInput&);
        int status;
        const char* reason;
    };
    const Case cases[] = {
        {"no intact modulus", [](StrongRockInput& in) { in.layers[1].EL = Both(0.0); },
         KOLMAR_STATUS_BAD_INPUT, "LAYER 2: THE ROCK-MASS MODULUS IS NOT POSITIVE"},
        {"a base on rock that carries nothing",
         [](StrongRockInput& in) {
             in.L = 20.0;
             in.QB = 0.0;
         },
         KOLMAR_STATUS_BAD_INPUT,
         "LAYER 2: THE ROCK CARRIES NO LOAD: NO BASE RESISTANCE AND NO SIDE\n"
         "     RESISTANCE IN THE SOCKET, SO THE METHOD GIVES NO CURVE."},
        {"no concrete modulus", [](StrongRockInput& in) { in.Ec = 0.0; }, KOLMAR_STATUS_BAD_INPUT,
         "THE ELASTIC MODULUS OF THE SHAFT CONCRETE IS NOT POSITIVE."},
        {"a base on rock without an intact modulus at the rock top",
         [](StrongRockInput& in) {
             in.L = 20.0;
             in.layers[1].EL = {0.0, 2.0e6};
         },
         KOLMAR_STATUS_BAD_INPUT, "LAYER 2: THE ROCK-MASS MODULUS IS NOT POSITIVE"},
        {"tip layer not rock", [](StrongRockInput& in) { in.tip_layer = 0; },
         KOLMAR_STATUS_INTERNAL, "THE TIP LAYER GIVEN IS NOT A STRONG-ROCK LAYER."},
    };
    for (const Case& c : cases) {
        StrongRockInput in = ClayOverRock(2.0e6);
        c.change(in);
        std::ostringstream report, notes;
        const StrongRockResult r = StrongRockSettlement(in, report, notes);
        EXPECT_EQ(r.status, c.status) << c.what;
        for (int k = 0; k < kCurveRows; ++k) {
            const auto i = static_cast<std::size_t>(k);
            EXPECT_EQ(r.block.top_load[i], 0.0) << c.what;
            EXPECT_EQ(r.block.top_movement[i], 0.0) << c.what;
            EXPECT_EQ(r.block.tip_load[i], 0.0) << c.what;
            EXPECT_EQ(r.block.tip_movement[i], 0.0) << c.what;
        }
        for (const std::string& text : {report.str(), notes.str()}) {
            EXPECT_TRUE(Contains(text, "     NO LOAD-SETTLEMENT CURVE FOR A TIP IN STRONG ROCK:\n"))
                << c.what << "\n"
                << text;
            EXPECT_TRUE(Contains(text, "     " + std::string(c.reason))) << c.what << "\n" << text;
            EXPECT_FALSE(Contains(text, "LOAD SETTLEMENT RELATIONSHIP")) << c.what;
        }
    }
}

} // namespace
} // namespace kolmar::engine::rock
