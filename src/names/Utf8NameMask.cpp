#include "names/Utf8NameMask.h"

const std::array<Utf8NameMask::Table, MaskClassTables.size()> Utf8NameMask::Tables =
    Utf8NameMask::buildTables();

Utf8NameMask::Utf8NameMask(QStringView mask)
{
    qsizetype i = 0;
    while (i < mask.size()) {
        if (const MaskClass *table = MaskClassFor(mask[i].unicode())) {
            m_steps.push_back({&Tables[std::size_t(table - MaskClassTables.data())], 0, 0});
            m_maxSize += 2;
            ++i;
            continue;
        }
        // A literal run ends only at a special character, which is ASCII, so a surrogate pair
        // is never split and encodes exactly as in the whole name's toUtf8().
        qsizetype end = i + 1;
        while (end < mask.size() && !MaskClassFor(mask[end].unicode()))
            ++end;
        const QByteArray bytes = mask.sliced(i, end - i).toUtf8();
        m_steps.push_back({nullptr, m_literals.size(), bytes.size()});
        m_literals += bytes;
        m_maxSize += bytes.size();
        i = end;
    }
}
