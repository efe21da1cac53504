#include "dice/format/OddsText.h"

void OddsText::appendDecimal(QByteArray &out, double value, int places)
{
    QByteArray text = QByteArray::number(value, 'f', places);
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    if (text == "-0")
        text = "0";
    text.replace('.', ',');
    out += text;
}

QByteArray OddsText::decimal(Fraction value)
{
    QByteArray text;
    value.appendDecimal(text, 4, ',');
    return text;
}

QByteArray OddsText::percent(double p, bool certain)
{
    if (certain)
        return "100,00";
    const double x = p * 100;
    if (x >= 99.995)
        return ">99,99";
    if (x > 0 && x < 0.005)
        return "<0,01";
    QByteArray text = QByteArray::number(x, 'f', 2);
    text.replace('.', ',');
    return text;
}

qsizetype OddsText::width(const QByteArray &text)
{
    // Every byte that does not continue a UTF-8 sequence starts a character.
    qsizetype characters = 0;
    for (const char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters;
}

void OddsText::appendPadded(QByteArray &out, const QByteArray &text, qsizetype width)
{
    const qsizetype shown = OddsText::width(text);
    if (shown < width)
        out += QByteArray(width - shown, ' ');
    out += text;
}

void OddsText::appendBar(QByteArray &out, qint64 eighths)
{
    static const char *const partial[] = {"",
                                          "\u258F",
                                          "\u258E",
                                          "\u258D",
                                          "\u258C",
                                          "\u258B",
                                          "\u258A",
                                          "\u2589"};
    for (qint64 i = 0; i < eighths / 8; ++i)
        out += "\u2588";
    out += partial[eighths % 8];
}
