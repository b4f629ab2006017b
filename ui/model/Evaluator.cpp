// Expression evaluation for numeric entries.
//
// The entry is reduced in steps that a user can follow: parenthesised groups first, innermost
// first, each replaced by its value; then the flat expression is split into operands and binary
// operators and reduced in four passes of falling precedence (^; * / % &; + - |; =), each from
// left to right. Intermediate values are carried as text with 17 significant digits, which
// keeps a double exactly. A number with a unit is an operand of its own ("3ft6in" one run of
// quantities), converted into the field's unit where the operand is read; the "/" and "^" of a
// compound unit ("kN/m^3") are taken out of the operators' way before the text is split.
#include "ui/model/Evaluator.h"

#include "ui/model/EntryUnits.h"
#include "ui/model/NumberText.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace {

const std::string kBlank = "entry cannot be blank";
const std::string kParentheses = "() (parentheses) do not match";
const std::string kInvalidExpression = "invalid expression";
const std::string kInvalidCharacters = "invalid character(s) in expression";
const std::string kFactorial = "! (factoral) applicable to integers only";
const std::string kHex = "invalid use of $ (hex function)";
const std::string kDivisionByZero = "division by zero";
const std::string kOutOfRange = "result out of range";

[[noreturn]] void Fail(const std::string& reason) {
    throw EEvaluateError(reason);
}

double Checked(double v, const std::string& reasonIfNotFinite) {
    if (!std::isfinite(v))
        Fail(reasonIfNotFinite);
    return v;
}

std::string ValueText(double v) {
    return FormatGeneral(v, 17);
}
// A value as a message shows it.
std::string MessageText(double v) {
    return FormatGeneral(v, 8);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Function names in the order they are tried, each matched by the leading letters of an
// operand. "cosec" is tried before "cosh" and "cos", which would otherwise take its first
// letters and leave it unreachable.
struct TFunction {
    const char* name;
    double (*apply)(double);
};
double Sec(double x) {
    return 1.0 / std::cos(x);
}
double Cosec(double x) {
    return 1.0 / std::sin(x);
}
double Cotan(double x) {
    return 1.0 / std::tan(x);
}
double Frac(double x) {
    return x - std::trunc(x);
}
double Int(double x) {
    return std::trunc(x);
}
double Round(double x) {
    return std::nearbyint(x);
} // ties to even in the default mode
double Abs(double x) {
    return std::fabs(x);
}
double Arctanh(double x) {
    return std::atanh(x);
}
double Arctan(double x) {
    return std::atan(x);
}
double Tanh(double x) {
    return std::tanh(x);
}
double Tan(double x) {
    return std::tan(x);
}
double Arccosh(double x) {
    return std::acosh(x);
}
double Arccos(double x) {
    return std::acos(x);
}
double Cosh(double x) {
    return std::cosh(x);
}
double Cos(double x) {
    return std::cos(x);
}
double Arcsinh(double x) {
    return std::asinh(x);
}
double Arcsin(double x) {
    return std::asin(x);
}
double Sinh(double x) {
    return std::sinh(x);
}
double Sin(double x) {
    return std::sin(x);
}
double Ln(double x) {
    return std::log(x);
}
double Ceil(double x) {
    return std::ceil(x);
}
double Floor(double x) {
    return std::floor(x);
}
double Log10(double x) {
    return std::log10(x);
}
double Sqrt(double x) {
    return std::sqrt(x);
}

const std::array<TFunction, 25> kFunctions{{
    {"arctanh", Arctanh}, {"arctan", Arctan},   {"cotan", Cotan},   {"tanh", Tanh}, {"tan", Tan},
    {"arccosh", Arccosh}, {"arccos", Arccos},   {"cosec", Cosec},   {"cosh", Cosh}, {"cos", Cos},
    {"sec", Sec},         {"arcsinh", Arcsinh}, {"arcsin", Arcsin}, {"sinh", Sinh}, {"sin", Sin},
    {"csc", Cosec},       {"abs", Abs},         {"frac", Frac},     {"int", Int},   {"ln", Ln},
    {"round", Round},     {"ceil", Ceil},       {"floor", Floor},   {"log", Log10}, {"sqrt", Sqrt},
}};

bool IsFunctionName(std::string_view lowerText) {
    for (const TFunction& f : kFunctions)
        if (lowerText == f.name)
            return true;
    return false;
}

bool IsBinaryOperator(char c) {
    switch (c) {
    case '%':
    case '&':
    case '*':
    case '+':
    case '/':
    case '=':
    case '^':
    case '|':
        return true;
    default:
        return false;
    }
}

double OperandValue(std::string text, const TFieldUnit& field);

double Factorial(double n) {
    if (n != std::trunc(n))
        Fail(kFactorial);
    const double magnitude = std::fabs(n);
    if (magnitude > 170) // 171! exceeds the largest double
        Fail(kOutOfRange);
    double result = 1;
    for (int k = 2; k <= static_cast<int>(magnitude); ++k)
        result *= k;
    return n < 0 ? -result : result;
}

double HexValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 16)
        Fail(kHex);
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                                                                  : -1;
        if (d < 0)
            Fail(kHex);
        value = value * 16 + static_cast<std::uint64_t>(d);
    }
    // Sixteen digits are a 64-bit two's-complement integer, as "$FFFFFFFFFFFFFFFF" is -1.
    return static_cast<double>(static_cast<std::int64_t>(value));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Marks the slash of a compound unit ("kN/m3", "lbs/ft^2") after a number with '~' and drops
