#include "shell/TitleAnimation.h"

TitleTick StepTitle(TitleAnimation &state, int titleWidth, int bannerWidth, int innerLeft)
{
    if (!state.running)
        return TitleTick::Idle;

    // The right end and the banner's middle are compared as single-precision reals; the middle
    // of an odd width keeps its half pixel.
    const float rightEnd = static_cast<float>(titleWidth + state.x);
    switch (state.step) {
    case 1:
        if (rightEnd < static_cast<float>(bannerWidth)) {
            state.x += TitleAnimation::Step;
            return TitleTick::Moved;
        }
        state.step = 2;
        return TitleTick::ChangedLeg;
    case 2:
        if (state.x > innerLeft) {
            state.x -= TitleAnimation::Step;
            return TitleTick::Moved;
        }
        state.step = 3;
        return TitleTick::ChangedLeg;
    case 3:
        if (static_cast<float>(bannerWidth / 2.0) > rightEnd) {
            state.x += TitleAnimation::Step;
            return TitleTick::Moved;
        }
        state.step = 4;
        return TitleTick::ChangedLeg;
    case 4:
        if (state.x > innerLeft) {
            state.x -= TitleAnimation::Step;
            return TitleTick::Moved;
        }
        state.running = false;
        return TitleTick::Stopped;
    default:
        return TitleTick::Idle;
    }
}
