#pragma once

#include "dice/record/RecordingDieSource.h"

#include <span>

// Gives back the draws a record holds, in order, to replay a roll. A draw asked with another
// die size than the record's, a face outside its die, or a draw past the last one is a fault:
// the source then gives 1 (so the roll can finish) and remembers the first fault.
class ReplayDieSource final : public DieSource
{
public:
    explicit ReplayDieSource(std::span<const DieDraw> draws) : m_draws(draws) {}

    std::uint32_t roll(std::uint32_t faces) override;

    // How many draws the roll took (asked), and whether every one matched the record.
    std::size_t used() const { return m_next; }
    bool faulty() const { return m_fault >= 0; }
    // The first faulty draw (0-based), and the die size the roller asked for there.
    qsizetype faultIndex() const { return m_fault; }
    std::uint32_t faultFaces() const { return m_faultFaces; }
    // True when the roll took exactly the recorded draws, every one as recorded.
    bool exact() const { return !faulty() && m_next == m_draws.size(); }

private:
    std::span<const DieDraw> m_draws;
    std::size_t m_next = 0;
    qsizetype m_fault = -1;
    std::uint32_t m_faultFaces = 0;
};
