#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

// SHA-256 (FIPS 180-4), fed in pieces. The object is small and trivially copyable, so a hash
// that has taken a fixed prefix can be copied and carried on from there: HmacSha256 keeps
// the states after its key's two pads that way, and a verifiable session's draws then cost
// two compressions each instead of a keyed MAC set up again for every block.
class Sha256
{
public:
    static constexpr qsizetype DigestBytes = 32;
    static constexpr qsizetype BlockBytes = 64;
    using Digest = std::array<unsigned char, DigestBytes>;

    void add(QByteArrayView bytes);
    // The digest of everything added; the object is left in an unspecified state.
    Digest finish();

    static QByteArray hash(QByteArrayView bytes);

    // How a block is compressed: in plain C++, or with the processor's SHA instructions
    // where it has them (chosen by default; several times faster).
    enum class Engine { Portable, Hardware };
    // False, and nothing changed, when this processor lacks the engine.
    static bool useEngine(Engine engine);
    static Engine engine();

private:
    void compress(const unsigned char *block);

    std::array<std::uint32_t, 8> m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, BlockBytes> m_buffer{};
    std::uint64_t m_length = 0; // bytes added so far
};
