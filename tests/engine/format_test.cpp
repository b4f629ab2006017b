// Fixed-column fields: F, E, I, A, the text field and the echo line.
#include "format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolmar::engine {
namespace {

struct FieldCase {
    const char* what;
    std::string actual;
    const char* expected;
};

TEST(FormatTest, NumericFieldsMatchTheirFortranForms) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const FieldCase cases[] = {
        {"E of 125", E(125.0), " 0.125E+03"},
        {"E of zero", E(0.0), " 0.000E+00"},
        {"E of a negative small value", E(-0.00125), "-0.125E-02"},
        {"E rounding up a decade", E(0.9996), " 0.100E+01"},
        {"E rounding half", E(1234.5), " 0.123E+04"},
        {"E of 1.0E10, the no-limit value", E(1.0e10), " 0.100E+11"},
        {"E with a three-digit exponent", E(1.25e120), " 0.125+121"},
        {"E of NaN", E(nan), "**********"},
        {"E of infinity", E(-inf), "**********"},
        {"E18.4", E(-2.5, 18, 4), "       -0.2500E+01"},
        {"F9.3", F(12.5, 9, 3), "   12.500"},
        {"F of a value rounding to zero drops the sign", F(-0.0004, 6, 3), " 0.000"},
        {"F negative", F(-3.14159, 8, 2), "   -3.14"},
        {"F too wide", F(123456.0, 5, 1), "*****"},
        {"F of NaN", F(nan, 6, 2), "******"},
        {"F with no decimals keeps the point", F(41.6, 5, 0), "  42."},
        {"FFit as F where the value fits", FFit(1268.345, 7, 2), "1268.35"},
        {"FFit drops a decimal to fit", FFit(14712.345, 7, 2), "14712.3"},
        {"FFit drops every decimal to fit", FFit(147123.45, 7, 2), "147123."},
        {"FFit stars when the whole part does not fit", FFit(14712345.0, 7, 2), "*******"},
        {"FFit of NaN", FFit(nan, 7, 2), "*******"},
        {"I5", I(7, 5), "    7"},
        {"I too wide", I(-1234, 4), "****"},
        {"A right-aligns", A("ABC", 5), "  ABC"},
        {"A cuts", A("ABCDEF", 4), "ABCD"},
        {"Field pads", Field("2017.8.9", 12), "2017.8.9    "},
        {"Field cuts", Field("2017.8.9-extended", 12), "2017.8.9-ext"},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(FormatTest, EchoLinePutsTheEqualsSignInColumn58AndTheMarkAfterTheValue) {
    const std::string line = EchoLine("SOIL UNIT WEIGHT, LB/CU FT", 125.0, "  (*)");
    EXPECT_EQ(line, "       SOIL UNIT WEIGHT, LB/CU FT                        = 0.125E+03  (*)");
    EXPECT_EQ(line.find('='), 57u);
    EXPECT_EQ(EchoLine("DEPTH, FT", 3.0).size(), 68u);
}

TEST(FormatTest, TrimAndUpper) {
    EXPECT_EQ(TrimRight("name.kx8d   \r"), "name.kx8d");
    EXPECT_EQ(TrimRight("   "), "");
    EXPECT_EQ(Upper("Bad word: nan"), "BAD WORD: NAN");
}

} // namespace
} // namespace kolmar::engine
