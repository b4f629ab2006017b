// The expression evaluator of the numeric entry fields and the grid tables: a typed number or
// an arithmetic expression (parentheses, + - * / ^ % & | =, constants pi and e, functions,
// factorial, hexadecimal) becomes a value. A number may carry a unit ("3 ft 6 in", "18 kN/m3");
// the quantities are converted into the field's unit. Plain C++, no Qt.
// Exports EvaluateExpression, TryEvaluateExpression and EEvaluateError.
#pragma once

#include "ui/model/units.h"

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

// The value of an entry for a field whose value has the units string UnitsString in the unit
// system System (1 English, 2 SI). Throws EEvaluateError; never returns a NaN or an infinity (a
// division by zero, a function outside its domain and an overflow are evaluation errors too).
//
// Units: a number followed by a unit (FindEntryUnit: "3ft", "2.5 kN", "18 kN/m^3") is that
// quantity, converted into the field's unit; numbers with units that follow each other add
// ("3 ft 6 in" is 3 ft + 6 in, a leading minus negates the whole run). Every quantity must be of
// the field's kind (a length in a depth field); otherwise the message names the unit typed and
// the unit the field takes. A number without a unit is in the field's unit, as before, so
// "3 ft + 6" in a field in feet is 9.
double EvaluateExpression(std::string_view Text, std::string_view UnitsString = {},
                          int System = UnitsNone);

// The same without exceptions: false and the user's message when the entry is not valid.
bool TryEvaluateExpression(std::string_view Text, double& Value, std::string& Message,
                           std::string_view UnitsString = {}, int System = UnitsNone);
