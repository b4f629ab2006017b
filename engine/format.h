// Fixed-column text output: the Fortran-like F, E, I and A fields and the label-value lines that
// every report, run-notes and listing writer of the engine uses. Locale-independent; a value that
// does not fit its field, or is not finite, is written as a field of "*".
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace kolmar::engine {

// Fw.d: fixed notation with d decimals, right-aligned in w columns ("   12.500" for F9.3; with
// no decimals the point stays, "  42." for F5.0).
std::string F(double value, int w, int d);
// Fw.d for a value that may outgrow its field: as F, but with as many of the d decimals
// dropped as it takes to fit (F7.2 writes 14712.345 as "14712.3"); stars only when the whole
// part alone does not fit.
std::string FFit(double value, int w, int d);

// Ew.d: "0." followed by d significant digits, "E", the exponent sign and two exponent digits,
// right-aligned in w columns (E10.3 writes 125 as " 0.125E+03"). An exponent of three digits
// drops the letter E ("0.125+100"), as Fortran does.
std::string E(double value, int w = 10, int d = 3);

// The F and E fields and blanks appended to a line under construction, with no string of their
// own: the writers of long tables build each line, or a whole section, in one buffer.
void AppendF(std::string& out, double value, int w, int d);
void AppendE(std::string& out, double value, int w = 10, int d = 3);
void AppendBlanks(std::string& out, int n);

// Iw: a whole number right-aligned in w columns; appended to a line in hand.
std::string I(long long value, int w);
void AppendI(std::string& out, long long value, int w);

// Aw on output: text right-aligned in w columns, or its first w characters when longer.
std::string A(std::string_view text, int w);

// A fixed text field read or written left-aligned: cut to w characters or padded with blanks.
std::string Field(std::string_view text, int w);

// n blanks; n copies of c.
std::string Blanks(int n);
std::string Repeat(char c, int n);

// Text without its trailing blanks (and a trailing carriage return).
std::string_view TrimRight(std::string_view text);

// Text in upper case (ASCII letters only).
std::string Upper(std::string_view text);

// A label-value line: `indent` blanks, the label padded (or cut) to `width`, then the value text.
std::string LabelValue(int indent, std::string_view label, int width, std::string_view value);

// The parameter line of the input echo: 7 blanks, the label padded to 50 characters, "=", the
// value in E10.3 and the five-character estimate mark (empty for none).
std::string EchoLine(std::string_view label, double value, std::string_view mark = {});

// Writes one line (the text and a line end).
void WriteLine(std::ostream& os, std::string_view text);

// Writes a text of any length through the stream's own buffer, in pieces short enough that a
// file stream copies them into its buffer (it hands a piece of 1 KiB or more straight to the
// system, one call each, whatever room its buffer has).
void WriteText(std::ostream& os, std::string_view text);

// Writes n empty lines.
void WriteBlankLines(std::ostream& os, int n);

// Copies every line of `from` to `to` as an 80-column field: cut after column 80, padded with
// blanks to exactly 80.
void CopyAs80Columns(std::istream& from, std::ostream& to);
// The same for a whole text in hand (a held file), built in one piece and written at once.
void CopyAs80Columns(std::string_view from, std::ostream& to);

} // namespace kolmar::engine
