#include "cli/DiceExpressionArgument.h"

#include "dice/notation/DiceNotation.h"

#include <algorithm>

QString ShownExpression(const QString &text)
{
    // A long expression is cut: the message gives the position anyway. A character that
    // cannot be shown is written as its code point in angle brackets, so that a digit after
    // it is not read as part of it ("1<U+0000>2", not "1U+00002").
    constexpr qsizetype Longest = 100;
    QString line;
    for (const QChar c : text.first(std::min(text.size(), Longest))) {
        if ((c.isPrint() && c.category() != QChar::Separator_Space) || c == u' ' || c.isSurrogate())
            line += c;
        else
            line += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    }
    if (text.size() > Longest)
        line += QStringLiteral("…");
    return line;
}

std::variant<std::vector<DiceExpression>, QString> ParseDiceArguments(const QStringList &texts)
{
    std::vector<DiceExpression> expressions;
    expressions.reserve(std::size_t(texts.size()));
    for (const QString &text : texts) {
        auto parsed = ParseDiceArgument(text);
        if (auto *message = std::get_if<QString>(&parsed))
            return std::move(*message);
        expressions.push_back(std::move(std::get<DiceExpression>(parsed)));
    }
    return expressions;
}

std::variant<DiceExpression, QString> ParseDiceArgument(const QString &text)
{
    auto parsed = DiceNotation::parse(text);
    if (auto *expression = std::get_if<DiceExpression>(&parsed))
        return std::move(*expression);
    const auto &error = std::get<DiceNotationError>(parsed);
    return QStringLiteral("expressão \"") + ShownExpression(text) + QStringLiteral("\", posição ")
           + QString::number(error.position) + QStringLiteral(": ") + error.message;
}
