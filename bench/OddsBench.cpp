// The exact odds (DiceOdds) of the expressions whose compute time quessar-cli chances promises.

#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

DiceExpression parsed(const QString &text)
{
    return std::get<DiceExpression>(DiceNotation::parse(text));
}

void evaluate(benchmark::State &state, const DiceExpression &expression)
{
    auto odds = DiceOdds::evaluate(expression);
    if (std::holds_alternative<DiceOddsRefusal>(odds)) {
        state.SkipWithError("refused");
        return;
    }
    benchmark::DoNotOptimize(odds);
}

// One expression per benchmark, named after it; goals in the comments.
void BM_Odds(benchmark::State &state, const char *text)
{
    const DiceExpression expression = parsed(QString::fromLatin1(text));
    for (auto _ : state)
        evaluate(state, expression);
}
BENCHMARK_CAPTURE(BM_Odds, 4d6kh3, "4d6kh3")->Unit(benchmark::kMicrosecond);          // 0.1 ms
BENCHMARK_CAPTURE(BM_Odds, 20d20kh3, "20d20kh3")->Unit(benchmark::kMicrosecond);      // 1 ms
BENCHMARK_CAPTURE(BM_Odds, 50d20kh1, "50d20kh1")->Unit(benchmark::kMicrosecond);      // 2 ms
BENCHMARK_CAPTURE(BM_Odds, 100d20, "100d20")->Unit(benchmark::kMicrosecond);          // 5 ms
BENCHMARK_CAPTURE(BM_Odds, 10d10>=8f1, "10d10>=8f1")->Unit(benchmark::kMicrosecond);  // 0.1 ms
BENCHMARK_CAPTURE(BM_Odds, 3d6!, "3d6!")->Unit(benchmark::kMicrosecond);              // 5 ms
// The largest roll of the dice window for each die (2 ms each).
BENCHMARK_CAPTURE(BM_Odds, 50d4, "50d4")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Odds, 50d20, "50d20")->Unit(benchmark::kMicrosecond);

// Every roll the dice window allows, 1 to 50 dice of 4, 6, 8, 10, 12 and 20 faces: the time
// of all 300 per iteration, and the slowest one in a counter.
void BM_OddsEveryWindowRoll(benchmark::State &state)
{
    std::vector<DiceExpression> rolls;
    for (const int faces : {4, 6, 8, 10, 12, 20}) {
        for (int dice = 1; dice <= 50; ++dice)
            rolls.push_back(parsed(QStringLiteral("%1d%2").arg(dice).arg(faces)));
    }
    for (auto _ : state) {
        for (const DiceExpression &roll : rolls)
            evaluate(state, roll);
    }
    state.counters["rolagens"] = double(rolls.size());
}
BENCHMARK(BM_OddsEveryWindowRoll)->Unit(benchmark::kMillisecond);

} // namespace
