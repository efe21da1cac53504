#pragma once

#include "common/RandomSource.h"

// Makes source the process-wide random source for the lifetime of this object, then puts
// the previous one back. Meant for tests that need exact draws.
class ScopedRandomSource
{
public:
    explicit ScopedRandomSource(RandomSource &source) : m_previous(RandomSource::s_override)
    {
        RandomSource::s_override = &source;
    }
    ~ScopedRandomSource() { RandomSource::s_override = m_previous; }

    ScopedRandomSource(const ScopedRandomSource &) = delete;
    ScopedRandomSource &operator=(const ScopedRandomSource &) = delete;

private:
    RandomSource *m_previous;
};
