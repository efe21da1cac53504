#pragma once

#include "dice/number/Fraction.h"

#include <optional>
#include <vector>

// Bounds on every value a part of a dice expression can take: it lies in [low, high] and,
// written in lowest terms, its denominator is at most `denominator`. The parser works these
// out for every operation before anything is rolled; an operation whose result could not
// be held as a Fraction gives nothing, and the parser refuses it.
//
// A range holds when |value| * denominator fits in 63 bits for both ends: then every value
// inside it, and every intermediate product the Fraction operations form from two such
// values (in 128 bits), is representable.
struct ValueRange
{
    Fraction low;
    Fraction high;
    qint64 denominator = 1;

    static std::optional<ValueRange> whole(qint64 low, qint64 high);
    static std::optional<ValueRange> exactly(Fraction value);

    bool holdsZero() const { return low.sign() <= 0 && high.sign() >= 0; }
    bool isWhole() const { return denominator == 1; }
    // The larger of |low| and |high|.
    Fraction magnitude() const;

    static std::optional<ValueRange> add(const ValueRange &a, const ValueRange &b);
    static std::optional<ValueRange> subtract(const ValueRange &a, const ValueRange &b);
    static std::optional<ValueRange> multiply(const ValueRange &a, const ValueRange &b);
    // Nothing when b holds 0, as for every operation whose result may not fit.
    static std::optional<ValueRange> divide(const ValueRange &a, const ValueRange &b);
    static std::optional<ValueRange> remainder(const ValueRange &a, const ValueRange &b);
    static std::optional<ValueRange> negate(const ValueRange &a);
    // The exponent must be whole and at least 0 (the caller checks and says so).
    static std::optional<ValueRange> power(const ValueRange &base, const ValueRange &exponent);
    static std::optional<ValueRange> floor(const ValueRange &a);
    static std::optional<ValueRange> ceil(const ValueRange &a);
    static std::optional<ValueRange> round(const ValueRange &a);
    static std::optional<ValueRange> absolute(const ValueRange &a);
    static ValueRange sign(const ValueRange &a);
    static ValueRange minimum(const std::vector<ValueRange> &values);
    static ValueRange maximum(const std::vector<ValueRange> &values);
    // The sum of any `fewest` to `most` of the values (a group's kept members).
    static std::optional<ValueRange> sumOfAny(std::vector<ValueRange> values, qint64 fewest,
                                              qint64 most);

private:
    static std::optional<ValueRange> checked(Fraction low, Fraction high, qint64 denominator);
};
