#include "calculator/calcnumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace calcnumber {
namespace {

    bool isDigit(char c)
    {
        return c >= '0' && c <= '9';
    }

    std::size_t skipDigits(std::string_view text, std::size_t i)
    {
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i;
    }

    // Decimal exponent of the leading digit of "intDigits.fracDigits", without the exponent part.
    long leadingMagnitude(std::string_view intDigits, std::string_view fracDigits)
    {
        const std::size_t firstInt = intDigits.find_first_not_of('0');
        if (firstInt != std::string_view::npos)
            return static_cast<long>(intDigits.size() - firstInt) - 1;
        const std::size_t firstFrac = fracDigits.find_first_not_of('0');
        if (firstFrac != std::string_view::npos)
            return -static_cast<long>(firstFrac) - 1;
        return std::numeric_limits<long>::min() / 2;
    }

} // namespace

bool read(std::string_view text, double *value)
{
    *value = 0.0;
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos)
        return true;

    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    const std::size_t intBegin = i;
    i = skipDigits(text, i);
    const std::string_view intDigits = text.substr(intBegin, i - intBegin);
    std::string_view fracDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracBegin = ++i;
        i = skipDigits(text, i);
        fracDigits = text.substr(fracBegin, i - fracBegin);
    }
    if (intDigits.empty() && fracDigits.empty())
        return true;

    // The exponent is clamped: beyond five digits the value is out of range either way.
    long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negativeExponent = text[i++] == '-';
        for (; i < text.size() && isDigit(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 99999L);
        if (negativeExponent)
            exponent = -exponent;
    }

    std::string clean;
    clean.reserve(intDigits.size() + fracDigits.size() + 12);
    clean.append(intDigits.empty() ? std::string_view("0") : intDigits);
    clean += '.';
    clean.append(fracDigits);
    clean += 'e';
    clean += std::to_string(exponent);

    double magnitude = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large fails; too small is zero.
        if (leadingMagnitude(intDigits, fracDigits) + exponent > 0)
            return false;
        magnitude = 0.0;
    } else if (result.ec != std::errc()) {
        magnitude = 0.0;
    }
    *value = negative ? -magnitude : magnitude;
    return true;
}

std::string write(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return " 0";
    char buffer[40];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char &c : text) {
        if (c == 'e')
            c = 'E';
    }
    const std::size_t digits = text[0] == '-' ? 1 : 0;
    if (text.compare(digits, 2, "0.") == 0)
        text.erase(digits, 1);
    if (value > 0)
        text.insert(text.begin(), ' ');
    return text;
}

std::string writeScientific(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    if (value == 0.0)
        value = 0.0; // no "-0E+00"
    char buffer[40];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 7);
    std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    std::size_t mantissaEnd = e;
    while (mantissaEnd > 0 && text[mantissaEnd - 1] == '0')
        --mantissaEnd;
    if (mantissaEnd > 0 && text[mantissaEnd - 1] == '.')
        --mantissaEnd;
    return text.substr(0, mantissaEnd) + 'E' + text.substr(e + 1);
}

std::string trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

} // namespace calcnumber
