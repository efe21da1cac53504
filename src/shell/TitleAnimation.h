#pragma once

#include <QtGlobal>

// The title's slide through the banner when the main window opens: right until its right end
// meets the banner's right edge, back to the left edge, right until its right end meets the
// middle, back to the left edge, and stop. One call of StepTitle is one tick of its timer.
struct TitleAnimation
{
    static constexpr int Step = 5; // pixels per tick

    qint16 step = 1; // the current leg, 1..4
    int x = 0;       // left edge of the title inside the banner
    bool running = true;

    // The state at the start: leg 1, the title just left of the banner's inner left edge.
    static TitleAnimation start(int titleWidth, int innerLeft = 0)
    {
        return {1, innerLeft - titleWidth, true};
    }
};

// What one tick did.
enum class TitleTick { Moved, ChangedLeg, Stopped, Idle };

// One tick for a title `titleWidth` wide in a banner `bannerWidth` wide whose inner left edge is
// `innerLeft`. A tick that changes the leg or stops does not move the title. Once stopped, or
// with a leg outside 1..4, a tick does nothing.
TitleTick StepTitle(TitleAnimation &state, int titleWidth, int bannerWidth, int innerLeft = 0);
