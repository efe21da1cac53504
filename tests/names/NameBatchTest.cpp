// The in-place and UTF-8 paths make exactly the names and draws of plain, name-by-name
// generation from the same source state.

#include "names/NameBatch.h"
#include "common/SequenceRandomSource.h"
#include "common/SplitMixRandomSource.h"
#include "names/NameMask.h"
#include "names/PredefinedNameMasks.h"
#include "names/Utf8NameMask.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Name-by-name generation as the generator has always done it: a draw through the abstract
// source for each special character, appended to a fresh text.
QString plainName(QStringView mask, RandomSource &source)
{
    QString name;
    for (const QChar c : mask) {
        if (const MaskClass *table = MaskClassFor(c.unicode()))
            name += QChar(
                table->entries[std::size_t(source.nextPosition(qsizetype(table->entries.size())))]);
        else
            name += c;
    }
    return name;
}

QString plainNames(const QStringList &masks, int count, RandomSource &source)
{
    QString names;
    for (int i = 0; i < count; ++i) {
        const QString &mask = masks.at(source.nextPosition(masks.size()));
        if (i > 0)
            names += QStringLiteral(", ");
        names += plainName(mask, source);
    }
    return names;
}

const QStringList &testMasks()
{
    static const QStringList masks = [] {
        QStringList list = PredefinedNameMasks();
        list << QStringLiteral("@$!&#%^[]{}*") << QStringLiteral("Vila $!@!")
             << QStringLiteral("ção {} ü") << QString()
             << QString::fromUtf16(u"\U0001F3B2@\U0001F409!") // surrogate pairs kept whole
             << QString(QChar(0xD800)) + QStringLiteral("@") << QString(50, u'}');
        return list;
    }();
    return masks;
}

// Runs the same masks through every path from one state and compares names and end states.
TEST(NameBatch, EveryPathGivesTheSameNamesAndDraws)
{
    const struct
    {
        QStringList masks;
        int count;
    } cases[] = {
        {{QStringLiteral("&@@!@!@@!")}, 5000},
        {PredefinedNameMasks(), 999},
        {testMasks(), 3000},
        {{QString()}, 3},
    };
    for (const auto &c : cases) {
        for (const std::uint64_t seed : {0ull, 1ull, 0x51E55A12C0FFEE01ull, ~0ull}) {
            SplitMixRandomSource reference(seed);
            const QString expected = plainNames(c.masks, c.count, reference);

            SplitMixRandomSource batch(seed);
            EXPECT_EQ(GenerateNames(c.masks, c.count, batch), expected);
            EXPECT_EQ(batch.state(), reference.state());

            // The stream in small pieces, so that names straddle many refills.
            SplitMixRandomSource stream(seed);
            NameBatch names(c.masks, u", ");
            QByteArray bytes;
            qint64 left = c.count;
            while (left > 0) {
                const qint64 written = names.appendUtf8(stream, bytes, left, bytes.size() + 97);
                ASSERT_GT(written, 0);
                left -= written;
            }
            EXPECT_EQ(bytes, expected.toUtf8());
            EXPECT_EQ(stream.state(), reference.state());
        }
    }
}

// One name at a time, by the fast path, through the abstract source type and as UTF-8 written
// within the prepared mask's size.
TEST(NameBatch, SingleNamesMatchPlainGenerationWithAnySource)
{
    SplitMixRandomSource reference(7);
    SplitMixRandomSource fast(7);
    SplitMixRandomSource utf8(7);
    SequenceRandomSource fixedA({0.0f, 0.3f, 0.99f, 0.5f, 0.71f});
    SequenceRandomSource fixedB({0.0f, 0.3f, 0.99f, 0.5f, 0.71f});
    for (int round = 0; round < 200; ++round) {
        for (const QString &mask : testMasks()) {
            const QString expected = plainName(mask, reference);
            EXPECT_EQ(GenerateNameFromMask(mask, fast), expected);
            // Through the abstract type: the injected source keeps its virtual draws.
            EXPECT_EQ(GenerateNameFromMask(mask, fixedA), plainName(mask, fixedB));

            const Utf8NameMask prepared(mask);
            QByteArray bytes(prepared.maxSize(), '\x7f');
            const char *end = prepared.write(utf8, bytes.data());
            ASSERT_LE(end - bytes.data(), prepared.maxSize()) << mask.toStdString();
            bytes.truncate(end - bytes.data());
            EXPECT_EQ(bytes, expected.toUtf8()) << mask.toStdString();
        }
    }
    EXPECT_EQ(fast.state(), reference.state());
    EXPECT_EQ(utf8.state(), reference.state());
    EXPECT_EQ(fixedA.draws(), fixedB.draws());
}

TEST(NameBatch, NothingForNoMaskOrNoCount)
{
    SplitMixRandomSource source;
    const std::uint64_t before = source.state();
    EXPECT_EQ(GenerateNames({}, 10, source), QString());
    EXPECT_EQ(GenerateNames({QStringLiteral("@")}, 0, source), QString());
    QByteArray bytes("x");
    EXPECT_EQ(NameBatch({}, u"\n").appendUtf8(source, bytes, 10, 100), 0);
    EXPECT_EQ(NameBatch({QStringLiteral("@")}, u"\n").appendUtf8(source, bytes, 0, 100), 0);
    EXPECT_EQ(bytes, "x");
    EXPECT_EQ(source.state(), before);
}

} // namespace
