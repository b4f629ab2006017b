// Label text of a numeric entry field.
#include "ui/model/UnitLabel.h"

#include "ui/model/units.h"

#include <algorithm>

int EntryUnitsSystem(int system) {
    return std::clamp(system, UnitsEnglish, UnitsNone);
}

std::string UnitLabelText(std::string_view caption, std::string_view unitsString, int system) {
    std::string text(caption);
    if (unitsString.empty()) {
        return text;
    }
    text += " (";
    text += UnitsDisplay(unitsString, EntryUnitsSystem(system));
    text += ')';
    return text;
}
