// Number texts of the fields, labels, files and calculator. Every text is built from decimal
// digits in this file, never through the C or Qt locale, so the output is the same everywhere.
#include "platform/numbers.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Every text is rounded from this decimal form of the value, so that binary noise never
// decides a half (0.15 rounds up to 0,2, 2.25 to 2,3).
constexpr int kDecimalDigits = 15;
// Exponent of the first significant digit below which texts switch to the exponent form.
constexpr int kSmallestPlainExponent = -4;
// Bound on a parsed exponent: far beyond the double range, far from int overflow.
constexpr long kExponentBound = 100000;

// A magnitude as significant digits (no leading or trailing zero; empty means zero), the first
// of them standing at 10^exp10.
struct Decimal
{
    std::string digits;
    int exp10 = 0;

    bool isZero() const { return digits.empty(); }
    char digitAt(int power) const
    {
        const int index = exp10 - power;
        return index >= 0 && index < int(digits.size()) ? digits[index] : '0';
    }
};

void stripTrailingZeros(Decimal *d)
{
    while (!d->digits.empty() && d->digits.back() == '0')
        d->digits.pop_back();
}

// |v| correctly rounded to `count` significant digits by the C library; only digits are taken
// from its text, so the locale's decimal point does not matter.
Decimal decimalOf(double v, int count)
{
    Decimal d;
    if (!std::isfinite(v) || v == 0)
        return d;
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", count - 1, std::fabs(v));
    const char *p = text;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits.push_back(*p);
    }
    d.exp10 = *p ? std::atoi(p + 1) : 0;
    stripTrailingZeros(&d);
    return d;
}

// Keeps the first `keep` significant digits, halves away from zero; a carry may add a digit.
Decimal roundDigits(Decimal d, int keep)
{
    if (keep >= int(d.digits.size()))
        return d;
    if (keep < 0)
        return {};
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exp10;
        }
    }
    stripTrailingZeros(&d);
    return d;
}

// |v| rounded to `digits` significant digits through the 15-digit decimal form.
Decimal significant(double v, int digits)
{
    digits = std::clamp(digits, 1, 17);
    if (digits > kDecimalDigits)
        return decimalOf(v, digits);
    return roundDigits(decimalOf(v, kDecimalDigits), digits);
}

struct GeneralStyle
{
    char point;
    bool zeroBeforePoint;
    const char *positiveSign;
};

// Shortest text of an already rounded magnitude, in plain or exponent form.
QString generalText(const Decimal &d, bool negative, int digits, const GeneralStyle &style)
{
    if (d.isZero())
        return QString::fromLatin1(style.positiveSign) + QLatin1Char('0');
    std::string s = negative ? "-" : style.positiveSign;
    const std::string &m = d.digits;
    if (d.exp10 >= digits || d.exp10 < kSmallestPlainExponent) {
        s += m[0];
        if (m.size() > 1)
            s += style.point + m.substr(1);
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exp10 < 0 ? '-' : '+',
                      std::abs(d.exp10));
        s += exponent;
    } else if (d.exp10 >= 0) {
        const size_t integerDigits = size_t(d.exp10) + 1;
        s += m.substr(0, integerDigits);
        if (m.size() < integerDigits)
            s.append(integerDigits - m.size(), '0');
        else if (m.size() > integerDigits)
            s += style.point + m.substr(integerDigits);
    } else {
        if (style.zeroBeforePoint)
            s += '0';
        s += style.point;
        s.append(size_t(-d.exp10 - 1), '0');
        s += m;
    }
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// Position, relative to the point, of the first significant digit of a digit string; only its
// sign matters, to tell an overflow from an underflow.
long leadingPower(const std::string &integerDigits, const std::string &fractionDigits)
{
    const size_t first = integerDigits.find_first_not_of('0');
    if (first != std::string::npos)
        return long(integerDigits.size() - first);
    const size_t firstFraction = fractionDigits.find_first_not_of('0');
    return firstFraction == std::string::npos ? 0 : -long(firstFraction);
}

// Nearest double of integerDigits.fractionDigits x 10^exponent; beyond the range, infinity.
double decimalValue(const std::string &integerDigits, const std::string &fractionDigits,
                    long exponent)
{
    std::string s = integerDigits.empty() ? std::string("0") : integerDigits;
    if (!fractionDigits.empty())
        s += '.' + fractionDigits;
    s += 'e' + std::to_string(exponent);
    double value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = leadingPower(integerDigits, fractionDigits) + exponent > 0 ? HUGE_VAL : 0.0;
    else if (result.ec != std::errc())
        value = 0;
    return value;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits of a "&H" or "&O" number, from `pos` on.
double radixValue(const std::string &s, size_t pos, int radix)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const char c = char(std::tolower(static_cast<unsigned char>(s[pos])));
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}

std::string collectDigits(const std::string &s, size_t *pos)
{
    const size_t start = *pos;
    while (*pos < s.size() && isDigit(s[*pos]))
        ++*pos;
    return s.substr(start, *pos - start);
}

