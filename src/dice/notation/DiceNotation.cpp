#include "dice/notation/DiceNotation.h"

#include "dice/number/ValueRange.h"

#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

using Operation = DiceExpression::Operation;
using Piece = DiceExpression::Piece;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isLetter(QChar c)
{
    return c >= u'a' && c <= u'z';
}

// The dice of a term, or of a group's pool, as far as the bounds of its value go.
struct PoolBounds
{
    qint64 fewestDice = 0; // in play, before keep/drop
    qint64 mostDice = 0;
    qint64 dieLow = 0; // what any one die in play can count
    qint64 dieHigh = 0;
    qint64 draws = 0; // the most draws from the die source

    void add(const PoolBounds &other)
    {
        if (fewestDice == 0 && mostDice == 0) {
            *this = other;
            return;
        }
        fewestDice += other.fewestDice;
        mostDice += other.mostDice;
        dieLow = std::min(dieLow, other.dieLow);
        dieHigh = std::max(dieHigh, other.dieHigh);
        draws += other.draws;
    }
};

// The bounds of a term's dice, from its faces and modifiers (DiceTerm says how they act).
// At most 10000 * 101 dice of values below 101 * 1000000 in size: nothing here comes near
// 2^63.
PoolBounds termBounds(const DiceTerm &term)
{
    const qint64 faceLow = term.lowestClampedFace();
    const qint64 faceHigh = term.highestClampedFace();
    const qint64 less = term.penetrate ? 1 : 0;
    const qint64 extras = DiceTerm::MaxExtraRolls;
    PoolBounds bounds;
    bounds.fewestDice = term.count;
    bounds.mostDice = term.count;
    bounds.dieLow = faceLow;
    bounds.dieHigh = faceHigh;
    switch (term.explode) {
    case ExplodeKind::None:
        break;
    case ExplodeKind::Explode:
        bounds.mostDice = term.count * (1 + extras);
        bounds.dieLow = std::min(faceLow, faceLow - less);
        break;
    case ExplodeKind::Compound:
        bounds.dieLow = faceLow + extras * std::min<qint64>(0, faceLow - less);
        bounds.dieHigh = faceHigh + extras * std::max<qint64>(0, faceHigh - less);
        break;
    }
    const qint64 freshFaces =
        1 + term.uniqueLimit() + (term.explode == ExplodeKind::None ? 0 : extras);
    bounds.draws = term.count * freshFaces * (1 + term.rerollLimit());
    return bounds;
}

// The value of a pool of dice under keep/drop and a target.
ValueRange poolRange(const PoolBounds &bounds, const KeepRule &keep, const TargetRule &target)
{
    const qint64 keptFewest = bounds.fewestDice - keep.droppedOf(bounds.fewestDice);
    const qint64 keptMost = bounds.mostDice - keep.droppedOf(bounds.mostDice);
    if (target.isSet())
        return *ValueRange::whole(target.failure.isSet() ? -keptMost : 0, keptMost);
    return *ValueRange::whole(std::min(keptFewest * bounds.dieLow, keptMost * bounds.dieLow),
                              std::max(keptFewest * bounds.dieHigh, keptMost * bounds.dieHigh));
}

// Characters that look like notation but are not, with what was probably meant.
QString lookAlikeHint(char32_t code)
{
    switch (code) {
    case U'\u00A0':
    case U'\u2007':
    case U'\u202F':
        return QStringLiteral("espaço sem quebra; use um espaço comum");
    case U'\u2212':
    case U'\u2013':
    case U'\u2014':
    case U'\u2010':
    case U'\u2011':
        return QStringLiteral("use o hífen -");
    case U'\u00D7':
    case U'\u22C5':
    case U'\u2217':
        return QStringLiteral("use *");
    case U'\u00F7':
    case U'\u2215':
        return QStringLiteral("use /");
    case U'\uFF0B':
        return QStringLiteral("use +");
    default:
        return {};
    }
}

class Parser
{
public:
    Parser(QStringView text, std::vector<DiceTerm> &terms, std::vector<DiceGroup> &groups,
           std::vector<DiceExpression::Step> &steps, std::vector<Piece> &layout)
        : m_text(text), m_terms(terms), m_groups(groups), m_steps(steps), m_layout(layout)
    {
    }

