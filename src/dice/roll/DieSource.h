#pragma once

#include <cstdint>

// Where the dice notation roller gets its dice from. Tests and fuzzers inject sources that
// return fixed faces; the command line uses SplitMixDieSource.
class DieSource
{
public:
    virtual ~DieSource() = default;

    // One die of `faces` faces (1 <= faces): a value from 1 to faces. A Fate die is rolled as
    // a three-faced die whose 1, 2 and 3 stand for -1, 0 and +1.
    virtual std::uint32_t roll(std::uint32_t faces) = 0;

protected:
    DieSource() = default;
    DieSource(const DieSource &) = default;
    DieSource &operator=(const DieSource &) = default;
};
