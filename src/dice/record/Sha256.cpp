#include "dice/record/Sha256.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUESSAR_SHA256_HARDWARE 1
#endif

namespace {

constexpr std::array<std::uint32_t, 64> RoundConstants{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
    0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
    0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
    0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
    0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
    0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
    0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
    0xc67178f2};

constexpr std::uint32_t rotateRight(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

void compressPortable(std::array<std::uint32_t, 8> &state, const unsigned char *block);

#ifdef QUESSAR_SHA256_HARDWARE
// The SHA extensions: sha256rnds2 does two rounds on the state held as ABEF and CDGH,
// sha256msg1 and sha256msg2 the message schedule, four words at a time.
__attribute__((target("sha,sse4.1"))) void compressHardware(std::array<std::uint32_t, 8> &state,
                                                             const unsigned char *block)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    const __m128i dcba = _mm_shuffle_epi32(
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(state.data())), 0xB1);
    const __m128i hgfe = _mm_shuffle_epi32(
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(state.data() + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
    __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i w[16];
    for (int g = 0; g < 16; ++g) {
        if (g < 4) {
            w[g] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * g)), byteSwap);
        } else {
            // W[t] = W[t-16] + s0(W[t-15]) + W[t-7] + s1(W[t-2]), four t at once
            const __m128i partial = _mm_add_epi32(_mm_sha256msg1_epu32(w[g - 4], w[g - 3]),
                                                  _mm_alignr_epi8(w[g - 1], w[g - 2], 4));
            w[g] = _mm_sha256msg2_epu32(partial, w[g - 1]);
        }
        const __m128i message = _mm_add_epi32(
            w[g], _mm_loadu_si128(reinterpret_cast<const __m128i *>(RoundConstants.data() + 4 * g)));
        cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
        abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(message, 0x0E));
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state.data()), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state.data() + 4), _mm_alignr_epi8(dchg, feba, 8));
}

bool hasHardware()
{
    static const bool has = __builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1");
    return has;
}
#else
bool hasHardware()
{
    return false;
}
#endif

Sha256::Engine &chosenEngine()
{
    static Sha256::Engine engine =
        hasHardware() ? Sha256::Engine::Hardware : Sha256::Engine::Portable;
    return engine;
}

} // namespace

bool Sha256::useEngine(Engine engine)
{
    if (engine == Engine::Hardware && !hasHardware())
        return false;
    chosenEngine() = engine;
    return true;
}

Sha256::Engine Sha256::engine()
{
    return chosenEngine();
}

void Sha256::compress(const unsigned char *block)
{
#ifdef QUESSAR_SHA256_HARDWARE
    if (chosenEngine() == Engine::Hardware) {
        compressHardware(m_state, block);
        return;
    }
#endif
    compressPortable(m_state, block);
}

namespace {

void compressPortable(std::array<std::uint32_t, 8> &state, const unsigned char *block)
{
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i, block += 4)
        w[i] = std::uint32_t(block[0]) << 24 | std::uint32_t(block[1]) << 16
               | std::uint32_t(block[2]) << 8 | std::uint32_t(block[3]);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 =
            rotateRight(w[i - 15], 7) ^ rotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 =
            rotateRight(w[i - 2], 17) ^ rotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3],
                  e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t s1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
        const std::uint32_t choice = (e & f) ^ (~e & g);
        const std::uint32_t t1 = h + s1 + choice + RoundConstants[std::size_t(i)] + w[i];
        const std::uint32_t s0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
        const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        const std::uint32_t t2 = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

} // namespace

void Sha256::add(QByteArrayView bytes)
{
    const auto *from = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t left = std::size_t(bytes.size());
    std::size_t buffered = std::size_t(m_length % BlockBytes);
    m_length += left;
    if (buffered > 0) {
        const std::size_t take = std::min(left, std::size_t(BlockBytes) - buffered);
        std::memcpy(m_buffer.data() + buffered, from, take);
        from += take;
        left -= take;
        buffered += take;
        if (buffered < std::size_t(BlockBytes))
            return;
        compress(m_buffer.data());
    }
    for (; left >= std::size_t(BlockBytes); left -= BlockBytes, from += BlockBytes)
        compress(from);
    if (left > 0)
        std::memcpy(m_buffer.data(), from, left);
}

Sha256::Digest Sha256::finish()
{
    // 0x80, zeros up to 56 bytes into a block, then the length in bits, big-endian.
    const std::uint64_t bits = m_length * 8;
    std::size_t at = std::size_t(m_length % BlockBytes);
    m_buffer[at++] = 0x80;
    if (at > 56) {
        std::memset(m_buffer.data() + at, 0, std::size_t(BlockBytes) - at);
        compress(m_buffer.data());
        at = 0;
    }
    std::memset(m_buffer.data() + at, 0, 56 - at);
    for (int i = 0; i < 8; ++i)
        m_buffer[std::size_t(56 + i)] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    compress(m_buffer.data());
    Digest digest;
    for (std::size_t i = 0; i < 8; ++i) {
        digest[4 * i] = static_cast<unsigned char>(m_state[i] >> 24);
        digest[4 * i + 1] = static_cast<unsigned char>(m_state[i] >> 16);
        digest[4 * i + 2] = static_cast<unsigned char>(m_state[i] >> 8);
        digest[4 * i + 3] = static_cast<unsigned char>(m_state[i]);
    }
    return digest;
}

QByteArray Sha256::hash(QByteArrayView bytes)
{
    Sha256 sha;
    sha.add(bytes);
    const Digest digest = sha.finish();
    return QByteArray(reinterpret_cast<const char *>(digest.data()), DigestBytes);
}
