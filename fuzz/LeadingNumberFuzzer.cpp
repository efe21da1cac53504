// Any text read as a number gives a defined value, and converting it to a whole number
// either fits the target type or is reported, never wrapped.
#include "common/LeadingNumber.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = LeadingNumber(text);
    if (std::isnan(value))
        std::abort();

    const auto whole16 = RoundToWhole<qint16>(value);
    const auto whole32 = RoundToWhole<qint32>(value);
    const double rounded = std::nearbyint(value);
    if (whole32 && double(*whole32) != rounded)
        std::abort();
    if (whole16 && double(*whole16) != rounded)
        std::abort();
    if (!whole32 && std::isfinite(value) && rounded >= -2147483648.0 && rounded <= 2147483647.0)
        std::abort();
    // Blanks before a number change nothing.
    if (LeadingNumber(QStringLiteral("  ") + text) != value)
        std::abort();
    return 0;
}
