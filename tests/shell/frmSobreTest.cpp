#include "shell/frmSobre.h"

#include <QTest>

class frmSobreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void constructs()
    {
        frmSobre window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar: Sobre"));
    }
};

QTEST_MAIN(frmSobreTest)
#include "frmSobreTest.moc"
