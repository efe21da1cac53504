#include "dice/record/HmacSha256.h"

#include <algorithm>

HmacSha256::HmacSha256(QByteArrayView key)
{
    // A key longer than a block is replaced by its hash; a shorter one is padded with zeros.
    std::array<unsigned char, Sha256::BlockBytes> pad{};
    if (key.size() > Sha256::BlockBytes) {
        Sha256 sha;
        sha.add(key);
        const Sha256::Digest digest = sha.finish();
        std::copy(digest.begin(), digest.end(), pad.begin());
    } else {
        std::copy(key.begin(), key.end(), pad.begin());
    }
    const auto bytes = [&pad] {
        return QByteArrayView(reinterpret_cast<const char *>(pad.data()), pad.size());
    };
    for (unsigned char &b : pad)
        b ^= 0x36;
    m_inner.add(bytes());
    for (unsigned char &b : pad)
        b ^= 0x36 ^ 0x5c;
    m_outer.add(bytes());
}

void HmacSha256::addPrefix(QByteArrayView bytes)
{
    m_inner.add(bytes);
}

Sha256::Digest HmacSha256::mac(QByteArrayView message) const
{
    Sha256 inner = m_inner;
    inner.add(message);
    const Sha256::Digest innerDigest = inner.finish();
    Sha256 outer = m_outer;
    outer.add(QByteArrayView(reinterpret_cast<const char *>(innerDigest.data()),
                             Sha256::DigestBytes));
    return outer.finish();
}

QByteArray HmacSha256::hash(QByteArrayView key, QByteArrayView message)
{
    const Sha256::Digest digest = HmacSha256(key).mac(message);
    return QByteArray(reinterpret_cast<const char *>(digest.data()), Sha256::DigestBytes);
}
