#pragma once

#include "dice/roll/DieSource.h"

#include <cstdint>
#include <vector>

// One die drawn from a source: the die size asked and the face it gave.
struct DieDraw
{
    std::uint32_t faces = 0;
    std::uint32_t value = 0;

    friend bool operator==(const DieDraw &, const DieDraw &) = default;
};

// Passes every die on to another source and keeps what each draw asked and gave, in order,
// rerolled-away and exploded dice included: what a session record stores so that a roll can
// be replayed and its faces audited.
class RecordingDieSource final : public DieSource
{
public:
    explicit RecordingDieSource(DieSource &inner) : m_inner(inner) {}

    std::uint32_t roll(std::uint32_t faces) override
    {
        const std::uint32_t value = m_inner.roll(faces);
        m_draws.push_back({faces, value});
        return value;
    }

    const std::vector<DieDraw> &draws() const { return m_draws; }
    // Forgets the draws kept so far (before the next roll).
    void clear() { m_draws.clear(); }

private:
    DieSource &m_inner;
    std::vector<DieDraw> m_draws;
};
