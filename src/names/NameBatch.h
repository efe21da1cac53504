#pragma once

#include "common/RandomSource.h"
#include "names/Utf8NameMask.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

// `count` names joined by ", ". For each name one draw picks the mask (position
// floor(r × number of masks)), then the mask's own draws make the name. Empty when count is 0
// or less or there is no mask. Every name is written in place into one buffer.
QString GenerateNames(const QStringList &masks, int count, RandomSource &source);

// The same stream of names for output of any length, written as UTF-8 straight into a
// caller's byte buffer: the masks are prepared once, and each name costs its draws and a few
// stores, with no allocation. For the same source state the names and the draws are exactly
// those of GenerateNames (one draw for the mask, then the mask's), joined by `separator`.
class NameBatch
{
public:
    NameBatch(const QStringList &masks, QStringView separator);

    // Appends up to `count` more names to `bytes` (each after the separator, except the
    // batch's very first), stopping once `bytes` holds `sizeLimit` bytes or more. Returns how
    // many names it wrote: at least one when count > 0 and there is a mask.
    template <typename Source>
    qint64 appendUtf8(Source &source, QByteArray &bytes, qint64 count, qsizetype sizeLimit)
    {
        if (m_masks.empty() || count <= 0)
            return 0;
        const qsizetype start = bytes.size();
        const qsizetype limit = std::max(start, sizeLimit);
        bytes.resize(limit + m_room);
        char *const begin = bytes.data();
        char *const stop = begin + limit;
        char *out = begin + start;
        const qsizetype maskCount = qsizetype(m_masks.size());
        const char *const separator = m_separator.constData();
        const std::size_t separatorSize = std::size_t(m_separator.size());

        qint64 written = 0;
        while (written < count && out <= stop) {
            const Utf8NameMask &mask =
                m_masks[std::size_t(RandomSource::nextPositionOf(source, maskCount))];
            if (!m_first) {
                std::memcpy(out, separator, separatorSize);
                out += separatorSize;
            }
            m_first = false;
            out = mask.write(source, out);
            ++written;
        }
        bytes.resize(out - begin);
        return written;
    }

private:
    std::vector<Utf8NameMask> m_masks;
    QByteArray m_separator;
    qsizetype m_room = 0; // the most one name and its separator can take
    bool m_first = true;
};
