// t-z and q-w curves: layer preparation, curve depths, maximum unit load transfer from the
// profile and the strength curve with its 0.1-inch reach, the q-w curve, additional curves, and
// the staged plot records.
#include "settlement/tz_curves.h"

#include "settlement_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kolmar::engine::settlement {
namespace {

using test::Lines;
using test::MemoryFiles;
using test::SandOverClay;

constexpr double kPsiPerTsf = 2000.0 / 144.0;

TEST(CurveDepthTest, FiveCurvesPerLayerFromTheTopDown) {
    const TzGeometry g = PrepareLayers({{1, 0.0, 20.0, 0, 0}, {2, 20.0, 40.0, 0, 0}});
    const std::vector<double> expected = {0.0,    60.0,  120.0, 179.995, 239.99,
                                          252.01, 300.0, 360.0, 419.995, 479.99};
    const std::vector<double> depths = CurveDepths(g);
    ASSERT_EQ(depths.size(), expected.size());
    for (std::size_t i = 0; i < depths.size(); ++i)
        EXPECT_NEAR(depths[i], expected[i], 1e-9) << "curve " << i + 1;
}

TEST(CurveDepthTest, AThinLayerKeepsItsCurvesInNumberOrder) {
    // A 6-inch second layer: its first curve lies 12.01 in below its top, below its bottom.
    const TzGeometry g = PrepareLayers({{2, 0.0, 10.0, 0, 0}, {1, 10.0, 10.5, 0, 0}});
    const std::vector<double> depths = CurveDepths(g);
    ASSERT_EQ(depths.size(), 10u);
    EXPECT_NEAR(depths[5], 132.01, 1e-9);
    EXPECT_NEAR(depths[9], 125.99, 1e-9);
    EXPECT_GT(depths[5], depths[9]);
}

TEST(CurveDepthTest, ALayerWithoutThicknessIsWidenedToATenthOfAnInch) {
    ShaftCase s = SandOverClay();
    s.layers = {{1, 0.0, 0.0, 0.1, 0.1}, {2, 0.0, 40.0, 0.5, 0.5}};
    const TzGeometry g = PrepareLayers(s.layers);
    EXPECT_DOUBLE_EQ(g.bottom[0], 0.1);
    EXPECT_DOUBLE_EQ(g.top[1], 0.1);
    std::vector<TzCurve> curves;
    std::ostringstream report;
    EXPECT_EQ(BuildTzCurves(s, g, LoadTransferLine::trend, report, curves), 0);
    ASSERT_EQ(curves.size(), 10u);
    EXPECT_NEAR(curves[4].depth, 0.09, 1e-12);
    EXPECT_NEAR(curves[5].depth, 12.11, 1e-12);
}

TEST(CurveDepthTest, ATipLayerOfOneFootPutsItsFirstCurveJustPastTheTip) {
    // The first curve of a one-foot tip layer lies 0.01 in below the tip, within the 0.1 in
    // that the strength curve may be extrapolated; a thinner tip layer reaches further.
    ShaftCase s = SandOverClay();
    s.layers = {{1, 0.0, 39.0, 0.1, 0.4}, {2, 39.0, 40.0, 0.5, 0.5}};
    std::vector<TzCurve> curves;
    std::ostringstream report;
    EXPECT_EQ(BuildTzCurves(s, PrepareLayers(s.layers), LoadTransferLine::trend, report, curves),
              0);
    ASSERT_EQ(curves.size(), 10u);
    EXPECT_NEAR(curves[5].depth, 480.01, 1e-9);

    s.layers = {{1, 0.0, 39.5, 0.1, 0.4}, {2, 39.5, 40.0, 0.5, 0.5}};
    EXPECT_EQ(BuildTzCurves(s, PrepareLayers(s.layers), LoadTransferLine::trend, report, curves),
              2);
    EXPECT_NE(report.str().find("THE VALUE OF X = 0.480E+03"), std::string::npos);
}

TEST(StrengthCurveTest, ReachesPastTheDeepestPointByLessThanATenthOfAnInch) {
    const TzGeometry g = PrepareLayers({{1, 0.0, 10.0, 0.1, 0.2}, {2, 10.0, 20.0, 0.3, 0.5}});
    double v = 0.0;
    ASSERT_TRUE(StrengthAt(g, 60.0, v));
    EXPECT_NEAR(v, 0.15 * kPsiPerTsf, 1e-12);
    ASSERT_TRUE(StrengthAt(g, 120.0, v)); // on a boundary: the layer below
    EXPECT_NEAR(v, 0.3 * kPsiPerTsf, 1e-12);
    ASSERT_TRUE(StrengthAt(g, 240.05, v)); // extrapolated on the last interval
    EXPECT_NEAR(v, (0.5 + 0.2 * 0.05 / 120.0) * kPsiPerTsf, 1e-12);
    ASSERT_TRUE(StrengthAt(g, 240.0999, v));
    EXPECT_FALSE(StrengthAt(g, 240.1001, v));
    EXPECT_FALSE(StrengthAt(PrepareLayers({}), 0.0, v));
}

TEST(MaximumTransferTest, ProfileAwayFromTheTipAndStrengthCurveJustAboveIt) {
    ShaftCase s = SandOverClay();
    s.profile_fs.assign(s.profile_fs.size(), 0.2);
    std::vector<TzCurve> curves;
    std::ostringstream report;
    ASSERT_EQ(BuildTzCurves(s, PrepareLayers(s.layers), LoadTransferLine::trend, report, curves),
              0);
    ASSERT_EQ(curves.size(), 10u);
    for (std::size_t i = 0; i + 1 < curves.size(); ++i)
        EXPECT_NEAR(curves[i].fmax, 0.2 * kPsiPerTsf, 1e-12) << "curve " << i + 1;
    EXPECT_NEAR(curves.back().fmax, 0.5 * kPsiPerTsf, 1e-12);
    // Sand curves reach 10 % of the 36 in diameter, clay curves 2 %.
    EXPECT_EQ(curves[0].code, 1);
    EXPECT_DOUBLE_EQ(curves[0].points.movement[9], 3.6);
    EXPECT_EQ(curves[9].code, 2);
    EXPECT_DOUBLE_EQ(curves[9].points.movement[9], 0.72);
}

TEST(MaximumTransferTest, ProfileIsInterpolatedAndHeldBeyondItsEnds) {
    ShaftCase s;
    s.profile_depth = {1.0, 2.0, 3.0};
    s.profile_fs = {0.1, 0.3, 0.2};
    EXPECT_NEAR(ProfileAt(s, 6.0), 0.1 * kPsiPerTsf, 1e-12);
    EXPECT_NEAR(ProfileAt(s, 18.0), 0.2 * kPsiPerTsf, 1e-12);
    EXPECT_NEAR(ProfileAt(s, 36.0), 0.2 * kPsiPerTsf, 1e-12);
    EXPECT_NEAR(ProfileAt(s, 100.0), 0.2 * kPsiPerTsf, 1e-12);
}

TEST(QwCurveTest, ScaledByTheLargerDiameterAndTheBaseResistance) {
    struct Case {
        double base_diameter; // ft
        double last_movement; // in
    };
    for (const Case c : {Case{6.0, 7.2}, Case{2.0, 3.6}, Case{3.0, 3.6}}) {
        ShaftCase s = SandOverClay();
        s.base_diameter = c.base_diameter;
        s.Qbmax = 50.0;
        CurvePoints qw;
        std::ostringstream report, notes;
        ASSERT_EQ(
            BuildQwCurve(s, PrepareLayers(s.layers), LoadTransferLine::trend, report, notes, qw),
            0);
        EXPECT_DOUBLE_EQ(qw.movement[9], c.last_movement) << "base " << c.base_diameter;
        EXPECT_DOUBLE_EQ(qw.value[9], 0.991 * 100000.0); // cohesive trend line, clay tip
    }
}

TEST(QwCurveTest, ATipBelowTheLayersStopsWithStatusFourForEveryBaseFamily) {
    for (const int code : {1, 2}) {
        ShaftCase s = SandOverClay();
        s.layers = {{code, 0.0, 39.0, 0.1, 0.1}};
        CurvePoints qw;
        std::ostringstream report, notes;
        EXPECT_EQ(
            BuildQwCurve(s, PrepareLayers(s.layers), LoadTransferLine::trend, report, notes, qw),
            4);
        EXPECT_NE(report.str().find("THE VALUE OF X = 0.48E+03 IS BEYOND"), std::string::npos);
        EXPECT_EQ(report.str(), notes.str());
    }
}

TEST(AdditionalCurveTest, CodeByDepth) {
    const TzGeometry g =
        PrepareLayers({{1, 0.0, 10.0, 0, 0}, {2, 10.0, 20.0, 0, 0}, {3, 20.0, 30.0, 0, 0}});
    struct Case {
        double z;
        int code;
    };
    for (const Case c : {Case{-5.0, 1}, Case{0.0, 1}, Case{60.0, 1}, Case{120.0, 1}, Case{120.5, 2},
                         Case{300.0, 3}, Case{360.0, 3}, Case{500.0, 3}})
        EXPECT_EQ(AdditionalCurveCode(g, c.z), c.code) << "depth " << c.z;
}

TEST(AdditionalCurveTest, ListedInTheReportAndStagedOnceForTheFirstCase) {
    ShaftCase s = SandOverClay();
    s.print_tz_curves = true;
    s.tz_depths = {10.0, 30.0};
    MemoryFiles m;
    SettlementFiles files = m.Files();
    ASSERT_EQ(AdditionalTzCurves(s, LoadTransferLine::trend, files), 0);
    ASSERT_EQ(AdditionalTzCurves(s, LoadTransferLine::upper_bound, files), 0);
    s.variation = 2;
    ASSERT_EQ(AdditionalTzCurves(s, LoadTransferLine::trend, files), 0);

    const std::vector<std::string> staged = Lines(m.plot_t.str());
    ASSERT_EQ(staged.size(), 1u + 2u * 11u);
    EXPECT_EQ(staged[0], " 2");
    EXPECT_EQ(staged[1], "            1         10      0.1000E+02");
    EXPECT_EQ(staged[12], "            2         10      0.3000E+02");
    // Sand at 10 ft: fmax 0.25 tsf from the profile; the first point is 0.335 fmax at 0.036 in.
    EXPECT_EQ(staged[3], "  1.163194E+00  3.600000E-02");

    const std::string report = m.report.str();
    EXPECT_NE(report.find("        RESULT FROM TREND (AVERAGED) LINE\n"), std::string::npos);
    EXPECT_NE(report.find("        RESULT FROM UPPER-BOUND LINE\n"), std::string::npos);
    EXPECT_NE(report.find(std::string(11, ' ') + "NO.      POINTS        FT." +
                          std::string(14, ' ') + "PSI" + std::string(13, ' ') + "IN.\n"),
              std::string::npos);
    EXPECT_NE(report.find("            1         10      0.1000E+02\n"), std::string::npos);
}

TEST(AdditionalCurveTest, ADepthBelowTheTipStopsWithStatusTwo) {
    ShaftCase s = SandOverClay();
    s.tz_depths = {10.0, 45.0};
    MemoryFiles m;
    SettlementFiles files = m.Files();
    EXPECT_EQ(AdditionalTzCurves(s, LoadTransferLine::trend, files), 2);
    EXPECT_EQ(m.report.str(), "\n" + std::string(29, ' ') +
                                  "**** WARNING ****\n     THE VALUE OF X = 0.480E+03 IS BEYOND "
                                  "THE EXTENT OF THE INPUT STRENGTH CURVE 1\n");
    EXPECT_EQ(m.plot_t.str(), "");
}

TEST(StagedCurveTest, HeadRecordsAndPointsInProjectUnits) {
    ShaftCase s = SandOverClay();
    std::vector<TzCurve> curves;
    std::ostringstream report;
    ASSERT_EQ(BuildTzCurves(s, PrepareLayers(s.layers), LoadTransferLine::trend, report, curves),
              0);
    std::ostringstream english, si;
    StageTzCurves(english, curves, false);
    StageTzCurves(si, curves, true);
    const std::vector<std::string> en = Lines(english.str());
    const std::vector<std::string> me = Lines(si.str());
    ASSERT_EQ(en.size(), 1u + 10u * 11u);
    EXPECT_EQ(en[0], " 10");
    EXPECT_EQ(en[1 + 11 * 7], "    8   10     30.00");
    EXPECT_EQ(me[1 + 11 * 7], "    8   10      9.14");
    // Clay curve 8: 0.5 tsf = 6.944 psi = 47.88 kPa; its last point at 2 % of 36 in.
    EXPECT_EQ(en[1 + 11 * 7 + 10], "  5.798611E+00  7.200000E-01");
    EXPECT_EQ(me[1 + 11 * 7 + 10], "  3.998142E+01  1.828800E-02");
}

} // namespace
} // namespace kolmar::engine::settlement