// its '^', so that neither is taken for an operator. Only a force unit over a length unit is a
// compound unit: "10kN/2" stays a quotient.
std::string ProtectCompoundUnits(std::string text) {
    for (std::size_t slash = 0; (slash = text.find('/', slash)) != std::string::npos; ++slash) {
        std::size_t begin = slash;
        while (begin > 0 && IsLetter(text[begin - 1]))
            --begin;
        if (begin == slash || begin == 0 || !(IsDigit(text[begin - 1]) || text[begin - 1] == '.'))
            continue;
        std::size_t end = slash + 1;
        while (end < text.size() && IsLetter(text[end]))
            ++end;
        if (end == slash + 1)
            continue;
        std::size_t powerEnd = end;
        if (powerEnd + 1 < text.size() && text[powerEnd] == '^' && IsDigit(text[powerEnd + 1]))
            powerEnd += 2;
        else if (powerEnd < text.size() && IsDigit(text[powerEnd]))
            powerEnd += 1;
        else if (powerEnd + 1 < text.size() && text.compare(powerEnd, 1, "\xC2") == 0)
            powerEnd += 2;
        const std::string candidate = text.substr(begin, powerEnd - begin);
        const std::optional<TEntryUnit> unit = FindEntryUnit(candidate);
        if (!unit || unit->Kind.Force != 1)
            continue;
        text[slash] = '~';
        if (end < powerEnd && text[end] == '^')
            text.erase(end, 1);
    }
    return text;
}