// Exponent after "E" or "D" at `pos`; leaves `pos` on the letter when no digit follows it.
long exponentPart(const std::string &s, size_t *pos)
{
    if (*pos >= s.size() || std::string("EeDd").find(s[*pos]) == std::string::npos)
        return 0;
    size_t p = *pos + 1;
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-'))
        negative = s[p++] == '-';
    if (p >= s.size() || !isDigit(s[p]))
        return 0;
    long exponent = 0;
    for (; p < s.size() && isDigit(s[p]); ++p)
        exponent = std::min(exponent * 10 + (s[p] - '0'), kExponentBound);
    *pos = p;
    return negative ? -exponent : exponent;
}

} // namespace

namespace numbers {

int roundEven(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= double(INT_MAX))
        return INT_MAX;
    if (r <= double(INT_MIN))
        return INT_MIN;
    return int(r);
}

long long roundEven64(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    // LLONG_MAX is not a double: its conversion gives 2^63, the first value out of range.
    if (r >= double(LLONG_MAX))
        return LLONG_MAX;
    if (r <= double(LLONG_MIN))
        return LLONG_MIN;
    return static_cast<long long>(r);
}

QString formatPattern(double v, const QString &pattern)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QStringView integerPart = QStringView(pattern).left(point < 0 ? pattern.size() : point);
    const QStringView fractionPart
        = point < 0 ? QStringView() : QStringView(pattern).mid(point + 1);
    const int minIntegerDigits = int(integerPart.count(QLatin1Char('0')));
    const int minDecimals = int(fractionPart.count(QLatin1Char('0')));
    const int maxDecimals = minDecimals + int(fractionPart.count(QLatin1Char('#')));

    Decimal d = decimalOf(v, kDecimalDigits);
    d = roundDigits(d, d.exp10 + 1 + maxDecimals);

    QString text;
    if (!d.isZero() && v < 0)
        text += QLatin1Char('-');
    const int top = std::max(d.isZero() ? -1 : d.exp10, minIntegerDigits - 1);
    for (int power = top; power >= 0; --power)
        text += QLatin1Char(d.digitAt(power));
    QString fraction;
    for (int power = -1; power >= -maxDecimals; --power)
        fraction += QLatin1Char(d.digitAt(power));
    while (fraction.size() > minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLatin1Char(',') + fraction;
    return text;
}

QString formatGeneral(double v, int significantDigits)
{
    const GeneralStyle style {',', true, ""};
    significantDigits = std::clamp(significantDigits, 1, 17);
    return generalText(significant(v, significantDigits), v < 0, significantDigits, style);
}

bool parseField(const QString &text, double *value)
{
    std::string integerDigits, fractionDigits;
    bool negative = false, comma = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'-' && i == 0) {
            negative = true;
        } else if (c == u',' && !comma) {
            comma = true;
        } else if (c >= u'0' && c <= u'9') {
            (comma ? fractionDigits : integerDigits) += char(c);
        } else {
            return false;
        }
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return false;
    const double magnitude = std::min(decimalValue(integerDigits, fractionDigits, 0), DBL_MAX);
    *value = negative && magnitude != 0 ? -magnitude : magnitude;
    return true;
}

double fieldValue(const QString &text)
{
    double value = 0;
    return parseField(text, &value) ? value : 0;
}

QString strNumber(double v, int significantDigits)
{
    const GeneralStyle style {'.', false, " "};
    significantDigits = std::clamp(significantDigits, 1, 17);
    return generalText(significant(v, significantDigits), v < 0, significantDigits, style);
}

QString strSingle(float v)
{
    return strNumber(double(v), 7);
}

QString strDouble(double v)
{
    return strNumber(v, 15);
}

QString strInteger(long long v)
{
    return (v < 0 ? QString() : QStringLiteral(" ")) + QString::number(v);
}

double valText(const QString &text)
{
    std::string s;
    s.reserve(size_t(text.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        // Anything outside ASCII ends a number, as any other foreign character does.
        s += u < 0x80 ? char(u) : '\x7f';
    }
    if (s.size() >= 2 && s[0] == '&') {
        const char prefix = char(std::toupper(static_cast<unsigned char>(s[1])));
        if (prefix == 'H')
            return radixValue(s, 2, 16);
        if (prefix == 'O')
            return radixValue(s, 2, 8);
        return 0;
    }
    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        negative = s[pos++] == '-';
    const std::string integerDigits = collectDigits(s, &pos);
    std::string fractionDigits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        fractionDigits = collectDigits(s, &pos);
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return 0;
    const long exponent = exponentPart(s, &pos);
    const double magnitude = decimalValue(integerDigits, fractionDigits, exponent);
    return negative && magnitude != 0 ? -magnitude : magnitude;
}

int valInteger(const QString &text)
{
    return roundEven(valText(text));
}

float valSingle(const QString &text)
{
    const double v = valText(text);
    // Converting a finite double beyond the float range is undefined behaviour.
    if (std::isfinite(v) && std::fabs(v) > double(FLT_MAX))
        return v < 0 ? -HUGE_VALF : HUGE_VALF;
    return float(v);
}

} // namespace numbers
