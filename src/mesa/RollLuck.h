#pragma once

#include "dice/number/Fraction.h"

#include <QString>

#include <optional>

class DiceDistribution;

// How lucky a roll was against its expression's exact odds: the chances of rolling less than,
// exactly, and more than its total. `below + equal` is its percentile (the chance of at most
// that total).
struct RollLuck
{
    bool known = false;
    double below = 0;
    double equal = 0;
    double above = 0;

    // The luck of a total shown as `shown` ("14", "3,5", "0,3333": a fraction with at most
    // four decimals, as the history shows it): a whole total is read exactly; any other is
    // the one value of the distribution that shows the same. Nothing when the distribution
    // cannot take it, or when two of its values show the same.
    static std::optional<Fraction> valueShown(const DiceDistribution &odds, const QString &shown);
    static RollLuck of(const DiceDistribution &odds, Fraction total);

    // "menos 41,67 % · igual 11,57 % · mais 46,76 %", or empty when not known.
    QString text() const;
};
