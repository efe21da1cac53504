#pragma once

#include "dice/roll/DieSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QMessageAuthenticationCode>

#include <array>
#include <cstdint>

// The dice of a verifiable session ("sorteio":"hmac-sha256-v1"): every draw of roll `seq`
// comes from HMAC-SHA256 keyed by the session's 32-byte secret over
//     salt (UTF-8, empty when none) || 0x00 || seq (8 bytes, big-endian) || block (4 bytes,
//     big-endian: 0, 1, 2 …)
// Each 32-byte block gives eight 32-bit big-endian words, used in order. A word x gives a
// die of f faces the face x mod f + 1 when x < 2^32 - (2^32 mod f), and is skipped
// otherwise, so every face is exactly equally likely. A roll's dice are thus fixed by its
// number before anyone knows the expression, and anyone holding the secret can recompute
// them.
class SessionDieSource final : public DieSource
{
public:
    static constexpr qsizetype SecretBytes = 32;

    // `secret` holds SecretBytes bytes; `salt` is the players' salt as UTF-8.
    SessionDieSource(QByteArrayView secret, QByteArrayView salt, std::uint64_t seq);

    // Starts over at the first draw of roll `seq`.
    void restart(std::uint64_t seq);

    std::uint32_t roll(std::uint32_t faces) override;

    // Block `block` of roll `seq`: HMAC-SHA256(secret, salt || 0 || seq || block).
    QByteArray block(std::uint64_t seq, std::uint32_t block) const;

    // The face a word gives a die of `faces` faces, or 0 when the word is skipped.
    static std::uint32_t faceOf(std::uint32_t word, std::uint32_t faces);

    // The lower-case hex SHA-256 of the secret: the commitment a session's header holds.
    static QByteArray commitment(QByteArrayView secret);

    // HMAC-SHA256 of `message` keyed by `key`.
    static QByteArray hmac(QByteArrayView key, QByteArrayView message);

private:
    void nextBlock();

    // Qt's HMAC, keyed by the secret, and the message whose last twelve bytes change.
    mutable QMessageAuthenticationCode m_mac;
    mutable QByteArray m_message; // salt || 0x00 || seq || block
    qsizetype m_numberAt = 0;
    std::uint64_t m_seq = 0;
    std::uint32_t m_block = 0;
    std::array<std::uint32_t, 8> m_words{};
    int m_nextWord = 8;
};
