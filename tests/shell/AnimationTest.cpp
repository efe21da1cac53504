#include "shell/FigureAnimation.h"
#include "shell/TitleAnimation.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

TEST(FigureAnimation, ShowsTheTenFramesInTurnFromFrameZero)
{
    FigureAnimation figure;
    for (int tick = 0; tick < 25; ++tick)
        EXPECT_EQ(StepFigure(figure, 16, 361), tick % 10) << "tick " << tick;
}

// The main window's strip: down 10, 20, …, 350, then up 340, …, 0, then down again; one cycle is
// 70 ticks and the figure never stands above the strip.
TEST(FigureAnimation, RunsDownAndUpTheMainWindowStrip)
{
    std::vector<int> expected;
    for (int top = 10; top <= 350; top += 10)
        expected.push_back(top);
    for (int top = 340; top >= 0; top -= 10)
        expected.push_back(top);
    ASSERT_EQ(expected.size(), 70u);

    FigureAnimation figure;
    for (int cycle = 0; cycle < 3; ++cycle) {
        for (std::size_t tick = 0; tick < expected.size(); ++tick) {
            StepFigure(figure, 16, 361);
            ASSERT_EQ(figure.top, expected[tick]) << "cycle " << cycle << " tick " << tick;
        }
    }
}

struct Turn
{
    int figureHeight;
    int stripHeight;
    int lowestTop;
};

class FigureTurn : public testing::TestWithParam<Turn>
{
};

// The figure turns on the first move that brings its bottom to or past the strip's bottom, so it
// may stand partly below the strip for one tick.
TEST_P(FigureTurn, TurnsAtTheFirstTopWhoseBottomReachesTheStripEnd)
{
    const Turn turn = GetParam();
    FigureAnimation figure;
    int lowest = 0;
    bool turned = false;
    for (int tick = 0; tick < 200 && !turned; ++tick) {
        StepFigure(figure, turn.figureHeight, turn.stripHeight);
        lowest = std::max(lowest, figure.top);
        turned = figure.goingUp;
    }
    ASSERT_TRUE(turned);
    EXPECT_EQ(lowest, turn.lowestTop);
    EXPECT_EQ(figure.top, turn.lowestTop);
    StepFigure(figure, turn.figureHeight, turn.stripHeight);
    EXPECT_EQ(figure.top, turn.lowestTop - 10);
}

INSTANTIATE_TEST_SUITE_P(Strips, FigureTurn,
                         testing::Values(Turn{16, 361, 350}, Turn{16, 366, 350},
                                         Turn{16, 367, 360}, Turn{16, 26, 10},
                                         Turn{16, 5, 10}, Turn{32, 361, 330}));

// Runs the title until it stops, counting the moves of each leg.
struct TitleRun
{
    std::array<int, 4> moves{};
    int ticks = 0;
    int finalX = 0;
};

TitleRun RunTitle(int width, int banner)
{
    TitleRun run;
    TitleAnimation title = TitleAnimation::start(width);
    while (title.running && run.ticks < 10000) {
        const int leg = title.step;
        const int x = title.x;
        const TitleTick tick = StepTitle(title, width, banner);
        ++run.ticks;
        if (tick == TitleTick::Moved) {
            ++run.moves[static_cast<std::size_t>(leg - 1)];
            EXPECT_EQ(title.x - x, leg % 2 == 1 ? 5 : -5);
        } else {
            EXPECT_EQ(title.x, x) << "a leg change or the stop moves nothing";
        }
    }
    run.finalX = title.x;
    return run;
}

struct Slide
{
    const char *name;
    int width;
    int banner;
    std::array<int, 4> moves;
    int ticks;
    int finalX;
};

class TitleSlide : public testing::TestWithParam<Slide>
{
};

TEST_P(TitleSlide, MovesThroughTheFourLegsAndStops)
{
    const Slide slide = GetParam();
    const TitleRun run = RunTitle(slide.width, slide.banner);
    EXPECT_EQ(run.moves, slide.moves);
    EXPECT_EQ(run.ticks, slide.ticks);
    EXPECT_EQ(run.finalX, slide.finalX);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleSlide,
    testing::Values(
        // 90 moves to x = 289, 58 back to -1, 13 to 64, 13 back to -1; four ticks only turn.
        Slide{"narrow", 161, 450, {90, 58, 13, 13}, 178, -1},
        // The middle of an odd banner keeps its half pixel: 225.5 > 225 lets leg 3 go one
        // step further than an integer half would.
        Slide{"odd_banner", 161, 451, {91, 59, 14, 14}, 182, -1},
        // Wider than half the banner: leg 3 turns at its first test, leg 4 stops at once.
        Slide{"wide", 300, 450, {90, 30, 0, 0}, 124, 0},
        // Wider than the banner: it never gets past the left edge.
        Slide{"wider_than_banner", 500, 450, {90, 0, 0, 0}, 94, -50}),
    [](const testing::TestParamInfo<Slide> &info) { return std::string(info.param.name); });

TEST(TitleAnimation, StartsJustLeftOfTheBannerAndStaysStoppedOnceDone)
{
    TitleAnimation title = TitleAnimation::start(161);
    EXPECT_EQ(title.x, -161);
    EXPECT_EQ(title.step, 1);
    while (title.running)
        StepTitle(title, 161, 450);
    const int x = title.x;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(StepTitle(title, 161, 450), TitleTick::Idle);
    EXPECT_EQ(title.x, x);
}

} // namespace
