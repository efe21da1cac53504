#include "common/RandomSource.h"

#include "common/SplitMixRandomSource.h"

RandomSource *RandomSource::s_override = nullptr;

RandomSource &RandomSource::process()
{
    static SplitMixRandomSource generator;
    return s_override ? *s_override : generator;
}
