// Fixed-column text output helpers (F, E, I, A fields, label-value lines), built on
// std::to_chars so that no locale can change a decimal point.
#include "format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <string>

namespace kolmar::engine {
namespace {

std::string Stars(int w) {
    return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*');
}

// Right-aligns text in w columns, or stars when it does not fit.
std::string RightAlign(std::string_view text, int w) {
    if (w <= 0)
        return {};
    if (static_cast<int>(text.size()) > w)
        return Stars(w);
    std::string out(static_cast<std::size_t>(w) - text.size(), ' ');
    out.append(text);
    return out;
}

} // namespace

std::string F(double value, int w, int d) {
    if (!std::isfinite(value) || d < 0 || d > 30)
        return Stars(w);
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::fixed, d);
    if (res.ec != std::errc())
        return Stars(w);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    // A value that rounds to zero is written without its sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string_view::npos)
        text.remove_prefix(1);
    // With no decimals the field still ends in the decimal point ("  42." for F5.0).
    if (d == 0) {
        *res.ptr = '.';
        text = std::string_view(text.data(), text.size() + 1);
    }
    return RightAlign(text, w);
}

std::string FFit(double value, int w, int d) {
    for (int decimals = d; decimals > 0; --decimals) {
        std::string field = F(value, w, decimals);
        if (field.find('*') == std::string::npos)
            return field;
    }
    return F(value, w, 0);
}

std::string E(double value, int w, int d) {
    if (!std::isfinite(value) || d < 1 || d > 30)
        return Stars(w);
    std::string mantissa;
    int exponent = 0;
    if (value == 0.0) {
        mantissa = std::string(static_cast<std::size_t>(d), '0');
    } else {
        // d significant digits d.ddd e±x, read back as 0.dddd × 10^(x+1).
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                       std::chars_format::scientific, d - 1);
        if (res.ec != std::errc())
            return Stars(w);
        const std::string text(buf, res.ptr);
        const std::size_t epos = text.find('e');
        for (std::size_t i = 0; i < epos; ++i)
            if (text[i] != '.')
                mantissa += text[i];
        exponent = std::atoi(text.c_str() + epos + 1) + 1;
    }
    std::string out = (value < 0.0 ? "-0." : "0.") + mantissa;
    const int magnitude = std::abs(exponent);
    const char sign = exponent < 0 ? '-' : '+';
    if (magnitude <= 99) {
        out += 'E';
        out += sign;
        out += static_cast<char>('0' + magnitude / 10);
        out += static_cast<char>('0' + magnitude % 10);
    } else {
        out += sign;
        out += std::to_string(magnitude);
    }
    return RightAlign(out, w);
}

std::string I(long long value, int w) {
    return RightAlign(std::to_string(value), w);
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

std::string LabelValue(int indent, std::string_view label, int width, std::string_view value) {
    return Blanks(indent) + Field(label, width) + std::string(value);
}

std::string EchoLine(std::string_view label, double value, std::string_view mark) {
    return LabelValue(7, label, 50, "=" + E(value, 10, 3)) + std::string(mark);
}

void WriteLine(std::ostream& os, std::string_view text) {
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
    os.put('\n');
}

void WriteBlankLines(std::ostream& os, int n) {
    for (int i = 0; i < n; ++i)
        os.put('\n');
}

void CopyAs80Columns(std::istream& from, std::ostream& to) {
    constexpr int kCopyWidth = 80; // line width of the staged-file copies
    std::string line;
    while (std::getline(from, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        WriteLine(to, Field(line, kCopyWidth));
    }
}

} // namespace kolmar::engine
