#include "shell/frmPrincipal.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QResource>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The first pixel where two pictures differ by more than `tolerance` steps in a channel, alpha
// included, as "(x, y) argb vs argb", or an empty string.
QString FirstDifference(const QImage &shown, const QImage &expected, int tolerance = 0)
{
    if (shown.size() != expected.size())
        return QStringLiteral("sizes differ");
    const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
    const QImage b = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift = 0; shift < 32; shift += 8)
                if (qAbs(int(a.pixel(x, y) >> shift & 0xff) - int(b.pixel(x, y) >> shift & 0xff))
                    > tolerance)
                    return QStringLiteral("(%1, %2) %3 vs %4")
                        .arg(x)
                        .arg(y)
                        .arg(a.pixel(x, y), 8, 16)
                        .arg(b.pixel(x, y), 8, 16);
    return {};
}

QString LoadedImagePlugins()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QStringList plugins;
    for (const QByteArray &line : maps.readAll().split('\n'))
        if (line.contains("/imageformats/") || line.contains("/iconengines/"))
            plugins << QString::fromLocal8Bit(line.mid(line.lastIndexOf(' ') + 1));
    plugins.removeDuplicates();
    return plugins.join(QLatin1Char(' '));
}

} // namespace

class frmSplashTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionText()
    {
        QCOMPARE(frmSplash::VersionText(1, 0, 0), QStringLiteral("Versão 1.00"));
        QCOMPARE(frmSplash::VersionText(1, 2, 15), QStringLiteral("Versão 1.215"));
    }

    // Runs before any test decodes a picture: putting the splash on screen, icon
    // included, loads no image or icon plugin. The icon only comes once the splash has painted.
    void startsWithoutImagePlugins()
    {
        if (!QFile::exists(QStringLiteral("/proc/self/maps")))
            QSKIP("needs /proc/self/maps to see the loaded libraries");
        frmSplash splash;
        QApplication::processEvents();
        QVERIFY(QApplication::windowIcon().isNull());
        splash.show();
        QTRY_VERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(LoadedImagePlugins(), QString());
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
        QApplication::setWindowIcon(QIcon());
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
        // Nothing up to the main window on screen needed an image plugin.
        QCOMPARE(LoadedImagePlugins(), QString());
        const QImage die(QStringLiteral(":/quessar/icons/quessar-256.png"));
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmPrincipal *>(w)) {
                // The main window carries the application's icon, the die. The pixmap holds it
                // premultiplied; taking that back to straight colours rounds exact halves
                // (3 × 255 / 6 = 127.5) by the processor's approximate reciprocal, which differs
                // between Intel and AMD, so either neighbour of the half is right: one step.
                const QString difference =
                    FirstDifference(w->windowIcon().pixmap(QSize(256, 256)).toImage(), die, 1);
                QVERIFY2(difference.isEmpty(), qPrintable(difference));
                delete w;
            }
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

    // What the splash shows is, pixel for pixel, the artwork's JPEG as decoded. Decoding the
    // JPEG loads the image plugins, so this runs after the tests that check they stay away.
    void showsTheArtworkPixelForPixel()
    {
        const QImage jpeg(QStringLiteral(QUESSAR_RESOURCES_DIR "/splash.jpg"));
        QCOMPARE(jpeg.size(), QSize(250, 300));
        frmSplash splash;
        auto *image = splash.findChild<QLabel *>(QStringLiteral("imgSplash"));
        QVERIFY(image);
        // Exact: the shown pixels are the resource's bytes unchanged, and the JPEG decoder's
        // integer arithmetic gives the same pixels on every processor.
        const QString difference = FirstDifference(image->pixmap().toImage(), jpeg);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        // Shown straight from the program's resources: no copy of the pixels is made.
        const QResource resource(QStringLiteral(":/quessar/splash.raw"));
        const uchar *pixels = resource.data() + 16;
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian
            && reinterpret_cast<quintptr>(pixels) % 4 == 0)
            QCOMPARE(image->pixmap().toImage().constBits(), pixels);
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
