// Renders every window of the program, in a typical state, into PNG files:
//   quessar_screenshots FOLDER
// Run it on a real (virtual) X display so that the windows use the system's fonts.
#include "city/frmGeradorCidadeADD.h"
#include "common/ApplicationSetup.h"
#include "dice/frmRodadorDados.h"
#include "names/frmGeradorNome.h"
#include "shell/frmLinks.h"
#include "shell/frmPrincipal.h"
#include "shell/frmSobre.h"
#include "shell/frmSplash.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>

namespace {

QString g_folder;

void settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

template <typename T> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromUtf8(name));
    if (!found) {
        std::fprintf(stderr, "controle %s não encontrado\n", name);
        std::exit(1);
    }
    return found;
}

void click(QWidget *window, const char *button, int times = 1)
{
    for (int i = 0; i < times; ++i)
        child<QAbstractButton>(window, button)->click();
}

void save(QWidget *window, const char *file)
{
    window->show();
    window->raise();
    settle(300);
    const QString path = QDir(g_folder).filePath(QString::fromUtf8(file));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpApplication();
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s PASTA\n", argv[0]);
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_folder);

    {
        frmSplash splash;
        save(&splash, "splash.png");
        // Stop the hand-over: this program opens the main window itself.
        if (auto *timer = splash.findChild<QTimer *>(QStringLiteral("tmrSplash")))
            timer->stop();
    }
    {
        frmPrincipal main;
        main.show();
        // Let the title finish its slide and the figure move a little.
        settle(2500);
        save(&main, "main.png");
        main.hide();
    }
    {
        frmGeradorNome names;
        click(&names, "cmdAdicionaMascPre");
        auto *count = child<QLineEdit>(&names, "txtQuantNomes");
        count->setText(QStringLiteral("20"));
        click(&names, "cmdGeraNomes");
        save(&names, "names.png");
    }
    {
        frmGeradorCidadeADD city;
        click(&city, "cmdGerarNome");
        child<QLineEdit>(&city, "txtBlocos")->setText(QStringLiteral("37"));
        click(&city, "cmdGeraCidade");
        save(&city, "city.png");
    }
    {
        frmRodadorDados dice;
        click(&dice, "cmdSobeQuant", 49);
        click(&dice, "cmdSobeFaces", 5);
        click(&dice, "cmdGirar");
        save(&dice, "dice.png");
    }
    {
        frmLinks links;
        auto *bar = child<QScrollBar>(&links, "vsbAreaTrab");
        while (bar->value() < bar->maximum())
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        save(&links, "links.png");
    }
    {
        frmSobre about;
        save(&about, "about.png");
    }
    return 0;
}
