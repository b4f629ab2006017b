// Fixed-column text output helpers (F, E, I, A fields, label-value lines), built on
// std::to_chars so that no locale can change a decimal point.
#include "format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>
#include <string>

namespace kolmar::engine {
namespace {

// Appends w stars, the field of a value that cannot be written in it.
void AppendStars(std::string& out, int w) {
    out.append(static_cast<std::size_t>(w > 0 ? w : 0), '*');
}

// Appends text right-aligned in w columns, or stars when it does not fit.
void AppendAligned(std::string& out, std::string_view text, int w) {
    if (w <= 0)
        return;
    const auto width = static_cast<std::size_t>(w);
    if (text.size() > width)
        return AppendStars(out, w);
    // The field's blanks in one growth of the line, the text copied over its right end.
    const std::size_t at = out.size();
    out.resize(at + width, ' ');
    std::memcpy(out.data() + at + width - text.size(), text.data(), text.size());
}

// A field built by an appending writer, as a string of its own.
template <typename Writer> std::string Own(Writer&& write) {
    std::string field;
    write(field);
    return field;
}

// Exact powers of ten: every one up to 1e22 is a double without rounding.
constexpr std::array<double, 23> kPow10 = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// a × 10^scale for a > 0, rounded to the nearest whole number, as the correctly rounded decimal
// conversion would round it. The product takes one rounding (the power is exact), so it lies
// within half a unit in its last place of the true value; when that leaves the product near a
// tie, or the scale is beyond the exact powers, the answer is left to the exact conversion
// (false). Results up to 2^53 only.
bool RoundScaled(double a, int scale, double& rounded, double& product) {
    if (scale > 22 || scale < -22)
        return false;
    product = scale >= 0 ? a * kPow10[static_cast<std::size_t>(scale)]
                         : a / kPow10[static_cast<std::size_t>(-scale)];
    if (!(product < 9.0e15))
        return false;
    const double whole = std::floor(product);
    const double fraction = product - whole;
    if (std::fabs(fraction - 0.5) <= product * 4e-16 + 1e-300)
        return false;
    rounded = fraction > 0.5 ? whole + 1.0 : whole;
    return true;
}

// Writes `digits` decimal digits of n (with leading zeros) ending just before `end`.
char* PutDigits(char* end, unsigned long long n, int digits) {
    for (int i = 0; i < digits; ++i) {
        *--end = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    return end;
}

// The d significant digits and the decimal exponent of a > 0, a ≈ 0.ddd × 10^exponent, by the
// scaled product where it decides the digits, else by the exact conversion.
void Significand(double a, int d, unsigned long long& digits, int& exponent) {
    if (d <= 15) {
        // The binary exponent e2 of a = m 2^e2, m in [0.5, 1), from the stored exponent field
        // of a normal number (frexp's answer without the call); frexp for a subnormal one.
        const auto stored = static_cast<int>((std::bit_cast<std::uint64_t>(a) >> 52) & 0x7ff);
        int e2 = stored - 1022;
        if (stored == 0)
            std::frexp(a, &e2);
        int e10 = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398120)); // log10 of a
        for (int tries = 0; tries < 3; ++tries) {
            double rounded = 0.0, product = 0.0;
            if (!RoundScaled(a, d - 1 - e10, rounded, product))
                break;
            if (product >= kPow10[static_cast<std::size_t>(d)]) {
                ++e10;
                continue;
            }
            if (product < kPow10[static_cast<std::size_t>(d - 1)]) {
                --e10;
                continue;
            }
            // 999.7 for three digits carries into the next decade: 0.100 × 10^(e10 + 2).
            if (rounded >= kPow10[static_cast<std::size_t>(d)]) {
                rounded = kPow10[static_cast<std::size_t>(d - 1)];
                ++e10;
            }
            digits = static_cast<unsigned long long>(rounded);
            exponent = e10 + 1;
            return;
        }
    }
    // d significant digits d.ddd e±x, read back as 0.dddd × 10^(x+1).
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, d - 1);
    digits = 0;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits = digits * 10 + static_cast<unsigned long long>(*p - '0');
    int x = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, x);
    exponent = x + 1;
}

} // namespace

void AppendF(std::string& out, double value, int w, int d) {
    if (!std::isfinite(value) || d < 0 || d > 30)
        return AppendStars(out, w);
    double rounded = 0.0, product = 0.0;
    if (d <= 15 && std::fabs(value) < 1e15 &&
        (value == 0.0 || RoundScaled(std::fabs(value), d, rounded, product))) {
        // Whole number n = |value| × 10^d: its digits with the point d places from the right, a
        // leading zero before the point, and no sign when it rounds to zero.
        const auto n = static_cast<unsigned long long>(rounded);
        char buf[48];
        char* end = buf + sizeof buf;
        char* p = end;
        // The d decimals from the right; what remains of n is the whole part.
        unsigned long long whole = n;
        for (int i = 0; i < d; ++i) {
            *--p = static_cast<char>('0' + whole % 10);
            whole /= 10;
        }
        *--p = '.';
        do {
            *--p = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        if (value < 0.0 && n != 0)
            *--p = '-';
        return AppendAligned(out, std::string_view(p, static_cast<std::size_t>(end - p)), w);
    }
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::fixed, d);
    if (res.ec != std::errc())
        return AppendStars(out, w);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    // A value that rounds to zero is written without its sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string_view::npos)
        text.remove_prefix(1);
    // With no decimals the field still ends in the decimal point ("  42." for F5.0).
    if (d == 0) {
        *res.ptr = '.';
        text = std::string_view(text.data(), text.size() + 1);
    }
    return AppendAligned(out, text, w);
}

