#pragma once

#include "common/RandomSource.h"
#include "names/NameMask.h"

#include <QByteArray>
#include <QStringView>

#include <array>
#include <cstring>
#include <vector>

// A mask prepared once for writing many names straight as UTF-8 bytes: the mask's special
// characters point at UTF-8 forms of their tables and its literal runs are encoded ahead of
// time. write() then costs one draw, one table look-up and one small store per special
// character, and allocates nothing. The draws and the characters are exactly those of
// GenerateNameFromMask for the same source state; the bytes are that name's toUtf8().
class Utf8NameMask
{
public:
    explicit Utf8NameMask(QStringView mask);

    // The most bytes write() may touch for one name (one spare byte included).
    qsizetype maxSize() const { return m_maxSize; }

    // Writes one name at `out`, which has room for maxSize() bytes; returns its end.
    template <typename Source> char *write(Source &source, char *out) const
    {
        for (const Step &step : m_steps) {
            if (step.table) {
                const qsizetype position = RandomSource::nextPositionOf(source, step.table->count);
                const Entry &entry = step.table->entries[std::size_t(position)];
                std::memcpy(out, entry.bytes, 2); // the spare byte absorbs a 1-byte entry
                out += entry.size;
            } else {
                std::memcpy(out, m_literals.constData() + step.literalOffset,
                            std::size_t(step.literalSize));
                out += step.literalSize;
            }
        }
        return out;
    }

private:
    // Every table entry is at most U+00FF, so two bytes of UTF-8.
    struct Entry
    {
        char bytes[2];
        unsigned char size;
    };
    struct Table
    {
        std::array<Entry, 26> entries;
        qsizetype count;
    };
    struct Step
    {
        const Table *table; // nullptr for a literal run
        qsizetype literalOffset;
        qsizetype literalSize;
    };

    static constexpr std::array<Table, MaskClassTables.size()> buildTables()
    {
        std::array<Table, MaskClassTables.size()> tables{};
        for (std::size_t t = 0; t < MaskClassTables.size(); ++t) {
            const std::u16string_view entries = MaskClassTables[t].entries;
            tables[t].count = qsizetype(entries.size());
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const char16_t c = entries[i];
                Entry &entry = tables[t].entries[i];
                if (c < 0x80) {
                    entry = {{char(c), 0}, 1};
                } else {
                    entry = {{char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))}, 2};
                }
            }
        }
        return tables;
    }
    static const std::array<Table, MaskClassTables.size()> Tables;

    std::vector<Step> m_steps;
    QByteArray m_literals;
    qsizetype m_maxSize = 1;
};
