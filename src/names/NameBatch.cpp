#include "names/NameBatch.h"

#include "common/SplitMixRandomSource.h"
#include "names/NameMask.h"

namespace {

template <typename Source>
QString generateNames(const QStringList &masks, int count, Source &source)
{
    qsizetype longest = 0;
    for (const QString &mask : masks)
        longest = std::max(longest, mask.size());

    // Room for the longest name every time; the text is cut to what was written at the end.
    QString names(qsizetype(count) * (longest + 2), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(names.data());
    char16_t *out = begin;
    for (int i = 0; i < count; ++i) {
        const QString &mask = masks.at(RandomSource::nextPositionOf(source, masks.size()));
        if (i > 0) {
            *out++ = u',';
            *out++ = u' ';
        }
        out = WriteNameFromMask(QStringView(mask), source, out);
    }
    names.truncate(out - begin);
    return names;
}

} // namespace

QString GenerateNames(const QStringList &masks, int count, RandomSource &source)
{
    if (masks.isEmpty() || count <= 0)
        return QString();
    if (SplitMixRandomSource *generator = SplitMixRandomSource::exactly(source))
        return generateNames(masks, count, *generator);
    return generateNames(masks, count, source);
}

NameBatch::NameBatch(const QStringList &masks, QStringView separator)
    : m_separator(separator.toUtf8())
{
    qsizetype longest = 0;
    m_masks.reserve(std::size_t(masks.size()));
    for (const QString &mask : masks) {
        m_masks.emplace_back(mask);
        longest = std::max(longest, m_masks.back().maxSize());
    }
    m_room = longest + m_separator.size();
}
