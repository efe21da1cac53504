#include "city/CityReport.h"
#include "city/frmGeradorCidadeADD.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

// The report text alone, for the smallest city, the largest the window can type and the
// largest whose population fits in 32 bits.
void BM_BuildCityReport(benchmark::State &state)
{
    const auto blocks = static_cast<qint32>(state.range(0));
    const QDateTime when = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BuildCityReport(QStringLiteral("Tau Rianu"), blocks, when, locale));
}
BENCHMARK(BM_BuildCityReport)->Arg(1)->Arg(99999)->Arg(8589934)->Unit(benchmark::kMicrosecond);

// The footer alone: date and time in the locale's formats.
void BM_CityReportFooter(benchmark::State &state)
{
    const QDateTime when = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    for (auto _ : state)
        benchmark::DoNotOptimize(CityReportFooter(when, locale));
}
BENCHMARK(BM_CityReportFooter)->Unit(benchmark::kMicrosecond);

// The plain call, which also reads the clock and the system locale for the footer.
void BM_BuildCityReportNow(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildCityReport(QStringLiteral("Tau Rianu"), 99999));
}
BENCHMARK(BM_BuildCityReportNow)->Unit(benchmark::kMicrosecond);

// What the user waits for after pressing "Gerar Cidade!": reading the count, building the
// report, showing it in the box (busy pointer included), and (with paint = 1) painting the
// box with the new text laid out.
void BM_GenerateCityButton(benchmark::State &state)
{
    const bool paint = state.range(0) != 0;
    frmGeradorCidadeADD window;
    auto *name = window.findChild<QPushButton *>(QStringLiteral("cmdGerarNome"));
    auto *blocks = window.findChild<QLineEdit *>(QStringLiteral("txtBlocos"));
    auto *generate = window.findChild<QPushButton *>(QStringLiteral("cmdGeraCidade"));
    auto *report = window.findChild<QPlainTextEdit *>(QStringLiteral("txtCidade"));
    if (!name || !blocks || !generate || !report) {
        state.SkipWithError("controls not found");
        return;
    }
    name->click();
    blocks->setText(QStringLiteral("99999"));
    window.show();
    QApplication::processEvents();

    for (auto _ : state) {
        generate->click();
        if (paint)
            report->viewport()->repaint();
    }
    state.counters["chars"] = double(report->toPlainText().size());
}
BENCHMARK(BM_GenerateCityButton)->Arg(0)->Arg(1)->ArgName("paint")->Unit(benchmark::kMicrosecond);

} // namespace
