// The transcendental functions of the analysis, in one place.
//
// A results file writes every double in full, so it shows the last binary digit of a friction
// angle or a stress exponent. The GNU C library returns these functions correctly rounded in
// all but the rarest cases; the Windows C runtime rounds a share of its results the other way,
// and a decomposed-rock capacity table would then differ between the two in its last digit. On
// Windows the functions are therefore taken in the x87's extended precision and rounded once to
// double, which gives the correctly rounded result as nearly always as the GNU library does. On
// Linux they are the standard functions themselves, so nothing there changes.
#pragma once

#include <cmath>

namespace kolmar::engine::math {

#if defined(_WIN32) && (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
using Working = long double; // the x87's 64-bit significand
#else
using Working = double;
#endif

inline double Pow(double x, double y) {
    return static_cast<double>(std::pow(static_cast<Working>(x), static_cast<Working>(y)));
}
inline double Exp(double x) {
    return static_cast<double>(std::exp(static_cast<Working>(x)));
}
inline double Log(double x) {
    return static_cast<double>(std::log(static_cast<Working>(x)));
}
inline double Log10(double x) {
    return static_cast<double>(std::log10(static_cast<Working>(x)));
}
inline double Sin(double x) {
    return static_cast<double>(std::sin(static_cast<Working>(x)));
}
inline double Tan(double x) {
    return static_cast<double>(std::tan(static_cast<Working>(x)));
}
inline double Atan(double x) {
    return static_cast<double>(std::atan(static_cast<Working>(x)));
}
inline double Tanh(double x) {
    return static_cast<double>(std::tanh(static_cast<Working>(x)));
}
inline double Cosh(double x) {
    return static_cast<double>(std::cosh(static_cast<Working>(x)));
}

} // namespace kolmar::engine::math
