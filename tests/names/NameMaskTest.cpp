#include "common/ScopedRandomSource.h"
#include "common/SequenceRandomSource.h"
#include "common/SplitMixRandomSource.h"
#include "names/NameMask.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

#include <cmath>

namespace {

QString entriesOf(char16_t symbol)
{
    const MaskClass *table = MaskClassFor(symbol);
    return table ? QString::fromUtf16(table->entries.data(), qsizetype(table->entries.size()))
                 : QString();
}

TEST(MaskClassTables, HoldTheDocumentedEntriesInOrder)
{
    EXPECT_EQ(entriesOf(u'@'), u"bcdfghjklmnpqrstvwxyz");
    EXPECT_EQ(entriesOf(u'$'), u"BCDFGHJKLMNPQRSTVWXYZ");
    EXPECT_EQ(entriesOf(u'!'), u"aeiou");
    EXPECT_EQ(entriesOf(u'&'), u"AEIOU");
    EXPECT_EQ(entriesOf(u'#'), u"0123456789");
    EXPECT_EQ(entriesOf(u'%'), u"ae");
    EXPECT_EQ(entriesOf(u'^'), u"ou");
    EXPECT_EQ(entriesOf(u'['), u"AE");
    EXPECT_EQ(entriesOf(u']'), u"OU");
    EXPECT_EQ(entriesOf(u'{'), u"ÁÉÍÓÚÂÊÎÔÛÄËÏÖÜ");
    EXPECT_EQ(entriesOf(u'}'), u"áéíóúâêîôûäëïöü");
    EXPECT_EQ(entriesOf(u'*'), u"abcdefghijklmnopqrstuvwxyz");

    qsizetype total = 0;
    for (const MaskClass &table : MaskClassTables)
        total += qsizetype(table.entries.size());
    EXPECT_EQ(total, 126);
    EXPECT_EQ(MaskClassFor(u'a'), nullptr);
    EXPECT_EQ(MaskClassFor(u'\u00E9'), nullptr);
}

// Every special character yields only entries of its table, and over many draws every entry
// of the table turns up.
TEST(GenerateNameFromMask, EachClassGivesExactlyItsEntries)
{
    SplitMixRandomSource source;
    for (const MaskClass &table : MaskClassTables) {
        const QString mask(1, QChar(table.symbol));
        const QString expected = entriesOf(table.symbol);
        QSet<QChar> seen;
        for (int i = 0; i < 2000; ++i) {
            const QString name = GenerateNameFromMask(mask, source);
            ASSERT_EQ(name.size(), 1);
            ASSERT_TRUE(expected.contains(name[0])) << QString::fromUtf16(table.name).toStdString();
            seen.insert(name[0]);
        }
        EXPECT_EQ(seen.size(), expected.size()) << QString::fromUtf16(table.name).toStdString();
    }
}

TEST(GenerateNameFromMask, InjectedDrawsPickPositionsFloorRTimesN)
{
    SequenceRandomSource source({0.0f, 0.99f});
    EXPECT_EQ(GenerateNameFromMask(u"$!", source), u"Bu");

    const float largest = std::nextafter(1.0f, 0.0f);
    SequenceRandomSource top({largest});
    EXPECT_EQ(GenerateNameFromMask(u"@$!&#%^[]{}*", top), u"zZuU9euEUÜüz");
}

// A source that breaks its promise (1.0, negative, NaN, huge) still yields table entries.
TEST(GenerateNameFromMask, FaultySourceStaysInsideTheTables)
{
    SequenceRandomSource source({1.0f, -0.5f, std::nanf(""), 1e30f});
    EXPECT_EQ(GenerateNameFromMask(u"@@@@", source), u"zbbz");
}

TEST(GenerateNameFromMask, LiteralsAreCopiedAndDrawNothing)
{
    SequenceRandomSource source({0.5f});
    EXPECT_EQ(GenerateNameFromMask(u"", source), u"");
    EXPECT_EQ(GenerateNameFromMask(u"Rua Velha", source), u"Rua Velha");
    EXPECT_EQ(source.draws(), 0);

    const QString name = GenerateNameFromMask(u"Vila $!@!", source);
    EXPECT_TRUE(name.startsWith(u"Vila "));
    EXPECT_EQ(source.draws(), 4);
}

TEST(GenerateNameFromMask, AnyTextKeepsItsLength)
{
    SplitMixRandomSource source;
    const QStringList masks = {
        u"A@!"_qs,
        QString::fromUtf16(u"\U0001F3B2@\U0001F409!"), // surrogate pairs pass through unchanged
        u"ção/\\:*?\"<>|\t\r\n"_qs,
        QString(10000, u'@'),
        QString(1, QChar(0)) + u"#"_qs,
    };
    for (const QString &mask : masks) {
        const QString name = GenerateNameFromMask(mask, source);
        ASSERT_EQ(name.size(), mask.size());
        for (qsizetype i = 0; i < mask.size(); ++i) {
            if (!MaskClassFor(mask[i].unicode())) {
                EXPECT_EQ(name[i], mask[i]);
            }
        }
    }
    EXPECT_TRUE(GenerateNameFromMask(u"A@!", source).startsWith(u'A'));
}

TEST(GenerateNameFromMask, UsesTheProcessSource)
{
    SequenceRandomSource fixed({0.0f});
    ScopedRandomSource scope(fixed);
    EXPECT_EQ(GenerateNameFromMask(QStringLiteral("&@@!@!@@!")), u"Abbabab" "ba");
}

TEST(MaskHelpText, HasSixteenLinesJoinedByCrLf)
{
    const QString text = MaskHelpText();
    EXPECT_FALSE(text.endsWith(u"\r\n"));
    EXPECT_EQ(text.count(u"\r\n"), 15);
    EXPECT_EQ(text.count(u'\n'), 15);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], u"Como formar as máscaras:");
    EXPECT_EQ(lines[1], u"@ Consoante minúscula");
    EXPECT_EQ(lines[12], u"* Qualquer letra");
    EXPECT_EQ(lines[13], u"");
    EXPECT_EQ(lines[14], u"Qualquer outro dígito é mantido na geração do nome.");
    EXPECT_EQ(lines[15], u"A letra Y é considerada consoante.");
    // Every special character is explained, in table order.
    for (qsizetype i = 0; i < 12; ++i)
        EXPECT_EQ(lines[i + 1][0], QChar(MaskClassTables[std::size_t(i)].symbol));
}

} // namespace
