#include "dice/record/SessionDieSource.h"

#include <QCryptographicHash>

namespace {

void putBigEndian(char *at, std::uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) {
        at[i] = char(value & 0xff);
        value >>= 8;
    }
}

} // namespace

SessionDieSource::SessionDieSource(QByteArrayView secret, QByteArrayView salt,
                                   std::uint64_t seq)
    : m_mac(QCryptographicHash::Sha256, secret.toByteArray())
{
    // Every message of the session is the salt, a zero byte and twelve bytes of numbers.
    m_message = salt.toByteArray();
    m_message += '\0';
    m_numberAt = m_message.size();
    m_message.resize(m_numberAt + 12);
    restart(seq);
}

void SessionDieSource::restart(std::uint64_t seq)
{
    m_seq = seq;
    m_block = 0;
    m_nextWord = 8;
}

QByteArray SessionDieSource::block(std::uint64_t seq, std::uint32_t block) const
{
    putBigEndian(m_message.data() + m_numberAt, seq, 8);
    putBigEndian(m_message.data() + m_numberAt + 8, block, 4);
    m_mac.reset();
    m_mac.addData(m_message);
    return m_mac.result();
}

void SessionDieSource::nextBlock()
{
    const QByteArray bytes = block(m_seq, m_block++);
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (int w = 0; w < 8; ++w, b += 4)
        m_words[std::size_t(w)] = std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16
                                  | std::uint32_t(b[2]) << 8 | std::uint32_t(b[3]);
    m_nextWord = 0;
}

std::uint32_t SessionDieSource::faceOf(std::uint32_t word, std::uint32_t faces)
{
    // 2^32 mod f, in 64 bits; the words below 2^32 - that split evenly among the faces.
    const std::uint64_t limit = (std::uint64_t(1) << 32) - (std::uint64_t(1) << 32) % faces;
    return word < limit ? word % faces + 1 : 0;
}

std::uint32_t SessionDieSource::roll(std::uint32_t faces)
{
    for (;;) {
        if (m_nextWord == 8)
            nextBlock();
        if (const std::uint32_t face = faceOf(m_words[std::size_t(m_nextWord++)], faces))
            return face;
    }
}

QByteArray SessionDieSource::commitment(QByteArrayView secret)
{
    return QCryptographicHash::hash(secret, QCryptographicHash::Sha256).toHex();
}

QByteArray SessionDieSource::hmac(QByteArrayView key, QByteArrayView message)
{
    return QMessageAuthenticationCode::hash(message.toByteArray(), key.toByteArray(),
                                            QCryptographicHash::Sha256);
}
