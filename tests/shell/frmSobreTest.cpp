#include "shell/frmSobre.h"
#include "common/RawPicture.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QResource>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <array>
#include <functional>

namespace {

template <typename T>
T *child(QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

} // namespace

class frmSobreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsItsLayout()
    {
        frmSobre window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar: Sobre"));
        QCOMPARE(window.size(), QSize(354, 114));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        auto *pctAreaAni = child<QWidget>(window, "pctAreaAni");
        auto *pctDegrade = child<QLabel>(window, "pctDegrade");
        auto *cmdOK = child<QPushButton>(window, "cmdOK");
        auto *txtSobre = child<QPlainTextEdit>(window, "txtSobre");
        auto *imgFoto = child<QLabel>(window, "imgFoto");
        QVERIFY(pctAreaAni && pctDegrade && cmdOK && txtSobre && imgFoto);

        QCOMPARE(pctAreaAni->geometry(), QRect(0, 0, 41, 115));
        QCOMPARE(pctDegrade->geometry(), QRect(40, 0, 16, 400));
        QCOMPARE(cmdOK->parentWidget(), pctAreaAni);
        QCOMPARE(cmdOK->geometry(), QRect(6, 40, 30, 30));
        QCOMPARE(txtSobre->geometry(), QRect(140, 0, 213, 113));
        QCOMPARE(imgFoto->geometry(), QRect(58, 8, 78, 96));

