#include "dice/DiceNotation.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// The smallest and largest value a part of the expression can take.
struct Range
{
    qint64 low;
    qint64 high;
};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

std::optional<Range> addRanges(Range a, Range b)
{
    Range sum;
    if (__builtin_add_overflow(a.low, b.low, &sum.low)
        || __builtin_add_overflow(a.high, b.high, &sum.high))
        return std::nullopt;
    return sum;
}

std::optional<Range> subtractRanges(Range a, Range b)
{
    Range difference;
    if (__builtin_sub_overflow(a.low, b.high, &difference.low)
        || __builtin_sub_overflow(a.high, b.low, &difference.high))
        return std::nullopt;
    return difference;
}

std::optional<Range> multiplyRanges(Range a, Range b)
{
    // The extremes of a product of two ranges are among the products of their ends.
    qint64 corners[4];
    if (__builtin_mul_overflow(a.low, b.low, &corners[0])
        || __builtin_mul_overflow(a.low, b.high, &corners[1])
        || __builtin_mul_overflow(a.high, b.low, &corners[2])
        || __builtin_mul_overflow(a.high, b.high, &corners[3]))
        return std::nullopt;
    const auto [low, high] = std::minmax_element(std::begin(corners), std::end(corners));
    return Range{*low, *high};
}

std::optional<Range> negateRange(Range a)
{
    Range negated;
    if (__builtin_sub_overflow(qint64(0), a.high, &negated.low)
        || __builtin_sub_overflow(qint64(0), a.low, &negated.high))
        return std::nullopt;
    return negated;
}

// The range of a dice term's sum: from the fewest dice that may count, each at its lowest
// face, to the most, each at its highest (every die exploding the most it can).
Range termRange(const DiceTerm &term)
{
    const qint64 fewest = term.count;
    const qint64 most = term.exploding ? fewest * (1 + DiceNotation::MaxExtraDicePerDie) : fewest;
    qint64 keptFewest = fewest;
    qint64 keptMost = most;
    switch (term.keep) {
    case DiceKeep::All:
        break;
    case DiceKeep::KeepHighest:
    case DiceKeep::KeepLowest:
        keptFewest = std::min(term.keepCount, fewest);
        keptMost = std::min(term.keepCount, most);
        break;
    case DiceKeep::DropHighest:
    case DiceKeep::DropLowest:
        keptFewest = fewest - std::min(term.keepCount, fewest);
        keptMost = most - std::min(term.keepCount, most);
        break;
    }
    // At most 1010000 dice of at most 1000000 faces: no product here comes near 2^63.
    const qint64 lowFace = term.fate ? -1 : 1;
    const qint64 highFace = term.fate ? 1 : term.faces;
    return Range{std::min(keptFewest * lowFace, keptMost * lowFace),
                 std::max(keptFewest * highFace, keptMost * highFace)};
}

class Parser
{
public:
    Parser(QStringView text, std::vector<DiceTerm> &terms, std::vector<DiceExpression::Step> &steps,
           std::vector<DiceExpression::Piece> &layout)
        : m_text(text), m_terms(terms), m_steps(steps), m_layout(layout)
    {
    }

    std::optional<Range> parseWhole()
    {
        skipBlanks();
        if (atEnd()) {
            fail(m_index, QStringLiteral("expressão vazia"));
            return std::nullopt;
        }
        const auto range = parseSum();
        if (!range)
            return std::nullopt;
        skipBlanks();
        if (!atEnd()) {
            failUnexpected();
            return std::nullopt;
        }
        return range;
    }

    const DiceNotationError &error() const { return m_error; }
    qint64 diceCount() const { return m_diceCount; }

private:
    bool atEnd() const { return m_index >= m_text.size(); }
    QChar current() const { return atEnd() ? QChar() : m_text[m_index]; }

    void skipBlanks()
    {
        while (!atEnd() && (current() == u' ' || current() == u'\t'))
            ++m_index;
    }

    // The 1-based position in characters of a UTF-16 offset (a surrogate pair counts once).
    qsizetype positionOf(qsizetype index) const
    {
        qsizetype position = 1;
        for (qsizetype i = 0; i < index; ++i) {
            if (!(m_text[i].isLowSurrogate() && i > 0 && m_text[i - 1].isHighSurrogate()))
                ++position;
        }
        return position;
    }

    void fail(qsizetype index, const QString &message)
    {
        m_error = DiceNotationError{positionOf(index), message};
    }

