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

    void movesTheWindowToTheMiddle()
    {
        QWidget window;
        window.setFixedSize(300, 200);
        CenterForm(&window);
        const QRect screen = window.screen()->geometry();
        QVERIFY(qAbs(window.x() - (screen.width() - 300) / 2) <= 1);
        QVERIFY(qAbs(window.y() - (screen.height() - 200) / 2) <= 1);
    }
};

QTEST_MAIN(CenterFormTest)
#include "CenterFormTest.moc"
