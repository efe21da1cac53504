#include "dice/DiceOutcomeFormat.h"

#include "dice/DiceExpression.h"
#include "dice/DiceOutcome.h"

#include <QJsonArray>

#include <charconv>

namespace {

void appendNumber(QByteArray &out, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

void appendDie(QByteArray &out, const DieResult &die, bool fate)
{
    if (!die.kept)
        out += '~';
    if (fate && die.value > 0)
        out += '+';
    appendNumber(out, die.value);
    if (die.exploded)
        out += '!';
    if (!die.kept)
        out += '~';
}

} // namespace

void AppendDiceLine(QByteArray &out, const DiceExpression &expression, const DiceOutcome &outcome)
{
    out += expression.textUtf8();
    out += " = ";
    appendNumber(out, outcome.total);
    out += '\n';
}

void AppendDiceDetailsLine(QByteArray &out, const DiceExpression &expression,
                           const DiceOutcome &outcome)
{
    out += expression.textUtf8();
    out += ": ";
    for (const DiceExpression::Piece &piece : expression.layout()) {
        if (piece.term < 0) {
            out += piece.text;
            continue;
        }
        const bool fate = expression.terms()[std::size_t(piece.term)].fate;
        const auto &dice = outcome.terms[std::size_t(piece.term)].dice;
        out += '[';
        for (std::size_t i = 0; i < dice.size(); ++i) {
            if (i > 0)
                out += ", ";
            appendDie(out, dice[i], fate);
        }
        out += ']';
    }
    out += " = ";
    appendNumber(out, outcome.total);
    out += '\n';
}

QJsonObject DiceOutcomeJson(const DiceExpression &expression, const DiceOutcome &outcome)
{
    QJsonArray terms;
    for (std::size_t t = 0; t < outcome.terms.size(); ++t) {
        const DiceTerm &term = expression.terms()[t];
        QJsonArray dice;
        for (const DieResult &die : outcome.terms[t].dice) {
            QJsonObject object{{QStringLiteral("valor"), die.value},
                               {QStringLiteral("mantido"), die.kept}};
            if (term.exploding) {
                object.insert(QStringLiteral("explodiu"), die.exploded);
                object.insert(QStringLiteral("extra"), die.extra);
            }
            dice.append(object);
        }
        terms.append(QJsonObject{{QStringLiteral("termo"), term.text},
                                 {QStringLiteral("dados"), dice},
                                 {QStringLiteral("soma"), outcome.terms[t].sum}});
    }
    return QJsonObject{{QStringLiteral("expressao"), expression.text()},
                       {QStringLiteral("termos"), terms},
                       {QStringLiteral("total"), outcome.total}};
}
