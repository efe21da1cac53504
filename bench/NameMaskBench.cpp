#include "common/SplitMixRandomSource.h"
#include "names/NameMask.h"

#include <benchmark/benchmark.h>

namespace {

void generate(benchmark::State &state, const QString &mask)
{
    SplitMixRandomSource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateNameFromMask(mask, source));
    state.SetItemsProcessed(state.iterations());
}

void BM_NineCharacterName(benchmark::State &state)
{
    generate(state, QStringLiteral("&@@!@!@@!"));
}
BENCHMARK(BM_NineCharacterName);

void BM_AllTwelveClasses(benchmark::State &state)
{
    generate(state, QStringLiteral("@$!&#%^[]{}*"));
}
BENCHMARK(BM_AllTwelveClasses);

} // namespace

BENCHMARK_MAIN();