        QCOMPARE(cmdOK->text(), QStringLiteral("&OK"));
        QVERIFY(cmdOK->isDefault());
        QVERIFY(cmdOK->font().bold());
        QCOMPARE(cmdOK->font().pointSizeF(), 8.25);
        QVERIFY(!txtSobre->font().bold());
        QCOMPARE(txtSobre->font().pointSizeF(), 8.25);
        QCOMPARE(txtSobre->palette().color(QPalette::Base), QColor(192, 192, 192));
        QCOMPARE(txtSobre->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(txtSobre->lineWrapMode(), QPlainTextEdit::WidgetWidth);

        // The dressing: black strip, gradient picture in place.
        QCOMPARE(pctAreaAni->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(pctDegrade->pixmap().size(), QSize(16, 400));

        QCOMPARE(imgFoto->pixmap().size(), QSize(78, 96));
        QCOMPARE(imgFoto->toolTip(), QStringLiteral("Olha o Morvane aí, gente!"));

        const QList<QWidget *> controls = {pctAreaAni, pctDegrade, cmdOK, txtSobre, imgFoto};
        for (QWidget *control : controls)
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
    }

    void aboutTextHasFiveLines()
    {
        const QString text = frmSobre::AboutText();
        QCOMPARE(text.count(QStringLiteral("\r\n")), 4);
        QCOMPARE(text.count(QLatin1Char('\r')), 4);
        QCOMPARE(text.count(QLatin1Char('\n')), 4);

        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Idéia Original: Morvane"));
        QCOMPARE(lines[1], QStringLiteral("Programação: Morvane"));
        QCOMPARE(lines[3], QStringLiteral("Qualquer dúvida, comentário, crítica ou relato de bug "
                                          "envie-me um E-mail (disponível na seção de Links)!"));
        QCOMPARE(lines[4], QString());

        // The thanks name nobody: no capital letter after the sentence's first.
        const QString thanks = lines[2];
        QVERIFY(!thanks.trimmed().isEmpty());
        QVERIFY2(!thanks.mid(1).contains(QRegularExpression(QStringLiteral("\\p{Lu}"))),
                 qPrintable(thanks));
    }

    void textBoxShowsTheTextReadOnly()
    {
        frmSobre window;
        auto *txtSobre = child<QPlainTextEdit>(window, "txtSobre");
        QVERIFY(txtSobre);
        QVERIFY(txtSobre->isReadOnly());
        // Each CR LF is one line break in the box: five lines, the first at the top.
        QCOMPARE(txtSobre->document()->blockCount(), 5);
        QCOMPARE(txtSobre->toPlainText(),
                 frmSobre::AboutText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(txtSobre->verticalScrollBar()->value(), 0);
        QCOMPARE(txtSobre->textCursor().position(), 0);

        window.show();
        txtSobre->setFocus();
        QTest::keyClicks(txtSobre, QStringLiteral("xyz"));
        QTest::keyClick(txtSobre, Qt::Key_Backspace);
        QTest::keyClick(txtSobre, Qt::Key_Delete);
        QCOMPARE(txtSobre->document()->blockCount(), 5);
        QCOMPARE(txtSobre->toPlainText(),
                 frmSobre::AboutText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void tabOrderRunsFromOkToTheText()
    {
        frmSobre window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *cmdOK = child<QPushButton>(window, "cmdOK");
        auto *txtSobre = child<QPlainTextEdit>(window, "txtSobre");
        QCOMPARE(QApplication::focusWidget(), cmdOK);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), txtSobre);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cmdOK);
    }

    // Enter closes the window from anywhere but the text box, where it does nothing.
    void enterInTheTextDoesNotClose()
    {
        frmSobre window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy finished(&window, &QDialog::finished);
        auto *txtSobre = child<QPlainTextEdit>(window, "txtSobre");
        txtSobre->setFocus();
        for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::KeypadModifier}) {
            QTest::keyClick(txtSobre, Qt::Key_Return, modifiers);
            QTest::keyClick(txtSobre, Qt::Key_Enter, modifiers);
        }
        QTest::qWait(20);
        QVERIFY(window.isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(txtSobre->toPlainText(),
                 frmSobre::AboutText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

        QTest::keyClick(txtSobre, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(window, "cmdOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QCOMPARE(finished.count(), 1);
    }

    void closes_data()
    {
        using Action = std::function<void(frmSobre &)>;
        QTest::addColumn<Action>("action");
        QTest::addRow("OK clicked") << Action([](frmSobre &w) {
            QTest::mouseClick(child<QPushButton>(w, "cmdOK"), Qt::LeftButton);
        });
        QTest::addRow("Enter in the window") << Action([](frmSobre &w) {
            QTest::keyClick(&w, Qt::Key_Return);
        });
        QTest::addRow("Enter on OK") << Action([](frmSobre &w) {
            QTest::keyClick(child<QPushButton>(w, "cmdOK"), Qt::Key_Enter);
        });
        QTest::addRow("Escape in the window") << Action([](frmSobre &w) {
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        QTest::addRow("Escape in the text") << Action([](frmSobre &w) {
            auto *txtSobre = child<QPlainTextEdit>(w, "txtSobre");
            txtSobre->setFocus();
            QTest::keyClick(txtSobre, Qt::Key_Escape);
        });
        QTest::addRow("close box") << Action([](frmSobre &w) { w.close(); });
    }

    // Opened modally as the main window does; every way out ends the modal call.
    void closes()
    {
        using Action = std::function<void(frmSobre &)>;
        QFETCH(Action, action);

        frmSobre window;
        QSignalSpy finished(&window, &QDialog::finished);
        bool acted = false;
        QTimer::singleShot(0, &window, [&] {
            window.activateWindow();
            if (!QTest::qWaitForWindowActive(&window)) {
                window.done(-1);
                return;
            }
            action(window);
            acted = true;
            // A way out that failed must not leave the test waiting forever.
            QTimer::singleShot(2000, &window, [&] {
                if (window.isVisible())
                    window.done(-1);
            });
        });
        const int result = window.exec();

        QVERIFY(acted);
        QVERIFY(result != -1);
        QVERIFY(!window.isVisible());
        QCOMPARE(finished.count(), 1);
    }

    void artworkLoads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addRow("splash") << QStringLiteral(":/quessar/splash.raw") << QSize(250, 300);
        QTest::addRow("photo") << QStringLiteral(":/quessar/photo.png") << QSize(78, 96);
        QTest::addRow("title banner")
            << QStringLiteral(":/quessar/title-banner.png") << QSize(450, 31);
        for (int frame = 0; frame < 10; ++frame)
            QTest::addRow("figure frame %d", frame)
                << QStringLiteral(":/quessar/figure/frame%1.png").arg(frame) << QSize(16, 16);
        for (int size : {16, 32, 48, 64, 128, 256})
            QTest::addRow("icon %d", size)
                << QStringLiteral(":/quessar/icons/quessar-%1.png").arg(size) << QSize(size, size);
    }

    void artworkLoads()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        // The splash is kept as plain pixels, which no image reader knows.
        const QImage image = path.endsWith(QStringLiteral(".raw"))
                                 ? RawPicture::decode(QResource(path).uncompressedData())
                                 : QImage(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
        // Icons stand on a transparent ground.
        if (path.contains(QStringLiteral("/icons/")))
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }

    void titleBannerIsTheLinearGradient()
    {
        const QImage banner =
            QImage(QStringLiteral(":/quessar/title-banner.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(banner.size(), QSize(450, 31));
        const int from[3] = {12, 1, 85};
        const int to[3] = {52, 62, 146};
        const auto channels = [](QRgb c) { return std::array<int, 3>{qRed(c), qGreen(c), qBlue(c)}; };

        QCOMPARE(channels(banner.pixel(0, 0)), (std::array<int, 3>{12, 1, 85}));
        QCOMPARE(channels(banner.pixel(449, 0)), (std::array<int, 3>{52, 62, 146}));
        for (int x = 0; x < banner.width(); ++x) {
            const auto got = channels(banner.pixel(x, 0));
            for (int i = 0; i < 3; ++i) {
                const double expected = from[i] + (to[i] - from[i]) * x / 449.0;
                QVERIFY2(qAbs(got[i] - expected) <= 1.0,
                         qPrintable(QStringLiteral("x %1 channel %2: %3, expected %4")
                                        .arg(x).arg(i).arg(got[i]).arg(expected)));
            }
            for (int y = 1; y < banner.height(); ++y)
                QCOMPARE(banner.pixel(x, y), banner.pixel(x, 0));
        }
    }

    // Ten different frames, each showing the four lights on black.
    void figureFramesShowFourTurningLights()
    {
        QList<QImage> frames;
        for (int frame = 0; frame < 10; ++frame) {
            const QImage image = QImage(QStringLiteral(":/quessar/figure/frame%1.png").arg(frame))
                                     .convertToFormat(QImage::Format_RGB32);
            QCOMPARE(image.size(), QSize(16, 16));
            int red = 0, green = 0, yellow = 0, blue = 0;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const QRgb c = image.pixel(x, y);
                    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
                    red += r > 150 && g < 90 && b < 90;
                    green += g > 140 && r < 100 && b < 120;
                    yellow += r > 170 && g > 150 && b < 100;
                    blue += b > 140 && r < 100 && g < 130;
                }
            }
            QVERIFY2(red && green && yellow && blue, qPrintable(QString::number(frame)));
            QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 0));
            for (const QImage &earlier : frames)
                QVERIFY2(earlier != image, qPrintable(QString::number(frame)));
            frames.append(image);
        }
    }
};

QTEST_MAIN(frmSobreTest)
#include "frmSobreTest.moc"
