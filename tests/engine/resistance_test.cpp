// Blow-count to friction-angle correlation of sands: the chart curves, the interpolation between
// them by overburden pressure, and the continuity of the rules at their limits.
#include "resistance.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace kolmar::engine
