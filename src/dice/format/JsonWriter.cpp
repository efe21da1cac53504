#include "dice/format/JsonWriter.h"

#include <charconv>

void JsonWriter::appendString(QByteArray &out, QByteArrayView utf8)
{
    // Runs of bytes that need no escaping go out in one append each: appending byte by
    // byte cost more than anything else in writing a roll's JSON.
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    qsizetype run = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c != '"' && c != '\\' && byte >= 0x20)
            continue;
        out.append(utf8.data() + run, i - run);
        run = i + 1;
        if (byte >= 0x20) {
            const char escaped[2] = {'\\', c};
            out.append(escaped, 2);
        } else {
            const char escaped[6] = {'\\', 'u', '0', '0', hex[byte >> 4], hex[byte & 15]};
            out.append(escaped, 6);
        }
    }
    out.append(utf8.data() + run, utf8.size() - run);
    out += '"';
}

void JsonWriter::appendWhole(QByteArray &out, qint64 value)
{
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
}

void JsonWriter::appendDouble(QByteArray &out, double value)
{
    char digits[32];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
}

void JsonWriter::appendValue(QByteArray &out, Fraction value, const char *fractionKey)
{
    if (value.isWhole()) {
        appendWhole(out, value.numerator());
        return;
    }
    appendDouble(out, value.toDouble());
    out += ",\"";
    out += fractionKey;
    out += "\":\"";
    value.appendExact(out);
    out += '"';
}
