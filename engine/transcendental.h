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
inline double Extended(long double x) {
    return static_cast<double>(x);
}
inline double Pow(double x, double y) {
    return Extended(std::pow(static_cast<long double>(x), static_cast<long double>(y)));
}
inline double Exp(double x) {
    return Extended(std::exp(static_cast<long double>(x)));
}
inline double Log(double x) {
    return Extended(std::log(static_cast<long double>(x)));
}
inline double Log10(double x) {
    return Extended(std::log10(static_cast<long double>(x)));
}
inline double Sin(double x) {
    return Extended(std::sin(static_cast<long double>(x)));
}
inline double Tan(double x) {
    return Extended(std::tan(static_cast<long double>(x)));
}
inline double Atan(double x) {
    return Extended(std::atan(static_cast<long double>(x)));
}
inline double Tanh(double x) {
    return Extended(std::tanh(static_cast<long double>(x)));
}
inline double Cosh(double x) {
    return Extended(std::cosh(static_cast<long double>(x)));
}
#else
inline double Pow(double x, double y) {
    return std::pow(x, y);
}
inline double Exp(double x) {
    return std::exp(x);
}
inline double Log(double x) {
    return std::log(x);
}
inline double Log10(double x) {
    return std::log10(x);
}
inline double Sin(double x) {
    return std::sin(x);
}
inline double Tan(double x) {
    return std::tan(x);
}
inline double Atan(double x) {
    return std::atan(x);
}
inline double Tanh(double x) {
    return std::tanh(x);
}
inline double Cosh(double x) {
    return std::cosh(x);
}
#endif

} // namespace kolmar::engine::math
