#include "dice/notation/NotationFunction.h"

#include <QStringList>

namespace {

using Operation = DiceExpression::Operation;

constexpr NotationFunction known[] = {
    {u"floor", Operation::Floor, 1}, {u"ceil", Operation::Ceil, 1}, {u"round", Operation::Round, 1},
    {u"abs", Operation::Abs, 1},     {u"sign", Operation::Sign, 1}, {u"min", Operation::Minimum, 0},
    {u"max", Operation::Maximum, 0}, {u"pow", Operation::Power, 2},
};

} // namespace

const NotationFunction *NotationFunction::find(QStringView name, QString &refusal)
{
    static const QStringList irrational = {
        QStringLiteral("sqrt"), QStringLiteral("cbrt"),  QStringLiteral("exp"),
        QStringLiteral("log"),  QStringLiteral("log2"),  QStringLiteral("log10"),
        QStringLiteral("ln"),   QStringLiteral("sin"),   QStringLiteral("cos"),
        QStringLiteral("tan"),  QStringLiteral("asin"),  QStringLiteral("acos"),
        QStringLiteral("atan"), QStringLiteral("atan2"), QStringLiteral("sinh"),
        QStringLiteral("cosh"), QStringLiteral("tanh"),  QStringLiteral("hypot")};
    if (irrational.contains(name)) {
        refusal = QStringLiteral("a função %1 não é aceita: os totais são exatos (inteiros "
                                 "ou frações), e o resultado dela em geral não é")
                      .arg(name);
        return nullptr;
    }
    for (const NotationFunction &candidate : known) {
        if (name == QStringView(candidate.name))
            return &candidate;
    }
    refusal = QStringLiteral("função desconhecida \"%1\" (as funções são floor, ceil, "
                             "round, abs, sign, min, max e pow)")
                  .arg(name);
    return nullptr;
}

std::optional<ValueRange> NotationFunction::range(const std::vector<ValueRange> &arguments) const
{
    switch (operation) {
    case Operation::Floor:
        return ValueRange::floor(arguments[0]);
    case Operation::Ceil:
        return ValueRange::ceil(arguments[0]);
    case Operation::Round:
        return ValueRange::round(arguments[0]);
    case Operation::Abs:
        return ValueRange::absolute(arguments[0]);
    case Operation::Sign:
        return ValueRange::sign(arguments[0]);
    case Operation::Minimum:
        return ValueRange::minimum(arguments);
    default:
        return ValueRange::maximum(arguments);
    }
}
