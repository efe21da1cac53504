// SHA-256 and HMAC-SHA256 of a verifiable session's draws: the published FIPS 180-4 vectors
// (RFC 4231's are with the session's dice), then Qt's own hash and MAC on random keys and messages of every length
// around the block boundaries, fed whole and in pieces; each with the portable compression
// and, where the processor has them, its SHA instructions.

#include "dice/record/HmacSha256.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QByteArray hex(const Sha256::Digest &digest)
{
    return QByteArray(reinterpret_cast<const char *>(digest.data()), Sha256::DigestBytes).toHex();
}

// Runs `check` once per compression engine this processor has, then restores the default.
template<typename Check>
void onEveryEngine(Check check)
{
    const Sha256::Engine chosen = Sha256::engine();
    for (const Sha256::Engine engine : {Sha256::Engine::Portable, Sha256::Engine::Hardware}) {
        if (!Sha256::useEngine(engine))
            continue;
        SCOPED_TRACE(engine == Sha256::Engine::Portable ? "portable" : "hardware");
        check();
    }
    Sha256::useEngine(chosen);
}

QByteArray randomBytes(QRandomGenerator &random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

TEST(Sha256, MatchesTheFipsVectors)
{
    struct Case
    {
        QByteArray message;
        const char *digest;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
         "lmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {QByteArray(1'000'000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    onEveryEngine([&] {
        for (const Case &c : cases)
            EXPECT_EQ(Sha256::hash(c.message).toHex(), c.digest) << c.message.size() << " bytes";
    });
}

// Every length from 0 to three blocks (the padding's one- and two-block cases included),
// whole and split at every third byte, against QCryptographicHash.
TEST(Sha256, AgreesWithQtOnEveryLengthAndSplit)
{
    onEveryEngine([] {
        QRandomGenerator random(20261208);
        for (qsizetype size = 0; size <= 3 * Sha256::BlockBytes + 1; ++size) {
            const QByteArray message = randomBytes(random, size);
            const QByteArray expected =
                QCryptographicHash::hash(message, QCryptographicHash::Sha256);
            ASSERT_EQ(Sha256::hash(message), expected) << size;
            for (qsizetype cut = 0; cut <= size; cut += 3) {
                Sha256 pieces;
                pieces.add(QByteArrayView(message).first(cut));
                pieces.add(QByteArrayView(message).sliced(cut));
                ASSERT_EQ(hex(pieces.finish()), expected.toHex()) << size << " cut at " << cut;
            }
        }
    });
}

// Random keys and messages of the lengths where HMAC changes path (a key shorter than, as
// long as and longer than a block; a message that fits the inner block with its padding or
// not), against QMessageAuthenticationCode; with part of the message taken in as a prefix.
TEST(HmacSha256, AgreesWithQtOnRandomKeysAndMessages)
{
    onEveryEngine([] {
        const qsizetype keySizes[] = {0, 1, 20, 32, 63, 64, 65, 131};
        const qsizetype messageSizes[] = {0, 1, 12, 13, 55, 56, 64, 100, 200};
        QRandomGenerator random(42);
        for (const qsizetype keySize : keySizes) {
            for (const qsizetype messageSize : messageSizes) {
                const QByteArray key = randomBytes(random, keySize);
                const QByteArray message = randomBytes(random, messageSize);
                const QByteArray expected =
                    QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
                EXPECT_EQ(HmacSha256::hash(key, message), expected)
                    << "key " << keySize << " message " << messageSize;
                const qsizetype cut = messageSize / 2;
                HmacSha256 prefixed(key);
                prefixed.addPrefix(QByteArrayView(message).first(cut));
                const QByteArrayView rest = QByteArrayView(message).sliced(cut);
                EXPECT_EQ(hex(prefixed.mac(rest)), expected.toHex())
                    << "key " << keySize << " message " << messageSize << " prefix " << cut;
                // The same object gives every message its own MAC: nothing of one stays behind.
                EXPECT_EQ(hex(prefixed.mac(rest)), expected.toHex());
            }
        }
    });
}

} // namespace
