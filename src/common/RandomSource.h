#pragma once

// A source of uniform reals r with 0 <= r < 1, held in single precision.
//
// The program draws every random choice from one process-wide source (process()). It starts
// from the same fixed state at every run, so the first names of a run are always the same,
// and is reseeded from the clock only where a window asks for it. Tests swap in a source of
// fixed values with ScopedRandomSource.
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    // The next real of the sequence, 0 <= r < 1.
    virtual float next() = 0;

    // Mixes value into the current state: two reseeds with the same value give different
    // sequences, so two dice rolls within the same clock second still differ.
    virtual void reseed(double value) = 0;

    // The source every window draws from: the installed override, or the process's own
    // generator.
    static RandomSource &process();

protected:
    RandomSource() = default;
    RandomSource(const RandomSource &) = default;
    RandomSource &operator=(const RandomSource &) = default;

private:
    friend class ScopedRandomSource;
    static RandomSource *s_override;
};
