#include "city/Windows1252.h"

#include <array>

namespace {

// The characters of bytes 0x80..0x9F; 0 marks a byte with no character.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

std::optional<char> Windows1252::byteOf(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(character);
    if (character < 0x100)
        return std::nullopt; // the C1 controls have no place in the code page
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] != 0 && HighControls[i] == character)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

Windows1252::Result Windows1252::encode(QStringView text)
{
    Result result;
    result.bytes.resize(text.size());
    char *out = result.bytes.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            *out++ = static_cast<char>(unit);
            continue;
        }
        char32_t character = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < n
            && QChar::isLowSurrogate(text[i + 1].unicode()))
            character = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
        const std::optional<char> byte = byteOf(character);
        if (!byte) {
            result.bytes.clear();
            result.errorPosition = i;
            result.errorCharacter = character;
            return result;
        }
        *out++ = *byte;
    }
    result.bytes.truncate(out - result.bytes.data());
    return result;
}
