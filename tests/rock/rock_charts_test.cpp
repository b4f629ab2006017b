// The digitized charts of the rock procedures and their lookup rules.
#include "settlement/rock/rock_charts.h"

#include <gtest/gtest.h>

namespace kolmar::engine::rock {
namespace {

struct ChartCase {
    const char* what;
    double (*chart)(double, double);
    double p;
    double x;
    double expected;
};

double Slump(double p, double x) {
    return SlumpFactor(p, x);
}
double Alpha(double p, double x) {
    return AdhesionFactor(p, x);
}
double Softening(double p, double x) {
    return SofteningFactor(p, x);
}

TEST(RockCharts, FamilyChartsFollowTheLookupRule) {
    const ChartCase cases[] = {
        {"slump, chart point", Slump, 13.12, 6.89, 0.96},
        {"slump, between points on one curve", Slump, 26.25, 7.875, 0.875},
        {"slump, below the first abscissa", Slump, 26.25, 3.0, 0.47},
        {"slump, above the last abscissa", Slump, 39.37, 12.0, 0.9},
        {"slump, zc at the ground surface", Slump, 0.0, 5.0, 1.0},
        {"slump, halfway between two curves", Slump, 19.685, 5.0, 0.495},
        {"slump, zc 40 ft reads the 39.37 ft curve", Slump, 40.0, 6.89, 0.65},
        {"alpha, below the first curve", Alpha, 0.5, 20830, 0.145},
        {"alpha, between curves 2 and 3", Alpha, 2.5, 41660, 0.184},
        {"alpha, above the last curve", Alpha, 9.0, 104150, 0.156},
        {"alpha, qu beyond the chart", Alpha, 4.0, 200000, 0.14},
        {"n, chart point", Softening, 600, 24, 0.375},
        {"n, between curves 1000 and 1500", Softening, 1250, 14, 0.365},
        {"n, at 3000", Softening, 3000, 24, 0.075},
        {"n, above 3000 stays on the 3000 curve", Softening, 8000, 14, 0.24},
        {"n, above 3000 and beyond the abscissae", Softening, 4000, 60, 0.0},
        {"n, below 400", Softening, 100, 5, 0.5},
    };
    for (const ChartCase& c : cases)
        EXPECT_NEAR(c.chart(c.p, c.x), c.expected, 1e-12) << c.what;
}

TEST(RockCharts, StrongRockModulusRatioAndInfluenceFactor) {
    EXPECT_DOUBLE_EQ(StrongRockModulusRatio(100.0), 1.0);
    EXPECT_DOUBLE_EQ(StrongRockModulusRatio(120.0), 1.0);
    EXPECT_DOUBLE_EQ(StrongRockModulusRatio(-5.0), 0.1);
    EXPECT_NEAR(StrongRockModulusRatio(85.0), 0.6, 1e-12);
    EXPECT_NEAR(StrongRockModulusRatio(97.5), 0.925, 1e-12);

    // Each curve keeps its value at x = 20 beyond it.
    const double at_20[] = {0.365, 0.2, 0.155, 0.085};
    for (int curve = 1; curve <= 4; ++curve) {
        EXPECT_DOUBLE_EQ(InfluenceCurve(curve, 20.0), at_20[curve - 1]);
        EXPECT_DOUBLE_EQ(InfluenceCurve(curve, 35.0), at_20[curve - 1]);
        EXPECT_DOUBLE_EQ(InfluenceCurve(curve, 0.0), 1.1);
    }
    EXPECT_NEAR(InfluenceCurve(2, 3.0), 0.315, 1e-12);

    // Between the curves the factor is linear in Ec/Em; outside them the end curves hold.
    const double x = 4.0; // curves 0.395, 0.28, 0.255, 0.23
    EXPECT_DOUBLE_EQ(InfluenceFactor(x, 5.0), 0.395);
    EXPECT_NEAR(InfluenceFactor(x, 30.0), 0.395 - 20.0 * 0.115 / 40.0, 1e-12);
    EXPECT_NEAR(InfluenceFactor(x, 75.0), 0.28 - 25.0 * 0.025 / 50.0, 1e-12);
    EXPECT_NEAR(InfluenceFactor(x, 2550.0), 0.255 - 2450.0 * 0.025 / 4900.0, 1e-12);
    EXPECT_DOUBLE_EQ(InfluenceFactor(x, 5000.0), 0.23);
    EXPECT_DOUBLE_EQ(InfluenceFactor(x, 1.0e6), 0.23);
}

TEST(RockCharts, WeakRockModulusRatioAndJointFactor) {
    EXPECT_DOUBLE_EQ(WeakRockModulusRatio(10.0, false), 0.05);
    EXPECT_NEAR(WeakRockModulusRatio(60.0, false), 0.425, 1e-12);
    EXPECT_NEAR(WeakRockModulusRatio(60.0, true), 0.2, 1e-12);
    EXPECT_DOUBLE_EQ(WeakRockModulusRatio(100.0, true), 0.6);
    EXPECT_DOUBLE_EQ(WeakRockModulusRatio(150.0, false), 1.0);
    EXPECT_DOUBLE_EQ(JointFactor(0.01), 0.3);
    EXPECT_NEAR(JointFactor(0.4), 0.75, 1e-12);
    EXPECT_DOUBLE_EQ(JointFactor(1.0), 1.0);
}

} // namespace
} // namespace kolmar::engine::rock
