// The pieces every JSON output is written with: each must read back as what was written.

#include "dice/format/JsonWriter.h"

#include "QtPrinters.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <limits>

namespace {

// Strings keep every character and escape what JSON requires; exact values spell the nearest
// double and the exact fraction; doubles are the shortest text that reads back the same.
TEST(JsonWriter, WritesWhatReadsBack)
{
    struct Row
    {
        QByteArray written;
        const char *expected;
    };
    const auto string = [](QByteArrayView utf8) {
        QByteArray out;
        JsonWriter::appendString(out, utf8);
        return out;
    };
    const auto value = [](Fraction f) {
        QByteArray out;
        JsonWriter::appendValue(out, f, "fracao");
        return out;
    };
    const auto real = [](double d) {
        QByteArray out;
        JsonWriter::appendDouble(out, d);
        return out;
    };
    const Row rows[] = {
        {string("4d6kh3"), "\"4d6kh3\""},
        {string("a\"b\\c"), "\"a\\\"b\\\\c\""},
        {string(QByteArrayView("\n\t\x01\x1f", 4)), "\"\\u000a\\u0009\\u0001\\u001f\""},
        {string("São \xF0\x9F\x8E\xB2"), "\"São \xF0\x9F\x8E\xB2\""},
        {string(QByteArrayView("a\0b", 3)), "\"a\\u0000b\""},
        {string("\"meio\\"), "\"\\\"meio\\\\\""}, // escapes first and last, a run between
        {string(""), "\"\""},
        {value(Fraction(-12)), "-12"},
        {value(Fraction(std::numeric_limits<qint64>::min())), "-9223372036854775808"},
        {value(*Fraction::of(7, 2)), "3.5,\"fracao\":\"7/2\""},
        {value(*Fraction::of(-1, 3)), "-0.3333333333333333,\"fracao\":\"-1/3\""},
        {real(0.1), "0.1"},
        {real(2.5e-05), "2.5e-05"},
        {real(1), "1"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(row.written, QByteArray(row.expected));
        // Every piece is valid JSON inside an object, and a string reads back as it was.
        QJsonParseError error;
        QJsonDocument::fromJson("{\"x\":" + row.written + "}", &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << row.expected;
    }
    const QByteArray utf8("a\"\\\n\x7f São");
    EXPECT_EQ(QJsonDocument::fromJson("{\"x\":" + string(utf8) + "}")["x"].toString(),
              QString::fromUtf8(utf8));
}

} // namespace
