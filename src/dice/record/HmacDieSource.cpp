#include "dice/record/HmacDieSource.h"

#include <QtEndian>

HmacDieSource::HmacDieSource(QByteArrayView secret, QByteArrayView salt)
    : m_mac(QCryptographicHash::Sha256, secret.toByteArray())
{
    m_message = salt.toByteArray();
    m_message += '\0';
    m_counterAt = m_message.size();
    m_message.resize(m_counterAt + 12);
}

void HmacDieSource::startRoll(std::uint64_t seq)
{
    m_seq = seq;
    m_block = 0;
    m_nextWord = m_words.size();
}

void HmacDieSource::nextBlock()
{
    auto *counter = reinterpret_cast<uchar *>(m_message.data() + m_counterAt);
    qToBigEndian<quint64>(m_seq, counter);
    qToBigEndian<quint32>(m_block, counter + 8);
    ++m_block;
    m_mac.reset();
    m_mac.addData(m_message);
    const QByteArray digest = m_mac.result();
    const auto *bytes = reinterpret_cast<const uchar *>(digest.constData());
    for (std::size_t w = 0; w < m_words.size(); ++w)
        m_words[w] = qFromBigEndian<quint32>(bytes + 4 * w);
    m_nextWord = 0;
}

std::uint32_t HmacDieSource::roll(std::uint32_t faces)
{
    constexpr std::uint64_t range = std::uint64_t(1) << 32;
    const std::uint64_t limit = range - range % faces;
    for (;;) {
        if (m_nextWord == m_words.size())
            nextBlock();
        const std::uint32_t word = m_words[m_nextWord++];
        if (word < limit)
            return word % faces + 1;
    }
}
