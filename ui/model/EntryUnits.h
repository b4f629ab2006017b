// The units an entry may carry: lengths, forces, stresses and unit weights in English and SI
// units, and the unit of a field (its units string in its unit system) that a typed quantity is
// converted into. Exports TEntryUnit, FindEntryUnit, TFieldUnit, FieldUnitOf and KindName.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The kind of a quantity as its powers of force and length: a length is (0, 1), a stress
// (1, -2), a unit weight (1, -3).
struct TQuantityKind {
    int Force = 0;
    int Length = 0;
    bool operator==(const TQuantityKind&) const = default;
};

// A unit typed after a number.
struct TEntryUnit {
    std::string Name;   // as typed, e.g. "kN/m3"
    TQuantityKind Kind; // what it measures
    double SISize;      // its size in newtons and metres (1 ft = 0.3048)
};

// The unit spelled Text (case ignored): ft, in, m, cm, mm; ton (2,000 lb), kip, lb, kN, MN and
// the plurals tons, kips, lbs; psf, psi, ksf, tsf, kPa, MPa; pcf; and a force over a length
// with an optional power, "kN/m3", "kN/m^3", "kN/m³", "lbs/ft^2". Nothing for any other text.
std::optional<TEntryUnit> FindEntryUnit(std::string_view Text);

// The unit a field's value is in: its units string shown in its unit system. Convertible only
// for strings of force and length tokens in system 1 or 2.
struct TFieldUnit {
    std::string Display;      // as the label shows it, "lbs/ft^3"; empty for no units
    bool Convertible = false; // a typed quantity can be converted into it
    TQuantityKind Kind;
    double SISize = 1.0;
};
TFieldUnit FieldUnitOf(std::string_view UnitsString, int System);

// "length", "force", "stress", "unit weight" or "force^a length^b".
std::string KindName(const TQuantityKind& Kind);
