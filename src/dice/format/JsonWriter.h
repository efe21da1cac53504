#pragma once

#include "dice/number/Fraction.h"

#include <QByteArray>
#include <QByteArrayView>

// The pieces every JSON output of the program is written with, straight into a byte buffer
// (no document object per line, so a million rolls stay cheap). Any new JSON writer uses
// these, so that strings are escaped and numbers spelled the same way in every output:
//
//   out += "{\"expressao\":";
//   JsonWriter::appendString(out, expression.shownUtf8());
//   out += ",\"total\":";
//   JsonWriter::appendValue(out, total, "fracao"); // 14, or 3.5,"fracao":"7/2"
//   out += "}\n";
class JsonWriter
{
public:
    // `utf8` as a JSON string, quotes included: '"' and '\' escaped, control characters as
    // \u00XX, everything else (UTF-8 included) as it is.
    static void appendString(QByteArray &out, QByteArrayView utf8);
    // A whole number in decimal: -12.
    static void appendWhole(QByteArray &out, qint64 value);
    // The shortest decimal that reads back as the same double: 0.1, 2.5e-05.
    static void appendDouble(QByteArray &out, double value);
    // An exact value: whole in decimal; otherwise the nearest double (as appendDouble), then
    // `,"<fractionKey>":"n/d"` with the exact value, so a reader may use either.
    static void appendValue(QByteArray &out, Fraction value, const char *fractionKey);
};
