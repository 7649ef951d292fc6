// Every conversion between numbers and the texts the program shows, stores or reads.
#pragma once

#include <QString>

namespace numbers {

// Nearest integer, halves to the even neighbour; saturates instead of overflowing, NaN gives 0.
int roundEven(double v);
long long roundEven64(double v);

// Field and label patterns ("##############0.0", "…0.00", "…0.000", "###0.0"): decimal comma,
// no grouping, at least one integer digit, halves away from zero on the 15-digit decimal form.
// A value that rounds to zero has no minus sign; NaN and infinities are written as zero.
QString formatPattern(double v, const QString &pattern);

// General number format with a decimal comma: shortest text of at most `significantDigits`
// digits ("10", "2,5", "0,5", "-3"). Same exponent rule as strNumber ("1E+20", "1,5E+20",
// "1E-05"). NaN and infinities give "0".
QString formatGeneral(double v, int significantDigits = 15);

// Value of a numeric field: optional leading minus, digits, at most one decimal comma.
// Anything else (blanks, points, exponents, several commas, empty text) is not a number.
// Digit strings beyond the double range saturate to the largest finite double.
bool parseField(const QString &text, double *value);
double fieldValue(const QString &text); // 0 when the text is not a number

// Locale-independent number text of files and of the calculator: leading space for zero and
// positive values, "-" otherwise, "." point, no 0 before the point (" .5"), rounded to
// `significantDigits` digits (halves away from zero on the 15-digit form), trailing zeros
// dropped. Plain notation while the decimal exponent of the rounded value lies between -4 and
// significantDigits - 1 (" .0001", " 9999999" for 7 digits), otherwise mantissa, "E", sign and
// at least two digits (" 1E-05", " 1E+07", " 1.5E+20", " 1E+100"). NaN and infinities give " 0":
// callers that must detect them check before writing.
QString strNumber(double v, int significantDigits);
QString strSingle(float v); // 7 significant digits
QString strDouble(double v); // 15 significant digits
QString strInteger(long long v); // " 1", "-1"

// Locale-independent parse of file texts: blanks, tabs and line feeds ignored anywhere,
// "." point, optional sign, exponent "E" or "D" with optional sign, "&H" and "&O" prefixes
// (unsigned), stops at the first character that cannot continue the number, 0 when there is
// none. A value beyond the double range gives +/-infinity (so that callers can tell an
// overflow), one too small gives 0.
double valText(const QString &text);
int valInteger(const QString &text); // valText rounded halves to even, saturated
float valSingle(const QString &text); // valText in single precision; beyond its range, +/-infinity

} // namespace numbers
