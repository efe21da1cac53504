// The dice of a verifiable session: HMAC-SHA256, the commitment, the published test vectors
// and the rejection sampling that keeps every face equally likely.

#include "dice/record/SessionDieSource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The secret 00 01 02 … 1f of the published vectors.
QByteArray vectorSecret()
{
    QByteArray secret;
    for (int i = 0; i < 32; ++i)
        secret += char(i);
    return secret;
}

// RFC 4231, test cases 1–4, 6 and 7 (5 truncates its output; 6 and 7 hash a long key).
TEST(SessionDieSource, HmacSha256MatchesRfc4231)
{
    QByteArray counting;
    for (int i = 1; i <= 25; ++i)
        counting += char(i);
    struct Case
    {
        QByteArray key;
        QByteArray message;
        const char *mac;
    };
    const Case cases[] = {
        {QByteArray(20, '\x0b'), "Hi There",
         "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
        {"Jefe", "what do ya want for nothing?",
         "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
        {QByteArray(20, '\xaa'), QByteArray(50, '\xdd'),
         "773ea91e36800e46854db8ebd09181a72959098b3ef8c122d9635514ced565fe"},
        {counting, QByteArray(50, '\xcd'),
         "82558a389a443c0ea4cc819899f2083a85f0faa3e578f8077a2e3ff46729665b"},
        {QByteArray(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"},
        {QByteArray(131, '\xaa'),
         "This is a test using a larger than block-size key and a larger than block-size data. "
         "The key needs to be hashed before being used by the HMAC algorithm.",
         "9b09ffa71b942fcb27635fbcd5b0e944bfdc63644f0713938a7f51535c3a35e2"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SessionDieSource::hmac(c.key, c.message).toHex(), c.mac) << c.message.data();
}

TEST(SessionDieSource, CommitmentIsTheSecretsSha256)
{
    EXPECT_EQ(SessionDieSource::commitment(vectorSecret()),
              "630dcd2966c4336691125448bbb25b4ff412a49c732db2c8abc1b8581bd710dd");
}

// The vectors of quessar-registro(5): the first ten dice of a roll, past the first block of
// eight words; each row starts the roll afresh. Computed independently with Python's hmac.
TEST(SessionDieSource, FirstDrawsAreThePublishedVectors)
{
    struct Case
    {
        const char *salt;
        std::uint64_t seq;
        std::uint32_t faces;
        std::vector<std::uint32_t> draws;
    };
    const Case cases[] = {
        {"", 1, 6, {5, 5, 3, 5, 6, 6, 2, 2, 2, 5}},
        {"", 1, 20, {7, 1, 5, 17, 6, 14, 8, 4, 20, 17}},
        {"", 1, 100, {7, 81, 65, 97, 86, 94, 8, 24, 80, 57}},
        {"mesa", 1, 6, {6, 6, 1, 4, 6, 6, 4, 6, 4, 6}},
        {"mesa", 1, 20, {10, 6, 17, 4, 8, 4, 4, 10, 20, 12}},
        {"mesa", 1, 100, {50, 86, 77, 4, 68, 44, 84, 10, 40, 92}},
        {"mesa", 2, 6, {6, 3, 4, 5, 4, 3, 6, 1, 3, 4}},
        {"mesa", 2, 20, {8, 11, 20, 13, 2, 11, 6, 19, 5, 10}},
        {"mesa", 2, 100, {48, 91, 20, 13, 62, 51, 26, 79, 25, 70}},
        {"lobo azul 42", 1'000'000, 6, {1, 1, 5, 2, 6, 4, 4, 2, 4, 1}},
        {"lobo azul 42", 1'000'000, 20, {1, 3, 15, 8, 12, 12, 16, 6, 20, 15}},
        {"lobo azul 42", 1'000'000, 100, {21, 63, 75, 68, 92, 32, 36, 26, 20, 75}},
    };
    SessionDieSource reused(vectorSecret(), "mesa", 7);
    for (const Case &c : cases) {
        SessionDieSource source(vectorSecret(), QByteArray(c.salt), c.seq);
        std::vector<std::uint32_t> draws;
        for (std::size_t i = 0; i < c.draws.size(); ++i)
            draws.push_back(source.roll(c.faces));
        EXPECT_EQ(draws, c.draws) << c.salt << " seq " << c.seq << " d" << c.faces;
        if (QByteArrayView(c.salt) == "mesa") {
            // restart() gives the same dice as a fresh source
            reused.restart(c.seq);
            for (const std::uint32_t face : c.draws)
                EXPECT_EQ(reused.roll(c.faces), face);
        }
    }
    // The first block of the "mesa" roll 1, as the man page shows it.
    EXPECT_EQ(SessionDieSource(vectorSecret(), "mesa", 1).block(1, 0).toHex(),
              "11dbd34ddde9c3f142701e088d115fd7c724be93b12f06b7c056e3cb624ba49d");
}

// Words at or past 2^32 - (2^32 mod f) are skipped; the rest give x mod f + 1.
TEST(SessionDieSource, RejectionSamplingSkipsTheUnevenTop)
{
    struct Case
    {
        std::uint32_t word;
        std::uint32_t faces;
        std::uint32_t face; // 0: skipped
    };
    const Case cases[] = {
        {0, 6, 1},
        {4294967291u, 6, 4294967291u % 6 + 1}, // the last word kept: 2^32 mod 6 = 4
        {4294967292u, 6, 0},
        {4294967295u, 6, 0},
        {4294967294u, 3, 4294967294u % 3 + 1}, // 2^32 mod 3 = 1: only the top word goes
        {4294967295u, 3, 0},
        {4294967295u, 1, 1},
        {4294967295u, 2, 2}, // a power of two skips nothing
        {3999999999u, 1'000'000, 1'000'000},
        {4294000000u, 1'000'000, 0}, // 2^32 mod 10^6 = 967296
        {4293999999u, 1'000'000, 1'000'000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SessionDieSource::faceOf(c.word, c.faces), c.face)
            << c.word << " d" << c.faces;
}

} // namespace
