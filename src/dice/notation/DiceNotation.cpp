#include "dice/notation/DiceNotation.h"

#include "dice/notation/ExpressionBuilder.h"
#include "dice/notation/ModifierReader.h"
#include "dice/notation/NotationFunction.h"
#include "dice/notation/NotationScanner.h"
#include "dice/notation/PoolBounds.h"
#include "dice/number/ValueRange.h"

#include <optional>

namespace {

using Operation = DiceExpression::Operation;

// The grammar: arithmetic, dice, lists, groups and functions, read with a NotationScanner
// (characters, numbers, labels, errors) and a ModifierReader (what follows a term or group),
// handing what it reads to an ExpressionBuilder and computing the range of every value along
// the way.
class Parser
{
public:
    Parser(QStringView text, DiceExpression &expression)
        : m_scan(text), m_modifiers(m_scan), m_build(expression)
    {
    }

    // The whole expression, or false after recording the error.
    bool parseWhole()
    {
        if (!m_scan.checkLength())
            return false;
        m_scan.skipBlanks();
        if (m_scan.atEnd() || m_scan.current() == u'#')
            return m_scan.fail(m_scan.index(), QStringLiteral("expressão vazia"));
        const auto range = parseSum();
        if (!range)
            return false;
        const qsizetype shownEnd = m_scan.index();
        m_scan.skipBlanks();
        if (!m_scan.readTrailingLabel(m_build.trailingLabel()))
            return false;
        if (!m_scan.atEnd())
            return m_scan.failUnexpected();
        m_build.finish(m_scan.text(), shownEnd, *range);
        return true;
    }

    const DiceNotationError &error() const { return m_scan.error(); }

private:
    // The step of an operation whose result range is `range`, or the refusal of the
    // operator at `index` when its result could leave the range of a Fraction.
    std::optional<ValueRange> pushChecked(std::optional<ValueRange> range, Operation operation,
                                          qsizetype index, qint32 arguments = 0)
    {
        if (!range) {
            m_scan.failOverflow(index);
            return std::nullopt;
        }
        m_build.push(operation, arguments);
        return range;
    }

    void lay(QStringView text) { m_build.lay(text); }

    bool enterLevel(const QString &what, qsizetype index = -1)
    {
        if (m_depth >= DiceNotation::MaxNesting)
            return m_scan.fail(index >= 0 ? index : m_scan.index(),
                               what + QStringLiteral(" (mais de ")
                                   + QString::number(DiceNotation::MaxNesting)
                                   + QStringLiteral(" níveis)"));
        ++m_depth;
        return true;
    }

    // sum := product (("+" | "-") product)*
    std::optional<ValueRange> parseSum()
    {
        auto range = parseProduct();
        while (range) {
            m_scan.skipBlanks();
            const QChar sign = m_scan.current();
            if (sign != u'+' && sign != u'-')
                break;
            const qsizetype operatorIndex = m_scan.index();
            m_scan.advance();
            lay(sign == u'+' ? u" + " : u" - ");
            const auto right = parseProduct();
            if (!right)
                return std::nullopt;
            range = pushChecked(sign == u'+' ? ValueRange::add(*range, *right)
                                             : ValueRange::subtract(*range, *right),
                                sign == u'+' ? Operation::Add : Operation::Subtract, operatorIndex);
        }
        return range;
    }

    // product := unary (("*" | "/" | "%") unary)*
    std::optional<ValueRange> parseProduct()
    {
        auto range = parseUnary();
        while (range) {
            m_scan.skipBlanks();
            const QChar sign = m_scan.current();
            if ((sign != u'*' && sign != u'/' && sign != u'%') || m_scan.lookingAt(u"**"))
                break;
            const qsizetype operatorIndex = m_scan.index();
            m_scan.advance();
            lay(sign == u'*' ? u" * " : sign == u'/' ? u" / " : u" % ");
            const auto right = parseUnary();
            if (!right)
                return std::nullopt;
            if (sign != u'*' && right->holdsZero()) {
                m_scan.fail(operatorIndex, QStringLiteral("o divisor pode ser 0 (vai de %1 a %2)")
                                               .arg(decimal(right->low), decimal(right->high)));
                return std::nullopt;
            }
            if (sign == u'*')
                range = pushChecked(ValueRange::multiply(*range, *right), Operation::Multiply,
                                    operatorIndex);
            else if (sign == u'/')
                range = pushChecked(ValueRange::divide(*range, *right), Operation::Divide,
                                    operatorIndex);
            else
                range = pushChecked(ValueRange::remainder(*range, *right), Operation::Remainder,
                                    operatorIndex);
        }
        return range;
    }

