#pragma once

#include <QByteArray>
#include <QStringView>

#include <optional>

// The Western European code page of the saved city file: one byte per character. It holds
// U+0000..U+007F and U+00A0..U+00FF as themselves and 27 further characters (the euro sign,
// typographic quotes and dashes, some Central European letters) in 0x80..0x9F; the bytes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for nothing.
class Windows1252
{
public:
    // The byte of one character, or nothing when the code page lacks it.
    static std::optional<char> byteOf(char32_t character);

    struct Result
    {
        QByteArray bytes;             // the whole text, when every character fits
        qsizetype errorPosition = -1; // UTF-16 index of the first character that does not
        char32_t errorCharacter = 0;  // that character (a lone surrogate stands for itself)

        bool ok() const { return errorPosition < 0; }
    };

    // Encodes text, stopping at the first character the code page cannot hold. A surrogate
    // pair counts as one character, never as two.
    static Result encode(QStringView text);
};
