// Unit resistances by material; the blow-count to friction-angle correlation of sands.
#include "resistance.h"

#include <algorithm>
#include <cstddef>
#include <span>

namespace kolmar::engine {
namespace {

struct ChartPoint {
    double N;   // SPT blow count, blows per foot
    double phi; // friction angle, degrees
};

// Friction angle against blow count at three effective overburden pressures.
constexpr ChartPoint kCurveC[] = {{0, 0},   {2, 32},  {4, 34}, {6, 36},
                                  {10, 38}, {15, 42}, {20, 45}}; // p = 0 psi
constexpr ChartPoint kCurveB[] = {{6, 30},  {10, 32}, {15, 34}, {20, 36}, {25, 37}, {30, 39},
                                  {35, 40}, {40, 41}, {45, 42}, {50, 44}, {55, 45}}; // p = 20 psi
constexpr ChartPoint kCurveA[] = {{10, 31}, {15, 32}, {20, 34}, {25, 35}, {30, 36}, {35, 36},
                                  {40, 37}, {45, 38}, {50, 39}, {55, 39}, {60, 40}, {65, 41},
                                  {70, 42}, {75, 42}, {80, 43}, {85, 44}, {90, 44}}; // p = 40 psi

// The curve at N, linear between its points and held at its end values outside them.
double Curve(std::span<const ChartPoint> curve, double N) {
    if (N <= curve.front().N)
        return curve.front().phi;
    for (std::size_t i = 1; i < curve.size(); ++i) {
        if (N <= curve[i].N) {
            const ChartPoint& a = curve[i - 1];
            const ChartPoint& b = curve[i];
            return a.phi + (N - a.N) * (b.phi - a.phi) / (b.N - a.N);
        }
    }
    return curve.back().phi;
}

double C(double N) {
    return Curve(kCurveC, N);
}
double B(double N) {
    return Curve(kCurveB, N);
}
double A(double N) {
    return Curve(kCurveA, N);
}

} // namespace

double FrictionAngleFromBlowCount(double N, double p) {
    p = std::max(p, 0.0);
    if (p <= 20.0) {
        if (N < 6.0)
            return C(N) - (p / 20.0) * (C(N) - 30.0);
        if (N <= 20.0)
            return C(N) - (p / 20.0) * (C(N) - B(N));
        if (N <= 55.0)
            return B(N) + ((20.0 - p) / 20.0) * (45.0 - B(N));
        return 45.0;
    }
    if (p < 40.0) {
        if (N <= 6.0)
            return 30.0 * N / 6.0;
        if (N < 10.0)
            return 30.0 + 0.5 * (N - 6.0);
        if (N <= 55.0)
            return B(N) - ((p - 20.0) / 20.0) * (B(N) - A(N));
        if (N <= 90.0)
            return A(N) + ((40.0 - p) / 20.0) * (45.0 - A(N));
        return 45.0;
    }
    if (N <= 10.0)
        return 30.0 * N / 10.0;
    if (N <= 90.0)
        return A(N);
    return 45.0;
}

} // namespace kolmar::engine