    static QString decimal(Fraction value) { return value.decimal(4, ','); }

    // unary := "-" unary | power
    std::optional<ValueRange> parseUnary()
    {
        m_scan.skipBlanks();
        if (m_scan.current() != u'-')
            return parsePower();
        const qsizetype operatorIndex = m_scan.index();
        if (!enterLevel(QStringLiteral("sinais de menos seguidos demais")))
            return std::nullopt;
        m_scan.advance();
        lay(u"-");
        auto range = parseUnary();
        --m_depth;
        if (!range)
            return std::nullopt;
        return pushChecked(ValueRange::negate(*range), Operation::Negate, operatorIndex);
    }

    // power := postfix [("^" | "**") unary], to the right: 2^3^2 is 2^9, -2^2 is -4.
    std::optional<ValueRange> parsePower()
    {
        const auto base = parsePostfix();
        if (!base)
            return std::nullopt;
        m_scan.skipBlanks();
        const bool caret = m_scan.current() == u'^';
        if (!caret && !m_scan.lookingAt(u"**"))
            return base;
        const qsizetype operatorIndex = m_scan.index();
        if (!enterLevel(QStringLiteral("potências encadeadas demais")))
            return std::nullopt;
        m_scan.advance(caret ? 1 : 2);
        lay(caret ? u"^" : u"**");
        const auto exponent = parseUnary();
        --m_depth;
        if (!exponent)
            return std::nullopt;
        return power(*base, *exponent, operatorIndex);
    }

    std::optional<ValueRange> power(const ValueRange &base, const ValueRange &exponent,
                                    qsizetype operatorIndex)
    {
        if (!exponent.isWhole()) {
            m_scan.fail(operatorIndex, QStringLiteral("o expoente precisa ser um número inteiro"));
            return std::nullopt;
        }
        if (exponent.low.sign() < 0) {
            m_scan.fail(operatorIndex,
                        QStringLiteral("o expoente não pode ser negativo (a potência "
                                       "precisa ser um número inteiro a partir de 0)"));
            return std::nullopt;
        }
        return pushChecked(ValueRange::power(base, exponent), Operation::Power, operatorIndex);
    }

    // postfix := primary ["[" label "]"]
    std::optional<ValueRange> parsePostfix()
    {
        const ExpressionBuilder::Mark before = m_build.mark();
        const auto range = parsePrimary();
        if (!range)
            return std::nullopt;
        // A label names the dice term or group that the primary is, if it is one.
        QString *label = m_build.labelSince(before);
        QString text;
        QStringView written;
        if (!m_scan.readInlineLabel(text, written))
            return std::nullopt;
        if (!written.isEmpty()) {
            if (label)
                *label = text;
            lay(written);
        }
        return range;
    }

    // primary := number | dice | "(" sum ")" | group | function "(" arguments ")"
    std::optional<ValueRange> parsePrimary()
    {
        m_scan.skipBlanks();
        const QChar c = m_scan.current();
        if (c == u'(')
            return parseParentheses();
        if (c == u'{')
            return parseGroup();
        if (NotationScanner::isDigit(c)) {
            const qsizetype start = m_scan.index();
            const auto number = m_scan.readNumber();
            if (!number) {
                m_scan.fail(start, QStringLiteral("número grande demais"));
                return std::nullopt;
            }
            if (m_scan.current() == u'.' && NotationScanner::isDigit(m_scan.peek(1)))
                return parseDecimal(start, *number);
            if (m_scan.current() == u'd' || m_scan.current() == u'D')
                return parseDice(start, *number);
            m_build.push(Operation::Number, 0, Fraction(*number));
            lay(m_scan.sliced(start, m_scan.index()));
            return ValueRange::whole(*number, *number);
        }
        if (c == u'd' || c == u'D')
            return parseDice(m_scan.index(), std::nullopt);
        if (NotationScanner::isLetter(c))
            return parseFunction();
        m_scan.failUnexpected();
        return std::nullopt;
    }

