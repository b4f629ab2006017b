// Label text of a numeric entry field: its caption followed by its units, translated into the
// unit system the field shows. Plain C++, no Qt; the translation itself is UnitsDisplay.
// Exports EntryUnitsSystem and UnitLabelText.
#pragma once

#include <string>
#include <string_view>

// The unit system of an entry field: 1 English, 2 SI, 3 untranslated. Values below 1 become 1,
// values above 3 become 3.
int EntryUnitsSystem(int system);

// The caption alone when the units string is empty; otherwise the caption, " (", the units
// string translated into `system` (clamped as EntryUnitsSystem; 3 shows it as written) and ")".
// "F/L^2" with caption "Modulus" reads "Modulus (lbs/in^2)" in English, "Modulus (kN/m^2)" in SI.
std::string UnitLabelText(std::string_view caption, std::string_view unitsString, int system);
