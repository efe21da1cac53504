#include "common/LeadingNumber.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// For a number from_chars found out of range: true when it is too large for a double,
// false when it is too small (it then reads as 0).
bool overflows(const std::string &number)
{
    const auto exponentAt = number.find('e');
    const std::string mantissa = number.substr(0, exponentAt);
    long long exponent = 0;
    if (exponentAt != std::string::npos) {
        const bool negativeExponent = number[exponentAt + 1] == '-';
        for (char c : number.substr(exponentAt + 1)) {
            if (c >= '0' && c <= '9')
                exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    // Position of the first significant digit relative to the decimal point.
    const auto point = mantissa.find('.');
    const std::string whole = mantissa.substr(0, point);
    const auto firstWhole = whole.find_first_not_of('0');
    long long magnitude = 0;
    if (firstWhole != std::string::npos) {
        magnitude = static_cast<long long>(whole.size() - firstWhole);
    } else if (point != std::string::npos) {
        const std::string fraction = mantissa.substr(point + 1);
        magnitude = -static_cast<long long>(fraction.find_first_not_of('0'));
    }
    return magnitude + exponent > 0;
}

} // namespace

double LeadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // Collect the longest prefix that forms a number, as plain ASCII for from_chars.
    std::string number;
    qsizetype mantissaDigits = 0;
    while (i < n && isDigit(text[i])) {
        number += char(text[i].unicode());
        ++i;
        ++mantissaDigits;
    }
    if (i < n && text[i] == u'.') {
        number += '.';
        ++i;
        while (i < n && isDigit(text[i])) {
            number += char(text[i].unicode());
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;

    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += char(text[j].unicode());
            ++j;
        }
        const qsizetype firstExponentDigit = j;
        while (j < n && isDigit(text[j])) {
            exponent += char(text[j].unicode());
            ++j;
        }
        if (j > firstExponentDigit)
            number += exponent;
    }

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = overflows(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}
