#include "city/CityMarkdownReport.h"

#include "city/CityModel.h"
#include "city/CityReport.h"

namespace {

QString view(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

} // namespace

QString CityMarkdownReport::escaped(const QString &text)
{
    static const QString special = QStringLiteral("\\`*_{}[]()<>#+-.!|~");
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (special.contains(c))
            result += u'\\';
        result += c;
    }
    return result;
}

QString CityMarkdownReport::render(const CityModel &city, const QLocale &locale)
{
    QString out;
    out.reserve(8192 + city.name.size());
    out += QStringLiteral("# Cidade: %1\n\n").arg(escaped(city.name));
    out += QStringLiteral("População: **%1** habitantes (%2 %3 de 250 pessoas)\n")
               .arg(city.population)
               .arg(city.blocks)
               .arg(city.blocks == 1 || city.blocks == -1 ? QStringLiteral("bloco")
                                                          : QStringLiteral("blocos"));

    for (const CityModel::TradeSection &section : city.sections) {
        out += QStringLiteral("\n## %1\n\n| Quantidade | Ofício |\n|---:|---|\n")
                   .arg(view(section.title));
        for (const CityModel::Trade &trade : section.trades)
            out += QStringLiteral("| %1 | %2 |\n").arg(trade.count).arg(trade.name());
    }

    out += QStringLiteral("\n## NPCs\n");
    for (const CityModel::CharacterClass &characterClass : city.classes) {
        out += QStringLiteral("\n### %1\n\n").arg(view(characterClass.title));
        if (!characterClass.levels.empty()) {
            out += QStringLiteral("| Nível | Quantidade |\n|---:|---:|\n");
            for (const CityModel::Level &level : characterClass.levels)
                out += QStringLiteral("| %1º | %2 |\n").arg(level.level).arg(level.count);
            out += u'\n';
        }
        out += QStringLiteral("**TOTAL: %1%2**\n")
                   .arg(characterClass.total)
                   .arg(view(characterClass.totalWord));
    }

    out +=
        QStringLiteral("\n---\n\n_%1_\n").arg(escaped(CityReportFooter(city.generatedAt, locale)));
    return out;
}
