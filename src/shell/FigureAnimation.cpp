#include "shell/FigureAnimation.h"

int StepFigure(FigureAnimation &state, int figureHeight, int stripHeight)
{
    const int shown = state.nextFrame;
    state.nextFrame = static_cast<qint16>(shown + 1 < FigureAnimation::FrameCount ? shown + 1 : 0);

    if (state.goingUp) {
        state.top -= FigureAnimation::Step;
        if (state.top <= 0)
            state.goingUp = false;
    } else {
        state.top += FigureAnimation::Step;
        // The sum is taken in single precision, as the strip measures itself in reals.
        if (static_cast<float>(state.top) + static_cast<float>(figureHeight)
            >= static_cast<float>(stripHeight))
            state.goingUp = true;
    }
    return shown;
}
