#pragma once

#include "dice/number/Fraction.h"

#include <QByteArray>
#include <QtGlobal>

// The pieces of text every table of odds is written with (the report of one expression and
// the comparison tables), so that numbers, percentages and bars read the same in both.
// Everything is UTF-8 with a decimal comma.
class OddsText
{
public:
    // A real number with at most `places` decimals: 12,2446; 10,5; 3 (never "-0").
    static void appendDecimal(QByteArray &out, double value, int places);
    // An exact value with at most four decimals: 7, 3,5, 0,6667.
    static QByteArray decimal(Fraction value);
    // A probability in percent, two decimals: "100,00" only when `certain`; "<0,01" and
    // ">99,99" for what would round to 0 or to 100 without being it.
    static QByteArray percent(double p, bool certain);
    // `text` right-aligned in `width` characters (every byte counts as one but for the
    // two-byte letters of our headings, and for the three-byte "…").
    static void appendPadded(QByteArray &out, const QByteArray &text, qsizetype width);
    // Width in characters of a UTF-8 text.
    static qsizetype width(const QByteArray &text);
    // A bar of `eighths` eighths of a character.
    static void appendBar(QByteArray &out, qint64 eighths);
};
