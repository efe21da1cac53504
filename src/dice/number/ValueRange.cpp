#include "dice/number/ValueRange.h"

#include <algorithm>
#include <limits>

namespace {

__extension__ typedef __int128 Wide;

std::optional<qint64> product(qint64 a, qint64 b)
{
    qint64 result;
    if (__builtin_mul_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

// base^exponent for base >= 1, nothing past 63 bits.
std::optional<qint64> integerPower(qint64 base, qint64 exponent)
{
    if (base == 1 || exponent == 0)
        return 1;
    qint64 result = 1;
    for (qint64 i = 0; i < exponent; ++i) {
        // base >= 2: at most 63 rounds before this fails.
        if (__builtin_mul_overflow(result, base, &result))
            return std::nullopt;
    }
    return result;
}

} // namespace

std::optional<ValueRange> ValueRange::checked(Fraction low, Fraction high, qint64 denominator)
{
    // A value v = p/q of [low, high] with q <= denominator has p = v*q, which lies between
    // low*denominator (when low < 0) and high*denominator (when high > 0): both must fit in
    // 64 bits. Compared over the ends' own denominators, in 128 bits, exactly.
    if (high < low)
        std::swap(low, high);
    constexpr Wide smallest = std::numeric_limits<qint64>::min();
    constexpr Wide largest = std::numeric_limits<qint64>::max();
    if (low.sign() < 0 && Wide(low.numerator()) * denominator < smallest * low.denominator())
        return std::nullopt;
    if (high.sign() > 0 && Wide(high.numerator()) * denominator > largest * high.denominator())
        return std::nullopt;
    return ValueRange{low, high, denominator};
}

std::optional<ValueRange> ValueRange::whole(qint64 low, qint64 high)
{
    return ValueRange{Fraction(std::min(low, high)), Fraction(std::max(low, high)), 1};
}

std::optional<ValueRange> ValueRange::exactly(Fraction value)
{
    return checked(value, value, value.denominator());
}

Fraction ValueRange::magnitude() const
{
    // -2^63 has no 64-bit magnitude; a range reaching it has a denominator of 1, and its
    // magnitude only serves as a bound.
    const Fraction lowSize = low.absolute().value_or(Fraction(std::numeric_limits<qint64>::max()));
    const Fraction highSize = high.absolute().value_or(lowSize);
    return std::max(lowSize, highSize);
}

std::optional<ValueRange> ValueRange::add(const ValueRange &a, const ValueRange &b)
{
    const auto low = a.low.plus(b.low);
    const auto high = a.high.plus(b.high);
    const auto denominator = product(a.denominator, b.denominator);
    if (!low || !high || !denominator)
        return std::nullopt;
    return checked(*low, *high, *denominator);
}

std::optional<ValueRange> ValueRange::subtract(const ValueRange &a, const ValueRange &b)
{
    const auto low = a.low.minus(b.high);
    const auto high = a.high.minus(b.low);
    const auto denominator = product(a.denominator, b.denominator);
    if (!low || !high || !denominator)
        return std::nullopt;
    return checked(*low, *high, *denominator);
}

std::optional<ValueRange> ValueRange::multiply(const ValueRange &a, const ValueRange &b)
{
    // The extremes of a product of two ranges are among the products of their ends.
    const std::optional<Fraction> corners[] = {a.low.times(b.low), a.low.times(b.high),
                                               a.high.times(b.low), a.high.times(b.high)};
    const auto denominator = product(a.denominator, b.denominator);
    if (!denominator)
        return std::nullopt;
    for (const auto &corner : corners) {
        if (!corner)
            return std::nullopt;
    }
    const auto [low, high] = std::minmax({*corners[0], *corners[1], *corners[2], *corners[3]});
    return checked(low, high, *denominator);
}

std::optional<ValueRange> ValueRange::divide(const ValueRange &a, const ValueRange &b)
{
    if (b.holdsZero())
        return std::nullopt;
    const std::optional<Fraction> corners[] = {a.low.dividedBy(b.low), a.low.dividedBy(b.high),
                                               a.high.dividedBy(b.low), a.high.dividedBy(b.high)};
    for (const auto &corner : corners) {
        if (!corner)
            return std::nullopt;
    }
    // a/b = (pa/qa) / (pb/qb) = pa*qb / (qa*pb): the denominator is at most qa * |pb|, and
    // |pb| = |b| * qb.
    const auto divisorNumerator = b.magnitude().times(Fraction(b.denominator));
    if (!divisorNumerator)
        return std::nullopt;
    const auto denominator = product(a.denominator, divisorNumerator->ceil());
    if (!denominator)
        return std::nullopt;
    const auto [low, high] = std::minmax({*corners[0], *corners[1], *corners[2], *corners[3]});
    return checked(low, high, *denominator);
}

std::optional<ValueRange> ValueRange::remainder(const ValueRange &a, const ValueRange &b)
{
    if (b.holdsZero())
        return std::nullopt;
    // The remainder has the dividend's sign and is smaller than the divisor in size, and
    // never larger than the dividend.
    const Fraction divisor = b.magnitude();
    Fraction low(0);
    Fraction high(0);
    if (a.low.sign() < 0)
        low = std::max(a.low, divisor.negated().value_or(a.low));
    if (a.high.sign() > 0)
        high = std::min(a.high, divisor);
    const auto denominator = product(a.denominator, b.denominator);
    if (!denominator)
        return std::nullopt;
    return checked(low, high, *denominator);
}

std::optional<ValueRange> ValueRange::negate(const ValueRange &a)
{
    const auto low = a.high.negated();
    const auto high = a.low.negated();
    if (!low || !high)
        return std::nullopt;
    return checked(*low, *high, a.denominator);
}

std::optional<ValueRange> ValueRange::power(const ValueRange &base, const ValueRange &exponent)
{
    const qint64 fewest = exponent.low.floor();
    const qint64 most = exponent.high.floor();
    const auto denominator =
        base.denominator == 1 ? std::optional<qint64>(1) : integerPower(base.denominator, most);
    if (!denominator)
        return std::nullopt;
    if (fewest == most) {
        if (most == 0)
            return whole(1, 1);
        const auto atLow = base.low.power(most);
        const auto atHigh = base.high.power(most);
        if (!atLow || !atHigh)
            return std::nullopt;
        if (most % 2 == 1 || base.low.sign() >= 0)
            return checked(*atLow, *atHigh, *denominator);
        if (base.high.sign() <= 0)
            return checked(*atHigh, *atLow, *denominator);
        return checked(Fraction(0), std::max(*atLow, *atHigh), *denominator);
    }
    // Some exponent from `fewest` to `most`: no power is larger in size than the largest
    // base size to the largest exponent, or 1 when no base is larger than 1.
    const Fraction size = base.magnitude();
    Fraction bound(1);
    if (size > Fraction(1)) {
        const auto largest = size.power(most);
        if (!largest)
            return std::nullopt;
        bound = *largest;
    }
    const auto negativeBound = bound.negated();
    if (!negativeBound)
        return std::nullopt;
    return checked(base.low.sign() >= 0 ? Fraction(0) : *negativeBound, bound, *denominator);
}

std::optional<ValueRange> ValueRange::floor(const ValueRange &a)
{
    return whole(a.low.floor(), a.high.floor());
}

std::optional<ValueRange> ValueRange::ceil(const ValueRange &a)
{
    return whole(a.low.ceil(), a.high.ceil());
}

std::optional<ValueRange> ValueRange::round(const ValueRange &a)
{
    const auto low = a.low.round();
    const auto high = a.high.round();
    if (!low || !high)
        return std::nullopt;
    return whole(*low, *high);
}

std::optional<ValueRange> ValueRange::absolute(const ValueRange &a)
{
    if (a.low.sign() >= 0)
        return a;
    if (a.high.sign() <= 0)
        return negate(a);
    const auto lowSize = a.low.negated();
    if (!lowSize)
        return std::nullopt;
    return checked(Fraction(0), std::max(*lowSize, a.high), a.denominator);
}

ValueRange ValueRange::sign(const ValueRange &a)
{
    return ValueRange{Fraction(a.low.sign()), Fraction(a.high.sign()), 1};
}

ValueRange ValueRange::minimum(const std::vector<ValueRange> &values)
{
    ValueRange result = values.front();
    for (const ValueRange &value : values) {
        result.low = std::min(result.low, value.low);
        result.high = std::min(result.high, value.high);
        result.denominator = std::max(result.denominator, value.denominator);
    }
    return result;
}

ValueRange ValueRange::maximum(const std::vector<ValueRange> &values)
{
    ValueRange result = values.front();
    for (const ValueRange &value : values) {
        result.low = std::max(result.low, value.low);
        result.high = std::max(result.high, value.high);
        result.denominator = std::max(result.denominator, value.denominator);
    }
    return result;
}

std::optional<ValueRange> ValueRange::sumOfAny(std::vector<ValueRange> values, qint64 fewest,
                                               qint64 most)
{
    // Any `k` of the values sum to at least the k smallest lows and at most the k largest
    // highs; over k from `fewest` to `most`, the lowest and highest of those.
    qint64 denominator = 1;
    for (const ValueRange &value : values) {
        const auto next = product(denominator, value.denominator);
        if (!next)
            return std::nullopt;
        denominator = *next;
    }
    std::vector<Fraction> lows;
    std::vector<Fraction> highs;
    for (const ValueRange &value : values) {
        lows.push_back(value.low);
        highs.push_back(value.high);
    }
    std::sort(lows.begin(), lows.end());
    std::sort(highs.begin(), highs.end(), std::greater<>());
    Fraction lowSum(0);
    Fraction highSum(0);
    std::optional<Fraction> low;
    std::optional<Fraction> high;
    for (qint64 k = 0; k <= most && k <= qint64(values.size()); ++k) {
        if (k > 0) {
            const auto nextLow = lowSum.plus(lows[std::size_t(k - 1)]);
            const auto nextHigh = highSum.plus(highs[std::size_t(k - 1)]);
            if (!nextLow || !nextHigh)
                return std::nullopt;
            lowSum = *nextLow;
            highSum = *nextHigh;
        }
        if (k >= fewest) {
            low = low ? std::min(*low, lowSum) : lowSum;
            high = high ? std::max(*high, highSum) : highSum;
        }
    }
    if (!low)
        return std::nullopt;
    return checked(*low, *high, denominator);
}
