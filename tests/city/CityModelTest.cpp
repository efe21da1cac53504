// The Markdown and JSON renderings say exactly what the text report says.

#include "city/CityModel.h"
#include "city/CityJsonReport.h"
#include "city/CityMarkdownReport.h"
#include "city/CityTextReport.h"

#include "QtPrinters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QLocale Brazil(QLocale::Portuguese, QLocale::Brazil);
const QDateTime Stamp(QDate(2026, 12, 7), QTime(17, 45, 30), Qt::OffsetFromUTC, -3 * 3600);
const qint32 Sizes[] = {0, 1, 3, 10, 99999, -1, -8589934, 8589934};

// The text report's lines rebuilt from the JSON object alone (the footer left out).
QStringList linesFromJson(const QJsonObject &city)
{
    const QString separator(52, u'-');
    const qint64 population = city[u"populacao"].toInteger();
    QStringList lines{QStringLiteral("Cidade: ") + city[u"nome"].toString(),
                      QStringLiteral("População: ")
                          + (population < 0 ? QStringLiteral("-") : QStringLiteral(" "))
                          + QString::number(qAbs(population)) + QStringLiteral(" habitantes"),
                      separator};
    const QJsonArray sections = city[u"secoes"].toArray();
    for (qsizetype s = 0; s < sections.size(); ++s) {
        if (s > 0)
            lines << separator;
        lines << sections[s][u"titulo"].toString();
        for (const QJsonValue item : sections[s][u"itens"].toArray())
            lines << QStringLiteral("%1 %2")
                         .arg(item[u"quantidade"].toInteger())
                         .arg(item[u"nome"].toString());
    }
    lines << separator << QStringLiteral("NPCs") << separator;
    for (const QJsonValue characterClass : city[u"classes"].toArray()) {
        const QString title = characterClass[u"titulo"].toString();
        lines << title;
        for (const QJsonValue level : characterClass[u"niveis"].toArray())
            lines << QStringLiteral("%1 de %2º nível")
                         .arg(level[u"quantidade"].toInteger())
                         .arg(level[u"nivel"].toInt());
        lines << QStringLiteral("TOTAL: %1 %2")
                     .arg(characterClass[u"total"].toInteger())
                     .arg(title.toLower())
              << separator;
    }
    return lines;
}

TEST(CityModel, JsonHoldsEveryNumberOfTheTextReport)
{
    for (const qint32 blocks : Sizes) {
        const std::optional<CityModel> city =
            CityModel::build(QStringLiteral("Tau \"Rianu\""), blocks, Stamp);
        ASSERT_TRUE(city) << blocks;
        QJsonParseError error;
        const QJsonDocument document =
            QJsonDocument::fromJson(CityJsonReport::render(*city), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << blocks;
        const QJsonObject object = document.object();

        QStringList text = CityTextReport::render(*city, Brazil).split(QStringLiteral("\r\n"));
        text.removeLast(); // the footer
        EXPECT_EQ(linesFromJson(object), text) << blocks;
        EXPECT_EQ(object[u"blocos"].toInteger(), blocks);
        EXPECT_EQ(object[u"gerada_em"].toString(), u"2026-12-07T17:45:30-03:00");
    }
    EXPECT_FALSE(CityModel::build(QStringLiteral("X"), 8589935, Stamp));
    EXPECT_FALSE(CityModel::build(QStringLiteral("X"), -8589935, Stamp));
}

// Every count line of the text appears as a table row of the Markdown, in order, and the
// name cannot turn into formatting.
TEST(CityModel, MarkdownHoldsEveryLineOfTheTextReport)
{
    for (const qint32 blocks : {1, 99999, -1}) {
        const std::optional<CityModel> city =
            CityModel::build(QStringLiteral("*Vila* #1 <b>"), blocks, Stamp);
        ASSERT_TRUE(city);
        const QString markdown = CityMarkdownReport::render(*city, Brazil);
        EXPECT_TRUE(markdown.startsWith(u"# Cidade: \\*Vila\\* \\#1 \\<b\\>\n"_qs))
            << markdown.left(40).toStdString();

        static const QRegularExpression tradeLine(QStringLiteral("^(-?\\d+) (.+)$"));
        static const QRegularExpression levelLine(QStringLiteral("^(\\d+) de (\\d+)º nível$"));
        qsizetype from = 0;
        for (const QString &line :
             CityTextReport::render(*city, Brazil).split(QStringLiteral("\r\n"))) {
            QString row;
            if (const auto level = levelLine.match(line); level.hasMatch())
                row = QStringLiteral("| %1º | %2 |").arg(level.captured(2), level.captured(1));
            else if (const auto trade = tradeLine.match(line); trade.hasMatch())
                row = QStringLiteral("| %1 | %2 |").arg(trade.captured(1), trade.captured(2));
            else if (line.startsWith(u"TOTAL: "))
                row = QStringLiteral("**%1**").arg(line);
            else
                continue;
            const qsizetype at = markdown.indexOf(row + u'\n', from);
            ASSERT_GE(at, 0) << blocks << ' ' << row.toStdString();
            from = at + row.size();
        }
    }
}

} // namespace
