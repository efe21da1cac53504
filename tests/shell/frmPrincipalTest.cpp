#include "MessageBoxAnswerer.h"
#include "WidgetTestTools.h"
#include "shell/MenuPanel.h"
#include "shell/TitleAnimation.h"
#include "shell/frmPrincipal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// The main window without the ending: tests count the requests instead.
class StayingPrincipal : public frmPrincipal
{
public:
    int ends = 0;

protected:
    void endProgram() override { ++ends; }
};

// Finds the next modal tool window, lets `whileOpen` look at it, keeps it open for `openFor`
// milliseconds and rejects it.
class ToolCloser : public QObject
{
public:
    explicit ToolCloser(int openFor = 0, std::function<void(QDialog *)> whileOpen = {},
                        std::function<void(QDialog *)> beforeClose = {})
        : m_openFor(openFor), m_whileOpen(std::move(whileOpen)),
          m_beforeClose(std::move(beforeClose))
    {
        connect(&m_timer, &QTimer::timeout, this, &ToolCloser::poll);
        m_timer.start(5);
    }

    QString className;
    QPointer<QDialog> dialog;
    int opened = 0;

private:
    void poll()
    {
        auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!open || !open->isVisible())
            return;
        if (open != m_current) {
            m_current = open;
            dialog = open;
            className = QString::fromLatin1(open->metaObject()->className());
            ++opened;
            m_since.start();
            if (m_whileOpen)
                m_whileOpen(open);
        }
        if (m_since.elapsed() >= m_openFor) {
            if (m_beforeClose)
                m_beforeClose(open);
            m_current = nullptr;
            open->reject();
        }
    }

    QTimer m_timer;
    int m_openFor;
    std::function<void(QDialog *)> m_whileOpen;
    std::function<void(QDialog *)> m_beforeClose;
    QPointer<QDialog> m_current;
    QElapsedTimer m_since;
};

template <typename T>
T *Find(const QWidget &window, const QString &name)
{
    return window.findChild<T *>(name);
}

MenuPanel *Menu(const QWidget &window)
{
    return Find<MenuPanel>(window, QStringLiteral("pctAreaTrabalho"));
}

// Counts paint events and collects what was painted, per widget.
class PaintCounter : public QObject
{
public:
    QHash<QObject *, int> paints;
    QHash<QObject *, QRegion> painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints[watched];
            painted[watched] += static_cast<QPaintEvent *>(event)->region();
        }
        return false;
    }
};

} // namespace

class frmPrincipalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addRow("pctTitulo") << "pctTitulo" << QRect(0, 0, 454, 35);
        QTest::addRow("pctAreaAni") << "pctAreaAni" << QRect(0, 36, 41, 361);
        QTest::addRow("pctDegrade") << "pctDegrade" << QRect(40, 36, 16, 400);
        QTest::addRow("pctAreaTrabalho") << "pctAreaTrabalho" << QRect(56, 36, 381, 360);
        QTest::addRow("vsbAreaTrab") << "vsbAreaTrab" << QRect(438, 36, 17, 361);
        QTest::addRow("imgAni") << "imgAni" << QRect(14, 0, 16, 16);
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        StayingPrincipal window;
        auto *widget = Find<QWidget>(window, name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
    }

    void window()
    {
        StayingPrincipal window;
        QVERIFY(!qobject_cast<QDialog *>(&window));
        QVERIFY(window.isWindow());
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar"));
        QCOMPARE(window.size(), QSize(454, 397));
        QCOMPARE(window.minimumSize(), window.maximumSize());

        auto *banner = Find<QFrame>(window, QStringLiteral("pctTitulo"));
        QCOMPARE(banner->frameShape(), QFrame::Panel);
        QCOMPARE(banner->frameShadow(), QFrame::Sunken);
        QCOMPARE(banner->contentsRect(), QRect(2, 2, 450, 31));
        auto *title = Find<QLabel>(window, QStringLiteral("lblTitulo"));
        QCOMPARE(title->parentWidget(), banner);
        QCOMPARE(title->text(), QStringLiteral("Morvane's Quessar"));
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(title->font().family(), QStringLiteral("Arial"));
        QVERIFY(title->font().bold());
        QCOMPARE(title->font().pointSizeF(), 9.75);
        QCOMPARE(title->size(), title->sizeHint());
        QVERIFY(!title->autoFillBackground());
        // The slide starts just left of the banner's interior.
        QCOMPARE(title->x(), banner->contentsRect().left() - title->width());
        QCOMPARE(title->y(), banner->contentsRect().top() + 8);

        auto *bar = Find<QScrollBar>(window, QStringLiteral("vsbAreaTrab"));
        QVERIFY(!bar->isEnabled());

        auto *figure = Find<QLabel>(window, QStringLiteral("imgAni"));
        QVERIFY(figure->pixmap().isNull());
        for (int i = 0; i < 10; ++i) {
            auto *frame = Find<QLabel>(window, QStringLiteral("imgFigAni_%1").arg(i));
            QVERIFY(frame);
            QVERIFY(frame->isHidden());
            QCOMPARE(frame->parentWidget(), figure->parentWidget());
            QCOMPARE(frame->pixmap().size(), QSize(16, 16));
        }

        auto *tmrAni = Find<QTimer>(window, QStringLiteral("tmrAni"));
        auto *tmrAniTit = Find<QTimer>(window, QStringLiteral("tmrAniTit"));
        QVERIFY(tmrAni && tmrAniTit);
        QCOMPARE(tmrAni->interval(), 100);
        QVERIFY(tmrAni->isActive());
        QCOMPARE(tmrAniTit->interval(), 1);
        QCOMPARE(tmrAniTit->timerType(), Qt::PreciseTimer);
        QVERIFY(tmrAniTit->isActive());
    }

    void menuEntries_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("item");
        QTest::addRow("0") << 0 << "GENÉRICOS" << "GENÉRICOS" << false;
        QTest::addRow("1") << 1 << "Gerador de Nomes" << "Gerador de Nomes" << true;
        QTest::addRow("2") << 2 << "Rodador de Dados" << "Rodador de Dados" << true;
        QTest::addRow("3") << 3 << "DUNGEONS && DRAGONS (AD&&D)" << "DUNGEONS & DRAGONS (AD&D)"
                           << false;
        QTest::addRow("4") << 4 << "Gerador de Cidades para AD&&D"
                           << "Gerador de Cidades para AD&D" << true;
        QTest::addRow("5") << 5 << "MISC" << "MISC" << false;
        QTest::addRow("6") << 6 << "Links" << "Links" << true;
        QTest::addRow("7") << 7 << "Sobre" << "Sobre" << true;
        QTest::addRow("8") << 8 << "Sair" << "Sair" << true;
    }
    void menuEntries()
    {
        QFETCH(int, index);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        QFETCH(bool, item);
        StayingPrincipal window;
        MenuPanel *menu = Menu(window);
        QCOMPARE(menu->count(), 9);
        QLabel *label = MenuEntry(window, index);
        QVERIFY(label);
        QCOMPARE(label->parentWidget(), menu);
        QCOMPARE(label->text(), shown);
        QCOMPARE(menu->caption(index), caption);
        QCOMPARE(menu->tag(index), item ? QStringLiteral("ITEM") : QStringLiteral("PRINCIPAL"));
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 item ? QColor(0, 128, 0) : QColor(0, 0, 128));
        QCOMPARE(label->font().family(), QStringLiteral("Arial"));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pointSizeF(), 8.25);
        QCOMPARE(label->geometry(), QRect(0, 15 * index, 381, 15));
        QCOMPARE(label->accessibleName(), shown);

        // Items react to the pointer, headings do not.
        SendMouseMove(label);
        QCOMPARE(menu->framedIndex(), item ? index : -1);
        QTest::mousePress(label, Qt::RightButton);
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 item ? QColor(255, 0, 0) : QColor(0, 0, 128));
        QTest::mouseRelease(label, Qt::RightButton);
    }

    // Each item opens its own tool window modally, a fresh one every time; headings do nothing.
    // The figure keeps moving while a tool window is open.
    void dispatch_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("tool");
        QTest::addRow("GENÉRICOS") << 0 << QString();
        QTest::addRow("Gerador de Nomes") << 1 << "frmGeradorNome";
        QTest::addRow("Rodador de Dados") << 2 << "frmRodadorDados";
        QTest::addRow("DUNGEONS && DRAGONS") << 3 << QString();
        QTest::addRow("Gerador de Cidades") << 4 << "frmGeradorCidadeADD";
        QTest::addRow("MISC") << 5 << QString();
        QTest::addRow("Links") << 6 << "frmLinks";
        QTest::addRow("Sobre") << 7 << "frmSobre";
    }
    void dispatch()
    {
        QFETCH(int, index);
        QFETCH(QString, tool);
        StayingPrincipal window;
        window.show();
        auto *figure = Find<QLabel>(window, QStringLiteral("imgAni"));
        int figureTopAtOpen = -1;
        int figureTopAtClose = -1;
        MessageBoxAnswerer noBoxes(QMessageBox::Ok);

        for (int opening = 1; opening <= 2; ++opening) {
            const bool watchFigure = opening == 1;
            ToolCloser closer(
                watchFigure ? 250 : 0,
                [&](QDialog *dialog) {
                    if (watchFigure)
                        figureTopAtOpen = figure->y();
                    QCOMPARE(dialog->parentWidget(), &window);
                    QVERIFY(dialog->isModal());
                },
                [&](QDialog *) {
                    if (watchFigure)
                        figureTopAtClose = figure->y();
                });
            QTest::mouseClick(MenuEntry(window, index), Qt::LeftButton);
            QCOMPARE(closer.className, tool);
            QCOMPARE(closer.opened, tool.isEmpty() ? 0 : 1);
            // Gone once closed: the next opening builds a new one.
            QVERIFY(closer.dialog.isNull());
        }
        if (!tool.isEmpty())
            QVERIFY(figureTopAtOpen != figureTopAtClose);
        QCOMPARE(noBoxes.count(), 0);
        QCOMPARE(window.ends, 0);
        QVERIFY(window.isVisible());
    }

    void linksReopenAtTheTop()
    {
        StayingPrincipal window;
        window.show();
        QList<int> valuesAtOpen;
        ToolCloser closer(0, [&](QDialog *links) {
            auto *bar = links->findChild<QScrollBar *>(QStringLiteral("vsbAreaTrab"));
            valuesAtOpen << bar->value();
            bar->setValue(bar->maximum());
        });
        QTest::mouseClick(MenuEntry(window, 6), Qt::LeftButton);
        QTest::mouseClick(MenuEntry(window, 6), Qt::LeftButton);
        QCOMPARE(valuesAtOpen, (QList<int>{0, 0}));
    }

    void exitQuestion()
    {
        StayingPrincipal window;
        window.show();
        MenuPanel *menu = Menu(window);
        QLabel *sair = MenuEntry(window, 8);
        SendMouseMove(sair);
        {
            MessageBoxAnswerer answerer(QMessageBox::No);
            QTest::mouseClick(sair, Qt::LeftButton);
            QCOMPARE(answerer.count(), 1);
            QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
            QCOMPARE(answerer.last().text, QStringLiteral("Tem certeza que deseja sair do Quessar?"));
            QCOMPARE(answerer.last().icon, QMessageBox::Question);
            QCOMPARE(answerer.last().buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(answerer.last().defaultButton, QMessageBox::Yes);
        }
        // No: everything goes on as before.
        QCOMPARE(window.ends, 0);
        QVERIFY(window.isVisible());
        QCOMPARE(menu->framedIndex(), 8);
        QVERIFY(Find<QTimer>(window, QStringLiteral("tmrAni"))->isActive());

        MessageBoxAnswerer answerer(QMessageBox::Yes);
        QTest::mouseClick(sair, Qt::LeftButton);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(window.ends, 1);
        // Quitting closes the windows; the main window does not ask a second time.
        QVERIFY(window.close());
        QTest::qWait(50);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(window.ends, 1);
    }

    void closeBoxAsksToo()
    {
        StayingPrincipal window;
        window.show();
        {
            MessageBoxAnswerer answerer(QMessageBox::No);
            QVERIFY(!window.close());
            QCOMPARE(answerer.count(), 1);
            QCOMPARE(answerer.last().text, QStringLiteral("Tem certeza que deseja sair do Quessar?"));
            QCOMPARE(answerer.last().icon, QMessageBox::Question);
        }
        QVERIFY(window.isVisible());
        QCOMPARE(window.ends, 0);

        MessageBoxAnswerer answerer(QMessageBox::Yes);
        QVERIFY(window.close());
        QCOMPARE(answerer.count(), 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.ends, 1);
    }

    // Tab, then Enter, opens the first item.
    void keyboardOpensItems()
    {
        StayingPrincipal window;
        window.show();
        MenuPanel *menu = Menu(window);
        QCOMPARE(menu->accessibleName(), QStringLiteral("Menu principal"));
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(menu, &tabIn);
        QCOMPARE(menu->framedIndex(), 1);
        QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->framedIndex(), 2);
        ToolCloser closer;
        QTest::keyClick(menu, Qt::Key_Return);
        QCOMPARE(closer.className, QStringLiteral("frmRodadorDados"));
    }

    // Frames 0…9 in turn from the first tick; the figure runs down to 350 and back to 0.
    void figureTicks()
    {
        StayingPrincipal window;
        auto *timer = Find<QTimer>(window, QStringLiteral("tmrAni"));
        auto *figure = Find<QLabel>(window, QStringLiteral("imgAni"));
        QList<qint64> frames;
        for (int i = 0; i < 10; ++i)
            frames << Find<QLabel>(window, QStringLiteral("imgFigAni_%1").arg(i))
                          ->pixmap()
                          .cacheKey();
        QList<int> tops;
        QList<qint64> shown;
        connect(timer, &QTimer::timeout, this, [&] {
            tops << figure->y();
            shown << figure->pixmap().cacheKey();
            QCOMPARE(figure->x(), 14);
        });
        timer->setInterval(1); // the same ticks, sooner
        QTRY_VERIFY_WITH_TIMEOUT(tops.size() >= 75, 10000);

        for (int tick = 0; tick < 75; ++tick) {
            const int cycle = tick % 70;
            const int expected = cycle < 35 ? 10 * (cycle + 1) : 10 * (69 - cycle);
            QCOMPARE(tops[tick], expected);
            QCOMPARE(shown[tick], frames[tick % 10]);
        }
    }

    // The title runs its four legs once, one move or leg change per tick, and rests where the
    // slide ends.
    void titleSlidesOnce()
    {
        StayingPrincipal window;
        window.show();
        auto *timer = Find<QTimer>(window, QStringLiteral("tmrAniTit"));
        auto *banner = Find<QFrame>(window, QStringLiteral("pctTitulo"));
        auto *title = Find<QLabel>(window, QStringLiteral("lblTitulo"));
        const QRect interior = banner->contentsRect();

        TitleAnimation model = TitleAnimation::start(title->width());
        int expectedTicks = 0;
        int furthest = model.x;
        while (model.running) {
            StepTitle(model, title->width(), interior.width());
            furthest = std::max(furthest, model.x);
            ++expectedTicks;
        }

        int ticks = 0;
        int rightmost = INT_MIN;
        connect(timer, &QTimer::timeout, this, [&] {
            ++ticks;
            rightmost = std::max(rightmost, title->geometry().right());
        });
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 10000);
        QTest::qWait(20);
        QCOMPARE(ticks, expectedTicks);
        QCOMPARE(title->x() - interior.left(), model.x);
        QCOMPARE(title->y() - interior.top(), 8);
        // Leg 1 ends once the title's right end reaches the banner's right edge.
        QCOMPARE(rightmost, interior.left() + furthest + title->width() - 1);
        QVERIFY(furthest + title->width() >= interior.width());
        QVERIFY(furthest + title->width() < interior.width() + 5);
        QVERIFY(title->isVisible());
        // What shows of the title stays inside the banner's interior.
        QVERIFY(interior.contains(title->mask().boundingRect().translated(title->pos())));
    }

    // When idle, a figure tick repaints only the figure's old and new place.
    void idleTicksRepaintOnlyTheFigure()
    {
        StayingPrincipal window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *titleTimer = Find<QTimer>(window, QStringLiteral("tmrAniTit"));
        QTRY_VERIFY_WITH_TIMEOUT(!titleTimer->isActive(), 10000);
        QTest::qWait(50);

        PaintCounter counter;
        QList<QWidget *> watched{&window};
        for (QWidget *child : window.findChildren<QWidget *>())
            watched << child;
        for (QWidget *w : watched)
            w->installEventFilter(&counter);
        QTest::qWait(350);

        auto *strip = Find<QWidget>(window, QStringLiteral("pctAreaAni"));
        auto *figure = Find<QWidget>(window, QStringLiteral("imgAni"));
        QVERIFY(counter.paints.value(figure) >= 2);
        for (QWidget *w : watched) {
            if (w == figure || w == strip)
                continue;
            QVERIFY2(counter.paints.value(w) == 0, qPrintable(w->objectName()));
        }
        QVERIFY(QRect(14, 0, 16, 361).contains(counter.painted.value(strip).boundingRect()));
    }
};

QTEST_MAIN(frmPrincipalTest)
#include "frmPrincipalTest.moc"
