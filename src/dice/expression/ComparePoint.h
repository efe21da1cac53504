#pragma once

#include "dice/number/Fraction.h"

#include <QtGlobal>

// A condition on a die or a group member, as written after a modifier or a term: "=6",
// "<>1" (or "!=1"), "<3", ">4", "<=2", ">=8". One type serves explosions, rerolls, success
// and failure counts and critical marks. A bare number after r, ro, f, cs or cf is "=N".
struct ComparePoint
{
    enum class Relation : quint8 { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

    Relation relation = Relation::Equal;
    qint64 value = 0;

    constexpr bool meets(qint64 x) const
    {
        switch (relation) {
        case Relation::Equal:
            return x == value;
        case Relation::NotEqual:
            return x != value;
        case Relation::Less:
            return x < value;
        case Relation::Greater:
            return x > value;
        case Relation::LessOrEqual:
            return x <= value;
        case Relation::GreaterOrEqual:
            return x >= value;
        }
        return false;
    }

    bool meets(Fraction x) const
    {
        const auto order = x <=> Fraction(value);
        switch (relation) {
        case Relation::Equal:
            return order == 0;
        case Relation::NotEqual:
            return order != 0;
        case Relation::Less:
            return order < 0;
        case Relation::Greater:
            return order > 0;
        case Relation::LessOrEqual:
            return order <= 0;
        case Relation::GreaterOrEqual:
            return order >= 0;
        }
        return false;
    }

    friend constexpr bool operator==(const ComparePoint &, const ComparePoint &) = default;
};
