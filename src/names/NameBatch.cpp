#include "names/NameBatch.h"

#include "common/RandomSource.h"
#include "names/NameMask.h"

#include <algorithm>

QString GenerateNames(const QStringList &masks, int count, RandomSource &source)
{
    QString names;
    if (masks.isEmpty() || count <= 0)
        return names;

    qsizetype longest = 0;
    for (const QString &mask : masks)
        longest = std::max(longest, mask.size());
    names.reserve(qsizetype(count) * (longest + 2));

    for (int i = 0; i < count; ++i) {
        const QString &mask = masks.at(source.nextPosition(masks.size()));
        if (i > 0)
            names += QLatin1String(", ");
        names += GenerateNameFromMask(QStringView(mask), source);
    }
    return names;
}
