#include "common/CenterForm.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

class CenterFormTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void centredPosition_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QPointF>("expected");
        QTest::addRow("fits") << QRect(0, 0, 1024, 768) << QSize(454, 397) << QPointF(285, 185.5);
        QTest::addRow("wider than screen")
            << QRect(0, 0, 800, 600) << QSize(1000, 200) << QPointF(-100, 200);
        QTest::addRow("second screen")
            << QRect(1920, 0, 1280, 1024) << QSize(250, 299) << QPointF(2435, 362.5);
        QTest::addRow("exact size") << QRect(0, 0, 640, 480) << QSize(640, 480) << QPointF(0, 0);
    }
    void centredPosition()
    {
        QFETCH(QRect, screen);
        QFETCH(QSize, window);
        QFETCH(QPointF, expected);
        QCOMPARE(CenteredPosition(screen, window), expected);
    }

    void outerSize()
    {
        QCOMPARE(OuterSize(QSize(454, 397), QMargins(1, 20, 1, 1)), QSize(456, 418));
        QCOMPARE(OuterSize(QSize(250, 299), QMargins()), QSize(250, 299));
        // Centred with its frame, the main window under a 20 px title bar stands 10 px higher
        // than centred on its inside.
        QCOMPARE(CenteredPosition(QRect(0, 0, 1280, 1024),
                                  OuterSize(QSize(454, 397), QMargins(1, 20, 1, 1))),
                 QPointF(412, 303));
    }

    // The frame (here the offscreen platform's 2 px one) is centred, not just the inside. The
    // first framed window is centred again once its frame is known; later windows start in
    // the right place and do not move when they show.
    void movesTheWindowToTheMiddle()
    {
        const auto centred = [](const QWidget &window) {
            const QPoint middle = window.screen()->geometry().center();
            const QPoint centre = window.frameGeometry().center();
            return qAbs(centre.x() - middle.x()) <= 1 && qAbs(centre.y() - middle.y()) <= 1;
        };

        QWidget first;
        first.setFixedSize(300, 200);
        CenterForm(&first);
        first.show();
        QVERIFY(first.frameGeometry().size() != first.size()); // framed
        QTRY_VERIFY(centred(first));

        QWidget second;
        second.setFixedSize(120, 90);
        CenterForm(&second);
        const QPoint before = second.pos();
        second.show();
        QVERIFY(centred(second));
        QTest::qWait(20);
        QCOMPARE(second.pos(), before);
        QVERIFY(centred(second));

        // Moved by the user afterwards: it stays where it was put.
        second.move(second.pos() + QPoint(30, 40));
        QTest::qWait(20);
        QVERIFY(!centred(second));

        // A frameless window is centred on its size.
        QWidget frameless(nullptr, Qt::FramelessWindowHint);
        frameless.setFixedSize(250, 299);
        CenterForm(&frameless);
        frameless.show();
        QCOMPARE(frameless.frameGeometry(), frameless.geometry());
        QVERIFY(centred(frameless));
    }
};

QTEST_MAIN(CenterFormTest)
#include "CenterFormTest.moc"
