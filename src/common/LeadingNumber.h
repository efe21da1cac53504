#pragma once

#include <QStringView>

#include <cmath>
#include <concepts>
#include <limits>
#include <optional>

// Reads the number a text begins with, the way the program's numeric boxes need it:
// optional blanks (spaces and tabs), an optional sign, digits with an optional fraction
// ("2.5", "7.", ".5") and an optional exponent ("1e7", "9E+99"). Reading stops at the first
// character that does not fit; an exponent marker without digits ("1e") is not part of the
// number. A text that does not begin with a number ("", "abc", ".", "-") gives 0. A number too
// large for a double gives +/- infinity, which no whole-number conversion accepts.
// The decimal point is always ".", whatever the locale.
double LeadingNumber(QStringView text);

// Brings a real to the nearest whole number of type T, a tie going to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Returns nothing when the result does not fit in T or the
// value is not finite, instead of wrapping.
template <std::signed_integral T> std::optional<T> RoundToWhole(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default mode: to nearest, ties to even
    if (rounded < static_cast<double>(std::numeric_limits<T>::min())
        || rounded > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}
