#include "common/RandomSource.h"
#include "common/ScopedRandomSource.h"
#include "common/SequenceRandomSource.h"
#include "common/SplitMixRandomSource.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

TEST(SplitMixRandomSource, DrawsStayInTheHalfOpenUnitInterval)
{
    SplitMixRandomSource source;
    std::array<int, 10> deciles{};
    for (int i = 0; i < 100000; ++i) {
        const float r = source.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ++deciles[static_cast<std::size_t>(r * 10)];
    }
    for (int count : deciles)
        EXPECT_NEAR(count, 10000, 500); // deterministic: fixed state, no flakiness
}

TEST(SplitMixRandomSource, LargestDrawIsJustBelowOne)
{
    // The float is built from the top 24 bits, so all-ones bits give 1 - 2^-24, not 1.0.
    EXPECT_EQ(static_cast<float>(0xFFFFFFFFu >> 8) * 0x1p-24f, std::nextafter(1.0f, 0.0f));
}

TEST(SplitMixRandomSource, EveryRunStartsFromTheSameState)
{
    SplitMixRandomSource a;
    SplitMixRandomSource b;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(a.next(), b.next());
}

TEST(SplitMixRandomSource, ReseedMixesIntoTheCurrentState)
{
    SplitMixRandomSource source;
    source.reseed(45000.0);
    const float first = source.next();
    source.reseed(45000.0); // the same clock second again
    EXPECT_NE(source.next(), first);

    SplitMixRandomSource a;
    SplitMixRandomSource b;
    a.reseed(1.0);
    b.reseed(2.0);
    EXPECT_NE(a.state(), b.state());
}

TEST(ScopedRandomSource, InstallsAndRestoresTheProcessSource)
{
    RandomSource &own = RandomSource::process();
    SequenceRandomSource fixed({0.25f, 0.75f});
    {
        ScopedRandomSource scope(fixed);
        EXPECT_EQ(&RandomSource::process(), &fixed);
        EXPECT_EQ(RandomSource::process().next(), 0.25f);
        EXPECT_EQ(RandomSource::process().next(), 0.75f);
        EXPECT_EQ(RandomSource::process().next(), 0.25f); // starts over
    }
    EXPECT_EQ(&RandomSource::process(), &own);
}
