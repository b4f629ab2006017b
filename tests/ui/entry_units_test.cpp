// Entries with units: every unit a field takes, runs of quantities, the field's unit in both
// systems, a unit of the wrong kind, and the value shown taking an appended operator.
#include "ui/model/Evaluator.h"
#include "ui/model/NumberText.h"
#include "ui/model/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr int EN = UnitsEnglish;
constexpr int SI = UnitsSI;

// Exact sizes, to state the expectations independently of the table.
constexpr double kFt = 0.3048, kIn = 0.0254, kLb = 4.4482216152605; // m, m, N
constexpr double kPsf = kLb / (kFt * kFt), kPcf = kLb / (kFt * kFt * kFt);

struct UnitCase {
    const char* text;
    const char* units; // the field's units string
    int system;
    double expected; // in the unit the field's label shows
};

void ExpectValue(const UnitCase& c) {
    SCOPED_TRACE(std::string(c.text) + " in " + c.units + (c.system == EN ? " English" : " SI"));
    double v = 0;
    std::string message;
    ASSERT_TRUE(TryEvaluateExpression(c.text, v, message, c.units, c.system)) << message;
    EXPECT_NEAR(v, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected)));
}

} // namespace

TEST(EntryUnits, EveryUnitConvertsIntoTheFieldsUnit) {
    const UnitCase cases[] = {
        // Lengths into ft (English) and m (SI); L1 is mm in SI, L is in / m.
        {"1 ft", "L2", EN, 1},
        {"18 in", "L2", EN, 1.5},
        {"1 m", "L2", EN, 1 / kFt},
        {"30.48 cm", "L2", EN, 1},
        {"304.8 mm", "L2", EN, 1},
        {"1 ft", "L2", SI, kFt},
        {"2 m", "L2", SI, 2},
        {"150 cm", "L2", SI, 1.5},
        {"2500 mm", "L2", SI, 2.5},
        {"1 in", "L1", SI, 25.4},
        {"1 ft", "L", EN, 12},
        {"1 in", "L", SI, kIn},
        // Forces into tons (English F2) and kN.
        {"1 ton", "F2", EN, 1},
        {"3 tons", "F2", EN, 3},
        {"1 kip", "F2", EN, 0.5},
        {"2 kips", "F2", EN, 1},
        {"2000 lb", "F2", EN, 1},
        {"4000 lbs", "F2", EN, 2},
        {"1 kN", "F2", EN, 1000 / (2000 * kLb)},
        {"1 MN", "F2", SI, 1000},
        {"1 kip", "F2", SI, kLb},
        {"1 ton", "F2", SI, 2 * kLb},
        // Stresses into psf (English F/L2^2) and kN/m^2.
        {"1 psf", "F/L2^2", EN, 1},
        {"1 psi", "F/L2^2", EN, 144},
        {"1 ksf", "F/L2^2", EN, 1000},
        {"1 tsf", "F/L2^2", EN, 2000},
        {"1 kPa", "F/L2^2", EN, 1000 / kPsf},
        {"1 MPa", "F/L2^2", SI, 1000},
        {"1 kPa", "F/L2^2", SI, 1},
        {"1 ksf", "F/L2^2", SI, kPsf},
        {"1 kN/m^2", "F/L2^2", SI, 1},
        // Moduli like stresses: psi (English F/L^2) and kN/m^2.
        {"1 ksf", "F/L^2", EN, 1000.0 / 144},
        {"1 MPa", "F/L^2", EN, 1e6 / (kLb / (kIn * kIn))},
        {"1 psi", "F/L^2", SI, kLb / (kIn * kIn) / 1000},
        {"3 lbs/in^2", "F/L^2", EN, 3},
        // Unit weights into pcf (English F/L2^3) and kN/m^3, in every spelling of kN/m3.
        {"120 pcf", "F/L2^3", EN, 120},
        {"18 kN/m3", "F/L2^3", EN, 18000 / kPcf},
        {"18 kN/m^3", "F/L2^3", SI, 18},
        {"18 kN/m\xC2\xB3", "F/L2^3", SI, 18},
        {"125 pcf", "F/L2^3", SI, 125 * kPcf / 1000},
        {"1 lbs/ft^3", "F/L2^3", EN, 1},
        // Case is ignored.
        {"3 FT", "L2", EN, 3},
        {"2 KPA", "F/L2^2", SI, 2},
    };
    for (const UnitCase& c : cases)
        ExpectValue(c);
}

