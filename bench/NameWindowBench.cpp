#include "common/SplitMixRandomSource.h"
#include "names/NameBatch.h"
#include "names/frmGeradorNome.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

constexpr int NameCount = 999;

// The generation loop alone: 999 names from the 15 predefined masks, joined.
void BM_GenerateNames(benchmark::State &state)
{
    const QStringList masks = frmGeradorNome::PredefinedMasks();
    SplitMixRandomSource source;
    for (auto _ : state)
        benchmark::DoNotOptimize(GenerateNames(masks, NameCount, source));
    state.SetItemsProcessed(state.iterations() * NameCount);
}
BENCHMARK(BM_GenerateNames)->Unit(benchmark::kMicrosecond);

// What the user waits for after pressing "GERAR!": reading the count, generating, filling the
// box, and (with range(0) = 1) painting the box with the new text laid out.
void BM_GenerateButton(benchmark::State &state)
{
    const bool paint = state.range(0) != 0;
    frmGeradorNome window;
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("cmbMascPre"));
    auto *add = window.findChild<QPushButton *>(QStringLiteral("cmdAdicionaMascPre"));
    auto *count = window.findChild<QLineEdit *>(QStringLiteral("txtQuantNomes"));
    auto *generate = window.findChild<QPushButton *>(QStringLiteral("cmdGeraNomes"));
    auto *names = window.findChild<QPlainTextEdit *>(QStringLiteral("txtNomes"));
    if (!combo || !add || !count || !generate || !names) {
        state.SkipWithError("controls not found");
        return;
    }
    for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        add->click();
    }
    count->setText(QString::number(NameCount));
    window.show();
    QApplication::processEvents();

    for (auto _ : state) {
        generate->click();
        if (paint)
            names->viewport()->repaint();
    }
    state.SetItemsProcessed(state.iterations() * NameCount);
    state.counters["chars"] = double(names->toPlainText().size());
}
BENCHMARK(BM_GenerateButton)->Arg(0)->Arg(1)->ArgName("paint")->Unit(benchmark::kMicrosecond);

} // namespace
