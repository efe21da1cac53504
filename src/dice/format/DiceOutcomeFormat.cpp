#include "dice/format/DiceOutcomeFormat.h"

#include "dice/expression/DiceExpression.h"
#include "dice/format/JsonWriter.h"
#include "dice/roll/DiceOutcome.h"

namespace {

void appendDie(QByteArray &out, const DieResult &die, bool signedFace)
{
    const bool dropped = die.has(DieDropped);
    if (dropped)
        out += '~';
    if (signedFace && die.value > 0)
        out += '+';
    JsonWriter::appendWhole(out, die.value);
    if (die.has(DieRaised))
        out += '^';
    if (die.has(DieLowered))
        out += 'v';
    if (die.has(DieRerolled))
        out += 'r';
    if (die.has(DieUniqueRerolled))
        out += 'u';
    if (die.has(DieCompounded))
        out += "!!";
    if (die.has(DieExploded))
        out += '!';
    if (die.has(DiePenetrated))
        out += 'p';
    if (die.has(DieSuccess))
        out += '*';
    if (die.has(DieFailure))
        out += 'f';
    if (die.has(DieCriticalSuccess))
        out += "++";
    if (die.has(DieCriticalFailure))
        out += "--";
    if (dropped)
        out += '~';
}

void appendTotal(QByteArray &out, const DiceExpression &expression, const DiceOutcome &outcome)
{
    out += " = ";
    outcome.total.appendDecimal(out, 4, ',');
    AppendDiceLabel(out, expression);
    out += '\n';
}

} // namespace

void AppendDiceLabel(QByteArray &out, const DiceExpression &expression)
{
    if (!expression.label().isEmpty()) {
        out += " # ";
        out += expression.label().toUtf8();
    }
}

void AppendDiceLine(QByteArray &out, const DiceExpression &expression, const DiceOutcome &outcome)
{
    out += expression.shownUtf8();
    appendTotal(out, expression, outcome);
}

void AppendDiceDetailsLine(QByteArray &out, const DiceExpression &expression,
                           const DiceOutcome &outcome)
{
    using Kind = DiceExpression::Piece::Kind;
    out += expression.shownUtf8();
    out += ": ";
    for (const DiceExpression::Piece &piece : expression.layout()) {
        switch (piece.kind) {
        case Kind::Text:
            out += piece.text;
            break;
        case Kind::Dice: {
            const bool signedFace =
                expression.terms()[std::size_t(piece.index)].kind != DieKind::Standard;
            const auto &dice = outcome.terms[std::size_t(piece.index)].dice;
            out += '[';
            for (std::size_t i = 0; i < dice.size(); ++i) {
                if (i > 0)
                    out += ", ";
                appendDie(out, dice[i], signedFace);
            }
            out += ']';
            break;
        }
        case Kind::MemberBegin:
        case Kind::MemberEnd: {
            const GroupMemberResult &member = outcome.groups[std::size_t(piece.index)]
                                                  .members[std::size_t(piece.member)];
            if (member.has(DieDropped))
                out += '~';
            if (piece.kind == Kind::MemberEnd && member.has(DieSuccess))
                out += '*';
            if (piece.kind == Kind::MemberEnd && member.has(DieFailure))
                out += 'f';
            break;
        }
        }
    }
    appendTotal(out, expression, outcome);
}
