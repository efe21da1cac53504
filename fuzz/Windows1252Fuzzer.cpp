// The encoder either encodes every character, one byte each, or stops at the first character
// the code page lacks; the file-name check never lets a path separator or a dot-only name
// through.
#include "city/CityFile.h"
#include "city/Windows1252.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Raw UTF-16, lone surrogates included.
    const QString text(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));

    const Windows1252::Result result = Windows1252::encode(text);
    if (result.ok()) {
        if (result.bytes.size() != text.size())
            std::abort();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const auto byte = Windows1252::byteOf(text[i].unicode());
            if (!byte || *byte != result.bytes[i])
                std::abort();
        }
    } else {
        if (result.errorPosition >= text.size())
            std::abort();
        if (Windows1252::byteOf(result.errorCharacter))
            std::abort();
        // Everything before the error encodes.
        if (!Windows1252::encode(QStringView(text).first(result.errorPosition)).ok())
            std::abort();
    }

    if (CityFile::isUsableName(text)) {
        if (text == u"." || text == u".." || text.contains(u'/') || text.contains(u'\\')
            || text.contains(QChar(0)))
            std::abort();
        const QString path = CityFile::pathFor(QStringLiteral("/pasta"), text);
        if (!path.startsWith(QStringLiteral("/pasta/")) || path.count(u'/') != 2)
            std::abort();
    }
    return 0;
}
