// Units strings: conversion factors and display text.
#include "ui/model/units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(UnitsFactor, MultipliesTokenFactorsWithTheirPowers) {
    const double lbs = 224.8089237, ft = 3.280839895, in = 39.37007874;
    const struct {
        const char* Units;
        double Expected;
    } cases[] = {
        {"L2", ft},
        {"L", in},
        {"F2", 0.1124044745},
        {"F/L2^2", lbs / (ft * ft)},      // lbs/ft^2 per kN/m^2, about 20.885
        {"F/L2^3", lbs / (ft * ft * ft)}, // lbs/ft^3 per kN/m^3, about 6.366
        {"F/L^2", lbs / (in * in)},       // lbs/in^2 per kN/m^2, about 0.145
        {"F/L\xC2\xB2", lbs / (in * in)}, // superscript two
        {"F1/L2", 0.2248089237 / ft},
        {"F*L2", lbs * ft},
        {"deg", 1.0},
        {"%", 1.0},
        {"", 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(UnitsFactor(c.Units), c.Expected, std::fabs(c.Expected) * 1e-12) << c.Units;
    }
    EXPECT_NEAR(UnitsFactor("F/L2^2"), 20.885432, 1e-6);
}

TEST(ConversionFactor, IsTheFactorOrItsReciprocalByDirection) {
    EXPECT_DOUBLE_EQ(ConversionFactor("L2", UnitsSI, UnitsEnglish), 3.280839895);
    EXPECT_DOUBLE_EQ(ConversionFactor("L2", UnitsEnglish, UnitsSI), 1.0 / 3.280839895);
    EXPECT_DOUBLE_EQ(ConversionFactor("F/L2^3", UnitsEnglish, UnitsEnglish), 1.0);
    EXPECT_DOUBLE_EQ(ConversionFactor("deg", UnitsEnglish, UnitsSI), 1.0);
    EXPECT_TRUE(IsDimensionless("deg"));
    EXPECT_TRUE(IsDimensionless(""));
    EXPECT_FALSE(IsDimensionless("F/L2^2"));
}

TEST(UnitsDisplay, TranslatesOneForceAndOneLengthKind) {
    const struct {
        const char* Units;
        int System;
        const char* Expected;
    } cases[] = {
        {"F/L2^2", UnitsEnglish, "lbs/ft^2"},
        {"F/L2^2", UnitsSI, "kN/m^2"},
        {"F/L2^3", UnitsEnglish, "lbs/ft^3"},
        {"F/L^2", UnitsEnglish, "lbs/in^2"},
        {"F/L^2", UnitsSI, "kN/m^2"},
        {"F/L\xC2\xB2", UnitsEnglish, "lbs/in\xC2\xB2"},
        {"L2", UnitsEnglish, "ft"},
        {"L2", UnitsSI, "m"},
        {"L1", UnitsSI, "mm"},
        {"L", UnitsSI, "m"},
        {"F2", UnitsEnglish, "tons"},
        {"F2", UnitsSI, "kN"},
        {"F1/L2", UnitsEnglish, "kips/ft"},
        {"F4", UnitsEnglish, "lb-sec2/in"},
        {"F6", UnitsSI, "Mg"},
        {"L3", UnitsSI, "rad"},
        {"deg", UnitsEnglish, "deg"},
        {"F/L2^2", UnitsNone, "F/L2^2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitsDisplay(c.Units, c.System), c.Expected)
            << c.Units << " in system " << c.System;
    }
}

} // namespace
