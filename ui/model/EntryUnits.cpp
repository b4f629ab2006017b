// The units table of the entry fields and the unit of a field.
//
// Sizes are exact in newtons and metres: 1 in = 0.0254 m, 1 ft = 0.3048 m, 1 lb = 4.4482216152605
// N (the international pound-force), the ton of 2,000 lb that the report prints as TONS.
#include "ui/model/EntryUnits.h"

#include "ui/model/units.h"

#include <array>
#include <cctype>
#include <cmath>

namespace {

constexpr double kFoot = 0.3048;           // m
constexpr double kInch = 0.0254;           // m
constexpr double kPound = 4.4482216152605; // N

constexpr TQuantityKind kLength{0, 1};
constexpr TQuantityKind kForce{1, 0};
constexpr TQuantityKind kStress{1, -2};
constexpr TQuantityKind kUnitWeight{1, -3};

struct TUnitRow {
    const char* Name; // lower case
    TQuantityKind Kind;
    double SISize;
};

const std::array<TUnitRow, 20> kUnits{{
    {"ft", kLength, kFoot},
    {"in", kLength, kInch},
    {"m", kLength, 1.0},
    {"cm", kLength, 0.01},
    {"mm", kLength, 0.001},
    {"ton", kForce, 2000 * kPound},
    {"tons", kForce, 2000 * kPound},
    {"kip", kForce, 1000 * kPound},
    {"kips", kForce, 1000 * kPound},
    {"lb", kForce, kPound},
    {"lbs", kForce, kPound},
    {"kn", kForce, 1e3},
    {"mn", kForce, 1e6},
    {"psf", kStress, kPound / (kFoot * kFoot)},
    {"psi", kStress, kPound / (kInch * kInch)},
    {"ksf", kStress, 1000 * kPound / (kFoot * kFoot)},
    {"tsf", kStress, 2000 * kPound / (kFoot * kFoot)},
    {"kpa", kStress, 1e3},
    {"mpa", kStress, 1e6},
    {"pcf", kUnitWeight, kPound / (kFoot * kFoot * kFoot)},
}};

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

const TUnitRow* FindRow(std::string_view lower) {
    for (const TUnitRow& row : kUnits)
        if (lower == row.Name && row.SISize > 0)
            return &row;
    return nullptr;
}

// The power written after the length of a compound unit: nothing (1), a digit, "^" and a
// digit, or a superscript two or three in UTF-8. Returns 0 for anything else.
int PowerOf(std::string_view text) {
    if (text.empty())
        return 1;
    if (text.size() == 2 && text[0] == '^')
        text.remove_prefix(1);
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '9')
        return text[0] - '0';
    if (text == "\xC2\xB2")
        return 2;
    if (text == "\xC2\xB3")
        return 3;
    return 0;
}

// Size in newtons and metres of a token in a system: English lbs, kips, tons, in, ft; SI kN, m
// and mm. Zero for tokens that are no force or length (seconds, masses, radians).
double TokenSize(std::string_view token, int system, TQuantityKind& kind) {
    const bool si = system == UnitsSI;
    if (token == "F" || token == "F1" || token == "F2") {
        kind = kForce;
        if (si)
            return 1e3;
        return token == "F" ? kPound : token == "F1" ? 1000 * kPound : 2000 * kPound;
    }
    if (token == "L" || token == "L1" || token == "L2") {
        kind = kLength;
        if (token == "L2")
            return si ? 1.0 : kFoot;
        if (token == "L1")
            return si ? 0.001 : kInch;
        return si ? 1.0 : kInch;
    }
    return 0.0;
}

} // namespace

std::optional<TEntryUnit> FindEntryUnit(std::string_view Text) {
    const std::string lower = Lower(Text);
    if (const TUnitRow* row = FindRow(lower))
        return TEntryUnit{std::string(Text), row->Kind, row->SISize};
    // A force over a length with its power: "kN/m3", "lbs/ft^2".
    const std::size_t slash = lower.find('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const TUnitRow* force = FindRow(std::string_view(lower).substr(0, slash));
    std::size_t end = slash + 1;
    while (end < lower.size() && std::isalpha(static_cast<unsigned char>(lower[end])))
        ++end;
    const TUnitRow* length = FindRow(std::string_view(lower).substr(slash + 1, end - slash - 1));
    const int power = PowerOf(std::string_view(lower).substr(end));
    if (force == nullptr || length == nullptr || force->Kind != kForce || length->Kind != kLength ||
        power == 0)
        return std::nullopt;
    return TEntryUnit{std::string(Text), TQuantityKind{1, -power},
                      force->SISize / std::pow(length->SISize, power)};
}

TFieldUnit FieldUnitOf(std::string_view UnitsString, int System) {
    TFieldUnit unit;
    unit.Display = UnitsDisplay(UnitsString, System);
    if (System != UnitsEnglish && System != UnitsSI)
        return unit;
    unit.Convertible = true;
    for (const TTokenPower& t : UnitsTokensOf(UnitsString)) {
        TQuantityKind kind;
        const double size = TokenSize(t.Token->Token, System, kind);
        if (size == 0.0) {
            unit.Convertible = false;
            return unit;
        }
        unit.Kind.Force += kind.Force * t.Power;
        unit.Kind.Length += kind.Length * t.Power;
        unit.SISize *= std::pow(size, t.Power);
    }
    return unit;
}

std::string KindName(const TQuantityKind& Kind) {
    if (Kind == kLength)
        return "length";
    if (Kind == kForce)
        return "force";
    if (Kind == kStress)
        return "stress";
    if (Kind == kUnitWeight)
        return "unit weight";
    if (Kind == TQuantityKind{})
        return "pure number";
    return "force^" + std::to_string(Kind.Force) + " length^" + std::to_string(Kind.Length);
}
