#include "city/CityReport.h"

#include "city/CityTables.h"

#include <QLatin1StringView>

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr QStringView LineEnd = u"\r\n";
constexpr QStringView Separator = u"----------------------------------------------------";

// population × rate in double precision, to the nearest whole number, ties to even (the
// default rounding mode). Any population that fits in 32 bits gives a count far inside 32
// bits, since every rate is below 0.01.
qint32 countOf(qint32 population, double rate)
{
    return static_cast<qint32>(std::nearbyint(static_cast<double>(population) * rate));
}

class ReportWriter
{
public:
    explicit ReportWriter(qsizetype expectedSize) { m_text.reserve(expectedSize); }

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
    void endLine() { m_text += LineEnd; }
    void separator()
    {
        m_text += Separator;
        m_text += LineEnd;
    }

    QString take() { return std::move(m_text); }

private:
    QString m_text;
};

QString buildReport(const QString &cityName, qint32 population, const QDateTime &when,
                    const QLocale &locale)
{
    // About 3.3 thousand UTF-16 code units for any size of city.
    ReportWriter out(4096 + cityName.size());

    (out << u"Cidade: " << cityName).endLine();
    // The population has a sign position: a blank when it is zero or positive.
    out << u"Popula\u00E7\u00E3o: " << (population < 0 ? u"-" : u" ")
        << std::abs(static_cast<qint64>(population));
    (out << u" habitantes").endLine();
    out.separator();

    for (std::size_t g = 0; g < CityTradeGroups.size(); ++g) {
        if (g > 0)
            out.separator();
        (out << CityTradeGroups[g].heading).endLine();
        for (const CityTrade &trade : CityTradeGroups[g].trades)
            (out << countOf(population, trade.rate) << trade.label).endLine();
    }

    out.separator();
    (out << u"NPCs").endLine();
    out.separator();

    for (const CityCharacterClass &characterClass : CityCharacterClasses) {
        (out << characterClass.heading).endLine();
        float rate = characterClass.startingRate;
        qint32 total = 0;
        // Every level is visited: a zero count does not end the class early.
        for (int level = 1; level <= characterClass.levels; ++level) {
            rate = rate / 2.0f; // exact, and done before the count
            const qint32 count = countOf(population, static_cast<double>(rate));
            if (count > 0) {
                total += count;
                (out << count << u" de " << level << u"\u00BA n\u00EDvel").endLine();
            }
        }
        (out << u"TOTAL: " << total << characterClass.totalWord).endLine();
        out.separator();
    }

    out << CityReportFooter(when, locale);
    return out.take();
}

bool isHourField(QChar c)
{
    return c == u'h' || c == u'H';
}

} // namespace

std::optional<qint32> CityPopulation(qint32 blocks)
{
    const qint64 population = static_cast<qint64>(blocks) * CityBlockPopulation;
    if (population < std::numeric_limits<qint32>::min()
        || population > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(population);
}

std::optional<QString> TryBuildCityReport(const QString &cityName, qint32 blocks,
                                          const QDateTime &when, const QLocale &locale)
{
    const std::optional<qint32> population = CityPopulation(blocks);
    if (!population)
        return std::nullopt;
    return buildReport(cityName, *population, when, locale);
}

std::optional<QString> TryBuildCityReport(const QString &cityName, qint32 blocks)
{
    if (!CityPopulation(blocks))
        return std::nullopt;
    return TryBuildCityReport(cityName, blocks, QDateTime::currentDateTime(), QLocale::system());
}

QString BuildCityReport(const QString &cityName, qint32 blocks, const QDateTime &when,
                        const QLocale &locale)
{
    std::optional<QString> report = TryBuildCityReport(cityName, blocks, when, locale);
    if (!report)
        throw std::overflow_error("city population does not fit in 32 bits");
    return std::move(*report);
}

QString BuildCityReport(const QString &cityName, qint32 blocks)
{
    if (!CityPopulation(blocks))
        throw std::overflow_error("city population does not fit in 32 bits");
    return BuildCityReport(cityName, blocks, QDateTime::currentDateTime(), QLocale::system());
}

QString CityReportFooter(const QDateTime &when, const QLocale &locale)
{
    const QLocale formats =
        locale.language() == QLocale::C ? QLocale(QLocale::Portuguese, QLocale::Brazil) : locale;
    const QTime time = when.time();
    return QStringLiteral("Cidade gerada dia ")
           + formats.toString(when.date(), QLocale::ShortFormat) + QStringLiteral(" as ")
           + QStringLiteral("%1").arg(time.hour(), 2, 10, QLatin1Char('0'))
           + TimeSeparatorOf(formats.timeFormat(QLocale::ShortFormat))
           + QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'))
           + QStringLiteral(" pelo Morvane's Quessar");
}

QString TimeSeparatorOf(const QString &timeFormat)
{
    const QString fallback = QStringLiteral(":");
    const qsizetype n = timeFormat.size();
    qsizetype i = 0;
    bool quoted = false;

    // Find the first hour field outside quotes.
    for (; i < n; ++i) {
        const QChar c = timeFormat[i];
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && isHourField(c))
            break;
    }
    if (i == n)
        return fallback;
    while (i < n && isHourField(timeFormat[i]))
        ++i;

    // Collect what stands before the minute field, resolving quotes ('' is one quote).
    QString separator;
    quoted = false;
    for (; i < n; ++i) {
        const QChar c = timeFormat[i];
        if (c == u'\'') {
            if (i + 1 < n && timeFormat[i + 1] == u'\'') {
                separator += c;
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (quoted) {
            separator += c;
        } else if (c == u'm') {
            return separator;
        } else if (c.isLetter()) {
            return fallback; // another field comes first: no hour-minute pair
        } else {
            separator += c;
        }
    }
    return fallback;
}
