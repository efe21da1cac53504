// Any mask gives a name of exactly its length in which every literal is copied and every
// special character becomes an entry of its own table.
#include "common/SplitMixRandomSource.h"
#include "names/NameMask.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 8)
        return 0;
    std::uint64_t seed = 0;
    std::memcpy(&seed, data, sizeof seed);
    // The rest is the mask, read as raw UTF-16 so that lone surrogates get tried too.
    const QString mask(reinterpret_cast<const QChar *>(data + 8), qsizetype((size - 8) / 2));

    SplitMixRandomSource source(seed);
    const QString name = GenerateNameFromMask(mask, source);
    if (name.size() != mask.size())
        std::abort();
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const MaskClass *table = MaskClassFor(mask[i].unicode());
        if (!table && name[i] != mask[i])
            std::abort();
        if (table && table->entries.find(name[i].unicode()) == std::u16string_view::npos)
            std::abort();
    }
    return 0;
}
