#include "ui/model/Evaluator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
struct ValueCase {
    const char* text;
    double expected;
};
struct ErrorCase {
    const char* text;
    const char* reason;
};
} // namespace

TEST(Evaluator, Values) {
    const ValueCase cases[] = {
        {"2*(3+4)", 14},
        {"2^3^2", 64}, // left to right
        {"7%3", 1},
        {"-7%3", -1},
        {"1=1", 1},
        {"1=2", 0},
        {"0&5", 0},
        {"2&5", 1},
        {"0|5", 1},
        {"0|0", 0},
        {"10--2", 12},
        {"-2^2", 4}, // the sign belongs to the number
        {"3*-2", -6},
        {"1e-3", 0.001},
        {"2.5E2", 250},
        {"5!", 120},
        {"0!", 1},
        {"-3!", -6},
        {" 1 +\t2 ", 3},
        {"2+3*4-6/2", 11},
        {"10-(3-5)", 12},
        {"((2))", 2},
        {"sqrt(2+2)", 2},
        {"sin-2", std::sin(-2.0)},
        {"cos0", 1},
        {"cosec(pi/2)", 1},
        {"csc(pi/2)", 1},
        {"sec0", 1},
        {"abs-3.5", 3.5},
        {"frac-2.75", -0.75},
        {"int-2.75", -2},
        {"round2.5", 2}, // halves to the even neighbour
        {"round3.5", 4},
        {"ceil2.1", 3},
        {"floor-2.1", -3},
        {"ln(e)", 1},
        {"log1000", 3},
        {"PI", 3.141592653589793},
        {"-e", -2.718281828459045},
        {"$FF", 255},
        {"$10*2", 32},
        {"arctan1*4", 3.141592653589793},
        {"arccosh1", 0},
        {"2*(1/3)*3", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double v = 0;
        std::string message;
        ASSERT_TRUE(TryEvaluateExpression(c.text, v, message)) << message;
        EXPECT_NEAR(v, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected)));
    }
}

TEST(Evaluator, ErrorsNameTheirReason) {
    const ErrorCase cases[] = {
        {"", "entry cannot be blank"},
        {"  ", "entry cannot be blank"},
        {"(2+3", "invalid character(s) in expression"},
        {"2+3)", "() (parentheses) do not match"},
        {"2*", "invalid expression"},
        {"*2", "invalid expression"},
        {"2**3", "invalid expression"},
        {"2.5!", "! (factoral) applicable to integers only"},
        {"$G1", "invalid use of $ (hex function)"},
        {"$", "invalid use of $ (hex function)"},
        {"abc", "invalid character(s) in expression"},
        {"1,5", "invalid character(s) in expression"},
        {"inf", "invalid character(s) in expression"},
        {"nan", "invalid character(s) in expression"},
        // Arithmetic that has no finite answer is an evaluation error, never an infinity.
        {"1/0", "division by zero"},
        {"5%0", "division by zero"},
        {"0^-1", "division by zero"},
        {"10^400", "result out of range"},
        {"1e308*10", "result out of range"},
        {"171!", "result out of range"},
        {"sqrt-4", "sqrt is not defined for -4"},
        {"ln0", "ln is not defined for 0"},
        {"arcsin2", "arcsin is not defined for 2"},
        {"(-8)^(1/3)", "^ (power) is not defined for -8 ^ 0.33333333"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double v = 0;
        std::string message;
        EXPECT_FALSE(TryEvaluateExpression(c.text, v, message)) << "value " << v;
        EXPECT_EQ(message, std::string("Entry could not be evaluated:\n") + c.reason);
    }
}
