#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// An exact rational number: a 64-bit numerator over a positive 64-bit denominator, always in
// lowest terms (so equal numbers have equal parts, and 0 is 0/1). Dice totals are whole numbers
// unless the expression divides; then they are exact fractions, never binary floating point:
// (1/3)*3 is exactly 1.
//
// Every operation works in 128 bits and reports a result whose reduced parts do not fit in
// 64 bits as nothing, so no value ever wraps. The notation's parser bounds every value an
// expression can take before anything is rolled, so for a parsed expression these checks
// never fail.
class Fraction
{
public:
    constexpr Fraction() = default;
    constexpr Fraction(qint64 whole) : m_numerator(whole) {} // NOLINT: a whole number is one

    // numerator / denominator in lowest terms; nothing when the denominator is 0 or the
    // reduced parts do not fit.
    static std::optional<Fraction> of(qint64 numerator, qint64 denominator);

    constexpr qint64 numerator() const { return m_numerator; }
    constexpr qint64 denominator() const { return m_denominator; }
    constexpr bool isWhole() const { return m_denominator == 1; }

    double toDouble() const;

    std::optional<Fraction> plus(Fraction other) const;
    std::optional<Fraction> minus(Fraction other) const;
    std::optional<Fraction> times(Fraction other) const;
    // Nothing when `other` is 0.
    std::optional<Fraction> dividedBy(Fraction other) const;
    // The remainder of the division truncated towards zero: it has the dividend's sign and
    // is smaller than the divisor in size (7 % 3 = 1, -7 % 3 = -1, 7/2 % 1 = 1/2). Nothing
    // when `other` is 0.
    std::optional<Fraction> remainder(Fraction other) const;
    std::optional<Fraction> negated() const;
    std::optional<Fraction> power(qint64 exponent) const; // exponent >= 0; 0^0 is 1
    std::optional<Fraction> absolute() const;

    // Whole numbers, exact: towards minus infinity, towards plus infinity, and to the nearest
    // with halves away from zero (5/2 → 3, -5/2 → -3).
    qint64 floor() const;
    qint64 ceil() const;
    std::optional<qint64> round() const;
    int sign() const { return m_numerator > 0 ? 1 : m_numerator < 0 ? -1 : 0; }

    friend constexpr bool operator==(Fraction, Fraction) = default;
    friend std::strong_ordering operator<=>(Fraction a, Fraction b);

    // Text forms, appended to `out` (UTF-8):
    // "7/2", or "7" for a whole number.
    void appendExact(QByteArray &out) const;
    // A whole number in decimal; otherwise the value rounded to at most `places` decimal
    // places (halves away from zero), trailing zeros dropped, with `point` as the decimal
    // separator: 7/2 → "3,5", 2/3 → "0,6667", -1/3 → "-0,3333".
    void appendDecimal(QByteArray &out, int places, char point) const;
    // The same as a string, for messages.
    QString decimal(int places, char point) const;

private:
    friend struct FractionParts;
    constexpr Fraction(qint64 numerator, qint64 denominator)
        : m_numerator(numerator), m_denominator(denominator)
    {
    }

    qint64 m_numerator = 0;
    qint64 m_denominator = 1;
};
