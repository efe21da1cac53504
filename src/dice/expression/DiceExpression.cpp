#include "dice/expression/DiceExpression.h"

std::optional<Fraction> DiceExpression::apply(Operation operation, Fraction a)
{
    switch (operation) {
    case Operation::Negate:
        return a.negated();
    case Operation::Floor:
        return Fraction(a.floor());
    case Operation::Ceil:
        return Fraction(a.ceil());
    case Operation::Round:
        if (const auto rounded = a.round())
            return Fraction(*rounded);
        return std::nullopt;
    case Operation::Abs:
        return a.absolute();
    case Operation::Sign:
        return Fraction(a.sign());
    default:
        return std::nullopt;
    }
}

std::optional<Fraction> DiceExpression::apply(Operation operation, Fraction a, Fraction b)
{
    switch (operation) {
    case Operation::Add:
        return a.plus(b);
    case Operation::Subtract:
        return a.minus(b);
    case Operation::Multiply:
        return a.times(b);
    case Operation::Divide:
        return a.dividedBy(b);
    case Operation::Remainder:
        return a.remainder(b);
    case Operation::Power:
        return b.isWhole() ? a.power(b.numerator()) : std::nullopt;
    default:
        return std::nullopt;
    }
}
