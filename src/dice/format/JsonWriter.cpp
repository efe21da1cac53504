#include "dice/format/JsonWriter.h"

#include <charconv>

void JsonWriter::appendString(QByteArray &out, QByteArrayView utf8)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
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
