#include "city/CityTextReport.h"

#include "city/CityModel.h"
#include "city/CityReport.h"

#include <QLatin1StringView>

#include <charconv>
#include <cstdlib>

namespace {

constexpr QStringView Separator = u"----------------------------------------------------";

class ReportWriter
{
public:
    ReportWriter(qsizetype expectedSize, QStringView lineEnd) : m_lineEnd(lineEnd)
    {
        m_text.reserve(expectedSize);
    }

    ReportWriter &operator<<(QStringView text)
    {
        m_text += text;
        return *this;
    }
    ReportWriter &operator<<(qint64 number)
    {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, number);
        m_text += QLatin1StringView(digits, result.ptr - digits);
        return *this;
    }
    void endLine() { m_text += m_lineEnd; }
    void separator()
    {
        m_text += Separator;
        m_text += m_lineEnd;
    }

    QString take() { return std::move(m_text); }

private:
    QString m_text;
    QStringView m_lineEnd;
};

} // namespace

QString CityTextReport::render(const CityModel &city, const QLocale &locale, QStringView lineEnd)
{
    // About 3.3 thousand UTF-16 code units for any size of city.
    ReportWriter out(4096 + city.name.size(), lineEnd);

    (out << u"Cidade: " << city.name).endLine();
    // The population has a sign position: a blank when it is zero or positive.
    out << u"Popula\u00E7\u00E3o: " << (city.population < 0 ? u"-" : u" ")
        << std::abs(static_cast<qint64>(city.population));
    (out << u" habitantes").endLine();
    out.separator();

    for (std::size_t s = 0; s < city.sections.size(); ++s) {
        if (s > 0)
            out.separator();
        (out << city.sections[s].title).endLine();
        for (const CityModel::Trade &trade : city.sections[s].trades)
            (out << trade.count << trade.label).endLine();
    }

    out.separator();
    (out << u"NPCs").endLine();
    out.separator();

    for (const CityModel::CharacterClass &characterClass : city.classes) {
        (out << characterClass.title).endLine();
        for (const CityModel::Level &level : characterClass.levels)
            (out << level.count << u" de " << level.level << u"\u00BA n\u00EDvel").endLine();
        (out << u"TOTAL: " << characterClass.total << characterClass.totalWord).endLine();
        out.separator();
    }

    out << CityReportFooter(city.generatedAt, locale);
    return out.take();
}