    // The character at the current index is not what the notation allows there.
    void failUnexpected()
    {
        if (atEnd()) {
            fail(m_index, QStringLiteral("a expressão termina antes do esperado"));
            return;
        }
        char32_t code = current().unicode();
        if (current().isHighSurrogate() && m_index + 1 < m_text.size()
            && m_text[m_index + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(current(), m_text[m_index + 1]);
        const QString shown =
            QChar::isPrint(code) && code != U'"'
                ? QStringLiteral("\"%1\"").arg(QString::fromUcs4(&code, 1))
                : QStringLiteral("U+%1").arg(quint32(code), 4, 16, QLatin1Char('0')).toUpper();
        fail(m_index, QStringLiteral("caractere inesperado %1").arg(shown));
    }

    void failOverflow(qsizetype index)
    {
        fail(index, QStringLiteral("o resultado pode sair do limite de 64 bits "
                                   "(de -9223372036854775808 a 9223372036854775807)"));
    }

    void push(DiceExpression::Operation operation, qint64 value = 0)
    {
        m_steps.push_back({operation, value});
    }

    void lay(QStringView text)
    {
        if (!m_layout.empty() && m_layout.back().term < 0)
            m_layout.back().text += text.toUtf8();
        else
            m_layout.push_back({text.toUtf8(), -1});
    }

    bool enterLevel(const QString &what)
    {
        if (m_depth >= DiceNotation::MaxNesting) {
            fail(m_index,
                 QStringLiteral("%1 (mais de %2 níveis)").arg(what).arg(DiceNotation::MaxNesting));
            return false;
        }
        ++m_depth;
        return true;
    }

    // sum := product (("+" | "-") product)*
    std::optional<Range> parseSum()
    {
        auto range = parseProduct();
        while (range) {
            skipBlanks();
            const QChar sign = current();
            if (sign != u'+' && sign != u'-')
                break;
            const qsizetype operatorIndex = m_index++;
            lay(sign == u'+' ? u" + " : u" - ");
            const auto right = parseProduct();
            if (!right)
                return std::nullopt;
            range = sign == u'+' ? addRanges(*range, *right) : subtractRanges(*range, *right);
            if (!range) {
                failOverflow(operatorIndex);
                return std::nullopt;
            }
            push(sign == u'+' ? DiceExpression::Operation::Add
                              : DiceExpression::Operation::Subtract);
        }
        return range;
    }

    // product := unary ("*" unary)*
    std::optional<Range> parseProduct()
    {
        auto range = parseUnary();
        while (range) {
            skipBlanks();
            if (current() != u'*')
                break;
            const qsizetype operatorIndex = m_index++;
            lay(u" * ");
            const auto right = parseUnary();
            if (!right)
                return std::nullopt;
            range = multiplyRanges(*range, *right);
            if (!range) {
                failOverflow(operatorIndex);
                return std::nullopt;
            }
            push(DiceExpression::Operation::Multiply);
        }
        return range;
    }

    // unary := "-" unary | primary
    std::optional<Range> parseUnary()
    {
        skipBlanks();
        if (current() != u'-')
            return parsePrimary();
        const qsizetype operatorIndex = m_index;
        if (!enterLevel(QStringLiteral("sinais de menos seguidos demais")))
            return std::nullopt;
        ++m_index;
        lay(u"-");
        auto range = parseUnary();
        --m_depth;
        if (!range)
            return std::nullopt;
        range = negateRange(*range);
        if (!range) {
            failOverflow(operatorIndex);
            return std::nullopt;
        }
        push(DiceExpression::Operation::Negate);
        return range;
    }

    // primary := number | dice | "(" sum ")"
    std::optional<Range> parsePrimary()
    {
        skipBlanks();
        if (current() == u'(') {
            const qsizetype open = m_index;
            if (!enterLevel(QStringLiteral("parênteses aninhados demais")))
                return std::nullopt;
            ++m_index;
            lay(u"(");
            const auto range = parseSum();
            --m_depth;
            if (!range)
                return std::nullopt;
            skipBlanks();
            if (atEnd()) {
                fail(m_index, QStringLiteral("falta fechar o parêntese aberto na posição %1")
                                  .arg(positionOf(open)));
                return std::nullopt;
            }
            if (current() != u')') {
                failUnexpected();
                return std::nullopt;
            }
            ++m_index;
            lay(u")");
            return range;
        }
        if (isDigit(current())) {
            const qsizetype start = m_index;
            const auto number = readNumber();
            if (!number) {
                fail(start, QStringLiteral("número grande demais"));
                return std::nullopt;
            }
            if (current() == u'd')
                return parseDice(start, *number);
            push(DiceExpression::Operation::Number, *number);
            lay(m_text.sliced(start, m_index - start));
            return Range{*number, *number};
        }
        if (current() == u'd')
            return parseDice(m_index, std::nullopt);
        failUnexpected();
        return std::nullopt;
    }

    // Decimal digits at the current index (there is at least one); nothing when they do
    // not fit in 63 bits.
    std::optional<qint64> readNumber()
    {
        qint64 value = 0;
        bool fits = true;
        while (isDigit(current())) {
            fits = fits && !__builtin_mul_overflow(value, qint64(10), &value)
                   && !__builtin_add_overflow(value, qint64(current().unicode() - u'0'), &value);
            ++m_index;
        }
        return fits ? std::optional(value) : std::nullopt;
    }

    // The number a keep/drop or the faces need at the current index.
    std::optional<qint64> requireNumber()
    {
        if (!isDigit(current())) {
            failUnexpected();
            return std::nullopt;
        }
        const qsizetype start = m_index;
        const auto number = readNumber();
        if (!number)
            fail(start, QStringLiteral("número grande demais"));
        return number;
    }

    // dice := [N] "d" (M | "%" | "F") ["!"] [keep/drop]; the index is at the "d".
    std::optional<Range> parseDice(qsizetype start, std::optional<qint64> count)
    {
        DiceTerm term;
        if (count) {
            if (*count < 1 || *count > DiceNotation::MaxDiceCount) {
                fail(start, QStringLiteral("quantidade de dados fora do limite (de 1 a %1)")
                                .arg(DiceNotation::MaxDiceCount));
                return std::nullopt;
            }
            term.count = qint32(*count);
        }
        ++m_index; // "d"
        if (current() == u'%') {
            term.faces = 100;
            ++m_index;
        } else if (current() == u'F') {
            term.faces = 3;
            term.fate = true;
            ++m_index;
        } else {
            const qsizetype facesStart = m_index;
            const bool digits = isDigit(current());
            const auto faces = requireNumber();
            if (!faces && !digits)
                return std::nullopt;
            if (!faces || *faces < 1 || *faces > DiceNotation::MaxFaces) {
                fail(facesStart, QStringLiteral("número de faces fora do limite (de 1 a %1)")
                                     .arg(DiceNotation::MaxFaces));
                return std::nullopt;
            }
            term.faces = qint32(*faces);
        }
        if (current() == u'!') {
            if (term.fate) {
                fail(m_index, QStringLiteral("dados Fate (dF) não explodem"));
                return std::nullopt;
            }
            if (term.faces == 1) {
                fail(m_index, QStringLiteral("um dado de uma face não pode explodir"));
                return std::nullopt;
            }
            term.exploding = true;
            ++m_index;
        }
        if (current() == u'k' || current() == u'd') {
            const bool keep = current() == u'k';
            ++m_index;
            if (current() == u'h' || current() == u'l') {
                const bool highest = current() == u'h';
                ++m_index;
                term.keep = keep ? (highest ? DiceKeep::KeepHighest : DiceKeep::KeepLowest)
                                 : (highest ? DiceKeep::DropHighest : DiceKeep::DropLowest);
            } else {
                term.keep = keep ? DiceKeep::KeepHighest : DiceKeep::DropLowest;
            }
            const auto keepCount = requireNumber();
            if (!keepCount)
                return std::nullopt;
            term.keepCount = *keepCount;
        }

        m_diceCount += term.count;
        if (m_diceCount > DiceNotation::MaxDicePerRoll) {
            fail(start, QStringLiteral("dados demais numa rolagem (mais de %1)")
                            .arg(DiceNotation::MaxDicePerRoll));
            return std::nullopt;
        }
        term.text = m_text.sliced(start, m_index - start).toString();

        const Range range = termRange(term);
        const auto index = qint64(m_terms.size());
        m_terms.push_back(std::move(term));
        push(DiceExpression::Operation::Dice, index);
        m_layout.push_back({QByteArray(), qsizetype(index)});
        return range;
    }

    QStringView m_text;
    qsizetype m_index = 0;
    int m_depth = 0;
    qint64 m_diceCount = 0;
    DiceNotationError m_error;
    std::vector<DiceTerm> &m_terms;
    std::vector<DiceExpression::Step> &m_steps;
    std::vector<DiceExpression::Piece> &m_layout;
};

} // namespace

std::variant<DiceExpression, DiceNotationError> DiceNotation::parse(QStringView text)
{
    DiceExpression expression;
    Parser parser(text, expression.m_terms, expression.m_steps, expression.m_layout);
    const auto range = parser.parseWhole();
    if (!range)
        return parser.error();
    expression.m_text = text.trimmed().toString();
    expression.m_textUtf8 = expression.m_text.toUtf8();
    expression.m_diceCount = parser.diceCount();
    expression.m_minimum = range->low;
    expression.m_maximum = range->high;
    return expression;
}
