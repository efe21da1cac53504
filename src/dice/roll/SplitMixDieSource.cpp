#include "dice/roll/SplitMixDieSource.h"

std::uint32_t SplitMixDieSource::roll(std::uint32_t faces)
{
    // Lemire's bounded integers: the high half of a 32-bit draw times `faces` is a face, and
    // the low half tells whether the draw fell into the small region that would make some
    // faces more likely than others; such draws are taken again. Whole-number arithmetic
    // only, so the faces do not depend on the machine's floating point.
    std::uint64_t product = std::uint64_t(m_bits.nextBits()) * faces;
    auto low = static_cast<std::uint32_t>(product);
    if (low < faces) {
        const std::uint32_t threshold = (0u - faces) % faces;
        while (low < threshold) {
            product = std::uint64_t(m_bits.nextBits()) * faces;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<std::uint32_t>(product >> 32) + 1;
}
