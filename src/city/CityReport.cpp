#include "city/CityReport.h"

#include "city/CityModel.h"
#include "city/CityTables.h"
#include "city/CityTextReport.h"
#include "city/Windows1252.h"

#include <limits>
#include <stdexcept>

namespace {

// Whether the saved file's code page can hold every character of `text`.
bool fitsTheFile(const QString &text)
{
    return Windows1252::encode(text).ok();
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
    const std::optional<CityModel> city = CityModel::build(cityName, blocks, when);
    if (!city)
        return std::nullopt;
    return CityTextReport::render(*city, locale);
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
    QString date = formats.toString(when.date(), QLocale::ShortFormat);
    QString separator = TimeSeparatorOf(formats.timeFormat(QLocale::ShortFormat));
    // Native digits, direction marks or non-Latin month abbreviations would make a fresh
    // report impossible to save in the file's code page: such locales get the Brazilian
    // formats instead.
    if (!fitsTheFile(date) || !fitsTheFile(separator)) {
        date = when.date().toString(QStringLiteral("dd/MM/yyyy"));
        separator = QStringLiteral(":");
    }
    const QTime time = when.time();
    return QStringLiteral("Cidade gerada dia ") + date + QStringLiteral(" as ")
           + QStringLiteral("%1").arg(time.hour(), 2, 10, QLatin1Char('0')) + separator
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
