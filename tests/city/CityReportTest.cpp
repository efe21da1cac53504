#include "city/CityReport.h"

#include <QRegularExpression>
#include <QStringList>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

namespace {

const QDateTime Stamp(QDate(2026, 12, 7), QTime(17, 45, 30));
const QLocale Brazil(QLocale::Portuguese, QLocale::Brazil);
const QString Separator(52, u'-');

QString report(qint32 blocks, const QString &name = QStringLiteral("Tau Rianu"))
{
    return BuildCityReport(name, blocks, Stamp, Brazil);
}

QStringList linesOf(qint32 blocks)
{
    return report(blocks).split(QStringLiteral("\r\n"));
}

// The lines from a class heading down to its total line, both included.
QStringList classSection(const QStringList &lines, const QString &heading)
{
    const qsizetype first = lines.indexOf(heading);
    if (first < 0)
        return {};
    qsizetype last = first;
    while (last < lines.size() && !lines[last].startsWith(QStringLiteral("TOTAL: ")))
        ++last;
    return lines.mid(first, last - first + 1);
}

QStringList fromUtf8Lines(const std::vector<const char *> &lines)
{
    QStringList result;
    for (const char *line : lines)
        result << QString::fromUtf8(line);
    return result;
}

// The whole report of a one-block city, written out from the tables by hand.
const char *const OneBlockReport = R"(Cidade: Tau Rianu
População:  250 habitantes
----------------------------------------------------
ALIMENTAÇÃO E HOSPEDAGEM
0 Almhouses
0 Bakers
0 Boarding Houses
0 Brewers
0 Butchers
0 Cheesemakers
0 Grocers
0 Hotéis
0 Inns
0 Provisioners
1 Taverns
0 Vintners
----------------------------------------------------
OFÍCIOS E COMÉRCIO COMUNS
1 Blacksmiths
1 Traders/ Merchants
1 Cobblers
0 Coopers
0 Leatherworkers
0 Masons
0 Millers
0 Potters
0 Tanners
0 Weavers
1 Woodworkers
----------------------------------------------------
OFÍCIOS E COMÉRCIO RAROS
0 Apothecaries
0 Armorers
0 Bookbinders
0 Bowyers/ Fletchers
0 Clockmakers
0 Chandlers
0 Dyers
0 Fine Clothiers
0 Furriers
0 Glassblowers/ Glaziers
0 Herbalists
0 Jewelers
0 Locksmiths
0 Seamtresses/ Tailors
0 Specialty Smiths
0 Tilemakers
0 Weaponsmiths
----------------------------------------------------
TRANSPORTES
0 Boats for hire
1 Carters/ Teamters
0 Cartwrights
0 Porters
0 Saddlers
0 Shipwrights
0 Stables
----------------------------------------------------
OFÍCIOS DOS NPC
0 Alchemists
0 Assassins/ Bounty Hunters
0 Astrologers
0 Barbers
0 Barristers
0 Burglers
0 Dragomen
0 Engineers
0 Fences
0 Healers
0 Interpreters
2 Laborers
0 Leech Physicians
0 Linkboys
0 Minstrels/ Entertainers
0 Navigators (Ports only)
0 Priests
0 Sages
0 Scribes/ Clerks
0 Wizards
----------------------------------------------------
NPCs
----------------------------------------------------
GUERREIROS
5 de 1º nível
2 de 2º nível
1 de 3º nível
1 de 4º nível
TOTAL: 9 guerreiros
----------------------------------------------------
LADRÕES
4 de 1º nível
2 de 2º nível
1 de 3º nível
TOTAL: 7 ladrões
----------------------------------------------------
CLÉRIGOS
2 de 1º nível
1 de 2º nível
1 de 3º nível
TOTAL: 4 clérigos
----------------------------------------------------
MAGOS
1 de 1º nível
1 de 2º nível
TOTAL: 2 magos
----------------------------------------------------
Cidade gerada dia 07/12/2026 as 17:45 pelo Morvane's Quessar)";

TEST(CityReport, OneBlockReportIsExact)
{
    const QString expected =
        QString::fromUtf8(OneBlockReport).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    EXPECT_EQ(report(1), expected);
}

// Lines joined by CR LF, nothing after the footer, no stray CR or LF, no blank lines.
TEST(CityReport, LinesAreJoinedByCrLfWithNoneAfterTheFooter)
{
    for (qint32 blocks : {-1, 0, 1, 4, 99999}) {
        const QString text = report(blocks);
        EXPECT_FALSE(text.endsWith(u'\n')) << blocks;
        EXPECT_EQ(text.count(u'\r'), text.count(QStringLiteral("\r\n"))) << blocks;
        EXPECT_EQ(text.count(u'\n'), text.count(QStringLiteral("\r\n"))) << blocks;
        EXPECT_FALSE(text.contains(QStringLiteral("\r\n\r\n"))) << blocks;
        EXPECT_TRUE(text.endsWith(QStringLiteral(" pelo Morvane's Quessar"))) << blocks;
    }
}

struct ShapeCase
{
    qint32 blocks;
    qsizetype lines;
};

class CityReportShape : public testing::TestWithParam<ShapeCase>
{
};

TEST_P(CityReportShape, HasTheFixedFrameAroundItsLevelLines)
{
    const QStringList lines = linesOf(GetParam().blocks);
    EXPECT_EQ(lines.size(), GetParam().lines);
    EXPECT_EQ(lines.count(Separator), 11);
    EXPECT_EQ(lines.mid(0, lines.indexOf(QStringLiteral("GUERREIROS"))).count(Separator), 7);
    EXPECT_EQ(lines.value(80), QStringLiteral("NPCs"));
    EXPECT_EQ(lines.value(82), QStringLiteral("GUERREIROS"));
    EXPECT_EQ(lines.value(lines.size() - 2), Separator);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CityReportShape,
                         testing::Values(ShapeCase{1, 107}, ShapeCase{4, 115}, ShapeCase{0, 95},
                                         ShapeCase{-1, 95}, ShapeCase{99999, 95 + 19 + 18 + 18 + 17}));

struct LinesCase
{
    qint32 blocks;
    std::vector<const char *> lines; // each must be a whole line of the report
};

class CityReportLines : public testing::TestWithParam<LinesCase>
{
};

TEST_P(CityReportLines, HoldsTheseLines)
{
    const QStringList lines = linesOf(GetParam().blocks);
    for (const char *expected : GetParam().lines)
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CityReportLines,
    testing::Values(
        LinesCase{0, {"População:  0 habitantes", "0 Taverns", "0 Laborers", "TOTAL: 0 guerreiros",
                      "TOTAL: 0 ladrões", "TOTAL: 0 clérigos", "TOTAL: 0 magos"}},
        // Grocers: exactly 0.5, 1.5 and 2.5 in double precision; ties go to the even count.
        LinesCase{2, {"População:  500 habitantes", "0 Grocers"}},
        LinesCase{6, {"2 Grocers"}},
        LinesCase{10, {"2 Grocers"}},
        LinesCase{99999,
                  {"População:  24999750 habitantes", "174957 Laborers", "100042 Taverns",
                   "25000 Grocers", "2 de 19º nível", "TOTAL: 999988 guerreiros",
                   "3 de 18º nível", "TOTAL: 749987 ladrões", "2 de 18º nível",
                   "TOTAL: 499993 clérigos", "2 de 17º nível", "TOTAL: 249996 magos"}},
        LinesCase{-1, {"População: -250 habitantes", "-1 Taverns", "-1 Blacksmiths", "-2 Laborers",
                       "0 Grocers", "TOTAL: 0 guerreiros", "TOTAL: 0 magos"}},
        LinesCase{8589934, {"População:  2147483500 habitantes"}},
        LinesCase{-8589934, {"População: -2147483500 habitantes"}}));

struct ClassCase
{
    qint32 blocks;
    const char *heading;
    std::vector<const char *> section;
};

class CityReportClasses : public testing::TestWithParam<ClassCase>
{
};

TEST_P(CityReportClasses, ListsEveryLevelWithPeopleAndTheTotal)
{
    const ClassCase &c = GetParam();
    EXPECT_EQ(classSection(linesOf(c.blocks), QString::fromUtf8(c.heading)),
              fromUtf8Lines(c.section));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CityReportClasses,
    testing::Values(
        // 750 × 0.0099999997764825821 is just below 7.5: the single-precision rate shows.
        ClassCase{3, "GUERREIROS",
                  {"GUERREIROS", "15 de 1º nível", "7 de 2º nível", "4 de 3º nível", "2 de 4º nível",
                   "1 de 5º nível", "TOTAL: 29 guerreiros"}},
        ClassCase{10, "GUERREIROS",
                  {"GUERREIROS", "50 de 1º nível", "25 de 2º nível", "12 de 3º nível",
                   "6 de 4º nível", "3 de 5º nível", "2 de 6º nível", "1 de 7º nível",
                   "TOTAL: 99 guerreiros"}},
        ClassCase{10, "MAGOS",
                  {"MAGOS", "12 de 1º nível", "6 de 2º nível", "3 de 3º nível", "2 de 4º nível",
                   "1 de 5º nível", "TOTAL: 24 magos"}},
        ClassCase{0, "LADRÕES", {"LADRÕES", "TOTAL: 0 ladrões"}},
        ClassCase{-1, "CLÉRIGOS", {"CLÉRIGOS", "TOTAL: 0 clérigos"}}));

TEST(CityReport, NameGoesInVerbatim)
{
    EXPECT_TRUE(report(1, QStringLiteral("  Vila/ ?  ")).startsWith(QStringLiteral("Cidade:   Vila/ ?  \r\n")));
    EXPECT_TRUE(report(1, QString()).startsWith(QStringLiteral("Cidade: \r\n")));
}

TEST(CityReport, PopulationBeyond32BitsIsAnErrorNotAWrappedNumber)
{
    const struct
    {
        qint32 blocks;
        std::optional<qint32> population;
    } cases[] = {
        {8589934, 2147483500},   {-8589934, -2147483500},
        {8589935, std::nullopt}, {-8589935, std::nullopt},
        {std::numeric_limits<qint32>::max(), std::nullopt},
        {std::numeric_limits<qint32>::min(), std::nullopt},
        {0, 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CityPopulation(c.blocks), c.population) << c.blocks;
        const std::optional<QString> checked = TryBuildCityReport(QStringLiteral("X"), c.blocks);
        EXPECT_EQ(checked.has_value(), c.population.has_value()) << c.blocks;
        if (c.population) {
            EXPECT_NO_THROW(BuildCityReport(QStringLiteral("X"), c.blocks, Stamp, Brazil));
        } else {
            EXPECT_THROW(BuildCityReport(QStringLiteral("X"), c.blocks), std::overflow_error);
            EXPECT_THROW(BuildCityReport(QStringLiteral("X"), c.blocks, Stamp, Brazil),
                         std::overflow_error);
            EXPECT_FALSE(TryBuildCityReport(QStringLiteral("X"), c.blocks, Stamp, Brazil));
        }
    }
}

struct FooterCase
{
    const char *locale;
    QTime time;
    const char *footer;
};

class CityReportFooterTest : public testing::TestWithParam<FooterCase>
{
};

TEST_P(CityReportFooterTest, ShortDateThenHoursAndMinutesWithTheLocalesSeparator)
{
    const FooterCase &c = GetParam();
    EXPECT_EQ(CityReportFooter(QDateTime(QDate(2026, 12, 7), c.time), QLocale(QString::fromLatin1(c.locale))),
              QString::fromUtf8(c.footer));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, CityReportFooterTest,
    testing::Values(
        FooterCase{"pt_BR", QTime(17, 45, 30), "Cidade gerada dia 07/12/2026 as 17:45 pelo Morvane's Quessar"},
        FooterCase{"pt_BR", QTime(9, 5, 59), "Cidade gerada dia 07/12/2026 as 09:05 pelo Morvane's Quessar"},
        FooterCase{"pt_BR", QTime(0, 0), "Cidade gerada dia 07/12/2026 as 00:00 pelo Morvane's Quessar"},
        // The bare C locale has no regional formats: Brazilian ones stand in, never seconds.
        FooterCase{"C", QTime(17, 45, 30), "Cidade gerada dia 07/12/2026 as 17:45 pelo Morvane's Quessar"},
        // Always 24-hour, even where the locale's own time has AM/PM.
        FooterCase{"en_US", QTime(17, 45, 30), "Cidade gerada dia 12/7/26 as 17:45 pelo Morvane's Quessar"},
        FooterCase{"fi_FI", QTime(7, 5), "Cidade gerada dia 7.12.2026 as 07.05 pelo Morvane's Quessar"},
        FooterCase{"fr_CA", QTime(17, 45), "Cidade gerada dia 2026-12-07 as 17 h 45 pelo Morvane's Quessar"},
        // A date the saved file's code page cannot hold (native digits and direction marks,
        // a Cyrillic abbreviation) gives way to the Brazilian formats.
        FooterCase{"ar_EG", QTime(17, 45, 30), "Cidade gerada dia 07/12/2026 as 17:45 pelo Morvane's Quessar"},
        FooterCase{"fa_IR", QTime(7, 5), "Cidade gerada dia 07/12/2026 as 07:05 pelo Morvane's Quessar"},
        FooterCase{"bg_BG", QTime(17, 45), "Cidade gerada dia 07/12/2026 as 17:45 pelo Morvane's Quessar"}));

TEST(CityReport, TimeSeparatorComesFromBetweenTheHourAndMinuteFields)
{
    const struct
    {
        const char *format;
        const char *separator;
    } cases[] = {
        {"HH:mm", ":"},   {"HH:mm:ss", ":"}, {"h:mm AP", ":"}, {"AP h:mm", ":"},
        {"H.mm", "."},    {"HH 'h' mm", " h "}, {"HH''mm", "'"}, {"'m' HH-mm", "-"},
        {"HHmm", ""},     {"mm:ss", ":"},    {"HH:ss", ":"},   {"", ":"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TimeSeparatorOf(QString::fromLatin1(c.format)), QString::fromLatin1(c.separator))
            << c.format;
}

// The plain call stamps the current time in the system's formats (C under the tests, so
// Brazilian ones).
TEST(CityReport, PlainCallStampsNowInTheSystemFormats)
{
    const QString text = BuildCityReport(QStringLiteral("X"), 1);
    const QString footer = text.split(QStringLiteral("\r\n")).constLast();
    static const QRegularExpression shape(QStringLiteral(
        "^Cidade gerada dia \\d\\d/\\d\\d/\\d{4} as \\d\\d:\\d\\d pelo Morvane's Quessar$"));
    EXPECT_TRUE(shape.match(footer).hasMatch()) << footer.toStdString();
    EXPECT_EQ(text.left(text.size() - footer.size()),
              report(1, QStringLiteral("X")).left(text.size() - footer.size()));
}

} // namespace
