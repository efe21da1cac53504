#include "common/ScopedRandomSource.h"
#include "common/SequenceRandomSource.h"
#include "dice/frmRodadorDados.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTime>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>
#include <memory>

namespace {

template <typename T = QWidget>
T *child(const QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

QPushButton *button(const QWidget &window, const char *name)
{
    return child<QPushButton>(window, name);
}

QString text(const QWidget &window, const char *name)
{
    if (auto *line = child<QLineEdit>(window, name))
        return line->text();
    if (auto *box = child<QPlainTextEdit>(window, name))
        return box->toPlainText();
    return QStringLiteral("<%1 missing>").arg(QLatin1String(name));
}

// A window on screen, active, so that focus and keys behave as for a user.
std::unique_ptr<frmRodadorDados> openWindow()
{
    auto window = std::make_unique<frmRodadorDados>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the dice window did not become active");
    return window;
}

// Presses the steppers to reach the given quantity and face count from "1" and "4".
void choose(const frmRodadorDados &window, int quantity, int facesSteps)
{
    for (int i = 1; i < quantity; ++i)
        button(window, "cmdSobeQuant")->click();
    for (int i = 0; i < facesSteps; ++i)
        button(window, "cmdSobeFaces")->click();
}

// Draws zeros and remembers every reseed value.
class RecordingRandomSource final : public RandomSource
{
public:
    float next() override { return 0.0f; }
    void reseed(double value) override { seeds << value; }
    QList<double> seeds;
};

int secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

} // namespace

class frmRodadorDadosTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every control of the window: kind, container, place, what it shows at opening, font and
    // colour (the Base of a box, the text of a label).
    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("family"); // empty: the window's own font
        QTest::addColumn<qreal>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QColor>("colour"); // invalid: not set