std::string F(double value, int w, int d) {
    return Own([&](std::string& out) { AppendF(out, value, w, d); });
}

std::string FFit(double value, int w, int d) {
    for (int decimals = d; decimals > 0; --decimals) {
        std::string field = F(value, w, decimals);
        if (field.find('*') == std::string::npos)
            return field;
    }
    return F(value, w, 0);
}

void AppendE(std::string& out, double value, int w, int d) {
    if (!std::isfinite(value) || d < 1 || d > 30)
        return AppendStars(out, w);
    unsigned long long digits = 0;
    int exponent = 0;
    if (value != 0.0)
        Significand(std::fabs(value), d, digits, exponent);
    char buf[64];
    char* p = buf;
    if (value < 0.0)
        *p++ = '-';
    *p++ = '0';
    *p++ = '.';
    if (d <= 19) {
        p = PutDigits(p + d, digits, d) + d;
    } else {
        // Beyond 19 digits the exact conversion gave digits that overflow the integer; such
        // precision is never asked of a report field.
        return AppendStars(out, w);
    }
    const int magnitude = std::abs(exponent);
    const char sign = exponent < 0 ? '-' : '+';
    if (magnitude <= 99) {
        *p++ = 'E';
        *p++ = sign;
        *p++ = static_cast<char>('0' + magnitude / 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else {
        *p++ = sign;
        p = std::to_chars(p, buf + sizeof buf, magnitude).ptr;
    }
    return AppendAligned(out, std::string_view(buf, static_cast<std::size_t>(p - buf)), w);
}

std::string E(double value, int w, int d) {
    return Own([&](std::string& out) { AppendE(out, value, w, d); });
}

void AppendI(std::string& out, long long value, int w) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    AppendAligned(out, std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), w);
}

std::string I(long long value, int w) {
    return Own([&](std::string& out) { AppendI(out, value, w); });
}

std::string A(std::string_view text, int w) {
    if (w <= 0)
        return {};
    if (static_cast<int>(text.size()) >= w)
        return std::string(text.substr(0, static_cast<std::size_t>(w)));
    return std::string(static_cast<std::size_t>(w) - text.size(), ' ') + std::string(text);
}

std::string Field(std::string_view text, int w) {
    if (w <= 0)
        return {};
    std::string out(text.substr(0, static_cast<std::size_t>(w)));
    out.resize(static_cast<std::size_t>(w), ' ');
    return out;
}

void AppendBlanks(std::string& out, int n) {
    out.append(static_cast<std::size_t>(n > 0 ? n : 0), ' ');
}

std::string Blanks(int n) {
    return Repeat(' ', n);
}

std::string Repeat(char c, int n) {
    return std::string(static_cast<std::size_t>(n > 0 ? n : 0), c);
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

namespace {

// Appends `indent` blanks and the label cut or padded to `width`.
void AppendLabel(std::string& out, int indent, std::string_view label, int width) {
    AppendBlanks(out, indent);
    const auto w = static_cast<std::size_t>(width > 0 ? width : 0);
    const std::string_view cut = label.substr(0, w);
    out += cut;
    out.append(w - cut.size(), ' ');
}

} // namespace

std::string LabelValue(int indent, std::string_view label, int width, std::string_view value) {
    std::string line;
    line.reserve(static_cast<std::size_t>(std::max(indent, 0) + std::max(width, 0)) + value.size());
    AppendLabel(line, indent, label, width);
    line += value;
    return line;
}

std::string EchoLine(std::string_view label, double value, std::string_view mark) {
    std::string line;
    line.reserve(7 + 50 + 1 + 10 + mark.size());
    AppendLabel(line, 7, label, 50);
    line += '=';
    AppendE(line, value, 10, 3);
    line += mark;
    return line;
}

void WriteLine(std::ostream& os, std::string_view text) {
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
    os.put('\n');
}

void WriteText(std::ostream& os, std::string_view text) {
    constexpr std::size_t kPiece = 1000; // below the 1 KiB a file buffer passes straight on
    while (!text.empty() && os) {
        const std::size_t n = std::min(text.size(), kPiece);
        os.write(text.data(), static_cast<std::streamsize>(n));
        text.remove_prefix(n);
    }
}

void WriteBlankLines(std::ostream& os, int n) {
    for (int i = 0; i < n; ++i)
        os.put('\n');
}

void CopyAs80Columns(std::istream& from, std::ostream& to) {
    const std::string text{std::istreambuf_iterator<char>(from), std::istreambuf_iterator<char>()};
    CopyAs80Columns(std::string_view(text), to);
}

void CopyAs80Columns(std::string_view from, std::ostream& to) {
    constexpr std::size_t kCopyWidth = 80; // line width of the staged-file copies
    std::string text;
    text.reserve((from.size() / 40 + 1) * (kCopyWidth + 1));
    // Lines as getline gives them: a last line without its end still counts, nothing after a
    // final line end does.
    while (!from.empty()) {
        const std::size_t end = from.find('\n');
        std::string_view line = from.substr(0, end);
        from.remove_prefix(end == std::string_view::npos ? from.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = line.substr(0, kCopyWidth);
        text.append(line);
        text.append(kCopyWidth - line.size(), ' ');
        text += '\n';
    }
    to.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace kolmar::engine
