// Locale-independent number text: the "general" format used in project files, messages and
// entry fields, and the parsing of reals and integers that the word reader needs.
// Exports FormatGeneral, ParseReal, ParseInteger.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// General format with at most `significantDigits` significant digits (1..17), "." as decimal
// separator whatever the locale. Fixed notation without trailing zeros or trailing point
// (2.5 -> "2.5", 3.0 -> "3"); scientific notation with "E" and the shortest exponent, no plus
// sign and no leading zeros ("1E-6", "1.5E20") when the rounded magnitude is below 0.00001 or
// has more integer digits than `significantDigits`. Zero and negative zero give "0".
// Non-finite values give "NAN", "INF" or "-INF" (callers that write files refuse them first).
std::string FormatGeneral(double v, int significantDigits = 8);

// Reads a whole word as a finite real: optional sign ("+" or "-"), digits with an optional "."
// and an optional exponent ("E" or "e", optional sign). No blanks, no thousands separators,
// no hexadecimal, no "inf"/"nan". A magnitude too large for a double is refused; one too small
// reads as zero. Returns false on failure and leaves `value` unchanged.
bool ParseReal(std::string_view text, double& value);

// Reads a whole word as a 32-bit integer the way project files need it: the word must be a
// real (as ParseReal) with no fractional part inside -2147483648..2147483647, so "2" and "2.0"
// are both 2 and "2.5" is refused. Returns false on failure and leaves `value` unchanged.
bool ParseInteger(std::string_view text, std::int32_t& value);
