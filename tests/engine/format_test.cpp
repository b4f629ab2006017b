// Fixed-column fields: F, E, I, A, the text field and the echo line.
#include "format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

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

// The exact conversion the fields must agree with: the digits of std::to_chars at the field's
// precision, put into the Fortran forms.
std::string ExactE(double value, int d) {
    if (value == 0.0)
        return "0." + std::string(static_cast<std::size_t>(d), '0') + "E+00";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, d - 1);
    const std::string text(buf, res.ptr);
    const std::size_t epos = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < epos; ++i)
        if (text[i] != '.')
            digits += text[i];
    const int exponent = std::stoi(text.substr(epos + 1)) + 1;
    const int magnitude = std::abs(exponent);
    std::string out = (value < 0.0 ? "-0." : "0.") + digits;
    out += magnitude <= 99 ? "E" : "";
    out += exponent < 0 ? '-' : '+';
    out += (magnitude < 10 ? "0" : "") + std::to_string(magnitude);
    return out;
}

std::string ExactF(double value, int d) {
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, d);
    std::string text(buf, res.ptr);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return d == 0 ? text + "." : text;
}

std::string Trimmed(const std::string& field) {
    return field.substr(field.find_first_not_of(' '));
}

// The fields take a fast path through a scaled product and leave ties and extreme scales to the
// exact conversion; over values of every scale, and over exact ties, both give the same digits.
TEST(FormatTest, FieldsAgreeWithTheExactConversionOverEveryScale) {
    std::mt19937_64 random(20170809);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-30, 30);
    std::vector<double> values = {0.125,
                                  0.0125,
                                  1234.5,
                                  2.5,
                                  0.5,
                                  1.5,
                                  0.0005,
                                  999.5,
                                  9.995,
                                  0.9996,
                                  1e15,
                                  1e-300,
                                  5e-324,
                                  1.7976931348623157e308,
                                  4503599627370497.5,
                                  0.30000000000000004,
                                  1e22,
                                  1e23,
                                  12345678.5};
    for (int i = 0; i < 50000; ++i)
        values.push_back(mantissa(random) * std::pow(10.0, power(random)));
    for (int i = 0; i < 10000; ++i) // values on a grid of halves: ties at every precision
        values.push_back(static_cast<double>(static_cast<int>(mantissa(random) * 1e6)) / 64.0);
    int failures = 0;
    for (double v : values) {
        for (int d = 1; d <= 6 && failures < 10; ++d) {
            const std::string e = Trimmed(E(v, 40, d));
            if (e != ExactE(v, d) && ++failures)
                ADD_FAILURE() << "E of " << v << " with " << d << " digits: " << e << " against "
                              << ExactE(v, d);
            if (std::fabs(v) < 1e17) {
                const std::string f = Trimmed(F(v, 60, d - 1));
                if (f != ExactF(v, d - 1) && ++failures)
                    ADD_FAILURE() << "F of " << v << " with " << d - 1 << " decimals: " << f
                                  << " against " << ExactF(v, d - 1);
            }
        }
    }
}

TEST(FormatTest, FieldsAppendedToALineInHandAreTheFieldsThemselves) {
    // A line under construction keeps its text; each field lands after it, stars and all.
    const double inf = std::numeric_limits<double>::infinity();
    std::string line = "ROW";
    std::string expected = "ROW";
    for (const double v : {0.0, -0.0004, 12.5, 1e300, -inf, 123456789.0, 9.9996}) {
        AppendF(line, v, 9, 2);
        expected += F(v, 9, 2);
        AppendE(line, v, 11, 4);
        expected += E(v, 11, 4);
        AppendBlanks(line, 3);
        expected += "   ";
    }
    AppendE(line, 5.0, 4, 3); // too narrow: four stars
    expected += "****";
    AppendF(line, 5.0, 0, 1); // no columns: nothing
    AppendBlanks(line, -2);
    EXPECT_EQ(line, expected);
    EXPECT_EQ(F(-inf, 9, 2), "*********");
    EXPECT_EQ(E(-0.0004, 11, 4), "-0.4000E-03");
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
