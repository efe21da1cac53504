#include "dice/number/Fraction.h"

#include <charconv>
#include <limits>

namespace {

__extension__ typedef __int128 Wide;
__extension__ typedef unsigned __int128 Unsigned;

constexpr Wide Largest = std::numeric_limits<qint64>::max();
constexpr Wide Smallest = std::numeric_limits<qint64>::min();

Wide gcd(Wide a, Wide b)
{
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        const Wide r = a % b;
        a = b;
        b = r;
    }
    return a;
}

void appendWide(QByteArray &out, Wide value)
{
    // At most 39 digits and a sign.
    char digits[48];
    char *end = digits + sizeof digits;
    char *start = end;
    const bool negative = value < 0;
    Unsigned magnitude = negative ? -static_cast<Unsigned>(value)
                                           : static_cast<Unsigned>(value);
    do {
        *--start = char('0' + int(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        *--start = '-';
    out.append(start, end - start);
}

} // namespace

// Builds fractions from 128-bit parts; a friend, so that the parts can be set directly.
struct FractionParts
{
    static std::optional<Fraction> reduced(Wide numerator, Wide denominator);
};

namespace {

std::optional<Fraction> reduced(Wide numerator, Wide denominator)
{
    return FractionParts::reduced(numerator, denominator);
}

} // namespace

std::optional<Fraction> FractionParts::reduced(Wide numerator, Wide denominator)
{
    if (denominator == 0)
        return std::nullopt;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const Wide divisor = gcd(numerator, denominator);
    if (divisor > 1) {
        numerator /= divisor;
        denominator /= divisor;
    }
    if (numerator < Smallest || numerator > Largest || denominator > Largest)
        return std::nullopt;
    return Fraction(qint64(numerator), qint64(denominator));
}

std::optional<Fraction> Fraction::of(qint64 numerator, qint64 denominator)
{
    return reduced(numerator, denominator);
}

double Fraction::toDouble() const
{
    if (m_denominator == 1)
        return double(m_numerator);
    // Both parts are exact in long double's 64-bit significand, so the quotient is rounded
    // once there and once more to double: the nearest double, but for a tie of the second
    // rounding (a far rarer case than plain double division's error).
    return double(static_cast<long double>(m_numerator) / static_cast<long double>(m_denominator));
}

std::optional<Fraction> Fraction::plus(Fraction other) const
{
    if (m_denominator == other.m_denominator)
        return reduced(Wide(m_numerator) + other.m_numerator, m_denominator);
    return reduced(Wide(m_numerator) * other.m_denominator
                       + Wide(other.m_numerator) * m_denominator,
                   Wide(m_denominator) * other.m_denominator);
}

std::optional<Fraction> Fraction::minus(Fraction other) const
{
    if (m_denominator == other.m_denominator)
        return reduced(Wide(m_numerator) - other.m_numerator, m_denominator);
    return reduced(Wide(m_numerator) * other.m_denominator
                       - Wide(other.m_numerator) * m_denominator,
                   Wide(m_denominator) * other.m_denominator);
}

std::optional<Fraction> Fraction::times(Fraction other) const
{
    return reduced(Wide(m_numerator) * other.m_numerator,
                   Wide(m_denominator) * other.m_denominator);
}

std::optional<Fraction> Fraction::dividedBy(Fraction other) const
{
    return reduced(Wide(m_numerator) * other.m_denominator,
                   Wide(m_denominator) * other.m_numerator);
}

std::optional<Fraction> Fraction::remainder(Fraction other) const
{
    if (other.m_numerator == 0)
        return std::nullopt;
    // a % b = a - b * trunc(a / b); over the common denominator both are whole numbers.
    const Wide a = Wide(m_numerator) * other.m_denominator;
    const Wide b = Wide(other.m_numerator) * m_denominator;
    return reduced(a % b, Wide(m_denominator) * other.m_denominator);
}

std::optional<Fraction> Fraction::negated() const
{
    return reduced(-Wide(m_numerator), m_denominator);
}

std::optional<Fraction> Fraction::absolute() const
{
    return m_numerator < 0 ? negated() : std::optional(*this);
}

std::optional<Fraction> Fraction::power(qint64 exponent) const
{
    if (exponent < 0)
        return std::nullopt;
    std::optional<Fraction> result = Fraction(1);
    std::optional<Fraction> base = *this;
    // Squaring goes on only while bits of the exponent remain, so a base of 0, 1 or -1 takes
    // any exponent.
    while (exponent > 0) {
        if (exponent & 1) {
            result = result->times(*base);
            if (!result)
                return std::nullopt;
        }
        exponent >>= 1;
        if (exponent > 0) {
            base = base->times(*base);
            if (!base)
                return std::nullopt;
        }
    }
    return result;
}

qint64 Fraction::floor() const
{
    const qint64 quotient = m_numerator / m_denominator;
    return (m_numerator % m_denominator != 0 && m_numerator < 0) ? quotient - 1 : quotient;
}

qint64 Fraction::ceil() const
{
    const qint64 quotient = m_numerator / m_denominator;
    return (m_numerator % m_denominator != 0 && m_numerator > 0) ? quotient + 1 : quotient;
}

std::optional<qint64> Fraction::round() const
{
    // |x| + 1/2, truncated, with x's sign: (2|n| + d) / 2d.
    const Wide magnitude = m_numerator < 0 ? -Wide(m_numerator) : Wide(m_numerator);
    const Wide rounded = (2 * magnitude + m_denominator) / (2 * Wide(m_denominator));
    const Wide value = m_numerator < 0 ? -rounded : rounded;
    if (value < Smallest || value > Largest)
        return std::nullopt;
    return qint64(value);
}

std::strong_ordering operator<=>(Fraction a, Fraction b)
{
    if (a.m_denominator == b.m_denominator)
        return a.m_numerator <=> b.m_numerator;
    const Wide left = Wide(a.m_numerator) * b.m_denominator;
    const Wide right = Wide(b.m_numerator) * a.m_denominator;
    return left < right ? std::strong_ordering::less
           : left > right ? std::strong_ordering::greater
                          : std::strong_ordering::equal;
}

void Fraction::appendExact(QByteArray &out) const
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, m_numerator).ptr - digits);
    if (m_denominator != 1) {
        out += '/';
        out.append(digits,
                   std::to_chars(digits, digits + sizeof digits, m_denominator).ptr - digits);
    }
}

void Fraction::appendDecimal(QByteArray &out, int places, char point) const
{
    if (m_denominator == 1) {
        appendExact(out);
        return;
    }
    Wide scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    // The value times 10^places, rounded half away from zero: (2|n|·scale + d) / 2d.
    const bool negative = m_numerator < 0;
    const Wide magnitude = negative ? -Wide(m_numerator) : Wide(m_numerator);
    Wide scaled = (2 * magnitude * scale + m_denominator) / (2 * Wide(m_denominator));
    int decimals = places;
    while (decimals > 0 && scaled % 10 == 0) {
        scaled /= 10;
        scale /= 10;
        --decimals;
    }
    if (negative && scaled != 0)
        out += '-';
    appendWide(out, scaled / scale);
    if (decimals == 0)
        return;
    out += point;
    const QByteArray fraction = QByteArray::number(qlonglong(scaled % scale));
    out += QByteArray(decimals - fraction.size(), '0');
    out += fraction;
}

QString Fraction::decimal(int places, char point) const
{
    QByteArray text;
    appendDecimal(text, places, point);
    return QString::fromLatin1(text);
}
