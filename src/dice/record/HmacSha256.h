#pragma once

#include "dice/record/Sha256.h"

#include <QByteArray>
#include <QByteArrayView>

// HMAC-SHA256 (RFC 2104) for one key and many messages: the hash states after the key's
// inner and outer pads are worked out once, so each message costs only its own bytes, the
// 32-byte inner digest and two paddings. A fixed start of every message (a session's salt)
// can be taken in once as well. Nothing is allocated per message.
class HmacSha256
{
public:
    explicit HmacSha256(QByteArrayView key);

    // Every later message starts with `bytes` (after what earlier calls added).
    void addPrefix(QByteArrayView bytes);

    // The MAC of the prefix followed by `message`.
    Sha256::Digest mac(QByteArrayView message) const;

    static QByteArray hash(QByteArrayView key, QByteArrayView message);

private:
    Sha256 m_inner; // key ^ ipad, then the prefix
    Sha256 m_outer; // key ^ opad
};
