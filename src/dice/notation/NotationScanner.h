#pragma once

#include "dice/notation/DiceNotation.h"
#include "dice/number/Fraction.h"

#include <QString>
#include <QStringView>

#include <optional>

// The text of an expression as the parser reads it: a cursor over its UTF-16 code units,
// the positions shown to the user (in characters: a surrogate pair counts once), how a
// character is named in a message, numbers and labels, and the first error recorded.
//
// Every fail… records the error and answers false, so that a reader can end with
// `return scanner.fail(…)`.
class NotationScanner
{
public:
    explicit NotationScanner(QStringView text) : m_text(text) {}

    static bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
    static bool isLetter(QChar c) { return c >= u'a' && c <= u'z'; }

    QStringView text() const { return m_text; }
    QStringView sliced(qsizetype from, qsizetype to) const
    {
        return m_text.sliced(from, to - from);
    }

    // The cursor, as a UTF-16 offset.
    qsizetype index() const { return m_index; }
    void moveTo(qsizetype index) { m_index = index; }
    void advance(qsizetype units = 1) { m_index += units; }

    bool atEnd() const { return m_index >= m_text.size(); }
    QChar current() const { return atEnd() ? QChar() : m_text[m_index]; }
    QChar peek(qsizetype ahead) const
    {
        return m_index + ahead < m_text.size() ? m_text[m_index + ahead] : QChar();
    }
    bool lookingAt(QStringView word) const { return m_text.sliced(m_index).startsWith(word); }
    void skipBlanks();

    // The 1-based position in characters of a UTF-16 offset.
    qsizetype positionOf(qsizetype index) const;
    // The code point at a UTF-16 offset, a surrogate pair read whole.
    char32_t codeAt(qsizetype index) const;
    // How the character at `index` is named in a message.
    QString describe(qsizetype index) const;

    // At most DiceNotation::MaxLength characters.
    bool checkLength();

    bool fail(qsizetype index, const QString &message);
    // The character at the cursor is not what the notation allows there.
    bool failUnexpected();
    bool failOverflow(qsizetype index);
    const DiceNotationError &error() const { return m_error; }

    // Decimal digits at the cursor (there is at least one); nothing when they do not fit in
    // 63 bits.
    std::optional<qint64> readNumber();
    // A whole number a modifier needs at the cursor, from 0 to `largest`.
    std::optional<qint64> requireNumber(qint64 largest, const QString &what);
    // The digits after the "." at the cursor of a number whose whole part is `whole` and
    // began at `start`: exactly 12375/1000 for "12.375".
    std::optional<Fraction> readDecimal(qsizetype start, qint64 whole);

    // A label's text, from `from` to `to` (UTF-16 offsets): not too long, no control or
    // format characters.
    bool checkLabel(qsizetype from, qsizetype to);
    // "[text]" after a term or number, when there is one: its text trimmed in `label`, and
    // the brackets and text as written in `written` (empty when there is no label). The
    // cursor is left after the blanks before it only when there is one.
    bool readInlineLabel(QString &label, QStringView &written);
    // "# text" to the end, at the cursor (after the blanks that end the expression).
    bool readTrailingLabel(QString &label);

private:
    QStringView m_text;
    qsizetype m_index = 0;
    DiceNotationError m_error;
};
