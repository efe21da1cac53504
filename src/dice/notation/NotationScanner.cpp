#include "dice/notation/NotationScanner.h"

#include <algorithm>

namespace {

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

} // namespace

void NotationScanner::skipBlanks()
{
    while (!atEnd() && (current() == u' ' || current() == u'\t'))
        ++m_index;
}

qsizetype NotationScanner::positionOf(qsizetype index) const
{
    qsizetype position = 1;
    for (qsizetype i = 0; i < index && i < m_text.size(); ++i) {
        if (!(m_text[i].isLowSurrogate() && i > 0 && m_text[i - 1].isHighSurrogate()))
            ++position;
    }
    return position + std::max<qsizetype>(0, index - m_text.size());
}

char32_t NotationScanner::codeAt(qsizetype index) const
{
    char32_t code = m_text[index].unicode();
    if (m_text[index].isHighSurrogate() && index + 1 < m_text.size()
        && m_text[index + 1].isLowSurrogate())
        code = QChar::surrogateToUcs4(m_text[index], m_text[index + 1]);
    return code;
}

// Printable ASCII as itself in quotes, anything else by its code point (followed by the
// character when it shows, and by what was probably meant when it looks like notation), so
// that an invisible or look-alike character (a no-break space, a typographic minus) is never
// mistaken for the one it resembles.
QString NotationScanner::describe(qsizetype index) const
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

bool NotationScanner::checkLength()
{
    if (positionOf(m_text.size()) - 1 <= DiceNotation::MaxLength)
        return true;
    m_error = {DiceNotation::MaxLength + 1,
               QStringLiteral("expressão longa demais (mais de %1 caracteres)")
                   .arg(DiceNotation::MaxLength)};
    return false;
}

bool NotationScanner::fail(qsizetype index, const QString &message)
{
    m_error = DiceNotationError{positionOf(index), message};
    return false;
}

bool NotationScanner::failUnexpected()
{
    if (atEnd())
        return fail(m_index, QStringLiteral("a expressão termina antes do esperado"));
    return fail(m_index, QStringLiteral("caractere inesperado ") + describe(m_index));
}

bool NotationScanner::failOverflow(qsizetype index)
{
    return fail(index, QStringLiteral("o resultado pode sair do limite de 64 bits "
                                      "(de -9223372036854775808 a 9223372036854775807)"));
}

std::optional<qint64> NotationScanner::readNumber()
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

std::optional<qint64> NotationScanner::requireNumber(qint64 largest, const QString &what)
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

std::optional<Fraction> NotationScanner::readDecimal(qsizetype start, qint64 whole)
{
    ++m_index; // "."
    qint64 numerator = whole;
    qint64 denominator = 1;
    bool fits = true;
    while (isDigit(current())) {
        fits = fits && !__builtin_mul_overflow(numerator, qint64(10), &numerator)
               && !__builtin_add_overflow(numerator, qint64(current().unicode() - u'0'), &numerator)
               && !__builtin_mul_overflow(denominator, qint64(10), &denominator);
        ++m_index;
    }
    const auto value = fits ? Fraction::of(numerator, denominator) : std::nullopt;
    if (!value)
        fail(start, QStringLiteral("número com algarismos demais"));
    return value;
}

bool NotationScanner::checkLabel(qsizetype from, qsizetype to)
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

bool NotationScanner::readInlineLabel(QString &label, QStringView &written)
{
    written = {};
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
    label = text.trimmed().toString();
    written = m_text.sliced(open, close + 1 - open);
    m_index = close + 1;
    return true;
}

bool NotationScanner::readTrailingLabel(QString &label)
{
    if (current() != u'#')
        return true;
    qsizetype from = m_index + 1;
    qsizetype to = m_text.size();
    while (from < to && m_text[from].isSpace())
        ++from;
    while (to > from && m_text[to - 1].isSpace())
        --to;
    if (!checkLabel(from, to))
        return false;
    label = m_text.sliced(m_index + 1).trimmed().toString();
    m_index = m_text.size();
    return true;
}