// The longest number at the start of text: digits with an optional point and an optional
// exponent whose digits follow. Returns its length, 0 when text starts with no number.
std::size_t NumberLength(std::string_view text) {
    std::size_t n = 0;
    bool digits = false;
    while (n < text.size() && IsDigit(text[n])) {
        ++n;
        digits = true;
    }
    if (n < text.size() && text[n] == '.') {
        ++n;
        while (n < text.size() && IsDigit(text[n])) {
            ++n;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (n < text.size() && (text[n] == 'e' || text[n] == 'E')) {
        std::size_t k = n + 1;
        if (k < text.size() && text[k] == '-')
            ++k;
        if (k < text.size() && IsDigit(text[k])) {
            while (k < text.size() && IsDigit(text[k]))
                ++k;
            n = k;
        }
    }
    return n;
}

// The unit after a number: letters, and for a compound unit '~', letters and a power.
std::size_t UnitLength(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsLetter(text[n]))
        ++n;
    if (n == 0 || n >= text.size() || text[n] != '~')
        return n;
    ++n;
    while (n < text.size() && IsLetter(text[n]))
        ++n;
    if (n < text.size() && IsDigit(text[n]))
        ++n;
    else if (n + 1 < text.size() && static_cast<unsigned char>(text[n]) == 0xC2)
        n += 2;
    return n;
}

std::string ExpectedText(const TFieldUnit& field) {
    if (!field.Convertible)
        return "a value that cannot be converted from it (" + field.Display + ")";
    if (field.Display.empty())
        return "a number without units";
    if (field.Kind == TQuantityKind{})
        return "a value in " + field.Display;
    return "a " + KindName(field.Kind) + " in " + field.Display;
}

// An operand of quantities with units, "3ft6in" or "-2.5kN": their sum in the field's unit.
// False when the text is no such run (it is then no number at all).
bool QuantityValue(std::string_view text, const TFieldUnit& field, double& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (NumberLength(text) == 0)
        return false;
    double sum = 0;
    while (!text.empty()) {
        const std::size_t numberLength = NumberLength(text);
        double number = 0;
        if (numberLength == 0 || !ParseReal(text.substr(0, numberLength), number))
            return false;
        text.remove_prefix(numberLength);
        const std::size_t unitLength = UnitLength(text);
        if (unitLength == 0)
            return false; // a bare number inside a run of quantities
        std::string typed(text.substr(0, unitLength));
        text.remove_prefix(unitLength);
        for (char& c : typed)
            if (c == '~')
                c = '/';
        const std::optional<TEntryUnit> unit = FindEntryUnit(typed);
        if (!unit)
            Fail("unknown unit \"" + typed + "\"");
        if (!field.Convertible || unit->Kind != field.Kind)
            Fail("\"" + typed + "\" is a " + KindName(unit->Kind) + "; this entry takes " +
                 ExpectedText(field));
        sum += number * (unit->SISize / field.SISize);
    }
    value = Checked(negative ? -sum : sum, kOutOfRange);
    return true;
}

double OperandValue(std::string text, const TFieldUnit& field) {
    // A double minus is a plus.
    for (std::size_t at; (at = text.find("--")) != std::string::npos;)
        text.erase(at, 2);
    const std::string lower = Lower(text);
    if (lower == "pi")
        return std::numbers::pi;
    if (lower == "-pi")
        return -std::numbers::pi;
    if (lower == "e")
        return std::numbers::e;
    if (lower == "-e")
        return -std::numbers::e;

    for (const TFunction& f : kFunctions) {
        const std::string_view name(f.name);
        if (lower.size() > name.size() && lower.compare(0, name.size(), name) == 0) {
            const double argument = OperandValue(text.substr(name.size()), field);
            return Checked(f.apply(argument),
                           std::string(f.name) + " is not defined for " + MessageText(argument));
        }
    }
    if (!lower.empty() && lower.back() == '!')
        return Factorial(OperandValue(text.substr(0, text.size() - 1), field));
    if (!lower.empty() && lower.front() == '$')
        return HexValue(std::string_view(lower).substr(1));

    double value = 0;
    if (!ParseReal(text, value) && !QuantityValue(text, field, value))
        Fail(kInvalidCharacters);
    return value;
}

double Apply(char op, double left, double right) {
    switch (op) {
    case '^': {
        const double v = std::pow(left, right);
        if (std::isnan(v))
            Fail("^ (power) is not defined for " + MessageText(left) + " ^ " + MessageText(right));
        return Checked(v, left == 0 ? kDivisionByZero : kOutOfRange);
    }
    case '*':
        return Checked(left * right, kOutOfRange);
    case '/':
        if (right == 0)
            Fail(kDivisionByZero);
        return Checked(left / right, kOutOfRange);
    case '%': {
        constexpr double limit = 9.2233720368547758e18; // 2^63
        if (!(std::fabs(left) < limit) || !(std::fabs(right) < limit))
            Fail(kOutOfRange);
        const auto a = static_cast<std::int64_t>(left);
        const auto b = static_cast<std::int64_t>(right);
        if (b == 0)
            Fail(kDivisionByZero);
        if (b == -1) // INT64_MIN % -1 overflows; any remainder by -1 is 0
            return 0;
        return static_cast<double>(a % b);
    }
    case '&':
        return (left != 0 && right != 0) ? 1 : 0;
    case '+':
        return Checked(left + right, kOutOfRange);
    case '-':
        return Checked(left - right, kOutOfRange);
    case '|':
        return (left != 0 || right != 0) ? 1 : 0;
    case '=':
        return left == right ? 1 : 0;
    default:
        Fail(kInvalidExpression);
    }
}

// A flat expression: no parentheses left.
double EvaluateFlat(const std::string& text, const TFieldUnit& field) {
    // Which minus signs are subtractions: a minus is a sign at the start, after a function name
    // that makes up all the text before it, and after an operator, an exponent letter or another
    // minus; anywhere else it subtracts.
    std::vector<bool> subtraction(text.size(), false);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-')
            continue;
        if (i == 0 || IsFunctionName(Lower(std::string_view(text).substr(0, i))))
            continue;
        const char before = text[i - 1];
        if (IsBinaryOperator(before) || before == 'e' || before == 'E' || before == '-')
            continue;
        subtraction[i] = true;
    }

    std::vector<std::string> operandText;
    std::vector<char> operators;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsBinaryOperator(c) || subtraction[i]) {
            if (!current.empty())
                operandText.push_back(current);
            current.clear();
            operators.push_back(c);
        } else {
            current += c;
        }
    }
    if (!current.empty())
        operandText.push_back(current);
    if (operandText.size() != operators.size() + 1)
        Fail(kInvalidExpression);

    std::vector<double> values;
    values.reserve(operandText.size());
    for (const std::string& operand : operandText)
        values.push_back(OperandValue(operand, field));

    const std::array<std::string_view, 4> passes{"^", "*/%&", "+-|", "="};
    for (std::string_view pass : passes) {
        for (std::size_t k = 0; k < operators.size();) {
            if (pass.find(operators[k]) == std::string_view::npos) {
                ++k;
                continue;
            }
            values[k] = Apply(operators[k], values[k], values[k + 1]);
            values.erase(values.begin() + static_cast<std::ptrdiff_t>(k) + 1);
            operators.erase(operators.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }
    return values.front();
}

} // namespace

EEvaluateError::EEvaluateError(const std::string& reason)
    : std::runtime_error("Entry could not be evaluated:\n" + reason), fReason(reason) {}

double EvaluateExpression(std::string_view Text, std::string_view UnitsString, int System) {
    if (Text.empty())
        Fail(kBlank);
    std::string text;
    for (char c : Text)
        if (c != ' ' && c != '\t')
            text += c;
    if (text.empty())
        Fail(kBlank);
    text = ProtectCompoundUnits(std::move(text));
    const TFieldUnit field = FieldUnitOf(UnitsString, System);

    for (std::size_t close; (close = text.find(')')) != std::string::npos;) {
        const std::size_t open = text.rfind('(', close);
        if (open == std::string::npos)
            Fail(kParentheses);
        const double inner = EvaluateFlat(text.substr(open + 1, close - open - 1), field);
        text.replace(open, close - open + 1, ValueText(inner));
    }
    return EvaluateFlat(text, field);
}

bool TryEvaluateExpression(std::string_view Text, double& Value, std::string& Message,
                           std::string_view UnitsString, int System) {
    try {
        Value = EvaluateExpression(Text, UnitsString, System);
        return true;
    } catch (const EEvaluateError& e) {
        Message = e.what();
        return false;
    }
}