    std::optional<ValueRange> parseParentheses()
    {
        const qsizetype open = m_scan.index();
        if (!enterLevel(QStringLiteral("parênteses aninhados demais")))
            return std::nullopt;
        m_scan.advance();
        lay(u"(");
        const auto range = parseSum();
        --m_depth;
        if (!range || !close(u')', open, QStringLiteral("o parêntese aberto")))
            return std::nullopt;
        lay(u")");
        return range;
    }

    // The closing character of a bracket opened at `open`.
    bool close(QChar closing, qsizetype open, const QString &what)
    {
        m_scan.skipBlanks();
        if (m_scan.atEnd())
            return m_scan.fail(m_scan.index(), QStringLiteral("falta fechar ") + what
                                                   + QStringLiteral(" na posição ")
                                                   + QString::number(m_scan.positionOf(open)));
        if (m_scan.current() != closing)
            return m_scan.failUnexpected();
        m_scan.advance();
        return true;
    }

    // "12.375": exactly 12375/1000. The index is at the ".".
    std::optional<ValueRange> parseDecimal(qsizetype start, qint64 whole)
    {
        const auto value = m_scan.readDecimal(start, whole);
        if (!value)
            return std::nullopt;
        if (m_scan.current() == u'd' || m_scan.current() == u'D') {
            m_scan.fail(start,
                        QStringLiteral("a quantidade de dados precisa ser um número inteiro"));
            return std::nullopt;
        }
        m_build.push(Operation::Number, 0, *value);
        lay(m_scan.sliced(start, m_scan.index()));
        return ValueRange::exactly(*value);
    }

    // dice := [N] ("d" | "D") (M | "%" | "F" [".1" | ".2"]) modifier*; the index is at the
    // "d".
    std::optional<ValueRange> parseDice(qsizetype start, std::optional<qint64> count)
    {
        DiceTerm term;
        if (count) {
            if (*count < 1 || *count > DiceNotation::MaxDiceCount) {
                m_scan.fail(start, QStringLiteral("quantidade de dados fora do limite (de 1 a %1)")
                                       .arg(DiceNotation::MaxDiceCount));
                return std::nullopt;
            }
            term.count = qint32(*count);
        }
        m_scan.advance(); // "d"
        if (m_scan.current() == u'%') {
            term.faces = 100;
            m_scan.advance();
        } else if (m_scan.current() == u'F') {
            term.faces = 3;
            term.kind = DieKind::Fate;
            m_scan.advance();
            if (m_scan.current() == u'.' && (m_scan.peek(1) == u'1' || m_scan.peek(1) == u'2')) {
                term.kind = m_scan.peek(1) == u'1' ? DieKind::FateOne : DieKind::Fate;
                m_scan.advance(2);
            } else if (m_scan.current() == u'.' && NotationScanner::isDigit(m_scan.peek(1))) {
                m_scan.advance();
                m_scan.failUnexpected();
                return std::nullopt;
            }
        } else {
            const qsizetype facesStart = m_scan.index();
            if (!NotationScanner::isDigit(m_scan.current())) {
                m_scan.failUnexpected();
                return std::nullopt;
            }
            const auto faces = m_scan.readNumber();
            if (!faces || *faces < 1 || *faces > DiceNotation::MaxFaces) {
                m_scan.fail(facesStart, QStringLiteral("número de faces fora do limite (de 1 a %1)")
                                            .arg(DiceNotation::MaxFaces));
                return std::nullopt;
            }
            term.faces = qint32(*faces);
        }
        if (!m_modifiers.parseTermModifiers(term, start))
            return std::nullopt;

        const PoolBounds bounds = PoolBounds::ofTerm(term);
        if (const auto refusal = m_build.countDice(term, bounds)) {
            m_scan.fail(start, *refusal);
            return std::nullopt;
        }
        term.text = m_scan.sliced(start, m_scan.index()).toString();
        const ValueRange range = bounds.range(term.keep, term.target);
        m_build.addTerm(std::move(term), bounds);
        return range;
    }

    // sum ("," sum)* and the bracket that closes the list, opened at `open` one level deeper;
    // `around(item, begins)` lays out what stands before and after each item.
    template <typename Around>
    bool parseList(std::vector<ValueRange> &items, QChar closing, qsizetype open,
                   const QString &opened, Around around)
    {
        for (;;) {
            around(qint32(items.size()), true);
            const auto item = parseSum();
            if (!item)
                return false;
            items.push_back(*item);
            around(qint32(items.size()) - 1, false);
            m_scan.skipBlanks();
            if (m_scan.current() != u',')
                break;
            m_scan.advance();
            lay(u", ");
        }
        --m_depth;
        if (!close(closing, open, opened))
            return false;
        lay(QStringView(&closing, 1));
        return true;
    }

