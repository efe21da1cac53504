#include "dice/record/ReplayDieSource.h"

std::uint32_t ReplayDieSource::roll(std::uint32_t faces)
{
    const std::size_t index = m_next++;
    if (index < m_draws.size()) {
        const DieDraw &draw = m_draws[index];
        if (draw.faces == faces && draw.value >= 1 && draw.value <= faces)
            return draw.value;
    }
    if (m_fault < 0) {
        m_fault = qsizetype(index);
        m_faultFaces = faces;
    }
    return 1;
}
