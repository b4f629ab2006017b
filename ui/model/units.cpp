// Unit token table and the arithmetic on units strings.
#include "ui/model/units.h"

#include <cmath>

namespace {

const std::array<TUnitToken, 10> kTokens = {{
    {"F", "lbs", "kN", 224.8089237},
    {"F1", "kips", "kN", 0.2248089237},
    {"F2", "tons", "kN", 0.1124044745},
    {"F4", "lb-sec2/in", "Mg", 5.7101483},
    {"F5", "sec", "sec", 1.0},
    {"F6", "slug", "Mg", 68.364249},
    {"L", "in", "m", 39.37007874},
    {"L1", "in", "mm", 0.03937007874},
    {"L2", "ft", "m", 3.280839895},
    {"L3", "rad", "rad", 1.0},
}};

const TUnitToken* FindToken(std::string_view name) {
    for (const auto& t : kTokens) {
        if (name == t.Token) {
            return &t;
        }
    }
    return nullptr;
}

// One token occurrence in a units string.
struct TTokenHit {
    const TUnitToken* Token = nullptr;
    std::size_t Length = 0;
};

// A token starts at `pos` when the letter is F or L; a following digit belongs to it only if
// the pair is a known token ("F2"), otherwise the letter stands alone.
TTokenHit TokenAt(std::string_view s, std::size_t pos) {
    const char c = s[pos];
    if (c != 'F' && c != 'L') {
        return {};
    }
    if (pos + 1 < s.size() && s[pos + 1] >= '0' && s[pos + 1] <= '9') {
        if (const TUnitToken* t = FindToken(s.substr(pos, 2))) {
            return {t, 2};
        }
    }
    return {FindToken(s.substr(pos, 1)), 1};
}

// Power written after a token: "^n" (one digit) or a superscript two or three in UTF-8
// or in an 8-bit code page. Advances `pos` past it.
int PowerAt(std::string_view s, std::size_t& pos) {
    if (pos + 1 < s.size() && s[pos] == '^' && s[pos + 1] >= '0' && s[pos + 1] <= '9') {
        pos += 2;
        return s[pos - 1] - '0';
    }
    const auto u = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (pos + 1 < s.size() && u(pos) == 0xC2 && (u(pos + 1) == 0xB2 || u(pos + 1) == 0xB3)) {
        pos += 2;
        return u(pos - 1) == 0xB2 ? 2 : 3;
    }
    if (pos < s.size() && (u(pos) == 0xB2 || u(pos) == 0xB3)) {
        pos += 1;
        return u(pos - 1) == 0xB2 ? 2 : 3;
    }
    return 1;
}

} // namespace

const std::array<TUnitToken, 10>& UnitTokens() {
    return kTokens;
}

std::vector<TTokenPower> UnitsTokensOf(std::string_view unitsString) {
    std::vector<TTokenPower> tokens;
    bool inDenominator = false;
    std::size_t pos = 0;
    while (pos < unitsString.size()) {
        if (unitsString[pos] == '/') {
            inDenominator = true;
            ++pos;
            continue;
        }
        const TTokenHit hit = TokenAt(unitsString, pos);
        if (hit.Token == nullptr) {
            ++pos;
            continue;
        }
        pos += hit.Length;
        const int power = PowerAt(unitsString, pos);
        tokens.push_back({hit.Token, inDenominator ? -power : power});
    }
    return tokens;
}

double UnitsFactor(std::string_view unitsString) {
    // The factors of the numerator and of the denominator are multiplied apart, then divided.
    double numerator = 1.0;
    double denominator = 1.0;
    for (const TTokenPower& t : UnitsTokensOf(unitsString))
        (t.Power < 0 ? denominator : numerator) *=
            std::pow(t.Token->EnglishPerSI, std::abs(t.Power));
    return numerator / denominator;
}

bool IsDimensionless(std::string_view unitsString) {
    for (std::size_t pos = 0; pos < unitsString.size(); ++pos) {
        if (TokenAt(unitsString, pos).Token != nullptr) {
            return false;
        }
    }
    return true;
}

double ConversionFactor(std::string_view unitsString, int fromSystem, int toSystem) {
    if (fromSystem == toSystem) {
        return 1.0;
    }
    const double f = UnitsFactor(unitsString);
    return toSystem == UnitsEnglish ? f : 1.0 / f;
}

namespace {

// Replaces every occurrence of `token` that is that token (not the letter of a longer one:
// "F" is not replaced inside "F2") by `name`.
std::string ReplaceToken(std::string_view s, const TUnitToken& token, const char* name) {
    std::string out;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const TTokenHit hit = TokenAt(s, pos);
        if (hit.Token == &token) {
            out += name;
            pos += hit.Length;
        } else {
            out += s[pos];
            ++pos;
        }
    }
    return out;
}

bool ContainsToken(std::string_view s, const TUnitToken& token) {
    for (std::size_t pos = 0; pos < s.size(); ++pos) {
        if (TokenAt(s, pos).Token == &token) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string UnitsDisplay(std::string_view unitsString, int system) {
    if (system != UnitsEnglish && system != UnitsSI) {
        return std::string(unitsString);
    }
    std::string text(unitsString);
    // A units string names one force unit and one length unit; the first kind found in each
    // order is translated.
    for (const char* group : {"F6 F5 F4 F2 F1 F", "L2 L1 L3 L"}) {
        std::string_view order(group);
        while (!order.empty()) {
            const std::size_t blank = order.find(' ');
            const std::string_view name = order.substr(0, blank);
            order = blank == std::string_view::npos ? std::string_view() : order.substr(blank + 1);
            const TUnitToken* token = FindToken(name);
            if (token != nullptr && ContainsToken(text, *token)) {
                text = ReplaceToken(text, *token,
                                    system == UnitsEnglish ? token->EnglishName : token->SIName);
                break;
            }
        }
    }
    return text;
}
