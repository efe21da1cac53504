#pragma once

#include <QtGlobal>

// The small figure that spins and runs up and down the black strip of the main window. One
// call of StepFigure is one tick of the figure's timer.
struct FigureAnimation
{
    static constexpr int FrameCount = 10;
    static constexpr int Step = 10; // pixels per tick

    qint16 nextFrame = 0; // the frame the next tick shows, 0..9
    bool goingUp = false;
    int top = 0; // top of the figure inside the strip
};

// One tick: returns the frame to show now, moves the figure one step and turns it at the ends.
// The figure turns after the move that reaches or passes an end, so at the bottom it may stand
// partly below the strip for one tick (the strip clips it); at the top it stops at 0.
int StepFigure(FigureAnimation &state, int figureHeight, int stripHeight);
