#include "city/CityModel.h"

#include "city/CityReport.h"
#include "city/CityTables.h"

#include <cmath>

namespace {

// population × rate in double precision, to the nearest whole number, ties to even (the
// default rounding mode). Any population that fits in 32 bits gives a count far inside 32
// bits, since every rate is below 0.01.
qint32 countOf(qint32 population, double rate)
{
    return static_cast<qint32>(std::nearbyint(static_cast<double>(population) * rate));
}

} // namespace

QString CityModel::Trade::name() const
{
    const std::u16string_view trimmed = label.substr(label.starts_with(u' ') ? 1 : 0);
    return QString::fromUtf16(trimmed.data(), qsizetype(trimmed.size()));
}

std::optional<CityModel> CityModel::build(const QString &name, qint32 blocks,
                                          const QDateTime &generatedAt)
{
    const std::optional<qint32> population = CityPopulation(blocks);
    if (!population)
        return std::nullopt;

    CityModel city;
    city.name = name;
    city.blocks = blocks;
    city.population = *population;
    city.generatedAt = generatedAt;

    city.sections.reserve(CityTradeGroups.size());
    for (const CityTradeGroup &group : CityTradeGroups) {
        TradeSection section{group.heading, {}};
        section.trades.reserve(group.trades.size());
        for (const CityTrade &trade : group.trades)
            section.trades.push_back({trade.label, countOf(city.population, trade.rate)});
        city.sections.push_back(std::move(section));
    }

    city.classes.reserve(CityCharacterClasses.size());
    for (const CityCharacterClass &characterClass : CityCharacterClasses) {
        CharacterClass counted{characterClass.heading, characterClass.totalWord, {}, 0};
        float rate = characterClass.startingRate;
        // Every level is visited: a zero count does not end the class early.
        for (int level = 1; level <= characterClass.levels; ++level) {
            rate = rate / 2.0f; // exact, and done before the count
            const qint32 count = countOf(city.population, static_cast<double>(rate));
            if (count > 0) {
                counted.total += count;
                counted.levels.push_back({level, count});
            }
        }
        city.classes.push_back(std::move(counted));
    }
    return city;
}
