#include "city/CityJsonReport.h"

#include "city/CityModel.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString view(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

} // namespace

QJsonObject CityJsonReport::object(const CityModel &city)
{
    QJsonArray sections;
    for (const CityModel::TradeSection &section : city.sections) {
        QJsonArray items;
        for (const CityModel::Trade &trade : section.trades)
            items.append(QJsonObject{{QStringLiteral("nome"), trade.name()},
                                     {QStringLiteral("quantidade"), trade.count}});
        sections.append(QJsonObject{{QStringLiteral("titulo"), view(section.title)},
                                    {QStringLiteral("itens"), items}});
    }

    QJsonArray classes;
    for (const CityModel::CharacterClass &characterClass : city.classes) {
        QJsonArray levels;
        for (const CityModel::Level &level : characterClass.levels)
            levels.append(QJsonObject{{QStringLiteral("nivel"), level.level},
                                      {QStringLiteral("quantidade"), level.count}});
        classes.append(QJsonObject{{QStringLiteral("titulo"), view(characterClass.title)},
                                   {QStringLiteral("niveis"), levels},
                                   {QStringLiteral("total"), characterClass.total}});
    }

    // A local time written with its offset ("2026-12-07T17:45:30-03:00"), so that it names
    // one instant wherever it is read.
    const QDateTime when = city.generatedAt;
    const QString generatedAt = when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);

    return QJsonObject{{QStringLiteral("nome"), city.name},
                       {QStringLiteral("blocos"), city.blocks},
                       {QStringLiteral("populacao"), city.population},
                       {QStringLiteral("secoes"), sections},
                       {QStringLiteral("classes"), classes},
                       {QStringLiteral("gerada_em"), generatedAt}};
}

QByteArray CityJsonReport::render(const CityModel &city)
{
    return QJsonDocument(object(city)).toJson(QJsonDocument::Indented);
}