    // group := "{" sum ("," sum)* "}" [keep/drop] [target ["f" cp]]
    std::optional<ValueRange> parseGroup()
    {
        const qsizetype open = m_scan.index();
        if (!enterLevel(QStringLiteral("chaves aninhadas demais")))
            return std::nullopt;
        m_scan.advance();
        lay(u"{");
        const qint32 index = m_build.openGroup();
        std::vector<ValueRange> members;
        const qsizetype firstMemberSteps = m_build.mark().steps;
        if (!parseList(
                members, u'}', open, QStringLiteral("a chave aberta"),
                [&](qint32 member, bool begins) { m_build.layMember(index, member, begins); }))
            return std::nullopt;

        DiceGroup group;
        group.memberCount = qint32(members.size());
        qsizetype keepAt = -1;
        if (!m_modifiers.parseGroupModifiers(group, keepAt))
            return std::nullopt;
        group.text = m_scan.sliced(open, m_scan.index()).toString();

        std::optional<ValueRange> range;
        const bool modified = group.keep.isSet() || group.target.isSet();
        PoolBounds bounds;
        if (members.size() == 1 && modified
            && m_build.poolsDice(firstMemberSteps, group.poolTerms, bounds)) {
            if (!m_modifiers.checkKeepLeavesSome(group.keep, bounds.fewestDice, bounds.mostDice,
                                                 keepAt, u"dado", u"dados"))
                return std::nullopt;
            range = bounds.range(group.keep, group.target);
        } else {
            group.poolTerms.clear();
            if (!m_modifiers.checkKeepLeavesSome(group.keep, group.memberCount, group.memberCount,
                                                 keepAt, u"membro", u"membros"))
                return std::nullopt;
            const qint64 kept = group.memberCount - group.keep.droppedOf(group.memberCount);
            if (group.target.isSet())
                range = ValueRange::whole(group.target.failure.isSet() ? -kept : 0, kept);
            else
                range = ValueRange::sumOfAny(members, kept, kept);
            if (!range) {
                m_scan.failOverflow(open);
                return std::nullopt;
            }
        }
        m_build.closeGroup(index, std::move(group));
        return range;
    }

    // function := name "(" sum ("," sum)* ")"
    std::optional<ValueRange> parseFunction()
    {
        const qsizetype start = m_scan.index();
        while (NotationScanner::isLetter(m_scan.current())
               || NotationScanner::isDigit(m_scan.current()))
            m_scan.advance();
        const QString name = m_scan.sliced(start, m_scan.index()).toString();
        QString refusal;
        const NotationFunction *function = NotationFunction::find(name, refusal);
        if (!function) {
            m_scan.fail(start, refusal);
            return std::nullopt;
        }
        m_scan.skipBlanks();
        if (m_scan.current() != u'(') {
            m_scan.failUnexpected();
            return std::nullopt;
        }
        const qsizetype open = m_scan.index();
        if (!enterLevel(QStringLiteral("funções aninhadas demais"), start))
            return std::nullopt;
        m_scan.advance();
        lay(name + u'(');
        std::vector<ValueRange> arguments;
        if (!parseList(arguments, u')', open, QStringLiteral("o parêntese aberto"),
                       [](qint32, bool) {}))
            return std::nullopt;
        if (function->arguments != 0 && qsizetype(arguments.size()) != function->arguments) {
            m_scan.fail(start,
                        QStringLiteral("%1 recebe %2")
                            .arg(name, function->arguments == 1 ? QStringLiteral("1 argumento")
                                                                : QStringLiteral("2 argumentos")));
            return std::nullopt;
        }

        if (function->operation == Operation::Power)
            return power(arguments[0], arguments[1], start);
        return pushChecked(function->range(arguments), function->operation, start,
                           qint32(arguments.size()));
    }

    NotationScanner m_scan;
    ModifierReader m_modifiers;
    ExpressionBuilder m_build;
    int m_depth = 0;
};

} // namespace

std::variant<DiceExpression, DiceNotationError> DiceNotation::parse(QStringView text)
{
    DiceExpression expression;
    Parser parser(text, expression);
    if (!parser.parseWhole())
        return parser.error();
    return expression;
}
