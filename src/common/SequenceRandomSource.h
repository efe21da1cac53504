#pragma once

#include "common/RandomSource.h"

#include <QList>

#include <utility>

// Replays a fixed list of values, from the start again once it runs out; reseeding changes
// nothing. Lets tests and fuzzers state exactly which draws a piece of code gets.
class SequenceRandomSource final : public RandomSource
{
public:
    explicit SequenceRandomSource(QList<float> values) : m_values(std::move(values)) {}

    float next() override
    {
        if (m_values.isEmpty())
            return 0.0f;
        const float value = m_values.at(m_position);
        m_position = (m_position + 1) % m_values.size();
        ++m_draws;
        return value;
    }
    void reseed(double) override {}

    qsizetype draws() const { return m_draws; }

private:
    QList<float> m_values;
    qsizetype m_position = 0;
    qsizetype m_draws = 0;
};
