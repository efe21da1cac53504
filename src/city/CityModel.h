#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

// The numbers of one city, computed once from its name and size: the population, the count of
// every trade in report order, and the warriors, thieves, priests and mages of each level with
// their totals. The text report, its Markdown and its JSON are all rendered from this, so they
// can never disagree.
class CityModel
{
public:
    struct Trade
    {
        std::u16string_view label; // begins with a blank, as it follows a count (" Taverns")
        qint32 count;
        QString name() const; // the label without its leading blank
    };
    struct TradeSection
    {
        std::u16string_view title;
        std::vector<Trade> trades;
    };
    // A level appears only when it holds someone (count > 0), as in the report.
    struct Level
    {
        int level;
        qint32 count;
    };
    struct CharacterClass
    {
        std::u16string_view title;
        std::u16string_view totalWord; // " guerreiros", …
        std::vector<Level> levels;
        qint32 total;
    };

    // The city of `blocks` blocks (250 inhabitants each), made at `generatedAt`. Nothing when
    // the population does not fit in 32 bits (beyond ±8589934 blocks).
    static std::optional<CityModel> build(const QString &name, qint32 blocks,
                                          const QDateTime &generatedAt);

    QString name;
    qint32 blocks = 0;
    qint32 population = 0;
    std::vector<TradeSection> sections;
    std::vector<CharacterClass> classes;
    QDateTime generatedAt;
};
