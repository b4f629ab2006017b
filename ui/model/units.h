// Unit systems and units strings. A units string names the dimension of a value with unit
// tokens ("F" force, "L2" depth, ...), "/" and one-digit powers "^n", e.g. "F/L2^2" for a
// stress. Exports the token table, the conversion factor of a units string between the two
// systems and its display text per system.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Project unit systems; UnitsNone shows units strings untranslated (entry fields only).
constexpr int UnitsEnglish = 1;
constexpr int UnitsSI = 2;
constexpr int UnitsNone = 3;

struct TUnitToken {
    const char* Token;       // "F", "F1", ..., "L3"
    const char* EnglishName; // display name in English units
    const char* SIName;      // display name in SI units
    double EnglishPerSI;     // English units per SI unit
};

// The ten tokens: F lbs|kN, F1 kips|kN, F2 tons|kN, F4 lb-sec2/in|Mg, F5 sec|sec,
// F6 slug|Mg, L in|m, L1 in|mm, L2 ft|m, L3 rad|rad.
const std::array<TUnitToken, 10>& UnitTokens();

// English units per SI unit of a units string: the product of the token factors raised to
// their powers, numerator over denominator (every token after a "/" is in the denominator).
// "^n" with one digit n, or a superscript two or three, raises the token before it.
// Strings without tokens ("deg", "%", "") give 1.
double UnitsFactor(std::string_view unitsString);

// The tokens of a units string in order, each with its power, negative after a "/":
// "F/L2^3" gives F 1, L2 -3. Text that is no token ("deg") is passed over.
struct TTokenPower {
    const TUnitToken* Token;
    int Power;
};
std::vector<TTokenPower> UnitsTokensOf(std::string_view unitsString);

// True when the string holds no unit token, so its values never change with the system.
bool IsDimensionless(std::string_view unitsString);

// Factor that converts a value with this units string from system `fromSystem` to
// `toSystem` (1 English, 2 SI): UnitsFactor for SI to English, its reciprocal for English to
// SI, 1 when the systems agree.
double ConversionFactor(std::string_view unitsString, int fromSystem, int toSystem);

// Display text of a units string in a system: among the force tokens only the first kind
// present in the order F6, F5, F4, F2, F1, F is replaced, at every occurrence, by its name;
// likewise the length tokens in the order L2, L1, L3, L. Powers stay as written, so "F/L2^2"
// reads "lbs/ft^2" in English and "kN/m^2" in SI. UnitsNone (or any other system outside
// 1..2) returns the string untranslated.
std::string UnitsDisplay(std::string_view unitsString, int system);
