#include "WidgetTestTools.h"
#include "shell/MenuPanel.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

const QColor Green(0, 128, 0);
const QColor Navy(0, 0, 128);
const QColor Red(255, 0, 0);

// A window holding a gradient strip, a panel and its scroll bar, laid out like the main window.
struct Host
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLabel *strip = nullptr;
    QScrollBar *bar = nullptr;
    MenuPanel *panel = nullptr;

    // Tags: "ITEM" makes an item when only tagged entries are items.
    Host(const QStringList &tags, int panelHeight, MenuPanel::Items items)
    {
        window->resize(460, panelHeight + 20);
        strip = new QLabel(window.get());
        strip->setGeometry(40, 0, 16, panelHeight);
        bar = new QScrollBar(Qt::Vertical, window.get());
        bar->setGeometry(438, 0, 17, panelHeight);
        MenuPanel::Options options;
        options.items = items;
        options.itemColour = Green;
        options.headingColour = Navy;
        options.recordsLastScrollValue = true;
        panel = new MenuPanel(options, bar, window.get());
        panel->setGeometry(56, 0, 381, panelHeight);
        for (int i = 0; i < tags.size(); ++i)
            panel->addEntry(QStringLiteral("Entrada %1").arg(i), tags[i]);
        panel->watchClearingArea(strip);
        panel->layoutEntries();
    }

    QLabel *entry(int i) const { return panel->entry(i); }
    int framedCount() const
    {
        int framed = 0;
        for (int i = 0; i < panel->count(); ++i)
            framed += panel->entry(i)->frameShape() != QFrame::NoFrame;
        return framed;
    }
};

QStringList Items(int count)
{
    return QStringList(count, QStringLiteral("ITEM"));
}

// Heading, item, item, heading, item.
QStringList Mixed()
{
    return {QStringLiteral("PRINCIPAL"), QStringLiteral("ITEM"), QStringLiteral("ITEM"),
            QStringLiteral("PRINCIPAL"), QStringLiteral("ITEM")};
}

// The first column of the label's interior where its text shows.
int TextLeft(QLabel *label)
{
    const QImage image = label->grab().toImage();
    const QRgb background = image.pixel(image.width() - 2, image.height() / 2);
    for (int x = 1; x < image.width() - 1; ++x) {
        for (int y = 1; y < image.height() - 1; ++y) {
            if (image.pixel(x, y) != background)
                return x;
        }
    }
    return -1;
}

QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

class MenuPanelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("panelHeight");
        QTest::addColumn<bool>("scrolls");
        QTest::addColumn<int>("maximum");
        QTest::addRow("main window, 9 in 360") << 9 << 360 << false << 0;
        QTest::addRow("links, 13 in 168") << 13 << 168 << true << 27;
        QTest::addRow("exactly full") << 24 << 360 << false << 0;
        QTest::addRow("one row over") << 25 << 360 << true << 15;
    }
    void layout()
    {
        QFETCH(int, entries);
        QFETCH(int, panelHeight);
        QFETCH(bool, scrolls);
        QFETCH(int, maximum);
        Host host(Items(entries), panelHeight, MenuPanel::Items::All);
        QCOMPARE(host.panel->count(), entries);
        for (int i = 0; i < entries; ++i) {
            QCOMPARE(host.entry(i)->objectName(), QStringLiteral("lblMenu_%1").arg(i));
            QCOMPARE(host.entry(i)->geometry(), QRect(0, 15 * i, 381, 15));
        }
        QCOMPARE(host.bar->objectName(), QStringLiteral("vsbAreaTrab"));
        QCOMPARE(host.panel->objectName(), QStringLiteral("pctAreaTrabalho"));
        QCOMPARE(host.bar->isEnabled(), scrolls);
        QCOMPARE(host.panel->lastScrollValue(), 0);
        if (scrolls) {
            QCOMPARE(host.bar->minimum(), 0);
            QCOMPARE(host.bar->maximum(), maximum);
            QCOMPARE(host.bar->singleStep(), 10);
            QCOMPARE(host.bar->pageStep(), 10);
            QCOMPARE(host.bar->value(), 0);
        }
    }

    void shownCaption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addRow("doubled") << QStringLiteral("DUNGEONS && DRAGONS (AD&&D)")
                                 << QStringLiteral("DUNGEONS & DRAGONS (AD&D)");
        QTest::addRow("plain") << QStringLiteral("GENÉRICOS") << QStringLiteral("GENÉRICOS");
        QTest::addRow("mnemonic") << QStringLiteral("&OK") << QStringLiteral("OK");
        QTest::addRow("three") << QStringLiteral("A&&&B") << QStringLiteral("A&B");
        QTest::addRow("trailing") << QStringLiteral("Sair&") << QStringLiteral("Sair&");
    }
    void shownCaption()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(MenuPanel::shownCaption(stored), shown);

        Host host({}, 100, MenuPanel::Items::All);
        QLabel *label = host.panel->addEntry(stored, QStringLiteral("ITEM"));
        QCOMPARE(label->text(), shown);
        QCOMPARE(host.panel->caption(0), stored);
        QCOMPARE(host.panel->tag(0), QStringLiteral("ITEM"));
    }

    // At most one item is framed; headings, the background and the gradient strip clear it;
    // other places (the scroll bar) leave it.
    void hoverFrame()
    {
        Host host(Mixed(), 360, MenuPanel::Items::Tagged);
        QCOMPARE(host.framedCount(), 0);

        SendMouseMove(host.entry(1));
        QCOMPARE(host.panel->framedIndex(), 1);
        QCOMPARE(host.entry(1)->frameShape(), QFrame::Box);
        QCOMPARE(host.entry(1)->lineWidth(), 1);
        const int framedTextLeft = TextLeft(host.entry(1));

        SendMouseMove(host.entry(1), QPoint(200, 7));
        QCOMPARE(host.panel->framedIndex(), 1);
        QCOMPARE(host.framedCount(), 1);

        SendMouseMove(host.entry(2));
        QCOMPARE(host.panel->framedIndex(), 2);
        QCOMPARE(host.framedCount(), 1);
        QCOMPARE(TextLeft(host.entry(1)), framedTextLeft); // the text does not jump

        SendMouseMove(host.entry(3)); // heading
        QCOMPARE(host.framedCount(), 0);
        SendMouseMove(host.entry(0)); // heading
        QCOMPARE(host.framedCount(), 0);

        SendMouseMove(host.entry(4));
        QCOMPARE(host.panel->framedIndex(), 4);
        SendMouseMove(host.bar);
        SendMouseMove(host.window.get(), QPoint(100, 365));
        QCOMPARE(host.panel->framedIndex(), 4);

        SendMouseMove(host.panel, QPoint(100, 300)); // background below the last entry
        QCOMPARE(host.framedCount(), 0);

        SendMouseMove(host.entry(2));
        SendMouseMove(host.strip);
        QCOMPARE(host.framedCount(), 0);
        QCOMPARE(host.panel->framedIndex(), -1);
    }

    void pressAndRelease_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<QColor>("whilePressed");
        QTest::addColumn<QColor>("afterRelease");
        QTest::addColumn<int>("clicks");
        const QPoint inside(20, 7);
        const QPoint outside(20, 60); // dragged off, over another entry
        QTest::addRow("item, left") << 1 << Qt::LeftButton << inside << Red << Green << 1;
        QTest::addRow("item, right") << 1 << Qt::RightButton << inside << Red << Green << 0;
        QTest::addRow("item, middle") << 2 << Qt::MiddleButton << inside << Red << Green << 0;
        QTest::addRow("item, dragged off")
            << 1 << Qt::LeftButton << outside << Red << Green << 0;
        // Headings never change colour; the click still reaches the window, which ignores it.
        QTest::addRow("heading, left") << 0 << Qt::LeftButton << inside << Navy << Navy << 1;
        QTest::addRow("heading, right") << 3 << Qt::RightButton << inside << Navy << Navy << 0;
    }
    void pressAndRelease()
    {
        QFETCH(int, entry);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(QColor, whilePressed);
        QFETCH(QColor, afterRelease);
        QFETCH(int, clicks);
        Host host(Mixed(), 360, MenuPanel::Items::Tagged);
        QSignalSpy clicked(host.panel, &MenuPanel::entryClicked);
        QLabel *label = host.entry(entry);

        QTest::mousePress(label, button, Qt::NoModifier, QPoint(20, 7));
        QCOMPARE(TextColour(label), whilePressed);
        QTest::mouseRelease(label, button, Qt::NoModifier, releaseAt);
        QCOMPARE(TextColour(label), afterRelease);
        QCOMPARE(clicked.count(), clicks);
        if (clicks)
            QCOMPARE(clicked.at(0).at(0).toInt(), entry);
        for (int i = 0; i < host.panel->count(); ++i) {
            if (i != entry)
                QCOMPARE(TextColour(host.entry(i)), i == 0 || i == 3 ? Navy : Green);
        }
    }

    // A double click opens the entry once.
    void doubleClickIsOneClick()
    {
        Host host(Items(3), 100, MenuPanel::Items::All);
        QSignalSpy clicked(host.panel, &MenuPanel::entryClicked);
        QLabel *label = host.entry(2);
        const QPoint at(20, 7);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, at, label->mapToGlobal(at), Qt::LeftButton,
                              down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(label, &event);
            if (type == QEvent::MouseButtonDblClick)
                QCOMPARE(TextColour(label), Red);
        }
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(TextColour(host.entry(2)), Green);
    }

    // Each change of the bar places the list at -10 × ceil(value / 10): the arrows and the track
    // move it 10 pixels at a time, clipped changes included.
    void scrollSteps_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QList<int>>("tops");
        QTest::addRow("down arrow") << int(QAbstractSlider::SliderSingleStepAdd)
                                    << QList<int>{10, 20, 27, 27} << QList<int>{-10, -20, -30, -30};
        QTest::addRow("track below") << int(QAbstractSlider::SliderPageStepAdd)
                                     << QList<int>{10, 20, 27} << QList<int>{-10, -20, -30};
        QTest::addRow("to bottom") << int(QAbstractSlider::SliderToMaximum) << QList<int>{27}
                                   << QList<int>{-30};
    }
    void scrollSteps()
    {
        QFETCH(int, action);
        QFETCH(QList<int>, values);
        QFETCH(QList<int>, tops);
        Host host(Items(13), 168, MenuPanel::Items::All);
        for (int i = 0; i < values.size(); ++i) {
            host.bar->triggerAction(QAbstractSlider::SliderAction(action));
            QCOMPARE(host.bar->value(), values[i]);
            QCOMPARE(host.entry(0)->y(), tops[i]);
            QCOMPARE(host.entry(12)->y(), 180 + tops[i]);
            QCOMPARE(host.panel->lastScrollValue(), values[i]);
        }
        // And back up by arrows: 17, 7, 0 bring the list back 10 pixels at a time.
        const QList<int> upValues{17, 7, 0};
        const QList<int> upTops{-20, -10, 0};
        host.bar->setValue(27);
        for (int i = 0; i < upValues.size(); ++i) {
            host.bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            QCOMPARE(host.bar->value(), upValues[i]);
            QCOMPARE(host.entry(0)->y(), upTops[i]);
        }
    }

    // Wheel turns and thumb drags jump by any amount; the list still follows the bar, and at the
    // bottom the last entry is wholly in view.
    void scrollJumpsStayInStep()
    {
        Host host(Items(13), 168, MenuPanel::Items::All);
        for (int value : {27, 3, 14, 0, 20, 21, 9, 27}) {
            host.bar->setSliderPosition(value);
            QCOMPARE(host.bar->value(), value);
            QCOMPARE(host.entry(0)->y(), -10 * int(std::ceil(value / 10.0)));
        }
        QVERIFY(host.entry(12)->geometry().bottom() < host.panel->height());

        // A wheel turned over an entry moves by the bar's steps; the list follows.
        host.bar->setValue(0);
        for (int expected : {10, 20, 27}) {
            QWheelEvent down(QPointF(100, 7), host.entry(3)->mapToGlobal(QPointF(100, 7)),
                             QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                             Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&down);
            QApplication::sendEvent(host.entry(3), &down);
            QCOMPARE(host.bar->value(), expected);
            QCOMPARE(host.entry(0)->y(), -10 * int(std::ceil(expected / 10.0)));
        }
        QCOMPARE(host.entry(12)->geometry().bottom(), 164);

        // Every value the bar can take keeps every entry on its row.
        for (int value = 0; value <= host.bar->maximum(); ++value) {
            host.bar->setValue(value);
            for (int i = 0; i < 13; ++i)
                QCOMPARE(host.entry(i)->y() - 15 * i, host.entry(0)->y());
            QVERIFY(host.entry(0)->y() > -value - 10 && host.entry(0)->y() <= -value);
        }
    }

    // A panel that does not overflow ignores the wheel.
    void wheelWithoutOverflow()
    {
        Host host(Mixed(), 360, MenuPanel::Items::Tagged);
        QWheelEvent down(QPointF(100, 50), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(host.panel, &down);
        QCOMPARE(host.entry(0)->y(), 0);
    }

    // Tab brings the focus and frames the first item; the arrows skip headings; Enter and Space
    // activate what the keyboard chose.
    void keyboard()
    {
        Host host(Mixed(), 360, MenuPanel::Items::Tagged);
        QSignalSpy clicked(host.panel, &MenuPanel::entryClicked);
        QCOMPARE(host.panel->focusPolicy(), Qt::TabFocus);
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(host.panel, &tabIn);
        QCOMPARE(host.panel->framedIndex(), 1);

        QTest::keyClick(host.panel, Qt::Key_Down);
        QCOMPARE(host.panel->framedIndex(), 2);
        QTest::keyClick(host.panel, Qt::Key_Down); // over the heading
        QCOMPARE(host.panel->framedIndex(), 4);
        QTest::keyClick(host.panel, Qt::Key_Down); // stays on the last item
        QCOMPARE(host.panel->framedIndex(), 4);
        QTest::keyClick(host.panel, Qt::Key_Up);
        QCOMPARE(host.panel->framedIndex(), 2);
        QCOMPARE(host.framedCount(), 1);

        QTest::keyClick(host.panel, Qt::Key_Return);
        QTest::keyClick(host.panel, Qt::Key_Space);
        QTest::keyClick(host.panel, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(clicked.count(), 3);
        for (const QList<QVariant> &click : clicked)
            QCOMPARE(click.at(0).toInt(), 2);

        QTest::keyClick(host.panel, Qt::Key_Home);
        QCOMPARE(host.panel->framedIndex(), 1);
        QTest::keyClick(host.panel, Qt::Key_End);
        QCOMPARE(host.panel->framedIndex(), 4);

        // The mouse takes the frame back: Enter then is not the panel's to use.
        SendMouseMove(host.entry(1));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(host.panel, &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(clicked.count(), 3);
    }

    // Keyboard moves scroll the list just enough to keep the framed entry in view.
    void keyboardScrollsIntoView()
    {
        Host host(Items(13), 168, MenuPanel::Items::All);
        QTest::keyClick(host.panel, Qt::Key_End);
        QCOMPARE(host.panel->framedIndex(), 12);
        QCOMPARE(host.bar->value(), 27);
        QVERIFY(host.panel->rect().contains(host.entry(12)->geometry()));
        for (int i = 11; i >= 0; --i) {
            QTest::keyClick(host.panel, Qt::Key_Up);
            QCOMPARE(host.panel->framedIndex(), i);
            QVERIFY2(host.panel->rect().contains(host.entry(i)->geometry()),
                     qPrintable(QStringLiteral("entry %1").arg(i)));
        }
        QCOMPARE(host.bar->value(), 0);
        QTest::keyClick(host.panel, Qt::Key_Down);
        QCOMPARE(host.bar->value(), 0); // already in view: nothing moves
    }
};

QTEST_MAIN(MenuPanelTest)
#include "MenuPanelTest.moc"
