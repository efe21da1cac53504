#include "mesa/RollLuck.h"

#include "dice/format/OddsText.h"
#include "dice/odds/DiceDistribution.h"

#include <algorithm>

std::optional<Fraction> RollLuck::valueShown(const DiceDistribution &odds, const QString &shown)
{
    bool whole = false;
    const qint64 n = shown.toLongLong(&whole);
    if (whole) {
        const Fraction value(n);
        if (odds.probabilityOf(value) > 0)
            return value;
        return std::nullopt;
    }
    std::optional<Fraction> found;
    bool twice = false;
    odds.forEach([&](Fraction value, double) {
        if (!twice && !value.isWhole() && value.decimal(4, ',') == shown) {
            twice = found.has_value();
            found = value;
        }
    });
    return twice ? std::nullopt : found;
}

RollLuck RollLuck::of(const DiceDistribution &odds, Fraction total)
{
    RollLuck luck;
    luck.known = true;
    luck.equal = odds.probabilityOf(total);
    if (odds.isDense() && total.isWhole()) {
        // Each tail summed from its own end keeps its precision: a 0,01 % roll reads so,
        // not as what is left of 1 − 0,9999.
        const qint64 n = total.numerator();
        luck.below = Fraction(n) > odds.minimum() ? odds.atMost(Fraction(n - 1)) : 0;
        luck.above = Fraction(n) < odds.maximum() ? odds.atLeast(Fraction(n + 1)) : 0;
    } else {
        luck.below = std::max(0.0, odds.atMost(total) - luck.equal);
        luck.above = std::max(0.0, odds.atLeast(total) - luck.equal);
    }
    return luck;
}

QString RollLuck::text() const
{
    if (!known)
        return {};
    const auto percent = [](double p) {
        return QString::fromUtf8(OddsText::percent(p, p >= 1.0)) + QStringLiteral(" %");
    };
    return QStringLiteral("menos ") + percent(below) + QStringLiteral(" · igual ") + percent(equal)
           + QStringLiteral(" · mais ") + percent(above);
}
