#include "shell/frmPrincipal.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class frmSplashTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionText()
    {
        QCOMPARE(frmSplash::VersionText(1, 0, 0), QStringLiteral("Versão 1.00"));
        QCOMPARE(frmSplash::VersionText(1, 2, 15), QStringLiteral("Versão 1.215"));
    }

    void loadsCentredWithTheVersion()
    {
        frmSplash splash;
        QCOMPARE(splash.size(), QSize(250, 299));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        auto *label = splash.findChild<QLabel *>(QStringLiteral("lblVersão"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Versão 1.00"));
        QCOMPARE(label->geometry(), QRect(0, 248, 251, 29));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pointSizeF(), 21.75);
        auto *image = splash.findChild<QLabel *>(QStringLiteral("imgSplash"));
        QVERIFY(image);
        QCOMPARE(image->pixmap().size(), QSize(250, 300));
        const QRect screen = splash.screen()->geometry();
        QVERIFY(qAbs(splash.x() - (screen.width() - 250) / 2) <= 1);
    }

    // The timer fires once, 2500 ms after the load; the main window is on screen before the
    // splash goes, and the program does not quit in between.
    void handsOverToTheMainWindowOnce()
    {
        QApplication::setQuitOnLastWindowClosed(true);
        QSignalSpy quitSpy(qApp, &QCoreApplication::aboutToQuit);
        QPointer<frmSplash> splash = new frmSplash;
        auto *timer = splash->findChild<QTimer *>(QStringLiteral("tmrSplash"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 2500);
        QVERIFY(timer->isSingleShot());
        QVERIFY(timer->isActive());
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        splash->show();

        bool mainVisibleAtClose = false;
        int mainWindows = -1;
        splash->installEventFilter(this);
        connect(this, &frmSplashTest::splashClosing, this, [&] {
            int visible = 0;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (qobject_cast<frmPrincipal *>(w) && w->isVisible())
                    ++visible;
            }
            mainVisibleAtClose = visible == 1;
            mainWindows = visible;
        });

        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
        QVERIFY(clock.elapsed() >= 2400);
        QVERIFY(mainVisibleAtClose);
        QCOMPARE(mainWindows, 1);
        QCOMPARE(quitSpy.count(), 0);
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmPrincipal *>(w))
                delete w;
        }
    }

    void ignoresClicksAndKeys()
    {
        frmSplash splash;
        splash.show();
        QTest::mouseClick(&splash, Qt::LeftButton);
        QTest::keyClick(&splash, Qt::Key_Escape);
        QTest::keyClick(&splash, Qt::Key_Return);
        QVERIFY(splash.isVisible());
    }

Q_SIGNALS:
    void splashClosing();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (qobject_cast<frmSplash *>(watched) && event->type() == QEvent::Close)
            Q_EMIT splashClosing();
        return QObject::eventFilter(watched, event);
    }
};

QTEST_MAIN(frmSplashTest)
#include "frmSplashTest.moc"
