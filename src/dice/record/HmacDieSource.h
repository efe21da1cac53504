#pragma once

#include "dice/roll/DieSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QMessageAuthenticationCode>

#include <array>
#include <cstdint>

// The dice of a verifiable session: every draw of roll number `seq` comes from
//
//   HMAC-SHA256(key = secret, message = salt (UTF-8) || 0x00 || seq (8 bytes, big-endian)
//                                        || block (4 bytes, big-endian))
//
// for block = 0, 1, 2…, each 32-byte block read as eight 32-bit big-endian words in order.
// A die of f faces takes words until one is below 2^32 - (2^32 mod f) and shows
// (word mod f) + 1, so every face is exactly equally likely; a rejected word is skipped.
// A roll's dice are then fixed by the secret, the salt and its number before anyone knows
// the expression, and anyone who learns the secret can recompute them.
class HmacDieSource final : public DieSource
{
public:
    HmacDieSource(QByteArrayView secret, QByteArrayView salt);

    // Starts the draws of roll number `seq`: block 0, first word.
    void startRoll(std::uint64_t seq);

    std::uint32_t roll(std::uint32_t faces) override;

private:
    void nextBlock();

    QMessageAuthenticationCode m_mac;
    QByteArray m_message; // salt, 0x00, then 12 bytes of seq and block rewritten per block
    qsizetype m_counterAt = 0;
    std::uint64_t m_seq = 0;
    std::uint32_t m_block = 0;
    std::array<std::uint32_t, 8> m_words{};
    std::size_t m_nextWord = 8;
};