TEST(EntryUnits, TermsAddAndArithmeticKeepsItsMeaning) {
    const UnitCase cases[] = {
        {"3 ft 6 in", "L2", EN, 3.5},
        {"3ft6in", "L2", EN, 3.5},
        {"3 ft + 6 in", "L2", EN, 3.5},
        {"3 ft - 6 in", "L2", EN, 2.5},
        {"-3 ft 6 in", "L2", EN, -3.5}, // the minus takes the whole run
        {"2 m 50 cm", "L2", SI, 2.5},
        {"1 m 5 mm", "L2", SI, 1.005},
        {"2*3 ft", "L2", EN, 6},
        {"(3 ft + 6 in)*2", "L2", EN, 7},
        {"10 kN/2", "F2", SI, 5}, // a quotient, not a unit: 2 is no length
        {"1.5e3 mm", "L2", SI, 1.5},
        {"1 ton + 500 lb", "F2", EN, 1.25},
        // Without units an entry keeps its meaning, in the field's unit.
        {"2+3", "L2", EN, 5},
        {"2*(3+4)", "F/L2^3", SI, 14},
        {"1e-3", "L2", SI, 0.001},
        {"3 ft + 6", "L2", EN, 9},
        {"sqrt(4)", "", EN, 2},
    };
    for (const UnitCase& c : cases)
        ExpectValue(c);
}

TEST(EntryUnits, AUnitThatDoesNotFitIsNamedWithTheUnitExpected) {
    struct ErrorCase {
        const char* text;
        const char* units;
        int system;
        const char* reason;
    };
    const ErrorCase cases[] = {
        {"3 ft", "F/L2^3", EN, "\"ft\" is a length; this entry takes a unit weight in lbs/ft^3"},
        {"2 kN", "L2", SI, "\"kN\" is a force; this entry takes a length in m"},
        {"5 psi", "F2", EN, "\"psi\" is a stress; this entry takes a force in tons"},
        {"18 kN/m3", "F/L2^2", SI,
         "\"kN/m3\" is a unit weight; this entry takes a stress in kN/m^2"},
        {"3 ft + 2 kip", "L2", EN, "\"kip\" is a force; this entry takes a length in ft"},
        {"5 psf", "", EN, "\"psf\" is a stress; this entry takes a number without units"},
        {"30 ft", "deg", SI, "\"ft\" is a length; this entry takes a value in deg"},
        {"3 ft", "L2", UnitsNone,
         "\"ft\" is a length; this entry takes a value that cannot be converted from it (L2)"},
        {"3 yd", "L2", EN, "unknown unit \"yd\""},
        {"3 ft 6", "L2", EN, "invalid character(s) in expression"},
        {"ft", "L2", EN, "invalid character(s) in expression"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.text);
        double v = 0;
        std::string message;
        EXPECT_FALSE(TryEvaluateExpression(c.text, v, message, c.units, c.system)) << v;
        EXPECT_EQ(message, std::string("Entry could not be evaluated:\n") + c.reason);
    }
}

// After Enter the field shows the value in its own unit; an operator typed then applies to that
// number, so "*2" doubles the quantity whatever unit it was typed in.
TEST(EntryUnits, AnAppendedOperatorActsOnTheNumberShown) {
    const UnitCase cases[] = {
        {"3 ft 6 in", "L2", EN, 7}, {"42 in", "L2", EN, 7},   {"350 cm", "L2", SI, 7},
        {"1 ton", "F2", EN, 2},     {"1 MN", "F2", SI, 2000}, {"18 kN/m3", "F/L2^3", SI, 36},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.text);
        const double first = EvaluateExpression(c.text, c.units, c.system);
        const std::string shown = FormatGeneral(first, 8);
        ExpectValue({(shown + "*2").c_str(), c.units, c.system, c.expected});
    }
}
