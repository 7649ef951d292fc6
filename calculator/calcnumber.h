// Number texts of the calculator's expressions: always a "." point, whatever the locale.
#pragma once

#include <string>
#include <string_view>

namespace calcnumber {

// Longest leading number of the text (blanks skipped, sign, digits, ".", "E" or "D" exponent);
// 0 when there are no digits. False when the value is beyond the range of a double.
bool read(std::string_view text, double *value);

// 15 significant digits: " 14", "-2.5", " .5", " .0001", " 1E-05", " 1.5E+20" (leading space
// for zero and positive values, none before the point). The value must be finite.
std::string write(double value);

// The display's scientific pattern: one digit, up to seven decimals without trailing zeros,
// an exponent with its sign and at least two digits ("1.2345E+03", "-5E-07", "0E+00").
std::string writeScientific(double value);

// The text without its leading and trailing spaces.
std::string trimmed(std::string_view text);

} // namespace calcnumber
