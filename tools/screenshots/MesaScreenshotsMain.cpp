// Renders the dice table in a typical state, in the desktop's light palette and in a dark
// one (the colours of qt6ct's "darker" scheme), into PNG files:
//   quessar_mesa_screenshots FOLDER
// Run it on a real (virtual) X display so that the window uses the system's fonts.
#include "common/ApplicationSetup.h"
#include "mesa/OddsCalculator.h"
#include "mesa/frmMesaDados.h"

#include <QApplication>
#include <QDockWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(51, 51, 51), base(42, 42, 42), text(230, 230, 230);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(48, 110, 190));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Mid, QColor(60, 60, 60));
    p.setColor(QPalette::Dark, QColor(30, 30, 30));
    return p;
}

// With `luck`, forty more rolls of a d20 and the luck panel open below the history.
bool shoot(const QString &folder, const char *file, bool luck = false)
{
    QTemporaryDir home;
    frmMesaDados window(MesaOptions::within(home.path(), 7));
    window.resize(1000, luck ? 960 : 720);
    window.show();
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("txtExpressao"));
    const auto typed = [&](const char *text) {
        box->setText(QString::fromUtf8(text));
        window.oddsCalculator()->waitForIdle();
        settle(20);
    };
    for (const char *text : {"4d6kh3 # Atributos", "10d10>=8f1 # Vampiro", "3d6!", "4d6r1",
                             "2d20cs>=19cf1", "8d6 # Bola de fogo", "2d20kh1+5"}) {
        typed(text);
        window.rollTyped();
    }
    // Advantage pinned and set against a plain attack with a higher bonus, one of them rolled.
    window.findChild<QPushButton *>(QStringLiteral("cmdFixar"))->click();
    typed("1d20+8 # Ataque");
    window.rollTyped();
    if (luck) {
        typed("1d20 # Ana");
        for (int roll = 0; roll < 40; ++roll)
            window.rollTyped();
        window.findChild<QDockWidget *>(QStringLiteral("dckSorte"))->show();
        settle(1500);
    }
    settle(400);
    const QString path = QDir(folder).filePath(QString::fromUtf8(file));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("uso: quessar_mesa_screenshots PASTA\n", stderr);
        return 2;
    }
    InstallQtTranslation();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!shoot(folder, "mesa.png") || !shoot(folder, "mesa-sorte.png", true))
        return 1;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    return shoot(folder, "mesa-escura.png") ? 0 : 1;
}
