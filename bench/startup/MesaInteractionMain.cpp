// How long the dice table takes, on the GUI thread, from a changed text to the checked text
// (parse, mark, odds handed to their thread) and from Enter to the roll shown (recorded
// first, fdatasync included), and what 100,000 rolls in the history cost in memory. Also:
// from the last keystroke of an expression to its chart painted, and the longest stall of the
// event loop (a 1 ms probe timer) while heavy and refused expressions are typed key by key.
//   mesa_interaction_probe   (on the offscreen platform or a display)
#include "mesa/OddsCalculator.h"
#include "mesa/OddsChartView.h"
#include "mesa/frmMesaDados.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

double residentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024;
        }
    }
    return 0;
}

// Types `text` one character more at a time, `gap` ms apart, through the event loop, while a
// 1 ms timer measures the longest time between its ticks; returns that, in ms.
double worstStall(QLineEdit *box, const QString &text, int gap)
{
    QElapsedTimer since;
    double worst = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        worst = std::max(worst, double(since.nsecsElapsed()) / 1e6);
        since.restart();
    });
    since.start();
    probe.start();
    QEventLoop loop;
    int typed = 0;
    QTimer keys;
    keys.setInterval(gap);
    QObject::connect(&keys, &QTimer::timeout, &keys, [&] {
        if (typed == text.size()) {
            keys.stop();
            QTimer::singleShot(600, &loop, &QEventLoop::quit); // let the odds come in
            return;
        }
        box->setText(text.left(++typed));
    });
    keys.start();
    loop.exec();
    return worst;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir home;
    frmMesaDados window(MesaOptions::within(home.path(), 1));
    window.show();
    QApplication::processEvents();
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("txtExpressao"));
    auto *chart = window.findChild<OddsChartView *>(QStringLiteral("pctChances"));

    // Last keystroke to the chart of that expression painted, each typed fresh, after one
    // chart was painted (fonts and glyphs loaded, as in a window in use).
    box->setText(QStringLiteral("1d6"));
    window.oddsCalculator()->waitForIdle();
    QApplication::processEvents();
    chart->repaint();
    double worstChart = 0;
    for (const char *text : {"2d20kh1+5", "8d6", "4d6kh3", "10d10>=8f1"}) {
        const QString whole = QString::fromUtf8(text);
        for (int n = 1; n < whole.size(); ++n)
            box->setText(whole.left(n));
        window.oddsCalculator()->waitForIdle();
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        box->setText(whole);
        while (chart->isBusy() || !chart->chart()
               || chart->chart()->series().back().name != whole.toUtf8())
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 1);
        chart->repaint();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        worstChart = std::max(worstChart, ms);
        std::printf("%-24s keystroke_to_chart_ms %.3f\n", text, ms);
    }
    std::printf("worst keystroke_to_chart_ms %.3f\n", worstChart);

    double stall = 0;
    for (const char *text : {"10d10!", "100d20", "50d20kh1", "200d1000!", "1000d1000000",
                             "10000d1000000!kh5000"}) {
        const double worst = worstStall(box, QString::fromUtf8(text), 30);
        stall = std::max(stall, worst);
        std::printf("%-24s typed_worst_stall_ms %.3f\n", text, worst);
    }
    std::printf("worst typed_stall_ms %.3f\n", stall);

    const char *expressions[] = {"50d20", "1d4", "3d6", "4d6kh3", "10d10>=8f1", "3d6!!", "2d6!p",
                                 "{1d20+5, 1d20+5}kh1", "{3d6, 3d6, 3d6}>=12", "4d10dh1dl2",
                                 "4d6r1kh3", "2d20cs>=19cf1", "max(1d20, 1d20)", "3d6+",
                                 "10000d1000000!kh5000"};
    double worstCheck = 0, worstRoll = 0;
    for (const char *text : expressions) {
        QElapsedTimer clock;
        clock.start();
        box->setText(QString::fromUtf8(text));
        const double check = double(clock.nsecsElapsed()) / 1e6;
        window.oddsCalculator()->waitForIdle();
        QApplication::processEvents();
        clock.restart();
        window.rollTyped();
        QApplication::processEvents();
        const double roll = double(clock.nsecsElapsed()) / 1e6;
        worstCheck = std::max(worstCheck, check);
        worstRoll = std::max(worstRoll, roll);
        std::printf("%-24s check_ms %.3f roll_shown_ms %.3f\n", text, check, roll);
    }
    std::printf("worst check_ms %.3f roll_shown_ms %.3f\n", worstCheck, worstRoll);

    box->setText(QStringLiteral("4d6kh3"));
    window.oddsCalculator()->waitForIdle();
    QApplication::processEvents();
    const double before = residentMiB();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 100'000; ++i)
        window.rollTyped();
    QApplication::processEvents();
    const double rolling = double(clock.nsecsElapsed()) / 1e9;
    const double after = residentMiB();
    auto *history = window.findChild<QListView *>(QStringLiteral("lstRolagens"));
    clock.restart();
    for (int step = 0; step < 200; ++step) {
        history->scrollTo(history->model()->index(step * 500, 0));
        history->repaint();
    }
    std::printf("100000 rolls: %.1f s, history memory %.1f MiB, 200 scroll-and-paint %.2f ms each\n",
                rolling, after - before, double(clock.nsecsElapsed()) / 1e6 / 200);
    return 0;
}
