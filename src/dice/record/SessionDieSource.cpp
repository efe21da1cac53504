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
    : m_mac(secret)
{
    // Every message of the session starts with the salt and a zero byte: taken in once.
    m_mac.addPrefix(salt);
    m_mac.addPrefix(QByteArrayView("\0", 1));
    restart(seq);
}

void SessionDieSource::restart(std::uint64_t seq)
{
    m_seq = seq;
    m_block = 0;
    m_nextWord = 8;
}

Sha256::Digest SessionDieSource::blockDigest(std::uint64_t seq, std::uint32_t block) const
{
    char number[12];
    putBigEndian(number, seq, 8);
    putBigEndian(number + 8, block, 4);
    return m_mac.mac(QByteArrayView(number, sizeof number));
}

QByteArray SessionDieSource::block(std::uint64_t seq, std::uint32_t block) const
{
    const Sha256::Digest digest = blockDigest(seq, block);
    return QByteArray(reinterpret_cast<const char *>(digest.data()), Sha256::DigestBytes);
}

void SessionDieSource::nextBlock()
{
    const Sha256::Digest bytes = blockDigest(m_seq, m_block++);
    const unsigned char *b = bytes.data();
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
    return HmacSha256::hash(key, message);
}
