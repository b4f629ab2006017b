// Unit resistances by material: the blow-count to friction-angle correlation of sands, the side
// resistance and end-bearing formulas with their limits, the layer-level rules (uplift, TRANLM,
// the code-4 either/or rule, the maximum end bearing) and the values derived for the echo.
#include "resistance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace kolmar::engine {
namespace {

TEST(FrictionAngleTest, ChartValues) {
    struct Case {
        double N, p, phi;
    };
    const Case cases[] = {
        {30, 10, 42.0},  // B(30) = 39, + 0.5 (45 - 39)
        {30, 30, 37.5},  // 39 - 0.5 (39 - 36)
        {30, 50, 36.0},  // A(30)
        {100, 50, 45.0}, // beyond curve A
        {60, 10, 45.0},  // beyond curve B at low pressure
        {3, 0, 33.0},    // curve C between (2, 32) and (4, 34)
        {3, 10, 31.5},   // 33 - 0.5 (33 - 30)
        {12, 20, 32.8},  // on curve B between (10, 32) and (15, 34)
        {8, 30, 31.0},   // 30 + 0.5 (8 - 6)
        {5, 50, 15.0},   // 30 N / 10
        {70, 30, 43.5},  // A(70) + 0.5 (45 - A(70))
        {20, -5, 45.0},  // a negative pressure counts as none
    };
    for (const Case& c : cases)
        EXPECT_NEAR(FrictionAngleFromBlowCount(c.N, c.p), c.phi, 1e-9)
            << "N = " << c.N << ", p = " << c.p << " psi";
}

// Where the rules change at N = 20 and N = 55 the angle runs on without a step.
TEST(FrictionAngleTest, ContinuousWhereTheRulesMeet) {
    for (const double p : {0.0, 10.0, 20.0, 25.0, 39.0, 40.0, 60.0}) {
        for (const double N : {20.0, 55.0}) {
            const double below = FrictionAngleFromBlowCount(N - 1e-9, p);
            const double above = FrictionAngleFromBlowCount(N + 1e-9, p);
            EXPECT_NEAR(below, above, 1e-6) << "N = " << N << ", p = " << p;
        }
    }
}

// Each formula against values worked out by hand.
TEST(ResistanceFormulaTest, EdgeValues) {
    struct Case {
        const char* what;
        std::function<double()> f;
        double expected;
        double tolerance;
    };
    const double pa = kAtmosphericPressure;
    const Case cases[] = {
        {"sand beta at 100 ft raised to 0.25", [] { return SandBetaFromDepth(100, 30); }, 0.25,
         1e-12},
        {"sand beta at 3 ft held to 1.2", [] { return SandBetaFromDepth(3, 30); }, 1.2, 1e-12},
        {"sand beta at 9 ft", [] { return SandBetaFromDepth(9, 30); }, 1.095, 1e-12},
        {"sand beta at 9 ft, N = 10", [] { return SandBetaFromDepth(9, 10); }, 0.73, 1e-12},
        {"Kulhawy-Chen OCR below 1 is 1", [] { return KulhawyChenOcr(10, 0.5, 5000); }, 1.0, 0},
        {"Kulhawy-Chen OCR", [] { return KulhawyChenOcr(16, 0.5, 994.37897); }, 4.0, 1e-12},
        {"Kulhawy-Chen K0 of phi 30, OCR 4", [] { return KulhawyChenK(30, 4); }, 1.0, 1e-12},
        {"Kulhawy-Chen K held to the passive value", [] { return KulhawyChenK(30, 1e6); }, 3.0,
         1e-9},
        {"clay alpha at cu/pa 1.5", [pa] { return ClayAlpha(1.5 * pa); }, 0.55, 1e-12},
        {"clay alpha at cu/pa 2", [pa] { return ClayAlpha(2 * pa); }, 0.50, 1e-12},
        {"clay alpha at cu/pa 3", [pa] { return ClayAlpha(3 * pa); }, 0.40, 1e-12},
        {"clay cu from N = 10", [] { return CuFromBlowCount(kClay, 10); }, 2000, 1e-9},
        {"shale cu from N = 53", [] { return CuFromBlowCount(kClayShale, 53); }, 2000, 1e-9},
        {"gravel beta at 10 ft", [] { return GravelBeta(10); }, 3.4 * std::exp(-0.25908), 1e-12},
        {"gravel beta at the surface held to 3.0", [] { return GravelBeta(0); }, 3.0, 0},
        {"gravel beta at 300 ft raised to 0.25", [] { return GravelBeta(300); }, 0.25, 0},
        {"gravelly sand beta at the surface held to 1.8", [] { return GravellySandBeta(0); }, 1.8,
         0},
        {"gravelly sand beta at 25 ft", [] { return GravellySandBeta(25); },
         2.0 - 0.15 * std::pow(7.62, 0.75), 1e-12},
        {"rock fs at 200 psi", [] { return RockUnitSide(28800); }, 2.16, 1e-12},
        {"rock fs at 1000 psi", [] { return RockUnitSide(144000); },
         2.5 * std::sqrt(1000.0) * 144 / 2000, 1e-12},
        {"sand qb at N 60", [] { return SandUnitBase(60, 0); }, 30, 0},
        {"sand qb at N 50", [] { return SandUnitBase(50, 0); }, 30, 0},
        {"sand qb at N 40", [] { return SandUnitBase(40, 0); }, 24, 1e-12},
        {"sand qb without N, phi 38", [] { return SandUnitBase(0, 38); }, 21.6, 1e-12},
        {"sand qb without N, phi 33", [] { return SandUnitBase(0, 33); }, 8.001, 1e-12},
        {"sand qb without N, phi 30", [] { return SandUnitBase(0, 30); }, 1e-5, 0},
        {"sand qb without N, phi 42", [] { return SandUnitBase(0, 42); }, 30, 0},
        {"sand base 6 ft wide, deep", [] { return SandBaseReduction(6, 80); }, 50.0 / 72, 1e-12},
        {"sand base 3 ft wide at 15 ft", [] { return SandBaseReduction(3, 15); }, 0.5, 1e-12},
        {"clay Nc at 30 ft, 3 ft base", [] { return ClayNc(30, 3); }, 9, 0},
        {"clay Nc at 5 ft, 10 ft base", [] { return ClayNc(5, 10); }, 6.6, 1e-12},
        {"clay Fr of a 6.25 ft base", [] { return ClayBaseReduction(6.25, 40, 2000); }, 1, 0},
        {"clay Fr of a 10 ft base at 40 ft, cu 2000 psf",
         [] { return ClayBaseReduction(10, 40, 2000); },
         2.5 / (0.015 * 120 + 2.5 * 0.45 * std::sqrt(2.0)), 1e-12},
        {"rock Ksp", [] { return RockKsp(2, 0.01, 4); }, 3.5 / (10 * std::sqrt(2.5)), 1e-12},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.f(), c.expected, c.tolerance) << c.what;
}

Layer SandLayer(int method, TopBottom method_values) {
    Layer layer;
    layer.code = kSand;
    layer.ztop = 0;
    layer.zbot = 40;
    layer.GAMMA = {120, 120};
    layer.PHI = {30, 30};
    layer.BLOWS = {20, 20};
    layer.TRANLM = {1.0e10, 1.0e10};
    layer.QMAX = {1.0e10, 1.0e10};
    layer.ISIDE = method;
    (method == kKoMethod     ? layer.KO
     : method == kBetaMethod ? layer.BETA
                             : layer.MEXP) = method_values;
    return layer;
}

TEST(UnitSideResistanceTest, SandMethodsUpliftAndLimits) {
    InputData in;
    const double tan30 = std::tan(std::acos(-1.0) / 6);
    // Ko method: Ko sigma'v tan(phi) / 2000; an interface angle replaces phi.
    Layer ko = SandLayer(kKoMethod, {0.5, 0.5});
    EXPECT_NEAR(UnitSideResistance(in, ko, 10, 1000).fs, 0.5 * 1000 * tan30 / 2000, 1e-12);
    ko.DELTA = {45, 45};
    EXPECT_NEAR(UnitSideResistance(in, ko, 10, 1000).fs, 0.5 * 1000 / 2000, 1e-12);
    // Beta method: the given values, or the depth formula when one is missing; 2.1 tsf at most.
    EXPECT_NEAR(UnitSideResistance(in, SandLayer(kBetaMethod, {0.8, 0.8}), 9, 1000).fs, 0.4, 1e-12);
    EXPECT_NEAR(UnitSideResistance(in, SandLayer(kBetaMethod, {0.8, 0}), 9, 1000).fs,
                1.095 * 1000 / 2000, 1e-12);
    EXPECT_EQ(UnitSideResistance(in, SandLayer(kBetaMethod, {1.0, 1.0}), 9, 10000).fs, 2.1);
    // Kulhawy and Chen: OCR from N, m and sigma'v at the depth.
    const Layer kc = SandLayer(kKulhawyChenMethod, {0.5, 0.5});
    const double ocr = 994.37897 * std::sqrt(20.0) / 1000;
    EXPECT_NEAR(UnitSideResistance(in, kc, 10, 1000).fs,
                0.5 * std::pow(ocr, 0.5) * 1000 * tan30 / 2000, 1e-12);
    // Uplift reduces the stress term; TRANLM caps the result.
    in.KCYCL = 2;
    in.RCYCL = 0.75;
    EXPECT_NEAR(UnitSideResistance(in, SandLayer(kBetaMethod, {0.8, 0.8}), 9, 1000).fs, 0.3, 1e-12);
    Layer capped = SandLayer(kBetaMethod, {0.8, 0.8});
    capped.TRANLM = {500, 500};
    EXPECT_EQ(UnitSideResistance(in, capped, 9, 1000).fs, 0.25);
    // Neither N nor phi: the error flag and no resistance.
    Layer missing = SandLayer(kBetaMethod, {0.8, 0.8});
    missing.PHI = {0, 0};
    missing.BLOWS = {0, 0};
    const SideResistance none = UnitSideResistance(in, missing, 9, 1000);
    EXPECT_TRUE(none.strength_missing);
    EXPECT_EQ(none.fs, 0.0);
}

TEST(UnitSideResistanceTest, ClayRockAndGravel) {
    InputData in;
    Layer clay;
    clay.code = kClay;
    clay.ztop = 0;
    clay.zbot = 20;
    clay.CU = {2 * kAtmosphericPressure, 2 * kAtmosphericPressure};
    clay.TRANLM = {1.0e10, 1.0e10};
    EXPECT_NEAR(UnitSideResistance(in, clay, 5, 0).fs, 0.5 * 2 * kAtmosphericPressure / 2000,
                1e-12);
    clay.ALPHA = {0.3, 0.3};
    EXPECT_NEAR(UnitSideResistance(in, clay, 5, 0).fs, 0.3 * 2 * kAtmosphericPressure / 2000,
                1e-12);
    // No strength but a blow count: cu = N/10 tsf, flagged for the warning.
    clay.CU = {0, 0};
    clay.BLOWS = {10, 10};
    const SideResistance from_blows = UnitSideResistance(in, clay, 5, 0);
    EXPECT_TRUE(from_blows.cu_from_blows);
    EXPECT_NEAR(from_blows.fs, 0.3 * 2000 / 2000, 1e-12);

    Layer rock;
    rock.code = kStrongRockSideAndBase;
    rock.ztop = 0;
    rock.zbot = 20;
    rock.QUR = {28800, 28800};
    rock.QUCON = {576000, 576000};
    rock.TRANLM = {1.0e10, 1.0e10};
    EXPECT_NEAR(UnitSideResistance(in, rock, 5, 0).fs, 2.16, 1e-12);
    rock.QUCON = {0, 0}; // no concrete strength given: the rock governs
    EXPECT_NEAR(UnitSideResistance(in, rock, 5, 0).fs, 2.16, 1e-12);
    rock.QUCON = {14400, 14400}; // weaker concrete governs
    EXPECT_NEAR(UnitSideResistance(in, rock, 5, 0).fs, 1.08, 1e-12);
    // Code 4: rock above 1000 psi carries the load in end bearing and adds no side resistance.
    rock.code = kStrongRockSideOrBase;
    rock.QUR = rock.QUCON = {150000, 150000};
    EXPECT_EQ(UnitSideResistance(in, rock, 5, 0).fs, 0.0);
    rock.QUR = rock.QUCON = {144000, 144000};
    EXPECT_GT(UnitSideResistance(in, rock, 5, 0).fs, 5.0);

    Layer gravel;
    gravel.code = kGravel;
    gravel.ztop = 0;
    gravel.zbot = 20;
    gravel.TRANLM = {1.0e10, 1.0e10};
    EXPECT_NEAR(UnitSideResistance(in, gravel, 10, 1000).fs, GravelBeta(10) * 0.5, 1e-12);
}

TEST(UltimateBaseResistanceTest, ByMaterialWithTheMaximumEndBearing) {
    InputData in;
    const double area3 = 3.1416 / 4 * 9;
    Layer sand = SandLayer(kKoMethod, {0.5, 0.5});
    sand.BLOWS = {40, 40};
    EXPECT_NEAR(UltimateBaseResistance(in, sand, 30, 3, 1).QB, 24 * area3, 1e-9);
    in.IMOD = 1; // 3 ft base at 15 ft: L / 10 Bb = 0.5
    EXPECT_NEAR(UltimateBaseResistance(in, sand, 15, 3, 1).QB, 12 * area3, 1e-9);
    in.IMOD = 0;
    sand.QMAX = {-20000, -20000}; // the unit base resistance itself: 10 tsf
    EXPECT_NEAR(UltimateBaseResistance(in, sand, 30, 3, 1).QB, 10 * area3, 1e-9);
    sand.QMAX = {30000, 30000}; // a cap of 15 tsf
    EXPECT_NEAR(UltimateBaseResistance(in, sand, 30, 3, 1).qb, 15, 1e-9);

    Layer clay;
    clay.code = kClay;
    clay.ztop = 0;
    clay.zbot = 60;
    clay.CU = {20000, 20000};
    clay.QMAX = {1.0e10, 1.0e10};
    // Nc 9 x 10 tsf = 90 tsf, held to 40 tsf for clay; clay shale has no such limit.
    EXPECT_NEAR(UltimateBaseResistance(in, clay, 30, 3, 1).qb, 40, 1e-9);
    clay.code = kClayShale;
    EXPECT_NEAR(UltimateBaseResistance(in, clay, 30, 3, 1).qb, 90, 1e-9);

    Layer rock;
    rock.code = kStrongRockSideAndBase;
    rock.ztop = 0;
    rock.zbot = 60;
    rock.QUR = rock.QUCON = {288000, 288000};
    rock.CS = {2, 2};
    rock.DISCT = {0.01, 0.01};
    rock.BDS = {2, 2};
    rock.QMAX = {1.0e10, 1.0e10};
    // The socket of 2 ft, scaled by the stem diameter ratio 2: Bs = 4 ft.
    const BaseResistance socket = UltimateBaseResistance(in, rock, 30, 3, 2);
    EXPECT_NEAR(socket.QB, 3 * 3.1416 / 4 * 16 * 144 * RockKsp(2, 0.01, 4), 1e-9);
    EXPECT_NEAR(socket.area, 3.1416 / 4 * 16, 1e-12);
    rock.CS = {0, 0};
    EXPECT_TRUE(UltimateBaseResistance(in, rock, 30, 3, 1).spacing_missing);
    rock.CS = {2, 2};
    rock.code = kStrongRockSideOrBase;
    rock.QUR = rock.QUCON = {100000, 100000};
    const BaseResistance side_only = UltimateBaseResistance(in, rock, 30, 3, 1);
    EXPECT_TRUE(side_only.code4_side_only);
    EXPECT_EQ(side_only.QB, 0.0);
}

// A clay or shale layer without a strength at both ends bears on cu = N/10 tsf at its base; the
// shale's side keeps 2000 N / 53 psf. A strength given at one end is interpolated as it stands.
TEST(UltimateBaseResistanceTest, ClayAndShaleBaseFromTheBlowCount) {
    struct Case {
        const char* what;
        int code;
        TopBottom CU;
        double L;  // tip depth, ft
        double QB; // tons, 3 ft base: area 7.0686 sq ft
    };
    const double area3 = 3.1416 / 4 * 9;
    const Case cases[] = {
        // N = 20: cu = 2 tsf, Nc = min(9, 6 (1 + 0.2 x 30 / 3)) = 9, qb = 18 tsf: 127.2 tons.
        {"shale, no strength", kClayShale, {0, 0}, 30, 18 * area3},
        {"clay, no strength", kClay, {0, 0}, 30, 18 * area3},
        // cu 0 at the top, 8000 psf at 60 ft: 2000 psf at 15 ft, Nc 9, qb 9 tsf.
        {"shale, strength at the bottom only", kClayShale, {0, 8000}, 15, 9 * area3},
    };
    InputData in;
    for (const Case& c : cases) {
        Layer layer;
        layer.code = c.code;
        layer.ztop = 0;
        layer.zbot = 60;
        layer.CU = c.CU;
        layer.BLOWS = {20, 20};
        layer.QMAX = {1.0e10, 1.0e10};
        EXPECT_NEAR(UltimateBaseResistance(in, layer, c.L, 3, 1).QB, c.QB, 1e-9) << c.what;
    }
    EXPECT_NEAR(18 * area3, 127.2, 0.05);

    Layer shale;
    shale.code = kClayShale;
    shale.ztop = 0;
    shale.zbot = 60;
    shale.BLOWS = {20, 20};
    shale.TRANLM = {1.0e10, 1.0e10};
    // The side: cu = 2000 x 20 / 53 = 754.7 psf, alpha 0.55.
    EXPECT_NEAR(UnitSideResistance(in, shale, 30, 0).fs, 0.55 * 2000.0 * 20 / 53 / 2000, 1e-12);
}

TEST(DerivedEstimatesTest, MarksAndEchoValues) {
    InputData in;
    Layer clay;
    clay.code = kClay;
    clay.ztop = 10;
    clay.zbot = 30;
    clay.CU = {0, 3000};
    clay.BLOWS = {8, 0};
    clay.ALPHA = {0.5, 0};
    clay.NC = {7, 7};
    in.layers = {clay};
    MarkDerivedEstimates(in);
    const Layer& l = in.layers[0];
    EXPECT_TRUE(l.marks.IsSet(Estimated::CU, kTop));
    EXPECT_FALSE(l.marks.IsSet(Estimated::CU, kBottom));
    EXPECT_TRUE(l.marks.IsSet(Estimated::ALPHA, kTop)); // one alpha missing: both derived
    EXPECT_TRUE(l.marks.IsSet(Estimated::ALPHA, kBottom));
    EXPECT_FALSE(l.marks.IsSet(Estimated::NC, kTop));
    EXPECT_EQ(DerivedValue(l, Estimated::CU, kTop, 3), 1600);
    EXPECT_EQ(DerivedValue(l, Estimated::ALPHA, kBottom, 3), ClayAlpha(3000));
    EXPECT_EQ(DerivedValue(l, Estimated::NC, kTop, 3), 9);
}

} // namespace
} // namespace kolmar::engine
