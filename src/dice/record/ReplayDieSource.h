#pragma once

#include "dice/record/RecordingDieSource.h"
#include "dice/record/SessionDieSource.h"

#include <span>

// Gives back the draws a record holds, in order, so that a roll can be made again exactly.
// Each die asked must be of the size recorded, and in a verifiable session whose secret is
// known the face must be the one the secret gives; the first draw that is not is kept (a
// valid face is returned in its place, so the roll can end), and so is a roll that asks for
// more dice than were recorded.
class ReplayDieSource final : public DieSource
{
public:
    enum class Fault { None, TooFew, OtherDie, NotTheSecretsFace };

    // `draws` must outlive the replay; `session`, when given, is restarted at the roll's
    // number by the caller.
    void replay(std::span<const DieDraw> draws, SessionDieSource *session)
    {
        m_draws = draws;
        m_session = session;
        m_next = 0;
        m_fault = Fault::None;
        m_faultAt = 0;
        m_expected = 0;
    }

    std::uint32_t roll(std::uint32_t faces) override
    {
        const std::size_t at = m_next++;
        if (m_fault != Fault::None)
            return 1;
        if (at >= m_draws.size())
            return fail(Fault::TooFew, at, faces);
        const DieDraw draw = m_draws[at];
        if (draw.faces != faces)
            return fail(Fault::OtherDie, at, faces);
        if (m_session) {
            const std::uint32_t face = m_session->roll(faces);
            if (face != draw.value)
                return fail(Fault::NotTheSecretsFace, at, face);
        }
        return draw.value;
    }

    // How many dice the roll asked for.
    std::size_t asked() const { return m_next; }
    Fault fault() const { return m_fault; }
    // The 0-based draw at fault, and what was expected there: the die size asked (TooFew,
    // OtherDie) or the secret's face (NotTheSecretsFace).
    std::size_t faultAt() const { return m_faultAt; }
    std::uint32_t expected() const { return m_expected; }

private:
    std::uint32_t fail(Fault fault, std::size_t at, std::uint32_t expected)
    {
        m_fault = fault;
        m_faultAt = at;
        m_expected = expected;
        return 1;
    }

    std::span<const DieDraw> m_draws;
    SessionDieSource *m_session = nullptr;
    std::size_t m_next = 0;
    Fault m_fault = Fault::None;
    std::size_t m_faultAt = 0;
    std::uint32_t m_expected = 0;
};
