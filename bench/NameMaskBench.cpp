#include "common/SplitMixRandomSource.h"
#include "names/NameBatch.h"
#include "names/NameMask.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QStringList>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QString NineCharacters = QStringLiteral("&@@!@!@@!");
constexpr int BatchSize = 999;

void generate(benchmark::State &state, const QString &mask)
{
    SplitMixRandomSource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateNameFromMask(mask, source));
    state.SetItemsProcessed(state.iterations());
}

void BM_NineCharacterName(benchmark::State &state)
{
    generate(state, NineCharacters);
}
BENCHMARK(BM_NineCharacterName);

void BM_AllTwelveClasses(benchmark::State &state)
{
    generate(state, QStringLiteral("@$!&#%^[]{}*"));
}
BENCHMARK(BM_AllTwelveClasses);

// The floor for a nine-character name: per mask character one draw, one table look-up and
// one store into a reused buffer, with the tables resolved beforehand.
void BM_NineCharacterFloor(benchmark::State &state)
{
    const char16_t *tables[9];
    qsizetype sizes[9];
    for (int i = 0; i < 9; ++i) {
        const MaskClass *table = MaskClassFor(NineCharacters[i].unicode());
        tables[i] = table->entries.data();
        sizes[i] = qsizetype(table->entries.size());
    }
    SplitMixRandomSource source;
    char16_t buffer[9];
    for (auto _ : state) {
        for (int i = 0; i < 9; ++i)
            buffer[i] = tables[i][RandomSource::positionOf(source.next(), sizes[i])];
        benchmark::DoNotOptimize(buffer);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NineCharacterFloor);

// The name window's batch: 999 names of the mask joined by ", " (time per name).
void BM_NineCharacterBatch(benchmark::State &state)
{
    const QStringList masks{NineCharacters};
    SplitMixRandomSource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateNames(masks, BatchSize, source));
    state.SetItemsProcessed(state.iterations() * BatchSize);
}
BENCHMARK(BM_NineCharacterBatch);

// The command line's stream: names as UTF-8 lines into a reused 64 KiB buffer (time per name).
void BM_NineCharacterStream(benchmark::State &state)
{
    NameBatch batch({NineCharacters}, u"\n");
    SplitMixRandomSource source;
    QByteArray bytes;
    bytes.reserve(70 * 1024);
    qint64 names = 0;
    for (auto _ : state) {
        bytes.resize(0);
        names += batch.appendUtf8(source, bytes, BatchSize, 64 * 1024);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(names);
}
BENCHMARK(BM_NineCharacterStream);

// The console report, keeping each benchmark's time per item for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto items = run.counters.find("items_per_second");
            if (run.run_type == Run::RT_Iteration && items != run.counters.end())
                m_nanoseconds[run.benchmark_name()] = 1e9 / items->second.value;
        }
    }

    void printRatios() const
    {
        const auto floor = m_nanoseconds.find("BM_NineCharacterFloor");
        if (floor == m_nanoseconds.end())
            return;
        std::printf("\nns per name of \"&@@!@!@@!\" and ratio to the floor (goal: batch <= 2x)\n");
        for (const char *name : {"BM_NineCharacterFloor", "BM_NineCharacterName",
                                 "BM_NineCharacterBatch", "BM_NineCharacterStream"}) {
            const auto found = m_nanoseconds.find(name);
            if (found != m_nanoseconds.end())
                std::printf("%-24s %7.1f ns  %5.2fx\n", name, found->second,
                            found->second / floor->second);
        }
    }

private:
    std::map<std::string, double> m_nanoseconds;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
