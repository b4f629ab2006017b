// The expression evaluator of the numeric entry fields and the grid tables: a typed number or
// an arithmetic expression (parentheses, + - * / ^ % & | =, constants pi and e, functions,
// factorial, hexadecimal) becomes a value. Plain C++, no Qt.
// Exports EvaluateExpression, TryEvaluateExpression and EEvaluateError.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Raised when an entry cannot be evaluated. The message is the one shown to the user:
// "Entry could not be evaluated:" on a line of its own, then the reason.
class EEvaluateError : public std::runtime_error {
public:
    explicit EEvaluateError(const std::string& reason);
    const std::string& Reason() const { return fReason; }

private:
    std::string fReason;
};

// The value of an entry. Throws EEvaluateError; never returns a NaN or an infinity (a division
// by zero, a function outside its domain and an overflow are evaluation errors too).
double EvaluateExpression(std::string_view Text);

// The same without exceptions: false and the user's message when the entry is not valid.
bool TryEvaluateExpression(std::string_view Text, double& Value, std::string& Message);
