#include "MessageBoxAnswerer.h"
#include "WidgetTestTools.h"
#include "shell/MenuPanel.h"
#include "shell/frmLinks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

namespace {

const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0);

// Receives the addresses QDesktopServices::openUrl hands over.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QStringList opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened << url.toString(); }
};

MenuPanel *Menu(const QWidget &window)
{
    return window.findChild<MenuPanel *>(QStringLiteral("pctAreaTrabalho"));
}

} // namespace

class frmLinksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { recorder.opened.clear(); }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addRow("pctAreaAni") << "pctAreaAni" << "frmLinks" << QRect(0, 0, 41, 171);
        QTest::addRow("cmdOK") << "cmdOK" << "pctAreaAni" << QRect(6, 62, 30, 30);
        QTest::addRow("pctDegrade") << "pctDegrade" << "frmLinks" << QRect(40, 0, 16, 400);
        QTest::addRow("pctAreaTrabalho")
            << "pctAreaTrabalho" << "frmLinks" << QRect(56, 0, 279, 168);
        QTest::addRow("vsbAreaTrab") << "vsbAreaTrab" << "frmLinks" << QRect(338, 0, 17, 169);
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        frmLinks window;
        auto *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->geometry(), geometry);
    }

    void window()
    {
        frmLinks window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar: Links"));
        QCOMPARE(window.size(), QSize(356, 170));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        auto *ok = window.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QVERIFY(ok->font().bold());
        QCOMPARE(ok->font().pointSizeF(), 8.25);
        QVERIFY(ok->isDefault());

        auto *bar = window.findChild<QScrollBar *>(QStringLiteral("vsbAreaTrab"));
        QVERIFY(bar->isEnabled());
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 27);
        QCOMPARE(bar->singleStep(), 10);
        QCOMPARE(bar->pageStep(), 10);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(Menu(window)->lastScrollValue(), 0);

        // Tab order: the list, the scroll bar (when it takes the focus at all), OK.
        QList<QWidget *> chain;
        QWidget *w = Menu(window);
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w;
            w = w->nextInFocusChain();
        } while (w != Menu(window));
        chain.removeAll(bar);
        QCOMPARE(chain, (QList<QWidget *>{Menu(window), ok}));
    }

    // Thirteen entries, index order from the top, 15 pixels apart; every one an item.
    void entries()
    {
        frmLinks window;
        MenuPanel *menu = Menu(window);
        QCOMPARE(menu->count(), 13);
        QSet<QString> addresses;
        for (int i = 0; i < 13; ++i) {
            QLabel *label = MenuEntry(window, i);
            QVERIFY(label);
            QCOMPARE(label->geometry(), QRect(0, 15 * i, 279, 15));
            QCOMPARE(label->palette().color(QPalette::WindowText), Navy);
            QCOMPARE(label->font().family(), QStringLiteral("Arial"));
            QCOMPARE(label->font().pointSizeF(), 8.25);
            QVERIFY(label->font().underline());
            QVERIFY(!label->font().bold());
            QVERIFY(!label->text().isEmpty());
            const QString address = menu->tag(i);
            QCOMPARE(label->toolTip(), address);
            QVERIFY(QUrl(address, QUrl::StrictMode).isValid());
            if (i == 1) {
                QCOMPARE(label->text(), QStringLiteral("E-Mail do criador do Quessar"));
                QCOMPARE(address, QStringLiteral("mailto:quessar@example.com"));
            } else {
                QVERIFY2(address.startsWith(QStringLiteral("https://")), qPrintable(address));
            }
            addresses.insert(address);

            SendMouseMove(label);
            QCOMPARE(menu->framedIndex(), i);
            QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
            QCOMPARE(label->palette().color(QPalette::WindowText), Red);
            QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 40));
            QCOMPARE(label->palette().color(QPalette::WindowText), Navy);
        }
        QCOMPARE(addresses.size(), 13);
    }

    // A click hands the entry's address, unchanged, to the system; the window stays open.
    void clickOpensTheAddress_data()
    {
        QTest::addColumn<int>("index");
        QTest::addRow("first web site") << 0;
        QTest::addRow("mail") << 1;
        QTest::addRow("last web site") << 12;
    }
    void clickOpensTheAddress()
    {
        QFETCH(int, index);
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
        frmLinks window;
        window.show();
        MessageBoxAnswerer noBoxes;
        QTest::mouseClick(MenuEntry(window, index), Qt::LeftButton);
        QCOMPARE(recorder.opened, QStringList{Menu(window)->tag(index)});
        QCOMPARE(MenuEntry(window, index)->palette().color(QPalette::WindowText), Navy);
        QVERIFY(window.isVisible());
        QCOMPARE(noBoxes.count(), 0);
    }

    void failureToOpenIsReported()
    {
        frmLinks window;
        window.show();
        QList<QUrl> tried;
        window.setUrlOpener([&](const QUrl &url) {
            tried << url;
            return false;
        });
        MessageBoxAnswerer answerer(QMessageBox::Ok);
        QTest::mouseClick(MenuEntry(window, 3), Qt::LeftButton);
        QCOMPARE(tried.size(), 1);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        QCOMPARE(answerer.last().buttons, QMessageBox::Ok);
        QVERIFY(answerer.last().text.contains(Menu(window)->tag(3)));
        QVERIFY(answerer.last().text.startsWith(QStringLiteral("Não foi possível abrir")));
        QVERIFY(window.isVisible());
    }

    void enterAndEscapeClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addRow("Enter") << int(Qt::Key_Return);
        QTest::addRow("Escape") << int(Qt::Key_Escape);
    }
    void enterAndEscapeClose()
    {
        QFETCH(int, key);
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        frmLinks window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key(key));
        QVERIFY(!window.isVisible());
        QVERIFY(recorder.opened.isEmpty());
    }

    // Tab into the list, End scrolls to the last link, Enter opens it, the window stays.
    void keyboardOpensLinks()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
        frmLinks window;
        window.show();
        MenuPanel *menu = Menu(window);
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(menu, &tabIn);
        QCOMPARE(menu->framedIndex(), 0);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Space);
        QTest::keyClick(menu, Qt::Key_End);
        QCOMPARE(window.findChild<QScrollBar *>(QStringLiteral("vsbAreaTrab"))->value(), 27);
        QCOMPARE(MenuEntry(window, 0)->y(), -30);
        QTest::keyClick(menu, Qt::Key_Return);
        QCOMPARE(recorder.opened, (QStringList{menu->tag(1), menu->tag(12)}));
        QVERIFY(window.isVisible());
    }

private:
    // Outlives every test function, so cleanup() can unregister it first.
    UrlRecorder recorder;
};

QTEST_MAIN(frmLinksTest)
#include "frmLinksTest.moc"
