// Any 32-bit block count either builds a complete report or is refused as an overflow, exactly
// outside -8589934..8589934 blocks; a built report always has its fixed shape.
#include "city/CityReport.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < sizeof(qint32))
        return 0;
    qint32 blocks = 0;
    std::memcpy(&blocks, data, sizeof blocks);
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(data) + sizeof blocks,
                                           qsizetype(size - sizeof blocks));

    static const QDateTime when(QDate(2026, 12, 7), QTime(17, 45));
    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    const auto report = TryBuildCityReport(name, blocks, when, locale);

    const bool fits = blocks >= -8589934 && blocks <= 8589934;
    if (report.has_value() != fits)
        std::abort();
    if (!report)
        return 0;
    // Name line first, footer last with no line end after it, and the population as given.
    if (!report->startsWith(QStringLiteral("Cidade: ") + name + QStringLiteral("\r\n")))
        std::abort();
    if (!report->endsWith(QStringLiteral(" pelo Morvane's Quessar")) || report->endsWith(u'\n'))
        std::abort();
    const QString population =
        QStringLiteral("População: ") + (blocks >= 0 ? QStringLiteral(" ") : QString())
        + QString::number(qint64(blocks) * 250) + QStringLiteral(" habitantes\r\n");
    if (!report->contains(population))
        std::abort();
    return 0;
}
