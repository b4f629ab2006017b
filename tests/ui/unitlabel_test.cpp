// Label text of the numeric entry fields: caption and translated units.
#include "ui/model/UnitLabel.h"

#include <gtest/gtest.h>

TEST(UnitLabelText, CaptionWithUnitsOfTheSystem) {
    const struct {
        const char* Caption;
        const char* Units;
        int System;
        const char* Expected;
    } cases[] = {
        {"C", "F/L²", 1, "C (lbs/in²)"},
        {"C", "F/L²", 2, "C (kN/m²)"},
        {"C", "F/L²", 3, "C (F/L²)"},
        {"C", "F/L²", 0, "C (lbs/in²)"}, // below 1 reads as English
        {"C", "F/L²", 9, "C (F/L²)"},    // above 3 reads as untranslated
        {"Depth", "L2", 2, "Depth (m)"},
        {"Load", "F2", 1, "Load (tons)"},
        {"Unit weight", "F/L2^3", 2, "Unit weight (kN/m^3)"},
        {"Angle", "deg", 1, "Angle (deg)"},
        {"Factor", "", 2, "Factor"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitLabelText(c.Caption, c.Units, c.System), c.Expected)
            << c.Units << " in system " << c.System;
    }
}

TEST(EntryUnitsSystem, ClampsIntoOneToThree) {
    EXPECT_EQ(EntryUnitsSystem(-4), 1);
    EXPECT_EQ(EntryUnitsSystem(2), 2);
    EXPECT_EQ(EntryUnitsSystem(4), 3);
}
