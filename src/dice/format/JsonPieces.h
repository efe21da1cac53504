#pragma once

#include <QByteArray>

#include <charconv>
#include <cstring>
#include <string_view>

// JSON tokens gathered in a small buffer on the stack and appended to a QByteArray a
// kilobyte at a time: an append to a QByteArray costs more than the few bytes of a token,
// and a roll's line is made of dozens of them. Anything written to the QByteArray directly
// must come after flush(); the destructor flushes what is left. Numbers are spelled as
// JsonWriter spells them.
class JsonPieces
{
public:
    explicit JsonPieces(QByteArray &out) : m_out(out) {}
    ~JsonPieces() { flush(); }
    JsonPieces(const JsonPieces &) = delete;
    JsonPieces &operator=(const JsonPieces &) = delete;

    void put(std::string_view text)
    {
        if (text.size() > sizeof m_bytes - m_size) {
            flush();
            if (text.size() > sizeof m_bytes) {
                m_out.append(text.data(), qsizetype(text.size()));
                return;
            }
        }
        std::memcpy(m_bytes + m_size, text.data(), text.size());
        m_size += text.size();
    }
    // A whole number in decimal: -12.
    void putWhole(qint64 value)
    {
        char digits[24];
        const char *end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        put(std::string_view(digits, std::size_t(end - digits)));
    }
    // ,"key":true or ,"key":false
    void putFlag(std::string_view key, bool value)
    {
        put(",\"");
        put(key);
        put(value ? "\":true" : "\":false");
    }
    void flush()
    {
        m_out.append(m_bytes, qsizetype(m_size));
        m_size = 0;
    }

private:
    QByteArray &m_out;
    char m_bytes[1024];
    std::size_t m_size = 0;
};