        const QString form = QStringLiteral("frmRodadorDados");
        const QString arial = QStringLiteral("Arial");
        const QString courier = QStringLiteral("Courier New");
        const QColor grey(224, 224, 224), green(0, 128, 0), black(Qt::black), none;
        const auto row = [&](const char *name, const char *kind, const QString &parent,
                             QRect geometry, const char *shown, const QString &family,
                             qreal size, bool bold, QColor colour) {
            QTest::addRow("%s", name) << QString::fromLatin1(name) << QString::fromLatin1(kind)
                                      << parent << geometry << QString::fromUtf8(shown)
                                      << family << size << bold << colour;
        };
        row("pctDegrade", "QLabel", form, {40, 0, 16, 400}, "", {}, 0, false, none);
        row("pctAreaAni", "QWidget", form, {0, 0, 41, 229}, "", {}, 0, false, none);
        row("cmdOK", "QPushButton", "pctAreaAni", {6, 96, 30, 30}, "&OK", arial, 8.25, true,
            none);
        row("txtResultFinal", "QLineEdit", form, {58, 174, 391, 49}, "", courier, 20.25, true,
            grey);
        row("txtResultParc", "QPlainTextEdit", form, {58, 72, 391, 81}, "", courier, 8.25,
            false, grey);
        row("cmdGirar", "QPushButton", form, {282, 6, 81, 25}, "Girar!", {}, 0, false, none);
        row("cmdDesceFaces", "ArrowButton", form, {232, 18, 13, 13}, "", {}, 0, false, none);
        row("cmdSobeFaces", "ArrowButton", form, {232, 6, 13, 13}, "", {}, 0, false, none);
        row("txtFaces", "QLineEdit", form, {194, 6, 37, 23}, "4", courier, 8.25, false, grey);
        row("cmdDesceQuant", "ArrowButton", form, {126, 18, 13, 13}, "", {}, 0, false, none);
        row("cmdSobeQuant", "ArrowButton", form, {126, 6, 13, 13}, "", {}, 0, false, none);
        row("txtQuant", "QLineEdit", form, {88, 6, 37, 23}, "1", courier, 8.25, false, grey);
        row("Label5", "QLabel", form, {58, 158, 84, 14}, "Resultado final:", arial, 8.25, true,
            green);
        row("Label4", "QLabel", form, {56, 54, 108, 14}, "Resultados parciais", arial, 8.25,
            true, green);
        row("Label3", "QLabel", form, {248, 4, 30, 14}, "faces", arial, 8.25, true, black);
        row("Label2", "QLabel", form, {142, 4, 51, 14}, "dados de", arial, 8.25, true, black);
        row("Label1", "QLabel", form, {58, 4, 27, 14}, "Girar", arial, 8.25, true, black);
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, parentName);
        QFETCH(QRect, geometry);
        QFETCH(QString, shown);
        QFETCH(QString, family);
        QFETCH(qreal, pointSize);
        QFETCH(bool, bold);
        QFETCH(QColor, colour);

        frmRodadorDados window;
        auto *widget = window.findChild<QWidget *>(name);
        QVERIFY(widget);
        QVERIFY(widget->inherits(kind.toLatin1().constData()));
        QCOMPARE(widget->parentWidget()->objectName(), parentName);
        QCOMPARE(widget->geometry(), geometry);

        if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), shown);
        else if (auto *button = qobject_cast<QPushButton *>(widget))
            QCOMPARE(button->text(), shown);
        else if (auto *line = qobject_cast<QLineEdit *>(widget))
            QCOMPARE(line->text(), shown);
        else if (auto *box = qobject_cast<QPlainTextEdit *>(widget))
            QCOMPARE(box->toPlainText(), shown);

        if (!family.isEmpty()) {
            QCOMPARE(widget->font().family(), family);
            QCOMPARE(widget->font().pointSizeF(), pointSize);
            QCOMPARE(widget->font().bold(), bold);
        }
        if (colour.isValid()) {
            const auto role = name.startsWith(u"txt") ? QPalette::Base : QPalette::WindowText;
            QCOMPARE(widget->palette().color(role), colour);
        }
    }

    void windowAndBehaviourSettings()
    {
        frmRodadorDados window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar: Rodador de Dados"));
        QCOMPARE(window.size(), QSize(451, 227));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        // The dressing: black strip, gradient picture.
        QCOMPARE(child(window, "pctAreaAni")->palette().color(QPalette::Window),
                 QColor(Qt::black));
        QCOMPARE(child<QLabel>(window, "pctDegrade")->pixmap().size(), QSize(16, 400));

        for (const char *name : {"txtQuant", "txtFaces", "txtResultFinal"})
            QVERIFY2(child<QLineEdit>(window, name)->isReadOnly(), name);
        auto *partial = child<QPlainTextEdit>(window, "txtResultParc");
        QVERIFY(partial->isReadOnly());
        QVERIFY(partial->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        QCOMPARE(partial->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        QVERIFY(button(window, "cmdOK")->isDefault());
        for (const char *name : {"cmdGirar", "cmdSobeQuant", "cmdDesceQuant", "cmdSobeFaces",
                                 "cmdDesceFaces"}) {
            QVERIFY2(!button(window, name)->autoDefault(), name);
            QVERIFY2(!button(window, name)->autoRepeat(), name);
        }
    }

    // Tab walks the focusable controls in the window's order and comes back round; the
    // first control to hold the focus is OK.
    void tabOrder()
    {
        auto window = openWindow();
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));
        const QStringList expected = {"txtResultFinal", "txtResultParc", "cmdGirar",
                                      "cmdDesceFaces",  "cmdSobeFaces",  "txtFaces",
                                      "cmdDesceQuant",  "cmdSobeQuant",  "txtQuant",
                                      "cmdOK"};
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void steppers_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("presses"); // stepper names, clicked in turn
        QTest::addColumn<QStringList>("shown");   // the box's text after each click

        const auto repeat = [](const QString &name, int times) {
            return QStringList(times, name);
        };
        QStringList upTo50;
        for (int i = 2; i <= 50; ++i)
            upTo50 << QString::number(i);
        QTest::addRow("quantity down at 1 stays")
            << "txtQuant" << repeat("cmdDesceQuant", 2) << QStringList{"1", "1"};
        QTest::addRow("quantity up to 50 and no further")
            << "txtQuant" << repeat("cmdSobeQuant", 51) << (upTo50 << "50" << "50");
        QTest::addRow("quantity up and down")
            << "txtQuant"
            << QStringList{"cmdSobeQuant", "cmdSobeQuant", "cmdDesceQuant", "cmdDesceQuant",
                           "cmdDesceQuant"}
            << QStringList{"2", "3", "2", "1", "1"};
        QTest::addRow("faces up through the list and no further")
            << "txtFaces" << repeat("cmdSobeFaces", 7)
            << QStringList{"6", "8", "10", "12", "20", "20", "20"};
        QTest::addRow("faces back down to 4 and no further")
            << "txtFaces" << (repeat("cmdSobeFaces", 5) + repeat("cmdDesceFaces", 6))
            << QStringList{"6", "8", "10", "12", "20", "12", "10", "8", "6", "4", "4"};
        QTest::addRow("faces down at 4 stays")
            << "txtFaces" << repeat("cmdDesceFaces", 1) << QStringList{"4"};
    }

    void steppers()
    {
        QFETCH(QString, box);
        QFETCH(QStringList, presses);
        QFETCH(QStringList, shown);
        auto window = openWindow();
        const QString otherBox = box == u"txtQuant" ? QStringLiteral("txtFaces")
                                                    : QStringLiteral("txtQuant");
        const QString otherText = window->findChild<QLineEdit *>(otherBox)->text();
        QStringList seen;
        for (const QString &name : presses) {
            QTest::mouseClick(window->findChild<QPushButton *>(name), Qt::LeftButton);
            seen << window->findChild<QLineEdit *>(box)->text();
        }
        QCOMPARE(seen, shown);
        QCOMPARE(window->findChild<QLineEdit *>(otherBox)->text(), otherText);
        QVERIFY(window->isVisible()); // no message, nothing else happened
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void roll_data()
    {
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("facesSteps"); // presses of cmdSobeFaces from 4
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QString>("partial");
        QTest::addColumn<QString>("final");

        QTest::addRow("one d4") << 1 << 0 << QList<float>{0.5f} << "3" << "3";
        QTest::addRow("one d20 at the top")
            << 1 << 5 << QList<float>{std::nextafter(1.0f, 0.0f)} << "20" << "20";
        QTest::addRow("three d6") << 3 << 1 << QList<float>{0.4f, 0.7f, 0.2f} << "3, 5, 2"
                                  << "10";
        QTest::addRow("two d10 of ones") << 2 << 3 << QList<float>{0.0f} << "1, 1" << "2";
        QTest::addRow("four d12") << 4 << 4 << QList<float>{0.99f, 0.0f, 0.5f, 0.25f}
                                  << "12, 1, 7, 4" << "24";
    }

    // With fixed draws (the window's reseed leaves them alone) the boxes show exactly the
    // dice rolled, in order, and their sum.
    void roll()
    {
        QFETCH(int, quantity);
        QFETCH(int, facesSteps);
        QFETCH(QList<float>, draws);
        QFETCH(QString, partial);
        QFETCH(QString, final);

        SequenceRandomSource source(draws);
        ScopedRandomSource scope(source);
        auto window = openWindow();
        choose(*window, quantity, facesSteps);
        const QString quantityText = text(*window, "txtQuant");
        const QString facesText = text(*window, "txtFaces");
        QTest::mouseClick(button(*window, "cmdGirar"), Qt::LeftButton);

        QCOMPARE(source.draws(), quantity);
        QCOMPARE(text(*window, "txtResultParc"), partial);
        QCOMPARE(text(*window, "txtResultFinal"), final);
        // A roll leaves the choices alone.
        QCOMPARE(text(*window, "txtQuant"), quantityText);
        QCOMPARE(text(*window, "txtFaces"), facesText);
    }

    // Fifty d20 from the real generator: fifty values in 1..20, and the final box holds
    // their sum.
    void fiftyD20()
    {
        auto window = openWindow();
        choose(*window, 50, 5);
        QCOMPARE(text(*window, "txtQuant"), QStringLiteral("50"));
        QCOMPARE(text(*window, "txtFaces"), QStringLiteral("20"));
        button(*window, "cmdGirar")->click();

        const QStringList values = text(*window, "txtResultParc").split(QStringLiteral(", "));
        QCOMPARE(values.size(), 50);
        int sum = 0;
        for (const QString &value : values) {
            bool ok = false;
            const int n = value.toInt(&ok);
            QVERIFY2(ok && n >= 1 && n <= 20 && value == QString::number(n), qPrintable(value));
            sum += n;
        }
        bool ok = false;
        const int total = text(*window, "txtResultFinal").toInt(&ok);
        QVERIFY(ok);
        QCOMPARE(total, sum);
        QVERIFY(total >= 50 && total <= 1000);

        // The long line wraps inside the box instead of running off to the right.
        auto *partial = child<QPlainTextEdit>(*window, "txtResultParc");
        QCoreApplication::processEvents();
        QCOMPARE(partial->document()->blockCount(), 1);
        QVERIFY(partial->document()->firstBlock().layout()->lineCount() >= 3);
        QCOMPARE(partial->horizontalScrollBar()->maximum(), 0);
    }

    // Every roll, not only the first, reseeds from the time of day in whole seconds.
    void everyRollReseedsFromTheClock()
    {
        RecordingRandomSource source;
        ScopedRandomSource scope(source);
        auto window = openWindow();
        QVERIFY(source.seeds.isEmpty()); // opening alone does not reseed
        const int before = secondsSinceMidnight();
        button(*window, "cmdGirar")->click();
        button(*window, "cmdGirar")->click();
        const int after = secondsSinceMidnight();
        QCOMPARE(source.seeds.size(), 2);
        for (const double seed : source.seeds) {
            QCOMPARE(seed, std::floor(seed));
            // Around midnight the clock may wrap between the two readings.
            QVERIFY2(before <= after ? seed >= before && seed <= after
                                     : seed >= before || seed <= after,
                     qPrintable(QString::number(seed)));
        }
        QCOMPARE(text(*window, "txtResultFinal"), QStringLiteral("1"));
    }

    // A second roll replaces both boxes, and two rolls within the same second differ.
    void secondRollReplaces()
    {
        {
            SequenceRandomSource source({0.0f, 0.0f, 0.99f, 0.99f});
            ScopedRandomSource scope(source);
            auto window = openWindow();
            choose(*window, 2, 0);
            button(*window, "cmdGirar")->click();
            QCOMPARE(text(*window, "txtResultParc"), QStringLiteral("1, 1"));
            button(*window, "cmdGirar")->click();
            QCOMPARE(text(*window, "txtResultParc"), QStringLiteral("4, 4"));
            QCOMPARE(text(*window, "txtResultFinal"), QStringLiteral("8"));
        }
        auto window = openWindow();
        choose(*window, 50, 5);
        button(*window, "cmdGirar")->click();
        const QString first = text(*window, "txtResultParc");
        button(*window, "cmdGirar")->click();
        QVERIFY(text(*window, "txtResultParc") != first);
    }

    void reopeningStartsAfresh()
    {
        {
            auto window = openWindow();
            choose(*window, 7, 3);
            button(*window, "cmdGirar")->click();
            QTest::mouseClick(button(*window, "cmdOK"), Qt::LeftButton);
            QVERIFY(!window->isVisible());
        }
        frmRodadorDados again;
        QCOMPARE(text(again, "txtQuant"), QStringLiteral("1"));
        QCOMPARE(text(again, "txtFaces"), QStringLiteral("4"));
        QCOMPARE(text(again, "txtResultParc"), QString());
        QCOMPARE(text(again, "txtResultFinal"), QString());
    }

    void closing_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");

        for (const char *focus : {"txtResultFinal", "txtResultParc", "txtQuant", "cmdGirar",
                                  "cmdSobeQuant", "cmdOK"}) {
            QTest::addRow("Enter on %s", focus) << QString::fromLatin1(focus) << int(Qt::Key_Return);
            QTest::addRow("Escape on %s", focus) << QString::fromLatin1(focus) << int(Qt::Key_Escape);
        }
        QTest::addRow("keypad Enter") << QStringLiteral("txtFaces") << int(Qt::Key_Enter);
    }

    // Enter presses OK and Escape closes the same way, wherever the focus is; neither rolls.
    void closing()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        auto window = openWindow();
        QSignalSpy finished(window.get(), &QDialog::finished);
        QSignalSpy okClicked(button(*window, "cmdOK"), &QPushButton::clicked);
        QWidget *target = window->findChild<QWidget *>(focus);
        target->setFocus();
        QVERIFY(target->hasFocus());
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!window->isVisible());
        QCOMPARE(text(*window, "txtResultFinal"), QString());
        if (key != Qt::Key_Escape)
            QCOMPARE(okClicked.count(), 1);
    }

    void closeBoxClosesLikeOk()
    {
        auto window = openWindow();
        QSignalSpy finished(window.get(), &QDialog::finished);
        QVERIFY(window->close());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(window->result(), int(QDialog::Accepted));
    }

    // The steppers carry no text: each must draw its own triangle, pointing the right way.
    void steppersShowTriangles()
    {
        auto window = openWindow();
        for (const char *name : {"cmdSobeQuant", "cmdDesceQuant", "cmdSobeFaces",
                                 "cmdDesceFaces"}) {
            QPushButton *stepper = button(*window, name);
            const QImage image = stepper->grab().toImage();
            const QRgb ink = stepper->palette().color(QPalette::ButtonText).rgb();
            QList<int> widths; // inked pixels per row, top to bottom, rows with ink only
            for (int y = 0; y < image.height(); ++y) {
                int inked = 0;
                for (int x = 0; x < image.width(); ++x)
                    inked += image.pixel(x, y) == ink;
                if (inked > 0)
                    widths << inked;
            }
            QVERIFY2(widths.size() >= 3, name);
            const bool up = QByteArray(name).startsWith("cmdSobe");
            QVERIFY2(up ? widths.first() < widths.last() : widths.first() > widths.last(), name);
        }
    }
};

QTEST_MAIN(frmRodadorDadosTest)
#include "frmRodadorDadosTest.moc"
