// A whole session in one process, through the real start-up and the real event loop:
// splash -> main window -> every menu item opens its window, something is done in each, and
// each is closed with OK, Escape or the close box -> "Sair" -> No, then Yes ends the program.
#include "MessageBoxAnswerer.h"
#include "city/CityFile.h"
#include "common/ApplicationSetup.h"
#include "shell/frmPrincipal.h"
#include "shell/frmSplash.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <functional>

namespace {

int g_passed = 0;
int g_failed = 0;

void check(bool ok, const char *what)
{
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAIL: %s\n", what);
    }
}

template <typename T> T *find(QWidget *window, const QString &name)
{
    return window ? window->findChild<T *>(name) : nullptr;
}

void click(QWidget *window, const char *button)
{
    if (auto *b = find<QAbstractButton>(window, QString::fromUtf8(button)))
        b->click();
    else
        check(false, button);
}

frmPrincipal *mainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *main = qobject_cast<frmPrincipal *>(w); main && main->isVisible())
            return main;
    }
    return nullptr;
}

frmSplash *splashWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *splash = qobject_cast<frmSplash *>(w))
            return splash;
    }
    return nullptr;
}

// Clicks menu entry `index` of the main window; `use` runs once the tool window it opens is
// the active modal window, and must close it. Returns when the tool window has closed.
void useTool(frmPrincipal *main, int index, const QString &title,
             const std::function<void(QDialog *)> &use)
{
    bool opened = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->windowTitle() != title)
            return;
        poll.stop();
        opened = true;
        use(dialog);
    });
    poll.start();
    QTest::mouseClick(find<QLabel>(main, QStringLiteral("lblMenu_%1").arg(index)), Qt::LeftButton);
    check(opened, qPrintable(QStringLiteral("menu entry %1 opens \"%2\"").arg(index).arg(title)));
}

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

void playSession()
{
    const bool handedOver = QTest::qWaitFor([] { return mainWindow() != nullptr; }, 5000);
    check(handedOver, "the splash hands over to the main window");
    frmPrincipal *main = mainWindow();
    if (!main) {
        QCoreApplication::exit(1);
        return;
    }
    const bool splashGone = QTest::qWaitFor([] { return !splashWindow(); }, 1000);
    check(splashGone, "the splash closes once the main window is up");

    useTool(main, 1, QStringLiteral("Morvane's Quessar: Gerador de Nomes"), [](QDialog *names) {
        click(names, "cmdAdicionaMascPre");
        find<QLineEdit>(names, QStringLiteral("txtQuantNomes"))->setText(QStringLiteral("5"));
        click(names, "cmdGeraNomes");
        const QString text = find<QPlainTextEdit>(names, QStringLiteral("txtNomes"))->toPlainText();
        check(text.count(QStringLiteral(", ")) == 4, "five names generated");
        click(names, "cmdCopiaNome");
        check(QApplication::clipboard()->text() == text, "the names reach the clipboard");
        click(names, "cmdOK");
    });

    useTool(main, 2, QStringLiteral("Morvane's Quessar: Rodador de Dados"), [](QDialog *dice) {
        click(dice, "cmdSobeQuant");
        click(dice, "cmdSobeQuant");
        click(dice, "cmdGirar");
        const QStringList values = find<QPlainTextEdit>(dice, QStringLiteral("txtResultParc"))
                                       ->toPlainText()
                                       .split(QStringLiteral(", "));
        int sum = 0;
        for (const QString &v : values)
            sum += v.toInt();
        check(values.size() == 3, "three dice rolled");
        check(find<QLineEdit>(dice, QStringLiteral("txtResultFinal"))->text().toInt() == sum,
              "the total is the sum of the dice");
        QTest::keyClick(dice, Qt::Key_Escape);
    });

    QTemporaryDir folder;
    CityFile::setProgramFolder(folder.path());
    useTool(main, 4, QStringLiteral("Morvane's Quessar: Gerador de Cidades (AD&D)"),
            [&folder](QDialog *city) {
                click(city, "cmdGerarNome");
                const QString name = find<QLineEdit>(city, QStringLiteral("txtNome"))->text();
                find<QLineEdit>(city, QStringLiteral("txtBlocos"))->setText(QStringLiteral("37"));
                click(city, "cmdGeraCidade");
                const QString report =
                    find<QPlainTextEdit>(city, QStringLiteral("txtCidade"))->toPlainText();
                check(report.startsWith(QStringLiteral("Cidade: ") + name),
                      "the report names the city");
                check(report.contains(QStringLiteral("População:  9250 habitantes")),
                      "37 blocks hold 9250 people");
                MessageBoxAnswerer ok(QMessageBox::Ok);
                click(city, "cmdSalvar");
                check(ok.count() == 1 && ok.last().icon == QMessageBox::Information,
                      "the save is confirmed");
                QFile file(folder.path() + QLatin1Char('/') + name + QStringLiteral(".txt"));
                check(file.open(QIODevice::ReadOnly) && file.readAll().endsWith("Quessar\r\n"),
                      "the city file is written");
                city->close();
            });
    CityFile::setProgramFolder(QString());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    useTool(main, 6, QStringLiteral("Morvane's Quessar: Links"), [&catcher](QDialog *links) {
        auto *mail = find<QLabel>(links, QStringLiteral("lblMenu_1"));
        QTest::mouseClick(mail, Qt::LeftButton);
        check(catcher.urls.size() == 1 && catcher.urls.first().toString() == mail->toolTip(),
              "the mail link reaches the system");
        check(links->isVisible(), "the Links window stays open");
        click(links, "cmdOK");
    });
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));

    useTool(main, 7, QStringLiteral("Morvane's Quessar: Sobre"), [](QDialog *about) {
        check(find<QPlainTextEdit>(about, QStringLiteral("txtSobre"))
                  ->toPlainText()
                  .startsWith(QStringLiteral("Idéia Original")),
              "the About text is shown");
        QTest::keyClick(about, Qt::Key_Escape);
    });

    QLabel *sair = find<QLabel>(main, QStringLiteral("lblMenu_8"));
    {
        MessageBoxAnswerer no(QMessageBox::No);
        QTest::mouseClick(sair, Qt::LeftButton);
        check(no.count() == 1
                  && no.last().text == QStringLiteral("Tem certeza que deseja sair do Quessar?"),
              "Sair asks first");
        check(main->isVisible(), "No keeps the program running");
        // Qt's own buttons speak the program's language.
        check(no.last().buttonTexts.contains(QStringLiteral("Sim"))
                  && no.last().buttonTexts.contains(QStringLiteral("Não")),
              "the question's buttons read Sim and Não");
    }
    MessageBoxAnswerer yes(QMessageBox::Yes);
    QTest::mouseClick(sair, Qt::LeftButton);
    check(yes.count() == 1, "Sair asks again");
    // Yes has asked the application to quit: QApplication::exec() returns in main().
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpApplication();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &app, [] {
        std::printf("FAIL: the session did not end within 60 s\n");
        std::fflush(stdout);
        std::_Exit(1);
    });
    watchdog.start(60000);

    auto *splash = new frmSplash;
    splash->show();
    QTimer::singleShot(0, &app, &playSession);
    const int code = QApplication::exec();
    check(code == 0, "the program ends normally after Yes");
    check(!mainWindow(), "no window is left on screen");

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}

#include "EndToEndTest.moc"
