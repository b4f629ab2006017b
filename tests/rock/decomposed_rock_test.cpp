// Decomposed rock and gravel: the capacity correlations, the stress used, the base diameter,
// the embedded length, the modulus and gradient, the rows of the curve and the guards.
#include "settlement/rock/decomposed_rock.h"

#include "kolmar/ikolmar.h"
#include "rock_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace kolmar::engine::rock {
namespace {

using test::Both;
using test::Contains;
using test::MakeLayer;

// Sand to 10 ft over decomposed rock to 60 ft (125 pcf, 40 blows), water table deep below; a
// 3 ft shaft 40 ft long.
DecomposedRockSite SandOverGravel() {
    DecomposedRockSite site;
    site.layers = {MakeLayer(kSand, 0, 10), MakeLayer(kDecomposedRock, 10, 60)};
    site.layers[0].GAMMA = Both(120.0);
    site.layers[1].GAMMA = Both(125.0);
    site.layers[1].BLOWS = Both(40.0);
    site.WTD = 100.0;
    site.D = 3.0;
    site.L = 40.0;
    site.Ec = 3.6e6;
    return site;
}

TEST(DecomposedRock, CapacityFromTheBlowCount) {
    std::ostringstream notes;
    const DecomposedRockResistance c =
        DecomposedRockCapacityAt(SandOverGravel(), 1, 20.0, 2500.0, notes);
    // phi' = atan((40 / (12.2 + 20.3 x 2500 / 2115.7))^0.34) = 45.98 deg, R = 6.770,
    // K0 = 1.1114; the base of a 3 ft shaft without socket.
    EXPECT_NEAR(c.fs, 1908.3411452502, 1e-6);
    EXPECT_NEAR(c.QB, 87.566125719940, 1e-9);
    EXPECT_EQ(notes.str(), "");
}

TEST(DecomposedRock, StressAndBaseDiameterUsed) {
    DecomposedRockSite site = SandOverGravel();
    // Above L + 2B the stress at the depth; below it the stress at the layer's mid-depth:
    // 120 x 10 + 250 x 0.25 x 50 = 4325 psf dry, less 62.4 x 15 with the water at 20 ft.
    EXPECT_DOUBLE_EQ(DecomposedRockValuesAt(site, 1, 39.5, 2400.0).sigma, 2400.0);
    EXPECT_DOUBLE_EQ(DecomposedRockValuesAt(site, 1, 40.5, 2400.0).sigma, 4325.0);
    site.WTD = 20.0;
    EXPECT_NEAR(DecomposedRockValuesAt(site, 1, 40.5, 2400.0).sigma, 4325.0 - 936.0, 1e-9);

    // A socket scales with the stem; without one the current stem is the base.
    site.diameter_ratio = 1.5;
    site.D = 4.5;
    const DecomposedRockValues bare = DecomposedRockValuesAt(site, 1, 30.0, 2400.0);
    EXPECT_EQ(bare.B, 0.0);
    EXPECT_EQ(bare.Bb, 4.5);
    site.layers[1].BDS = {2.0, 4.0};
    const DecomposedRockValues socket = DecomposedRockValuesAt(site, 1, 30.0, 2400.0);
    EXPECT_DOUBLE_EQ(socket.B, 1.5 * 2.8);
    EXPECT_DOUBLE_EQ(socket.Bb, 1.5 * 2.8);
    // The stress test uses B itself: 40 + 2 x 4.2 reaches below 48 ft.
    EXPECT_DOUBLE_EQ(DecomposedRockValuesAt(site, 1, 48.0, 2400.0).sigma, 2400.0);
}

TEST(DecomposedRock, NoEffectiveStressGivesZeroResistanceWithAWarning) {
    DecomposedRockSite site = SandOverGravel();
    site.layers[1].BDS = Both(3.0);
    std::ostringstream notes;
    const DecomposedRockResistance c = DecomposedRockCapacityAt(site, 1, 12.5, -4.0, notes);
    EXPECT_EQ(c.fs, 0.0);
    EXPECT_EQ(c.QB, 0.0);
    EXPECT_TRUE(Contains(notes.str(),
                         "     DECOMPOSED ROCK OR GRAVEL, LAYER 2, DEPTH    12.50 FT:\n"
                         "     THE VERTICAL EFFECTIVE STRESS IS NOT POSITIVE;\n"))
        << notes.str();
    // A layer that is not decomposed rock is refused.
    EXPECT_EQ(DecomposedRockCapacityAt(site, 0, 5.0, 600.0, notes).status, KOLMAR_STATUS_INTERNAL);
    site.si = true;
    std::ostringstream si_notes;
    DecomposedRockCapacityAt(site, 1, 12.5, 0.0, si_notes);
    EXPECT_TRUE(Contains(si_notes.str(), "LAYER 2, DEPTH     3.81 M:")) << si_notes.str();
}

TEST(DecomposedRock, EmbeddedLengthCountsFromTheTopOfTheLayerAboveTheTip) {
    std::ostringstream report, notes;
    CurveBlock block;
    // Tip layer below the first: from the top of the layer above it, the ground surface here.
    DecomposedRockSite site = SandOverGravel();
    EXPECT_DOUBLE_EQ(DecomposedRockLoadSettlement(site, 1, 3000, 250, block, report, notes).Lp,
                     40.0);
    // Three layers: from the top of the clay above the tip layer.
    site.layers = {MakeLayer(kSand, 0, 10), MakeLayer(kClay, 10, 20),
                   MakeLayer(kDecomposedRock, 20, 60)};
    site.layers[2].BLOWS = Both(40.0);
    EXPECT_DOUBLE_EQ(DecomposedRockLoadSettlement(site, 2, 3000, 250, block, report, notes).Lp,
                     30.0);
    // Tip layer first: the whole length; a length of (almost) nothing: the layer's bottom.
    site.layers = {MakeLayer(kDecomposedRock, 0, 60)};
    site.layers[0].BLOWS = Both(40.0);
    EXPECT_DOUBLE_EQ(DecomposedRockLoadSettlement(site, 0, 3000, 250, block, report, notes).Lp,
                     40.0);
    site.L = 0.00005;
    EXPECT_DOUBLE_EQ(DecomposedRockLoadSettlement(site, 0, 3000, 250, block, report, notes).Lp,
                     60.0);
}

TEST(DecomposedRock, ModulusFromTheLayerOrFromTheBlowCount) {
    std::ostringstream report, notes;
    CurveBlock block;
    DecomposedRockSite site = SandOverGravel();
    site.layers[1].BLOWS = {30.0, 40.0};
    // Blow counts: E_L = 22 pa N^0.82 at the tip (N = 30 + 10 x 30 / 50 = 36), rho = 30 / 40.
    DecomposedRockSettlement r =
        DecomposedRockLoadSettlement(site, 1, 3000, 250, block, report, notes);
    EXPECT_NEAR(r.EL, 46545.4 * std::pow(36.0, 0.82), 1e-6);
    EXPECT_DOUBLE_EQ(r.rho, 0.75);
    // A given modulus (psi) enters in psf, with its own gradient.
    site.layers[1].EGM = {10000.0, 20000.0};
    r = DecomposedRockLoadSettlement(site, 1, 3000, 250, block, report, notes);
    EXPECT_DOUBLE_EQ(r.EL, 20000.0 * 144.0);
    EXPECT_DOUBLE_EQ(r.rho, 0.75);
    EXPECT_NEAR(r.lambda, 5200.0 * 3.6e6 * 0.072 / (20000.0 * 144.0), 1e-12);
}

TEST(DecomposedRock, CurveRisesToTheUltimateAndEndsFlat) {
    std::ostringstream report, notes;
    CurveBlock block;
    block.tip_load.fill(7.0);
    block.tip_movement.fill(9.0);
    DecomposedRockSite site = SandOverGravel();
    site.layers[1].BDS = Both(3.0);
    const double sigma_tip = 3000.0;
    const double Qs = 250.0;
    const DecomposedRockSettlement r =
        DecomposedRockLoadSettlement(site, 1, sigma_tip, Qs, block, report, notes);
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(
        Contains(report.str(), "                      LOAD SETTLEMENT RELATIONSHIP      \n"));
    EXPECT_EQ(notes.str(), "");

    // The method's base equals the capacity use's base at the tip.
    const DecomposedRockResistance tip = DecomposedRockCapacityAt(site, 1, 40.0, sigma_tip, notes);
    EXPECT_NEAR(r.QB, tip.QB, 1e-6 * tip.QB);
    // Row 10 is full side mobilization, row 14 the ultimate load, row 15 repeats it at 1.2 times
    // the movement (tons and inches).
    EXPECT_NEAR(block.top_load[9], r.Pt / 2000.0, 1e-9);
    EXPECT_NEAR(block.top_movement[9], 12.0 * r.wt, 1e-12);
    EXPECT_NEAR(block.top_load[13], Qs + r.QB, 1e-9);
    EXPECT_DOUBLE_EQ(block.top_load[14], block.top_load[13]);
    EXPECT_NEAR(block.top_movement[14], 1.2 * block.top_movement[13], 1e-12);
    for (int k = 1; k < 14; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_GT(block.top_load[i], block.top_load[i - 1]) << "row " << k + 1;
        EXPECT_GT(block.top_movement[i], block.top_movement[i - 1]) << "row " << k + 1;
    }
    for (int k = 0; k < kCurveRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_EQ(block.tip_load[i], 7.0);     // left as it was
        EXPECT_EQ(block.tip_movement[i], 0.0); // cleared
    }
}

TEST(DecomposedRock, NoValidValueLeavesTheRowsEmptyAndSaysWhy) {
    struct Case {
        const char* what;
        void (*change)(DecomposedRockSite&, double& sigma_tip, double& Qs);
        const char* reason;
    };
    const Case cases[] = {
        {"no effective stress", [](DecomposedRockSite&, double& s, double&) { s = -10.0; },
         "LAYER 2: THE VERTICAL EFFECTIVE STRESS AT THE TIP IS NOT POSITIVE."},
        {"no modulus, no blow count",
         [](DecomposedRockSite& site, double&, double&) { site.layers[1].BLOWS = Both(0.0); },
         "LAYER 2: THE MODULUS IS 0 AND THE BLOW COUNT GIVES NONE."},
        {"no modulus, no blow count at the bottom",
         [](DecomposedRockSite& site, double&, double&) {
             site.layers[1].BLOWS = {40.0, 0.0};
         },
         "LAYER 2: WITHOUT A MODULUS, THE BLOW COUNT AT THE LAYER BOTTOM MUST BE POSITIVE."},
        {"logarithm of a number below one",
         [](DecomposedRockSite& site, double&, double&) {
             site.layers = {MakeLayer(kDecomposedRock, 0, 60)};
             site.layers[0].BLOWS = Both(40.0);
             site.layers[0].BDS = Both(3.0);
             site.L = 0.3;
         },
         "RADIUS-OF-INFLUENCE FACTOR ZETA (LOGARITHM OF     0.675)."},
        {"base too weak for the side", [](DecomposedRockSite&, double&, double& Qs) { Qs = 1e5; },
         "THE BASE CANNOT TAKE THE REMAINING LOAD."},
        {"no concrete modulus", [](DecomposedRockSite& site, double&, double&) { site.Ec = 0; },
         "THE ELASTIC MODULUS OF THE SHAFT CONCRETE IS NOT POSITIVE."},
    };
    for (const Case& c : cases) {
        DecomposedRockSite site = SandOverGravel();
        site.layers[1].BDS = Both(3.0);
        double sigma_tip = 3000.0;
        double Qs = 250.0;
        c.change(site, sigma_tip, Qs);
        const int tip = TipLayerIndex(site.layers, site.L);
        CurveBlock block;
        block.top_movement.fill(1.0);
        block.top_load.fill(1.0);
        std::ostringstream report, notes;
        const DecomposedRockSettlement r =
            DecomposedRockLoadSettlement(site, tip, sigma_tip, Qs, block, report, notes);
        EXPECT_EQ(r.status, KOLMAR_STATUS_BAD_INPUT) << c.what;
        for (int k = 0; k < kCurveRows; ++k) {
            const auto i = static_cast<std::size_t>(k);
            EXPECT_EQ(block.top_load[i], 0.0) << c.what;
            EXPECT_EQ(block.top_movement[i], 0.0) << c.what;
        }
        for (const std::string& text : {report.str(), notes.str()}) {
            EXPECT_TRUE(Contains(
                text, "     NO LOAD-SETTLEMENT CURVE FOR A TIP IN DECOMPOSED ROCK OR GRAVEL:\n"))
                << c.what << "\n"
                << text;
            EXPECT_TRUE(Contains(text, c.reason)) << c.what << "\n" << text;
            EXPECT_FALSE(Contains(text, "LOAD SETTLEMENT RELATIONSHIP")) << c.what;
        }
    }
}

} // namespace
} // namespace kolmar::engine::rock
