// How long the dice table takes, on the GUI thread, from a changed text to the checked text
// (parse, mark, odds handed to their thread) and from Enter to the roll shown (recorded
// first, fdatasync included), and what 100,000 rolls in the history cost in memory.
//   mesa_interaction_probe   (on the offscreen platform or a display)
#include "mesa/OddsCalculator.h"
#include "mesa/frmMesaDados.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir home;
    MesaOptions options;
    options.configFolder = home.filePath(QStringLiteral("config"));
    options.dataFolder = home.filePath(QStringLiteral("data"));
    options.seed = 1;
    frmMesaDados window(options);
    window.show();
    QApplication::processEvents();
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("txtExpressao"));

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
