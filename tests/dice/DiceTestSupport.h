#pragma once

// What the dice engine's tests share: parsing and evaluating that fail the test on a refusal,
// and die sources that hand out chosen faces.

#include "dice/format/DiceOutcomeFormat.h"
#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"
#include "dice/roll/DiceRoller.h"
#include "dice/roll/DieSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace dicetest {

// Hands out the listed faces in order, from the start again when they run out, and records
// the face counts it was asked for.
class FixedDieSource final : public DieSource
{
public:
    explicit FixedDieSource(std::vector<std::uint32_t> faces) : m_faces(std::move(faces)) {}

    std::uint32_t roll(std::uint32_t faces) override
    {
        asked.push_back(faces);
        const std::uint32_t face = m_faces[m_next++ % m_faces.size()];
        EXPECT_TRUE(face >= 1 && face <= faces) << face << " on a d" << faces;
        return face;
    }

    std::vector<std::uint32_t> asked;

private:
    std::vector<std::uint32_t> m_faces;
    std::size_t m_next = 0;
};

// Every die shows its highest face, or every die its lowest: the draws that drive rerolls,
// explosions and unique rolls to their caps.
class EndDieSource final : public DieSource
{
public:
    explicit EndDieSource(bool highest) : m_highest(highest) {}
    std::uint32_t roll(std::uint32_t faces) override { return m_highest ? faces : 1; }

private:
    bool m_highest;
};

// `text` parsed; a refusal fails the test.
inline DiceExpression parsed(const QString &text)
{
    auto result = DiceNotation::parse(text);
    if (const auto *error = std::get_if<DiceNotationError>(&result)) {
        ADD_FAILURE() << text.toStdString() << ": " << error->position << " "
                      << error->message.toStdString();
        return {};
    }
    return std::get<DiceExpression>(std::move(result));
}

// The exact odds of `expression`; a refusal fails the test.
inline DiceDistribution odds(const DiceExpression &expression)
{
    auto result = DiceOdds::evaluate(expression);
    if (const auto *refusal = std::get_if<DiceOddsRefusal>(&result)) {
        ADD_FAILURE() << expression.text().toStdString() << ": "
                      << refusal->reason.toStdString();
        return {};
    }
    return std::get<DiceDistribution>(std::move(result));
}

inline std::map<Fraction, double> asMap(const DiceDistribution &distribution)
{
    std::map<Fraction, double> map;
    distribution.forEach([&](Fraction value, double p) { map[value] = p; });
    return map;
}

inline QString detailsLine(const DiceExpression &expression, const DiceOutcome &outcome)
{
    QByteArray line;
    AppendDiceDetailsLine(line, expression, outcome);
    return QString::fromUtf8(line);
}

// Walks every sequence of draws a roll can make, like an odometer: the first roll draws 1
// every time it asks for a die; each next one repeats the draws before the last that can
// still go up, raises that one and draws 1 after it. A sequence's chance is the product of
// 1/faces over its draws.
class OdometerDieSource final : public DieSource
{
public:
    std::uint32_t roll(std::uint32_t faces) override
    {
        if (m_next == m_draws.size()) {
            m_draws.push_back(1);
            m_faces.push_back(faces);
        }
        EXPECT_EQ(m_faces[m_next], faces);
        return m_draws[m_next++];
    }

    long double chance() const
    {
        long double p = 1;
        for (const std::uint32_t faces : m_faces)
            p /= faces;
        return p;
    }

    bool advance()
    {
        EXPECT_EQ(m_next, m_draws.size());
        m_next = 0;
        while (!m_draws.empty()) {
            if (m_draws.back() < m_faces.back()) {
                ++m_draws.back();
                return true;
            }
            m_draws.pop_back();
            m_faces.pop_back();
        }
        return false;
    }

private:
    std::vector<std::uint32_t> m_draws;
    std::vector<std::uint32_t> m_faces;
    std::size_t m_next = 0;
};

// The exact odds of `expression` by rolling it through the real DiceRoller for every
// sequence of draws it can make; `sequences` counts them.
inline std::map<Fraction, long double> enumerated(const DiceExpression &expression, qint64 &sequences)
{
    OdometerDieSource source;
    DiceRoller roller(expression, source);
    std::map<Fraction, long double> odds;
    sequences = 0;
    do {
        EXPECT_TRUE(roller.roll());
        odds[roller.outcome().total] += source.chance();
        ++sequences;
    } while (source.advance());
    return odds;
}

} // namespace dicetest
