#include "common/SplitMixRandomSource.h"
#include "dice/DiceRoll.h"
#include "dice/frmRodadorDados.h"

#include <QApplication>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void BM_RollDice50d20(benchmark::State &state)
{
    SplitMixRandomSource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(RollDice(50, 20.0, source));
}
BENCHMARK(BM_RollDice50d20);

void BM_RollAndFormat50d20(benchmark::State &state)
{
    SplitMixRandomSource source;
    for (auto _ : state) {
        const DiceRoll roll = RollDice(50, 20.0, source);
        benchmark::DoNotOptimize(FormatPartialResults(roll.values));
        benchmark::DoNotOptimize(QString::number(roll.total));
    }
}
BENCHMARK(BM_RollAndFormat50d20);

// The dice window on screen (offscreen platform), set to 50d20.
struct RollerWindow
{
    frmRodadorDados window;
    QPushButton *girar;

    RollerWindow()
    {
        window.show();
        for (int i = 1; i < 50; ++i)
            window.findChild<QPushButton *>(QStringLiteral("cmdSobeQuant"))->click();
        for (int i = 0; i < 5; ++i)
            window.findChild<QPushButton *>(QStringLiteral("cmdSobeFaces"))->click();
        girar = window.findChild<QPushButton *>(QStringLiteral("cmdGirar"));
        QApplication::processEvents();
    }
};

// "Girar!": reseed, read the boxes, roll, fill both result boxes.
void BM_WindowRoll50d20(benchmark::State &state)
{
    RollerWindow roller;
    for (auto _ : state)
        roller.girar->click();
}
BENCHMARK(BM_WindowRoll50d20)->Unit(benchmark::kMicrosecond);

// The same plus painting the whole window at once: what the user waits for.
void BM_WindowRollAndPaint50d20(benchmark::State &state)
{
    RollerWindow roller;
    for (auto _ : state) {
        roller.girar->click();
        roller.window.repaint();
    }
}
BENCHMARK(BM_WindowRollAndPaint50d20)->Unit(benchmark::kMicrosecond);

} // namespace
