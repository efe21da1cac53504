#pragma once

#include <QtGlobal>

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

    // One draw mapped to a 0-based position in a list of n entries: floor(r * n), computed in
    // double so that r < 1 always stays below n. Returns 0 for an empty list.
    qsizetype nextPosition(qsizetype n) { return positionOf(next(), n); }

    // The position a draw r stands for in a list of n entries (see nextPosition). The bounds
    // only guard against a faulty injected source (r outside [0, 1), NaN).
    static qsizetype positionOf(float r, qsizetype n)
    {
        const double scaled = double(r) * double(n);
        if (scaled >= double(n))
            return n > 0 ? n - 1 : 0;
        // For the non-negative product a truncating conversion is the floor, and much
        // cheaper than a call to floor().
        return scaled > 0.0 ? static_cast<qsizetype>(scaled) : 0;
    }

    // nextPosition for a source whose type the caller knows: with a final class such as
    // SplitMixRandomSource the draw is a direct, inlinable call instead of a virtual one.
    template <typename Source> static qsizetype nextPositionOf(Source &source, qsizetype n)
    {
        return positionOf(source.next(), n);
    }

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