    // The whole expression; its range, or nothing after recording the error.
    std::optional<ValueRange> parseWhole(qsizetype &shownEnd, QString &label)
    {
        if (positionOf(m_text.size()) - 1 > DiceNotation::MaxLength) {
            m_error = {DiceNotation::MaxLength + 1,
                       QStringLiteral("expressão longa demais (mais de %1 caracteres)")
                           .arg(DiceNotation::MaxLength)};
            return std::nullopt;
        }
        skipBlanks();
        if (atEnd() || current() == u'#') {
            fail(m_index, QStringLiteral("expressão vazia"));
            return std::nullopt;
        }
        const auto range = parseSum();
        if (!range)
            return std::nullopt;
        shownEnd = m_index;
        skipBlanks();
        if (current() == u'#') {
            qsizetype from = m_index + 1;
            qsizetype to = m_text.size();
            while (from < to && m_text[from].isSpace())
                ++from;
            while (to > from && m_text[to - 1].isSpace())
                --to;
            if (!checkLabel(from, to))
                return std::nullopt;
            label = m_text.sliced(m_index + 1).trimmed().toString();
            m_index = m_text.size();
        }
        if (!atEnd()) {
            failUnexpected();
            return std::nullopt;
        }
        return range;
    }

    const DiceNotationError &error() const { return m_error; }
    qint64 diceCount() const { return m_diceCount; }
    qint64 draws() const { return m_draws; }

private:
    bool atEnd() const { return m_index >= m_text.size(); }
    QChar current() const { return atEnd() ? QChar() : m_text[m_index]; }
    QChar peek(qsizetype ahead) const
    {
        return m_index + ahead < m_text.size() ? m_text[m_index + ahead] : QChar();
    }
    bool lookingAt(QStringView word) const { return m_text.sliced(m_index).startsWith(word); }

    void skipBlanks()
    {
        while (!atEnd() && (current() == u' ' || current() == u'\t'))
            ++m_index;
    }

    // The 1-based position in characters of a UTF-16 offset (a surrogate pair counts once).
    qsizetype positionOf(qsizetype index) const
    {
        qsizetype position = 1;
        for (qsizetype i = 0; i < index && i < m_text.size(); ++i) {
            if (!(m_text[i].isLowSurrogate() && i > 0 && m_text[i - 1].isHighSurrogate()))
                ++position;
        }
        return position + std::max<qsizetype>(0, index - m_text.size());
    }

    bool fail(qsizetype index, const QString &message)
    {
        m_error = DiceNotationError{positionOf(index), message};
        return false;
    }

    char32_t codeAt(qsizetype index) const
    {
        char32_t code = m_text[index].unicode();
        if (m_text[index].isHighSurrogate() && index + 1 < m_text.size()
            && m_text[index + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(m_text[index], m_text[index + 1]);
        return code;
    }

    // How a character is named in a message: printable ASCII as itself in quotes, anything
    // else by its code point (followed by the character when it shows, and by what was
    // probably meant when it looks like notation), so that an invisible or look-alike
    // character (a no-break space, a typographic minus) is never mistaken for the one it
    // resembles.
    QString describe(qsizetype index) const
    {
        const char32_t code = codeAt(index);
        if (code > 0x20 && code < 0x7F && code != U'"')
            return u'"' + QString(QChar(code)) + u'"';
        QString name = QStringLiteral("U+%1").arg(quint32(code), 4, 16, QLatin1Char('0')).toUpper();
        const auto category = QChar::category(code);
        const bool shows = QChar::isPrint(code) && category != QChar::Separator_Space
                           && category != QChar::Other_Format && code != U'"';
        if (shows)
            name += QStringLiteral(" (\"") + QString::fromUcs4(&code, 1) + QStringLiteral("\")");
        const QString hint = lookAlikeHint(code);
        if (!hint.isEmpty())
            name += QStringLiteral(": ") + hint;
        return name;
    }

    // The character at the current index is not what the notation allows there.
    bool failUnexpected()
    {
        if (atEnd())
            return fail(m_index, QStringLiteral("a expressão termina antes do esperado"));
        return fail(m_index, QStringLiteral("caractere inesperado ") + describe(m_index));
    }

    bool failOverflow(qsizetype index)
    {
        return fail(index, QStringLiteral("o resultado pode sair do limite de 64 bits "
                                          "(de -9223372036854775808 a 9223372036854775807)"));
    }

    void push(Operation operation, qint32 index = 0, Fraction number = {})
    {
        m_steps.push_back({operation, index, number});
    }

    // The step of an operation whose result range is `range`, or the refusal of the
    // operator at `index` when its result could leave the range of a Fraction.
    std::optional<ValueRange> pushChecked(std::optional<ValueRange> range, Operation operation,
                                          qsizetype index, qint32 arguments = 0)
    {
        if (!range) {
            failOverflow(index);
            return std::nullopt;
        }
        push(operation, arguments);
        return range;
    }

    void lay(QStringView text)
    {
        if (!m_layout.empty() && m_layout.back().kind == Piece::Kind::Text)
            m_layout.back().text += text.toUtf8();
        else
            m_layout.push_back({Piece::Kind::Text, text.toUtf8(), 0, 0});
    }

    bool enterLevel(const QString &what, qsizetype index = -1)
    {
        if (m_depth >= DiceNotation::MaxNesting)
            return fail(index >= 0 ? index : m_index, what + QStringLiteral(" (mais de ")
                                     + QString::number(DiceNotation::MaxNesting)
                                     + QStringLiteral(" níveis)"));
        ++m_depth;
        return true;
    }

    // A label's text, from `from` to `to` (UTF-16 offsets): not too long, no control or
    // format characters.
    bool checkLabel(qsizetype from, qsizetype to)
    {
        qsizetype characters = 0;
        for (qsizetype i = from; i < to; ++i) {
            if (m_text[i].isLowSurrogate())
                continue;
            ++characters;
            const char32_t code = codeAt(i);
            if (!QChar::isPrint(code) && QChar::category(code) != QChar::Separator_Space)
                return fail(i, QStringLiteral("caractere inesperado no rótulo ") + describe(i));
        }
        if (characters > DiceNotation::MaxLabelLength)
            return fail(from, QStringLiteral("rótulo longo demais (mais de %1 caracteres)")
                                  .arg(DiceNotation::MaxLabelLength));
        return true;
    }

    // "[text]" after a term or number, when there is one: laid out as written, and kept in
    // `label`.
    bool parseInlineLabel(QString *label)
    {
        const qsizetype save = m_index;
        skipBlanks();
        if (current() != u'[') {
            m_index = save;
            return true;
        }
        const qsizetype open = m_index;
        const qsizetype close = m_text.indexOf(u']', open + 1);
        if (close < 0)
            return fail(m_text.size(), QStringLiteral("falta fechar o rótulo aberto na posição ")
                                           + QString::number(positionOf(open)));
        const QStringView text = m_text.sliced(open + 1, close - open - 1);
        if (const qsizetype inner = text.indexOf(u'['); inner >= 0)
            return fail(open + 1 + inner, QStringLiteral("caractere inesperado no rótulo \"[\""));
        if (!checkLabel(open + 1, close))
            return false;
        if (label)
            *label = text.trimmed().toString();
        lay(m_text.sliced(open, close + 1 - open));
        m_index = close + 1;
        return true;
    }

    // sum := product (("+" | "-") product)*
    std::optional<ValueRange> parseSum()
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
            range = pushChecked(sign == u'+' ? ValueRange::add(*range, *right)
                                             : ValueRange::subtract(*range, *right),
                                sign == u'+' ? Operation::Add : Operation::Subtract,
                                operatorIndex);
        }
        return range;
    }

