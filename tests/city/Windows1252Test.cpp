#include "city/Windows1252.h"

#include <QString>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cerrno>
#include <optional>

namespace {

// glibc's own converter, as the reference: the byte of one character, or nothing.
class Iconv
{
public:
    Iconv() : m_cd(iconv_open("WINDOWS-1252", "UTF-32LE")) {}
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    std::optional<char> byteOf(char32_t character)
    {
        unsigned char in[4] = {static_cast<unsigned char>(character & 0xFF),
                               static_cast<unsigned char>((character >> 8) & 0xFF),
                               static_cast<unsigned char>((character >> 16) & 0xFF), 0};
        char out[8];
        char *inPtr = reinterpret_cast<char *>(in);
        char *outPtr = out;
        std::size_t inLeft = sizeof in;
        std::size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // reset
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        if (outPtr - out != 1)
            return std::nullopt;
        return out[0];
    }

private:
    iconv_t m_cd;
};

TEST(Windows1252, AgreesWithIconvOnTheWholeBasicPlane)
{
    Iconv reference;
    ASSERT_TRUE(reference.valid());
    int encodable = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::optional<char> expected = reference.byteOf(c);
        ASSERT_EQ(Windows1252::byteOf(c), expected) << std::hex << unsigned(c);
        const char16_t unit = static_cast<char16_t>(c);
        const Windows1252::Result result = Windows1252::encode(QStringView(&unit, 1));
        ASSERT_EQ(result.ok(), expected.has_value()) << std::hex << unsigned(c);
        if (expected) {
            ASSERT_EQ(result.bytes, QByteArray(1, *expected));
            ++encodable;
        } else {
            ASSERT_EQ(result.errorCharacter, c);
            ASSERT_EQ(result.errorPosition, 0);
        }
    }
    EXPECT_EQ(encodable, 128 + 96 + 27);
}

TEST(Windows1252, EncodesPortugueseTextByteForByte)
{
    const Windows1252::Result result =
        Windows1252::encode(QString::fromUtf8("População: 5 de 1º nível — “ok” €"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytes, QByteArray("Popula\xE7\xE3o: 5 de 1\xBA n\xEDvel \x97 \x93ok\x94 \x80"));
    EXPECT_TRUE(Windows1252::encode(QString()).ok());
    EXPECT_TRUE(Windows1252::encode(QString()).bytes.isEmpty());
}

// The first character that does not fit is reported with its UTF-16 position; a surrogate
// pair is one character, a lone surrogate is reported as itself.
TEST(Windows1252, ReportsTheFirstCharacterItCannotHold)
{
    const struct
    {
        QString text;
        qsizetype position;
        char32_t character;
    } cases[] = {
        {QString::fromUtf8("abc€"), -1, 0},
        {QString::fromUtf8("abcĀ€"), 3, 0x100},
        {QString::fromUtf8("a\u0081b"), 1, 0x81},
        {QString::fromUtf8("ok 😀 Ā"), 3, 0x1F600},
        {QString::fromUtf16(u"x\xD83D") + u'y', 1, 0xD83D},  // high surrogate without its partner
        {QString::fromUtf16(u"x\xDE00"), 1, 0xDE00},          // low surrogate alone
        {QString::fromUtf16(u"\xD83D"), 0, 0xD83D},           // high surrogate at the very end
    };
    for (const auto &c : cases) {
        const Windows1252::Result result = Windows1252::encode(c.text);
        EXPECT_EQ(result.errorPosition, c.position) << c.text.toStdString();
        EXPECT_EQ(result.errorCharacter, c.character) << c.text.toStdString();
        if (!result.ok()) {
            EXPECT_TRUE(result.bytes.isEmpty());
        }
    }
}

} // namespace
