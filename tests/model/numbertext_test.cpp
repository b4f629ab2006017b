// General number format and locale-independent parsing.
#include "ui/model/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct FormatCase {
    double Value;
    int Digits;
    const char* Expected;
};

TEST(FormatGeneral, WritesShortestFixedOrScientificText) {
    const double inf = std::numeric_limits<double>::infinity();
    const FormatCase cases[] = {
        {0.0, 8, "0"},
        {-0.0, 8, "0"},
        {2.5, 8, "2.5"},
        {3.0, 8, "3"},
        {0.1, 8, "0.1"},
        {-2.5, 8, "-2.5"},
        {100.0, 8, "100"},
        {0.000001, 8, "1E-6"},
        {1.5e20, 8, "1.5E20"},
        {-1.5e-7, 8, "-1.5E-7"},
        {0.00001, 8, "0.00001"},            // smallest magnitude in fixed notation
        {0.0000099999999999, 8, "0.00001"}, // rounds up into fixed notation
        {0.0000099, 8, "9.9E-6"},
        {0.00005, 8, "0.00005"},
        {12345678.0, 8, "12345678"},     // eight integer digits still fit
        {123456789.0, 8, "1.2345679E8"}, // nine do not
        {99999999.5, 8, "1E8"},          // rounding adds an integer digit
        {1.0 / 3.0, 8, "0.33333333"},
        {2.0 / 3.0, 8, "0.66666667"},
        {224.8089237, 8, "224.80892"},
        {0.3048, 8, "0.3048"},
        {0.1 + 0.2, 8, "0.3"},
        {0.1 + 0.2, 15, "0.3"},
        {1.0 / 3.0, 15, "0.333333333333333"},
        {123456789.0, 15, "123456789"},
        {std::nan(""), 8, "NAN"},
        {inf, 8, "INF"},
        {-inf, 8, "-INF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral(c.Value, c.Digits), c.Expected)
            << "value " << c.Value << " with " << c.Digits << " digits";
    }
}

TEST(FormatGeneral, EightDigitTextReadsBackToTheRoundedValue) {
    for (double v : {1.0 / 7.0, 98765.4321, 6.02214076e23, 1.602e-19, -4.44822162}) {
        double back = 0.0;
        ASSERT_TRUE(ParseReal(FormatGeneral(v, 8), back)) << FormatGeneral(v, 8);
        EXPECT_NEAR(back, v, std::fabs(v) * 5e-8) << FormatGeneral(v, 8);
        EXPECT_EQ(FormatGeneral(back, 8), FormatGeneral(v, 8));
    }
}

TEST(ParseReal, AcceptsDecimalTextWithPointOnly) {
    const struct {
        const char* Text;
        double Expected;
    } good[] = {{"2.5", 2.5},
                {"-1E-6", -1e-6},
                {"+3", 3.0},
                {".5", 0.5},
                {"5.", 5.0},
                {"1e3", 1000.0},
                {"0.0", 0.0},
                {"-0", 0.0},
                {"1.5E+2", 150.0},
                {"007", 7.0},
                {"1e-400", 0.0},
                {"-0.00001e-330", -0.0},
                {"4.9406565E-324", 4.9406565e-324}};
    for (const auto& c : good) {
        double v = -99.0;
        EXPECT_TRUE(ParseReal(c.Text, v)) << c.Text;
        EXPECT_EQ(v, c.Expected) << c.Text;
    }
    for (const char* bad : {"",     "abc", "1,5", "inf", "-inf", "nan",   "1e999",
                            "0x10", "--1", "+-1", "++1", "1.5x", " 1",    "1 ",
                            "+",    "-",   ".",   "e5",  "1e",   "1e309", "123e99999999999"}) {
        double v = -99.0;
        EXPECT_FALSE(ParseReal(bad, v)) << '"' << bad << '"';
        EXPECT_EQ(v, -99.0) << "value changed by the refused text \"" << bad << '"';
    }
}

TEST(ParseInteger, NeedsAWholeNumberInThe32BitRange) {
    const struct {
        const char* Text;
        std::int32_t Expected;
    } good[] = {{"2", 2},
                {"2.0", 2},
                {"-7", -7},
                {"1e3", 1000},
                {"2147483647", 2147483647},
                {"-2147483648", -2147483647 - 1}};
    for (const auto& c : good) {
        std::int32_t v = -99;
        EXPECT_TRUE(ParseInteger(c.Text, v)) << c.Text;
        EXPECT_EQ(v, c.Expected) << c.Text;
    }
    for (const char* bad : {"2.5", "2147483648", "-2147483649", "1e10", "abc", "", "0.1"}) {
        std::int32_t v = -99;
        EXPECT_FALSE(ParseInteger(bad, v)) << bad;
        EXPECT_EQ(v, -99) << bad;
    }
}

} // namespace
