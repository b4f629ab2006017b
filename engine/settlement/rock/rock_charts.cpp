// Chart data and lookups of the rock procedures.
#include "rock_charts.h"

#include <array>
#include <cstddef>
#include <span>

namespace kolmar::engine::rock {
namespace {

struct Point {
    double x;
    double y;
};

// A curve given by points, linear between them and held at its first and last value outside.
double Linear(std::span<const Point> points, double x) {
    if (x <= points.front().x)
        return points.front().y;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (x <= points[i].x) {
            const Point& a = points[i - 1];
            const Point& b = points[i];
            return a.y + (x - a.x) * (b.y - a.y) / (b.x - a.x);
        }
    }
    return points.back().y;
}

// A family of curves sharing their abscissae; curve[c][j] is curve c at abscissa x[j].
template <std::size_t Curves, std::size_t Points> struct FamilyChart {
    std::array<double, Curves> parameter;
    std::array<double, Points> x;
    std::array<std::array<double, Points>, Curves> curve;

    double OnCurve(std::size_t c, double at) const {
        std::array<Point, Points> points{};
        for (std::size_t j = 0; j < Points; ++j)
            points[j] = {x[j], curve[c][j]};
        return Linear(points, at);
    }

    double LookUp(double p, double at) const {
        std::size_t c = 0;
        if (p >= parameter[Curves - 1]) {
            c = Curves - 1;
        } else {
            while (c + 1 < Curves && parameter[c + 1] <= p)
                ++c;
        }
        const double value = OnCurve(c, at);
        if (c + 1 >= Curves || !(p > parameter[0]))
            return value;
        const double next = OnCurve(c + 1, at);
        return value + (p - parameter[c]) * (next - value) / (parameter[c + 1] - parameter[c]);
    }
};

constexpr Point kStrongRockRatio[] = {{0, 0.1},   {10, 0.105}, {20, 0.11}, {30, 0.12},
                                      {40, 0.13}, {50, 0.14},  {60, 0.17}, {70, 0.2},
                                      {80, 0.47}, {90, 0.73},  {95, 0.85}, {100, 1.0}};

constexpr double kInfluenceX[] = {0, 1, 2, 4, 5, 6, 8, 10, 12, 20};
constexpr double kInfluence[4][10] = {
    {1.1, 0.5, 0.44, 0.395, 0.385, 0.375, 0.373, 0.37, 0.367, 0.365}, // Ec/Em = 10
    {1.1, 0.45, 0.35, 0.28, 0.26, 0.24, 0.23, 0.215, 0.205, 0.2},     // Ec/Em = 50
    {1.1, 0.43, 0.34, 0.255, 0.235, 0.21, 0.19, 0.18, 0.16, 0.155},   // Ec/Em = 100
    {1.1, 0.4, 0.33, 0.23, 0.21, 0.19, 0.16, 0.13, 0.11, 0.085},      // Ec/Em = 5000
};

// Slump factor: curves by socket mid-depth zc (ft), abscissa slump (in).
constexpr FamilyChart<4, 3> kSlump{
    {0.0, 13.12, 26.25, 39.37},
    {5.0, 6.89, 8.86},
    {{{1.0, 1.0, 1.0}, {0.52, 0.96, 1.0}, {0.47, 0.75, 1.0}, {0.35, 0.65, 0.9}}}};

// Adhesion factor: curves by sigma_n / pa, abscissa qu (psf).
constexpr FamilyChart<7, 6> kAlpha{{1, 2, 3, 4, 5, 6, 7},
                                   {10415, 20830, 41660, 62490, 83320, 104150},
                                   {{{0.2, 0.145, 0.107, 0.085, 0.07, 0.066},
                                     {0.34, 0.235, 0.16, 0.14, 0.118, 0.1},
                                     {0.45, 0.3, 0.208, 0.16, 0.14, 0.122},
                                     {0.5, 0.36, 0.245, 0.185, 0.155, 0.14},
                                     {0.5, 0.4, 0.26, 0.21, 0.16, 0.15},
                                     {0.5, 0.44, 0.275, 0.22, 0.168, 0.153},
                                     {0.5, 0.47, 0.29, 0.225, 0.172, 0.156}}}};

// Softening factor: curves by Em / sigma_n, abscissa qu / pa.
constexpr FamilyChart<7, 6> kSoftening{{400, 500, 600, 1000, 1500, 2000, 3000},
                                       {5, 14, 24, 28, 36, 48},
                                       {{{0.5, 0.5, 0.472, 0.458, 0.43, 0.4},
                                         {0.5, 0.48, 0.42, 0.4, 0.36, 0.3},
                                         {0.5, 0.45, 0.375, 0.345, 0.29, 0.21},
                                         {0.46, 0.38, 0.29, 0.26, 0.18, 0.08},
                                         {0.42, 0.35, 0.255, 0.22, 0.15, 0.05},
                                         {0.405, 0.375, 0.145, 0.11, 0.04, 0.018},
                                         {0.4, 0.24, 0.075, 0.0, 0.0, 0.0}}}};

constexpr Point kClosedJointRatio[] = {{20, 0.05}, {50, 0.15}, {70, 0.7}, {100, 1.0}};
constexpr Point kOpenJointRatio[] = {{20, 0.05}, {50, 0.1}, {70, 0.3}, {100, 0.6}};
constexpr Point kJointFactor[] = {{0.02, 0.3}, {0.05, 0.45}, {0.1, 0.55},
                                  {0.3, 0.7},  {0.5, 0.8},   {1.0, 1.0}};

} // namespace

double StrongRockModulusRatio(double rqd) {
    return Linear(kStrongRockRatio, rqd);
}

double InfluenceCurve(int curve, double x) {
    std::array<Point, 10> points{};
    const auto c = static_cast<std::size_t>(curve < 1 ? 0 : curve > 4 ? 3 : curve - 1);
    for (std::size_t j = 0; j < points.size(); ++j)
        points[j] = {kInfluenceX[j], kInfluence[c][j]};
    return Linear(points, x);
}

double InfluenceFactor(double x, double r) {
    const double i1 = InfluenceCurve(1, x);
    const double i2 = InfluenceCurve(2, x);
    const double i3 = InfluenceCurve(3, x);
    const double i4 = InfluenceCurve(4, x);
    if (r < 10.0)
        return i1;
    if (r < 50.0)
        return i1 - (r - 10.0) * (i1 - i2) / 40.0;
    if (r < 100.0)
        return i2 - (r - 50.0) * (i2 - i3) / 50.0;
    if (r < 5000.0)
        return i3 - (r - 100.0) * (i3 - i4) / 4900.0;
    return i4;
}

double SlumpFactor(double zc, double slump) {
    return kSlump.LookUp(zc, slump);
}

double AdhesionFactor(double sigma_n_over_pa, double qu) {
    return kAlpha.LookUp(sigma_n_over_pa, qu);
}

double SofteningFactor(double em_over_sigma_n, double qu_over_pa) {
    return kSoftening.LookUp(em_over_sigma_n, qu_over_pa);
}

double WeakRockModulusRatio(double rqd, bool open_joints) {
    return open_joints ? Linear(kOpenJointRatio, rqd) : Linear(kClosedJointRatio, rqd);
}

double JointFactor(double em_over_ei) {
    return Linear(kJointFactor, em_over_ei);
}

} // namespace kolmar::engine::rock