    // product := unary (("*" | "/" | "%") unary)*
    std::optional<ValueRange> parseProduct()
    {
        auto range = parseUnary();
        while (range) {
            skipBlanks();
            const QChar sign = current();
            if ((sign != u'*' && sign != u'/' && sign != u'%') || lookingAt(u"**"))
                break;
            const qsizetype operatorIndex = m_index++;
            lay(sign == u'*' ? u" * " : sign == u'/' ? u" / " : u" % ");
            const auto right = parseUnary();
            if (!right)
                return std::nullopt;
            if (sign != u'*' && right->holdsZero()) {
                fail(operatorIndex, QStringLiteral("o divisor pode ser 0 (vai de %1 a %2)")
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
        skipBlanks();
        if (current() != u'-')
            return parsePower();
        const qsizetype operatorIndex = m_index;
        if (!enterLevel(QStringLiteral("sinais de menos seguidos demais")))
            return std::nullopt;
        ++m_index;
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
        skipBlanks();
        const bool caret = current() == u'^';
        if (!caret && !lookingAt(u"**"))
            return base;
        const qsizetype operatorIndex = m_index;
        if (!enterLevel(QStringLiteral("potências encadeadas demais")))
            return std::nullopt;
        m_index += caret ? 1 : 2;
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
            fail(operatorIndex, QStringLiteral("o expoente precisa ser um número inteiro"));
            return std::nullopt;
        }
        if (exponent.low.sign() < 0) {
            fail(operatorIndex, QStringLiteral("o expoente não pode ser negativo (a potência "
                                               "precisa ser um número inteiro a partir de 0)"));
            return std::nullopt;
        }
        return pushChecked(ValueRange::power(base, exponent), Operation::Power, operatorIndex);
    }

    // postfix := primary ["[" label "]"]
    std::optional<ValueRange> parsePostfix()
    {
        const qsizetype termsBefore = qsizetype(m_terms.size());
        const qsizetype groupsBefore = qsizetype(m_groups.size());
        const qsizetype stepsBefore = qsizetype(m_steps.size());
        const auto range = parsePrimary();
        if (!range)
            return std::nullopt;
        // A label names the dice term or group that the primary is, if it is one.
        QString *label = nullptr;
        if (qsizetype(m_steps.size()) == stepsBefore + 1
            && m_steps.back().operation == Operation::Dice)
            label = &m_terms[std::size_t(termsBefore)].label;
        else if (m_steps.back().operation == Operation::Group)
            label = &m_groups[std::size_t(groupsBefore)].label;
        if (!parseInlineLabel(label))
            return std::nullopt;
        return range;
    }

    // primary := number | dice | "(" sum ")" | group | function "(" arguments ")"
    std::optional<ValueRange> parsePrimary()
    {
        skipBlanks();
        const QChar c = current();
        if (c == u'(')
            return parseParentheses();
        if (c == u'{')
            return parseGroup();
        if (isDigit(c)) {
            const qsizetype start = m_index;
            const auto number = readNumber();
            if (!number) {
                fail(start, QStringLiteral("número grande demais"));
                return std::nullopt;
            }
            if (current() == u'.' && isDigit(peek(1)))
                return parseDecimal(start, *number);
            if (current() == u'd' || current() == u'D')
                return parseDice(start, *number);
            push(Operation::Number, 0, Fraction(*number));
            lay(m_text.sliced(start, m_index - start));
            return ValueRange::whole(*number, *number);
        }
        if (c == u'd' || c == u'D')
            return parseDice(m_index, std::nullopt);
        if (isLetter(c))
            return parseFunction();
        failUnexpected();
        return std::nullopt;
    }

    std::optional<ValueRange> parseParentheses()
    {
        const qsizetype open = m_index;
        if (!enterLevel(QStringLiteral("parênteses aninhados demais")))
            return std::nullopt;
        ++m_index;
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
        skipBlanks();
        if (atEnd())
            return fail(m_index, QStringLiteral("falta fechar ") + what
                                     + QStringLiteral(" na posição ")
                                     + QString::number(positionOf(open)));
        if (current() != closing)
            return failUnexpected();
        ++m_index;
        return true;
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

    // "12.375": exactly 12375/1000. The index is at the ".".
    std::optional<ValueRange> parseDecimal(qsizetype start, qint64 whole)
    {
        ++m_index;
        qint64 numerator = whole;
        qint64 denominator = 1;
        bool fits = true;
        while (isDigit(current())) {
            fits = fits && !__builtin_mul_overflow(numerator, qint64(10), &numerator)
                   && !__builtin_add_overflow(numerator, qint64(current().unicode() - u'0'),
                                              &numerator)
                   && !__builtin_mul_overflow(denominator, qint64(10), &denominator);
            ++m_index;
        }
        const auto value = fits ? Fraction::of(numerator, denominator) : std::nullopt;
        if (!value) {
            fail(start, QStringLiteral("número com algarismos demais"));
            return std::nullopt;
        }
        if (current() == u'd' || current() == u'D') {
            fail(start, QStringLiteral("a quantidade de dados precisa ser um número inteiro"));
            return std::nullopt;
        }
        push(Operation::Number, 0, *value);
        lay(m_text.sliced(start, m_index - start));
        return ValueRange::exactly(*value);
    }

    // A whole number a modifier needs at the current index, from 0 to `largest`.
    std::optional<qint64> requireNumber(qint64 largest, const QString &what)
    {
        if (!isDigit(current())) {
            failUnexpected();
            return std::nullopt;
        }
        const qsizetype start = m_index;
        const auto number = readNumber();
        if (!number || *number > largest) {
            fail(start, what + QStringLiteral(" precisa estar entre 0 e %1").arg(largest));
            return std::nullopt;
        }
        return number;
    }

    // A compare point at the current index, if there is one: "=N", "<>N", "!=N" (only where
    // `bangEquals`), "<N", ">N", "<=N", ">=N", or a bare N where `bare`. `present` says
    // whether one was there; nothing comes back after an error.
    std::optional<ComparePoint> parseComparePoint(bool bare, bool bangEquals, bool &present)
    {
        using Relation = ComparePoint::Relation;
        present = true;
        ComparePoint point;
        if (lookingAt(u"<>") || (bangEquals && lookingAt(u"!="))) {
            point.relation = Relation::NotEqual;
            m_index += 2;
        } else if (lookingAt(u"<=")) {
            point.relation = Relation::LessOrEqual;
            m_index += 2;
        } else if (lookingAt(u">=")) {
            point.relation = Relation::GreaterOrEqual;
            m_index += 2;
        } else if (current() == u'<' || current() == u'>' || current() == u'=') {
            point.relation = current() == u'<'   ? Relation::Less
                             : current() == u'>' ? Relation::Greater
                                                 : Relation::Equal;
            ++m_index;
        } else if (!(bare && isDigit(current()))) {
            present = false;
            return point;
        }
        const bool negative = current() == u'-' && isDigit(peek(1));
        if (negative)
            ++m_index;
        if (!isDigit(current())) {
            failUnexpected();
            return std::nullopt;
        }
        const qsizetype start = m_index - (negative ? 1 : 0);
        const auto number = readNumber();
        if (!number || *number > DiceNotation::MaxComparePoint) {
            fail(start, QStringLiteral("número de comparação fora do limite (de -%1 a %1)")
                            .arg(DiceNotation::MaxComparePoint));
            return std::nullopt;
        }
        point.value = negative ? -*number : *number;
        return point;
    }

    // A compare point that must be there (after "f").
    bool requireComparePoint(DieCondition &condition)
    {
        bool present = false;
        const auto point = parseComparePoint(true, true, present);
        if (!point)
            return false;
        if (!present)
            return failUnexpected();
        condition.points.push_back(*point);
        return true;
    }

    // A compare point that may be there; `fallback` when it is not.
    bool optionalComparePoint(DieCondition &condition, bool bare, ComparePoint fallback)
    {
        bool present = false;
        const auto point = parseComparePoint(bare, true, present);
        if (!point)
            return false;
        condition.points.push_back(present ? *point : fallback);
        return true;
    }

    bool failRepeated(qsizetype index)
    {
        return fail(index, QStringLiteral("modificador repetido ") + describe(index)
                               + QStringLiteral(" (só um deste tipo por termo)"));
    }

    // khK kK klK dhK dlK dK at the current index ("k" or "d").
    bool parseKeep(KeepRule &rule, qsizetype &modifierIndex, bool &plainDrop)
    {
        modifierIndex = m_index;
        const bool keep = current() == u'k';
        ++m_index;
        plainDrop = false;
        if (current() == u'h' || current() == u'l') {
            const bool highest = current() == u'h';
            ++m_index;
            rule.keep = keep ? (highest ? DiceKeep::KeepHighest : DiceKeep::KeepLowest)
                             : (highest ? DiceKeep::DropHighest : DiceKeep::DropLowest);
        } else {
            rule.keep = keep ? DiceKeep::KeepHighest : DiceKeep::DropLowest;
            plainDrop = !keep;
        }
        const auto count = requireNumber(std::numeric_limits<qint64>::max(),
                                         QStringLiteral("quantidade"));
        if (!count)
            return false;
        rule.count = *count;
        return true;
    }

    // Refuses a keep/drop that can leave none of at least `fewest` dice or members (`one` and
    // `many` name them).
    bool checkKeepLeavesSome(const KeepRule &rule, qint64 fewest, qsizetype index,
                             QStringView one, QStringView many, const QString &suggestion = {})
    {
        if (rule.keep == DiceKeep::All || rule.droppedOf(fewest) < fewest)
            return true;
        const bool keeps = rule.keep == DiceKeep::KeepHighest || rule.keep == DiceKeep::KeepLowest;
        QString message = keeps ? QStringLiteral("manter 0 ") + many.toString()
                                : QStringLiteral("descartar ") + QString::number(rule.count)
                                      + QStringLiteral(" de ") + QString::number(fewest) + u' '
                                      + (fewest == 1 ? one : many).toString();
        message += QStringLiteral(" não deixa nenhum");
        if (!suggestion.isEmpty())
            message += QStringLiteral(" (queria dizer ") + suggestion + QStringLiteral("?)");
        return fail(index, message);
    }

    // A target "<cp>" and its failures "f<cp>" after a term or group, at the current index.
    bool parseTarget(TargetRule &target, bool &handled)
    {
        handled = true;
        const qsizetype at = m_index;
        if (current() == u'f') {
            if (!target.isSet())
                return fail(at, QStringLiteral("\"f\" (falhas) vem depois de um alvo de "
                                               "sucesso, como em 10d10>=8f1"));
            if (target.failure.isSet())
                return failRepeated(at);
            ++m_index;
            return requireComparePoint(target.failure);
        }
        if (current() == u'=' || current() == u'<' || current() == u'>') {
            if (target.isSet())
                return failRepeated(at);
            return requireComparePoint(target.success);
        }
        handled = false;
        return true;
    }

    // dice := [N] ("d" | "D") (M | "%" | "F" [".1" | ".2"]) modifier*; the index is at the
    // "d".
    std::optional<ValueRange> parseDice(qsizetype start, std::optional<qint64> count)
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
            term.kind = DieKind::Fate;
            ++m_index;
            if (current() == u'.' && (peek(1) == u'1' || peek(1) == u'2')) {
                term.kind = peek(1) == u'1' ? DieKind::FateOne : DieKind::Fate;
                m_index += 2;
            } else if (current() == u'.' && isDigit(peek(1))) {
                ++m_index;
                failUnexpected();
                return std::nullopt;
            }
        } else {
            const qsizetype facesStart = m_index;
            if (!isDigit(current())) {
                failUnexpected();
                return std::nullopt;
            }
            const auto faces = readNumber();
            if (!faces || *faces < 1 || *faces > DiceNotation::MaxFaces) {
                fail(facesStart, QStringLiteral("número de faces fora do limite (de 1 a %1)")
                                     .arg(DiceNotation::MaxFaces));
                return std::nullopt;
            }
            term.faces = qint32(*faces);
        }
        if (!parseModifiers(term, start))
            return std::nullopt;

        const PoolBounds bounds = termBounds(term);
        m_diceCount += term.count;
        if (m_diceCount > DiceNotation::MaxDicePerRoll) {
            fail(start, QStringLiteral("dados demais numa rolagem (mais de %1)")
                            .arg(DiceNotation::MaxDicePerRoll));
            return std::nullopt;
        }
        m_draws += bounds.draws;
        if (m_draws > DiceNotation::MaxDrawsPerRoll) {
            fail(start, QStringLiteral("rolagens demais: com as rerrolagens e explosões no "
                                       "limite, a expressão pode pedir mais de %1 dados")
                            .arg(DiceNotation::MaxDrawsPerRoll));
            return std::nullopt;
        }
        term.text = m_text.sliced(start, m_index - start).toString();
        const auto index = qint32(m_terms.size());
        m_termBounds.push_back(bounds);
        const ValueRange range = poolRange(bounds, term.keep, term.target);
        m_terms.push_back(std::move(term));
        push(Operation::Dice, index);
        m_layout.push_back({Piece::Kind::Dice, QByteArray(), index, 0});
        return range;
    }

    // The modifiers after a term's faces, in any order; then the checks that need them all.
    bool parseModifiers(DiceTerm &term, qsizetype start)
    {
        qsizetype keepAt = -1;
        qsizetype rerollAt = -1;
        qsizetype uniqueAt = -1;
        qsizetype explodeAt = -1;
        qsizetype sortAt = -1;
        qsizetype minimumAt = -1;
        qsizetype maximumAt = -1;
        bool plainDrop = false;
        for (;;) {
            const qsizetype at = m_index;
            const QChar c = current();
            bool handled = false;
            if (!parseTarget(term.target, handled))
                return false;
            if (handled)
                continue;
            if (c == u'k' || c == u'd') {
                if (keepAt >= 0)
                    return failRepeated(at);
                if (!parseKeep(term.keep, keepAt, plainDrop))
                    return false;
            } else if (c == u'r') {
                const RerollKind kind = peek(1) == u'o' ? RerollKind::Once : RerollKind::UpTo100;
                if (term.reroll != RerollKind::None && term.reroll != kind)
                    return fail(at, QStringLiteral("r e ro não se misturam num termo"));
                term.reroll = kind;
                rerollAt = rerollAt < 0 ? at : rerollAt;
                m_index += kind == RerollKind::Once ? 2 : 1;
                if (!optionalComparePoint(term.rerollWhen, true, {{}, term.lowestFace()}))
                    return false;
            } else if (c == u'u') {
                if (uniqueAt >= 0)
                    return failRepeated(at);
                uniqueAt = at;
                term.unique = peek(1) == u'o' ? UniqueKind::Once : UniqueKind::UpTo100;
                m_index += term.unique == UniqueKind::Once ? 2 : 1;
            } else if (c == u'!') {
                if (explodeAt >= 0)
                    return failRepeated(at);
                explodeAt = at;
                ++m_index;
                term.explode = ExplodeKind::Explode;
                if (current() == u'!') {
                    term.explode = ExplodeKind::Compound;
                    ++m_index;
                }
                if (current() == u'p') {
                    term.penetrate = true;
                    ++m_index;
                }
                if (!optionalComparePoint(term.explodeWhen, false,
                                          {ComparePoint::Relation::Equal, term.highestFace()}))
                    return false;
            } else if (lookingAt(u"min") || lookingAt(u"max")) {
                const bool raise = lookingAt(u"min");
                qsizetype &seen = raise ? minimumAt : maximumAt;
                if (seen >= 0)
                    return failRepeated(at);
                seen = at;
                m_index += 3;
                const auto bound =
                    requireNumber(DiceNotation::MaxClamp, QStringLiteral("o valor de min e max"));
                if (!bound)
                    return false;
                (raise ? term.minimum : term.maximum) = *bound;
            } else if (lookingAt(u"cs") || lookingAt(u"cf")) {
                const bool success = peek(1) == u's';
                m_index += 2;
                if (!optionalComparePoint(
                        success ? term.criticalSuccess : term.criticalFailure, true,
                        {ComparePoint::Relation::Equal,
                         success ? term.highestFace() : term.lowestFace()}))
                    return false;
            } else if (c == u's') {
                if (sortAt >= 0)
                    return failRepeated(at);
                sortAt = at;
                ++m_index;
                term.sort = SortKind::Ascending;
                if (current() == u'a' || current() == u'd') {
                    term.sort = current() == u'd' ? SortKind::Descending : SortKind::Ascending;
                    ++m_index;
                }
            } else {
                break;
            }
        }
        // Defaults that depend on the faces were taken when each point was read; the checks
        // below look at the faces as clamped.
        const qint64 low = term.lowestClampedFace();
        const qint64 high = term.highestClampedFace();
        if (explodeAt >= 0) {
            if (term.kind != DieKind::Standard)
                return fail(explodeAt, QStringLiteral("dados Fate (dF) não explodem"));
            if (term.faces == 1)
                return fail(explodeAt, QStringLiteral("um dado de uma face não pode explodir"));
            if (term.explodeWhen.meetsEveryValue(low, high))
                return fail(explodeAt, QStringLiteral("toda face do dado explode: a explosão "
                                                      "nunca pararia"));
        }
        if (rerollAt >= 0 && term.rerollWhen.meetsEveryValue(low, high))
            return fail(rerollAt, QStringLiteral("toda face do dado seria rolada de novo"));
        if (uniqueAt >= 0 && term.count > high - low + 1)
            return fail(uniqueAt, QStringLiteral("%1 dados não podem mostrar faces todas "
                                                 "diferentes: o dado só tem %2")
                                      .arg(term.count)
                                      .arg(high - low + 1));
        QString suggestion;
        if (plainDrop && term.keep.count >= 1 && term.keep.count <= DiceNotation::MaxFaces)
            suggestion = m_text.sliced(start, keepAt - start).toString() + QStringLiteral("+d")
                         + QString::number(term.keep.count);
        return checkKeepLeavesSome(term.keep, term.count, keepAt, u"dado", u"dados", suggestion);
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
            skipBlanks();
            if (current() != u',')
                break;
            ++m_index;
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
        const qsizetype open = m_index;
        if (!enterLevel(QStringLiteral("chaves aninhadas demais")))
            return std::nullopt;
        ++m_index;
        lay(u"{");
        const auto index = qint32(m_groups.size());
        m_groups.emplace_back();
        std::vector<ValueRange> members;
        const auto firstMemberSteps = qsizetype(m_steps.size());
        if (!parseList(members, u'}', open, QStringLiteral("a chave aberta"),
                       [&](qint32 member, bool begins) {
                           m_layout.push_back({begins ? Piece::Kind::MemberBegin
                                                      : Piece::Kind::MemberEnd,
                                               QByteArray(), index, member});
                       }))
            return std::nullopt;

        DiceGroup group;
        group.memberCount = qint32(members.size());
        qsizetype keepAt = -1;
        bool plainDrop = false;
        for (;;) {
            const qsizetype at = m_index;
            bool handled = false;
            if (!parseTarget(group.target, handled))
                return std::nullopt;
            if (handled)
                continue;
            if (current() != u'k' && current() != u'd')
                break;
            if (keepAt >= 0) {
                failRepeated(at);
                return std::nullopt;
            }
            if (!parseKeep(group.keep, keepAt, plainDrop))
                return std::nullopt;
        }
        group.text = m_text.sliced(open, m_index - open).toString();

        std::optional<ValueRange> range;
        const bool modified = group.keep.keep != DiceKeep::All || group.target.isSet();
        if (members.size() == 1 && modified && poolsDice(firstMemberSteps, group.poolTerms)) {
            PoolBounds bounds;
            for (const qint32 term : group.poolTerms)
                bounds.add(m_termBounds[std::size_t(term)]);
            if (!checkKeepLeavesSome(group.keep, bounds.fewestDice, keepAt, u"dado", u"dados"))
                return std::nullopt;
            range = poolRange(bounds, group.keep, group.target);
        } else {
            group.poolTerms.clear();
            if (!checkKeepLeavesSome(group.keep, group.memberCount, keepAt, u"membro",
                                     u"membros"))
                return std::nullopt;
            const qint64 kept = group.memberCount - group.keep.droppedOf(group.memberCount);
            if (group.target.isSet())
                range = ValueRange::whole(group.target.failure.isSet() ? -kept : 0, kept);
            else
                range = ValueRange::sumOfAny(members, kept, kept);
            if (!range) {
                failOverflow(open);
                return std::nullopt;
            }
        }
        m_groups[std::size_t(index)] = std::move(group);
        push(Operation::Group, index);
        return range;
    }

    // Whether the steps from `first` on are dice terms joined by "+", none with keep/drop or
    // a target of its own; their terms in `terms`.
    bool poolsDice(qsizetype first, std::vector<qint32> &terms) const
    {
        terms.clear();
        for (auto i = std::size_t(first); i < m_steps.size(); ++i) {
            const DiceExpression::Step &step = m_steps[i];
            if (step.operation == Operation::Dice) {
                const DiceTerm &term = m_terms[std::size_t(step.index)];
                if (term.keep.keep != DiceKeep::All || term.target.isSet())
                    return false;
                terms.push_back(step.index);
            } else if (step.operation != Operation::Add) {
                return false;
            }
        }
        return !terms.empty();
    }

    // function := name "(" sum ("," sum)* ")"
    std::optional<ValueRange> parseFunction()
    {
        const qsizetype start = m_index;
        while (isLetter(current()) || isDigit(current()))
            ++m_index;
        const QString name = m_text.sliced(start, m_index - start).toString();
        static const QStringList irrational = {
            QStringLiteral("sqrt"),  QStringLiteral("cbrt"),  QStringLiteral("exp"),
            QStringLiteral("log"),   QStringLiteral("log2"),  QStringLiteral("log10"),
            QStringLiteral("ln"),    QStringLiteral("sin"),   QStringLiteral("cos"),
            QStringLiteral("tan"),   QStringLiteral("asin"),  QStringLiteral("acos"),
            QStringLiteral("atan"),  QStringLiteral("atan2"), QStringLiteral("sinh"),
            QStringLiteral("cosh"),  QStringLiteral("tanh"),  QStringLiteral("hypot")};
        if (irrational.contains(name)) {
            fail(start, QStringLiteral("a função %1 não é aceita: os totais são exatos (inteiros "
                                       "ou frações), e o resultado dela em geral não é")
                            .arg(name));
            return std::nullopt;
        }
        struct Known
        {
            const char16_t *name;
            Operation operation;
            int arguments; // 0: one or more
        };
        static constexpr Known known[] = {
            {u"floor", Operation::Floor, 1}, {u"ceil", Operation::Ceil, 1},
            {u"round", Operation::Round, 1}, {u"abs", Operation::Abs, 1},
            {u"sign", Operation::Sign, 1},   {u"min", Operation::Minimum, 0},
            {u"max", Operation::Maximum, 0}, {u"pow", Operation::Power, 2},
        };
        const Known *function = nullptr;
        for (const Known &candidate : known) {
            if (name == QStringView(candidate.name))
                function = &candidate;
        }
        if (!function) {
            fail(start, QStringLiteral("função desconhecida \"%1\" (as funções são floor, ceil, "
                                       "round, abs, sign, min, max e pow)")
                            .arg(name));
            return std::nullopt;
        }
        skipBlanks();
        if (current() != u'(') {
            failUnexpected();
            return std::nullopt;
        }
        const qsizetype open = m_index;
        if (!enterLevel(QStringLiteral("funções aninhadas demais"), start))
            return std::nullopt;
        ++m_index;
        lay(name + u'(');
        std::vector<ValueRange> arguments;
        if (!parseList(arguments, u')', open, QStringLiteral("o parêntese aberto"),
                       [](qint32, bool) {}))
            return std::nullopt;
        if (function->arguments != 0 && qsizetype(arguments.size()) != function->arguments) {
            fail(start, QStringLiteral("%1 recebe %2").arg(name,
                                                           function->arguments == 1
                                                               ? QStringLiteral("1 argumento")
                                                               : QStringLiteral("2 argumentos")));
            return std::nullopt;
        }

        std::optional<ValueRange> range;
        switch (function->operation) {
        case Operation::Power:
            return power(arguments[0], arguments[1], start);
        case Operation::Floor:
            range = ValueRange::floor(arguments[0]);
            break;
        case Operation::Ceil:
            range = ValueRange::ceil(arguments[0]);
            break;
        case Operation::Round:
            range = ValueRange::round(arguments[0]);
            break;
        case Operation::Abs:
            range = ValueRange::absolute(arguments[0]);
            break;
        case Operation::Sign:
            range = ValueRange::sign(arguments[0]);
            break;
        case Operation::Minimum:
            range = ValueRange::minimum(arguments);
            break;
        default:
            range = ValueRange::maximum(arguments);
            break;
        }
        return pushChecked(range, function->operation, start, qint32(arguments.size()));
    }

    QStringView m_text;
    qsizetype m_index = 0;
    int m_depth = 0;
    qint64 m_diceCount = 0;
    qint64 m_draws = 0;
    DiceNotationError m_error;
    std::vector<DiceTerm> &m_terms;
    std::vector<DiceGroup> &m_groups;
    std::vector<DiceExpression::Step> &m_steps;
    std::vector<Piece> &m_layout;
    std::vector<PoolBounds> m_termBounds;
};

} // namespace

std::variant<DiceExpression, DiceNotationError> DiceNotation::parse(QStringView text)
{
    DiceExpression expression;
    Parser parser(text, expression.m_terms, expression.m_groups, expression.m_steps,
                  expression.m_layout);
    qsizetype shownEnd = 0;
    const auto range = parser.parseWhole(shownEnd, expression.m_label);
    if (!range)
        return parser.error();
    expression.m_text = text.trimmed().toString();
    expression.m_shownUtf8 = text.first(shownEnd).trimmed().toUtf8();
    expression.m_diceCount = parser.diceCount();
    expression.m_maximumDraws = parser.draws();
    expression.m_minimum = range->low;
    expression.m_maximum = range->high;
    expression.m_mayBeFractional = !range->isWhole();
    return expression;
}
