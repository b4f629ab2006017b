// General-format number text and locale-independent parsing, built on std::to_chars and
// std::from_chars so that no process locale setting can change a written or read number.
#include "ui/model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

std::string FormatGeneral(double v, int significantDigits) {
    if (std::isnan(v)) {
        return "NAN";
    }
    if (std::isinf(v)) {
        return v < 0 ? "-INF" : "INF";
    }
    if (v == 0.0) {
        return "0";
    }
    if (significantDigits < 1) {
        significantDigits = 1;
    } else if (significantDigits > 17) {
        significantDigits = 17;
    }

    // Correctly rounded decimal digits of |v|: "d.dddde[+-]xx".
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v),
                                   std::chars_format::scientific, significantDigits - 1);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c != '.') {
            digits += c;
        }
    }
    const int exponent = std::atoi(std::string(sci.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string out = v < 0 ? "-" : "";
    // exponent is the power of ten of the first digit: the value has exponent + 1 integer
    // digits when exponent >= 0; exponent < -5 means a magnitude below 0.00001.
    if (exponent < -5 || exponent + 1 > significantDigits) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out += '.';
            out.append(digits, intDigits, std::string::npos);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

namespace {

// For a well-formed unsigned decimal number that does not fit a double: true when it is too
// small (its decimal magnitude is negative), false when it is too large.
bool IsUnderflow(std::string_view text) {
    long magnitude = 0; // power of ten of the first significant digit, roughly
    bool seenPoint = false;
    bool seenDigit = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        const char c = text[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenDigit && c == '0') {
            magnitude -= seenPoint ? 1 : 0;
        } else {
            seenDigit = true;
            magnitude += seenPoint ? 0 : 1;
        }
    }
    long exponent = 0;
    bool negative = false;
    if (i < text.size()) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negative = text[i] == '-';
            ++i;
        }
        for (; i < text.size(); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000L);
        }
    }
    return magnitude + (negative ? -exponent : exponent) < 0;
}

} // namespace

bool ParseReal(std::string_view text, double& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        // "+-1" and "++1" are not numbers.
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            return false;
        }
    }
    if (text.empty()) {
        return false;
    }
    // from_chars also reads "inf" and "nan"; insist on a digit or a point after the optional
    // minus so that they never pass.
    const std::size_t first = text.front() == '-' ? 1 : 0;
    if (first >= text.size() ||
        !((text[first] >= '0' && text[first] <= '9') || text[first] == '.')) {
        return false;
    }
    double parsed = 0.0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(begin, end, parsed, std::chars_format::general);
    if (res.ptr != end) {
        return false;
    }
    if (res.ec == std::errc::result_out_of_range && IsUnderflow(text.substr(first))) {
        // A magnitude below the smallest double is a valid number whose nearest value is 0.
        value = first == 1 ? -0.0 : 0.0;
        return true;
    }
    if (res.ec != std::errc() || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInteger(std::string_view text, std::int32_t& value) {
    double real = 0.0;
    if (!ParseReal(text, real)) {
        return false;
    }
    if (real != std::trunc(real) || real < -2147483648.0 || real > 2147483647.0) {
        return false;
    }
    value = static_cast<std::int32_t>(real);
    return true;
}
