#include "dice/chart/ChartAxes.h"
#include "dice/chart/OpposedOdds.h"
#include "dice/format/OddsText.h"
#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"
#include "dice/audit/AuditLineReader.h"
#include "dice/audit/AuditWords.h"
#include "dice/audit/LuckAudit.h"
#include "mesa/LuckPanel.h"
#include "mesa/MesaCommandLine.h"
#include "mesa/MesaSettings.h"
#include "mesa/OddsCalculator.h"
#include "mesa/OddsChartView.h"
#include "mesa/RollHistoryModel.h"
#include "mesa/frmMesaDados.h"
#include "mesa/ExpressionEdit.h"
#include "mesa/RollDelegate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>

#include <sys/mount.h>
#include <sys/stat.h>

namespace {

// How long a wait for the window may take: long, since a sanitizer build on a busy machine
// works the odds many times slower; a passing wait ends as soon as its condition holds.
constexpr int Patience = 30000;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> lines(const QString &path)
{
    QList<QByteArray> all = readAll(path).split('\n');
    if (!all.isEmpty() && all.constLast().isEmpty())
        all.removeLast();
    return all;
}

// A roll's line without its time, which differs between two runs.
QByteArray withoutTime(const QByteArray &line)
{
    static const QRegularExpression time(QStringLiteral("\"hora\":\"[^\"]*\""));
    return QString::fromUtf8(line).replace(time, QString()).toUtf8();
}

// The exact odds of `text`, computed here as the window should have.
DiceDistribution oddsOf(const QString &text)
{
    const auto parsed = DiceNotation::parse(text);
    const auto odds = DiceOdds::evaluate(std::get<DiceExpression>(parsed));
    return std::get<DiceDistribution>(odds);
}

QString percent(double p)
{
    return QString::fromUtf8(OddsText::percent(p, p >= 1.0)) + QStringLiteral(" %");
}

// How many pixels of `image` are `colour`, within one step per channel.
int pixelsOf(const QImage &image, const QColor &colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            count += std::abs(qRed(line[x]) - colour.red()) <= 1
                     && std::abs(qGreen(line[x]) - colour.green()) <= 1
                     && std::abs(qBlue(line[x]) - colour.blue()) <= 1;
        }
    }
    return count;
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(51, 51, 51), base(42, 42, 42), text(230, 230, 230);
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase})
        p.setColor(role, window);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    p.setColor(QPalette::Base, base);
    return p;
}

// WCAG's contrast ratio of two colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class frmMesaDadosTest : public QObject
{
    Q_OBJECT

private:
    // A window over folders of this test, shown and active.
    std::unique_ptr<frmMesaDados> open(const QString &record = {}, std::optional<quint64> seed = 42)
    {
        MesaOptions options = MesaOptions::within(m_dir->path(), seed);
        options.recordPath = record;
        auto window = std::make_unique<frmMesaDados>(options);
        window->show();
        window->activateWindow();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window.get());
        return window;
    }
    template <typename T> static T *child(const QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QLatin1StringView(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }
    static void type(frmMesaDados &window, const QString &text)
    {
        auto *box = child<ExpressionEdit>(window, "txtExpressao");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    static int rows(const frmMesaDados &window)
    {
        return child<QListView>(window, "lstRolagens")->model()->rowCount();
    }
    static OddsChartView *chart(const frmMesaDados &window)
    {
        return child<OddsChartView>(window, "pctChances");
    }
    // Types `text` and waits for its chart.
    static void typeAndWait(frmMesaDados &window, const QString &text)
    {
        type(window, text);
        window.oddsCalculator()->waitForIdle();
        QTRY_VERIFY_WITH_TIMEOUT(!chart(window)->isBusy(), Patience);
    }
    static const RollHistoryModel &history(const frmMesaDados &window)
    {
        return *qobject_cast<const RollHistoryModel *>(
            child<QListView>(window, "lstRolagens")->model());
    }
    static QString row(const frmMesaDados &window, int r)
    {
        const auto *model = child<QListView>(window, "lstRolagens")->model();
        return model->data(model->index(r, 0), Qt::DisplayRole).toString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { m_dir.reset(); }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("text");
        using A = MesaCommandLine::Action;
        QTest::newRow("nothing") << QStringList{} << int(A::Run) << QString() << QString();
        QTest::newRow("a record") << QStringList{"--registro", "s.jsonl"} << int(A::Run)
                                  << "s.jsonl" << QString();
        QTest::newRow("Qt's own") << QStringList{"-style", "fusion"} << int(A::Run) << QString()
                                  << QString();
        QTest::newRow("help") << QStringList{"--help"} << int(A::Help) << QString()
                              << "--registro ARQUIVO";
        QTest::newRow("version") << QStringList{"-v"} << int(A::Version) << QString()
                                 << "quessar-mesa 1.0.0";
        QTest::newRow("no file") << QStringList{"--registro"} << int(A::Error) << QString()
                                 << "--registro";
        QTest::newRow("empty file") << QStringList{"--registro", ""} << int(A::Error) << QString()
                                    << "falta o nome";
        QTest::newRow("unknown") << QStringList{"--bogus"} << int(A::Error) << QString()
                                 << "opção desconhecida: --bogus";
        QTest::newRow("stray") << QStringList{"3d6"} << int(A::Error) << QString()
                               << "argumento inesperado: 3d6";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, record);
        QFETCH(QString, text);
        const auto request = MesaCommandLine::read(QStringList{"quessar-mesa"} + arguments);
        QCOMPARE(int(request.action), action);
        QCOMPARE(request.recordPath, record);
        QVERIFY2(request.text.contains(text), qPrintable(request.text));
    }

    // Typed and rolled with Enter: in the history and in the record, the record's line the
    // same as quessar-cli dados --registro writes for the same dice.
    void aRollIsRecordedThenShown()
    {
        auto window = open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Morvane's Quessar: Mesa de Dados"));
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(*window, "txtExpressao"));
        const QString record = window->recordPath();
        QVERIFY(record.startsWith(m_dir->filePath("data/registros/sessao-")));
        QVERIFY(child<QLabel>(*window, "lblRegistro")->text().contains(record));

        type(*window, QStringLiteral("4d6kh3 # atributo"));
        QTest::keyClick(child<QWidget>(*window, "txtExpressao"), Qt::Key_Return);
        type(*window, QStringLiteral("10d10>=8f1"));
        QTest::mouseClick(child<QPushButton>(*window, "cmdRolar"), Qt::LeftButton);
        QCOMPARE(rows(*window), 2);
        QVERIFY2(row(*window, 0).contains("10d10>=8f1: ["), qPrintable(row(*window, 0)));
        QVERIFY2(row(*window, 1).contains("4d6kh3: [") && row(*window, 1).endsWith("# atributo"),
                 qPrintable(row(*window, 1)));
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        const QList<QByteArray> mine = lines(record);
        QCOMPARE(mine.size(), 3);
        QVERIFY(mine[0].contains("\"programa\":\"quessar-mesa 1.0.0\""));
        const QString theirs = m_dir->filePath("cli.jsonl");
        QProcess cli;
        cli.start(QStringLiteral(QUESSAR_CLI_PATH),
                  {"dados", "-s", "42", "--registro", theirs, "4d6kh3 # atributo", "10d10>=8f1"});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        const QList<QByteArray> expected = lines(theirs);
        QCOMPARE(expected.size(), 3);
        for (int i = 1; i < 3; ++i)
            QCOMPARE(withoutTime(mine[i]), withoutTime(expected[i]));
    }

    // A mistake is marked in the text and explained under it, never in a box, and Enter then
    // rolls nothing.
    void aMistakeShowsWhereAndWhy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::newRow("ends too soon") << "3d6+" << 5;
        QTest::newRow("no die left") << "3d6kh0" << 4;
        QTest::newRow("unknown letter") << "2d6x" << 4;
        QTest::newRow("too many faces") << "1d2000000" << 3;
    }
    void aMistakeShowsWhereAndWhy()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        auto window = open();
        type(*window, text);
        auto *box = child<ExpressionEdit>(*window, "txtExpressao");
        auto *error = child<QLabel>(*window, "lblErro");
        QVERIFY(error->isVisible());
        QVERIFY2(error->text().startsWith(QStringLiteral("Posição %1: ").arg(position)),
                 qPrintable(error->text()));
        QCOMPARE(box->errorPosition(), position);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(rows(*window), 0);
        QCOMPARE(lines(window->recordPath()).size(), 1); // the header alone
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        // Mended, the mark and the message go.
        box->setText(QStringLiteral("3d6"));
        QVERIFY(!error->isVisible());
        QCOMPARE(box->errorPosition(), 0);
    }

    // The exact odds follow the text; only the newest text's answer is shown.
    void theOddsFollowTheText()
    {
        auto window = open();
        auto *odds = child<QLabel>(*window, "lblChances");
        type(*window, QStringLiteral("3d6"));
        QTRY_COMPARE_WITH_TIMEOUT(
            odds->text(),
            QStringLiteral("média 10,5 · desvio-padrão 2,95804 · mínimo 3 · máximo 18"), Patience);
        type(*window, QStringLiteral("100d20"));
        type(*window, QStringLiteral("1d6/2"));
        window->oddsCalculator()->waitForIdle();
        QTRY_VERIFY2_WITH_TIMEOUT(odds->text().startsWith(QStringLiteral("média 1,75 ")),
                                  qPrintable(odds->text()), Patience);
        QTRY_VERIFY2_WITH_TIMEOUT(odds->text().endsWith(QStringLiteral("mínimo 0,5 · máximo 3")),
                                  qPrintable(odds->text()), Patience);
        type(*window, QStringLiteral("10000d1000000!kh5000"));
        QTRY_VERIFY_WITH_TIMEOUT(odds->text().startsWith(QStringLiteral("sem chances exatas: ")),
                                 Patience);
    }

    // The chart holds every value of the typed expression with its exact chance, in the view
    // chosen after typing.
    void theChartShowsTheExactOdds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("values");
        QTest::newRow("2d6 exactly") << "2d6" << int(ChartView::Exactly) << 11;
        QTest::newRow("2d6 at least") << "2d6" << int(ChartView::AtLeast) << 11;
        QTest::newRow("2d6 at most") << "2d6" << int(ChartView::AtMost) << 11;
        QTest::newRow("halves, at least") << "1d6/2 # metade" << int(ChartView::AtLeast) << 6;
        QTest::newRow("a pool, at most") << "10d10>=8f1" << int(ChartView::AtMost) << 21;
    }
    void theChartShowsTheExactOdds()
    {
        QFETCH(QString, text);
        QFETCH(int, view);
        QFETCH(int, values);
        auto window = open();
        typeAndWait(*window, text);
        auto *combo = child<QComboBox>(*window, "cboVer");
        combo->setCurrentIndex(combo->findData(view));
        const OddsChart *shown = chart(*window)->chart();
        QVERIFY(shown);
        QCOMPARE(int(shown->view()), view);
        QCOMPARE(shown->seriesCount(), 1);
        QCOMPARE(shown->rowCount(), values);
        const DiceDistribution odds = oddsOf(text);
        for (qsizetype r = 0; r < shown->rowCount(); ++r) {
            const Fraction v = shown->value(r);
            const double expected = view == int(ChartView::Exactly)   ? odds.probabilityOf(v)
                                    : view == int(ChartView::AtLeast) ? odds.atLeast(v)
                                                                      : odds.atMost(v);
            QCOMPARE(shown->probability(r, 0), expected);
        }
        QVERIFY(chart(*window)->accessibleDescription().startsWith(
            QString::fromUtf8(ChartAxes::heading(*shown))));
    }

    // Two pinned or typed expressions are set against each other; a third hides that; pins
    // go with Delete; no more than eight series.
    void pinnedExpressionsAreCompared()
    {
        auto window = open();
        auto *versus = child<QLabel>(*window, "lblConfronto");
        auto *pins = child<QListWidget>(*window, "lstFixadas");
        auto *pin = child<QPushButton>(*window, "cmdFixar");
        QVERIFY(pin->toolTip().contains(QStringLiteral("Ctrl+F")));
        typeAndWait(*window, QStringLiteral("2d20kh1+5"));
        QTest::keyClick(child<QWidget>(*window, "txtExpressao"), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(pins->count(), 1);
        typeAndWait(*window, QStringLiteral("1d20+8 # ataque"));
        QCOMPARE(chart(*window)->chart()->seriesCount(), 2);
        const OpposedOdds vs = OpposedOdds::of(oddsOf("2d20kh1+5"), oddsOf("1d20+8"));
        QVERIFY(versus->isVisible());
        QCOMPARE(versus->text(), QStringLiteral("2d20kh1+5 contra 1d20+8: vence ") + percent(vs.beats)
                                     + QStringLiteral(", empata ") + percent(vs.ties)
                                     + QStringLiteral(", perde ") + percent(vs.loses));
        // The same expression again is not pinned twice.
        pin->click();
        pin->click();
        QCOMPARE(pins->count(), 2);
        QCOMPARE(chart(*window)->chart()->seriesCount(), 2);
        typeAndWait(*window, QStringLiteral("3d6"));
        QCOMPARE(chart(*window)->chart()->seriesCount(), 3);
        QVERIFY(!versus->isVisible());

        pins->setFocus();
        pins->setCurrentRow(0);
        QTest::keyClick(pins, Qt::Key_Delete);
        QCOMPARE(pins->count(), 1);
        QCOMPARE(chart(*window)->chart()->series()[0].name, QByteArray("1d20+8"));
        QVERIFY(versus->isVisible());
        QVERIFY(versus->text().startsWith(QStringLiteral("1d20+8 contra 3d6: vence ")));

        for (int faces = 2; pins->count() < 8; ++faces) {
            typeAndWait(*window, QStringLiteral("1d%1").arg(faces));
            pin->click();
        }
        typeAndWait(*window, QStringLiteral("5d6"));
        QCOMPARE(chart(*window)->chart()->seriesCount(), 8);
        QVERIFY(!pin->isEnabled());
    }

    // Refused odds say why, in the chart and above it, and an estimate by rolling takes their
    // place, shown as an estimate.
    void aRefusedExpressionOffersAnEstimate()
    {
        auto window = open();
        auto *estimate = child<QPushButton>(*window, "cmdEstimar");
        type(*window, QStringLiteral("1000d1000000"));
        QTRY_VERIFY_WITH_TIMEOUT(estimate->isVisible(), Patience);
        QVERIFY(!chart(*window)->chart());
        const QString refusal = child<QLabel>(*window, "lblChances")->text();
        QVERIFY2(refusal.startsWith(QStringLiteral("sem chances exatas: trabalho demais")),
                 qPrintable(refusal));
        QCOMPARE(chart(*window)->message(), refusal);
        estimate->click();
        QTRY_VERIFY_WITH_TIMEOUT(chart(*window)->chart(), Patience);
        QVERIFY(!chart(*window)->isBusy());
        QVERIFY(!chart(*window)->estimate().isEmpty());
        QVERIFY(!estimate->isVisible());
        const ChartSeries &sampled = chart(*window)->chart()->series()[0];
        QVERIFY2(sampled.name.startsWith("1000d1000000 (estimativa por "), sampled.name.constData());
        QVERIFY(sampled.odds.minimum() >= Fraction(1000));
        QVERIFY(sampled.odds.maximum() <= Fraction(1'000'000'000));
        // A newer text drops the estimate, finished or still being rolled.
        typeAndWait(*window, QStringLiteral("2d6"));
        QVERIFY(chart(*window)->estimate().isEmpty());
        type(*window, QStringLiteral("1000d1000000"));
        QTRY_VERIFY_WITH_TIMEOUT(estimate->isVisible(), Patience);
        estimate->click();
        type(*window, QStringLiteral("2000d1000000"));
        QTRY_VERIFY_WITH_TIMEOUT(estimate->isVisible(), Patience);
        QVERIFY(estimate->isEnabled());
        QVERIFY(!chart(*window)->chart());
    }

    // A roll's luck against its exact odds, in the history and in what Ctrl+C copies, whether
    // the odds were known before the roll or came after; its total marked on the chart.
    void aRollCarriesItsLuck_data()
    {
        QTest::addColumn<QString>("text"); // empty: the second saved roll
        QTest::addColumn<bool>("waitFirst");
        QTest::newRow("odds known") << "3d6" << true;
        QTest::newRow("odds after the roll") << "8d6" << false;
        QTest::newRow("a fraction") << "1d6/3" << true;
        QTest::newRow("labelled") << "4d6kh3 # atributo" << false;
        QTest::newRow("a saved roll") << QString() << false;
    }
    void aRollCarriesItsLuck()
    {
        QFETCH(QString, text);
        QFETCH(bool, waitFirst);
        auto window = open();
        if (text.isEmpty()) {
            window->rollSaved(1);
        } else {
            if (waitFirst)
                typeAndWait(*window, text);
            else
                type(*window, text);
            window->rollTyped();
        }
        QCOMPARE(rows(*window), 1);
        QTRY_VERIFY_WITH_TIMEOUT(history(*window).entry(0).luck.known, Patience);
        const RollEntry &entry = history(*window).entry(0);
        const DiceDistribution odds = oddsOf(entry.expression);
        double below = 0, equal = 0, above = 0;
        std::optional<Fraction> total;
        odds.forEach([&](Fraction v, double p) {
            if (v.decimal(4, ',') == entry.total)
                total = v, equal = p;
            else
                (total ? above : below) += p;
        });
        QVERIFY(total);
        QVERIFY(std::abs(entry.luck.below - below) < 1e-12);
        QVERIFY(std::abs(entry.luck.equal - equal) < 1e-15);
        QVERIFY(std::abs(entry.luck.above - above) < 1e-12);
        const QString luck = QStringLiteral("(menos ") + percent(below) + QStringLiteral(" · igual ")
                             + percent(equal) + QStringLiteral(" · mais ") + percent(above)
                             + u')';
        QVERIFY2(row(*window, 0).contains(luck), qPrintable(row(*window, 0) + " / " + luck));
        auto *list = child<QListView>(*window, "lstRolagens");
        list->setFocus();
        list->selectAll();
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().contains(luck));
        if (!text.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(chart(*window)->marker(), total, Patience);
        else
            QVERIFY(!chart(*window)->marker()); // not on the chart
    }

    // A chart of ten thousand values paints by pixel column: well within a frame, whether as
    // bars or as lines; more chances than a chart may hold leave a message instead.
    void aWideChartPaintsQuickly()
    {
        OddsChartView view;
        const auto flat = DiceDistribution::whole(1, std::vector<double>(10'000, 1e-4));
        const auto half = DiceDistribution::whole(1, std::vector<double>(5'000, 2e-4));
        QImage image(900, 320, QImage::Format_ARGB32);
        for (const std::size_t count : {1u, 2u}) {
            std::vector<ChartSeries> series{{"1d10000", flat}, {"1d5000", half}};
            series.resize(count);
            view.setSeries(series);
            view.setMarker(Fraction(5000));
            QCOMPARE(view.chart()->rowCount(), 10'000);
            qint64 best = std::numeric_limits<qint64>::max();
            for (int i = 0; i < 3; ++i) {
                image.fill(Qt::black);
                QPainter painter(&image);
                QElapsedTimer clock;
                clock.start();
                view.render(painter, image.rect(), view.palette());
                best = std::min(best, clock.nsecsElapsed());
            }
            QVERIFY2(best < 40'000'000, qPrintable(QString::number(best / 1e6) + " ms"));
            for (std::size_t s = 0; s < count; ++s)
                QVERIFY(pixelsOf(image, OddsChartView::seriesColour(view.palette(), qsizetype(s))) > 500);
        }
        const auto wide = DiceDistribution::whole(0, std::vector<double>(2'100'000, 1 / 2.1e6));
        view.setSeries({{"a", wide}, {"b", wide}});
        QVERIFY(!view.chart());
        QVERIFY(view.message().startsWith(QStringLiteral("Valores demais para o gráfico")));
    }

    // The window's picture, in a light and in a dark palette: bars of one series and lines of
    // two in colours that stand out from the chart's base.
    void theChartReadsInLightAndDark_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void theChartReadsInLightAndDark()
    {
        QFETCH(bool, dark);
        auto window = open();
        if (dark)
            window->setPalette(darkPalette());
        const QPalette palette = chart(*window)->palette();
        QCOMPARE(palette.color(QPalette::Base).lightnessF() < 0.5, dark);
        for (qsizetype s = 0; s < 8; ++s)
            QVERIFY2(contrast(OddsChartView::seriesColour(palette, s), palette.color(QPalette::Base))
                         >= 3,
                     qPrintable(OddsChartView::seriesColour(palette, s).name()));
        typeAndWait(*window, QStringLiteral("3d6"));
        const QImage bars = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(pixelsOf(bars, OddsChartView::seriesColour(palette, 0)) > 400);
        child<QPushButton>(*window, "cmdFixar")->click();
        typeAndWait(*window, QStringLiteral("2d10"));
        const QImage lines = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(pixelsOf(lines, OddsChartView::seriesColour(palette, 0)) > 40);
        QVERIFY(pixelsOf(lines, OddsChartView::seriesColour(palette, 1)) > 40);
    }

    // Answers are kept for going back to an expression, but not without bound: a few wide
    // distributions push the oldest out.
    void theKeptOddsAreBounded()
    {
        OddsCalculator odds;
        std::vector<QByteArray> keys;
        for (int faces = 1'000'000; faces > 999'994; --faces) {
            const QString text = QStringLiteral("1d%1").arg(faces);
            keys.push_back(text.toUtf8());
            odds.request(std::make_shared<const DiceExpression>(
                std::get<DiceExpression>(DiceNotation::parse(text))));
            odds.waitForIdle();
            QTRY_VERIFY_WITH_TIMEOUT(odds.cached(keys.back()), Patience);
        }
        qsizetype held = 0;
        for (const QByteArray &key : keys) {
            if (const OddsCalculator::Answer *kept = odds.cached(key))
                held += kept->odds->span();
        }
        QVERIFY(!odds.cached(keys.front()));
        QVERIFY(held <= OddsCalculator::CacheValues);
        QVERIFY(held >= OddsCalculator::CacheValues - 1'000'000);
    }

    // On a real full file system the roll that does not fit is not shown, and the bar says why.
    void aFullDiskRefusesTheRoll()
    {
        const QString mountPoint = m_dir->filePath("cheio");
        QVERIFY(QDir().mkpath(mountPoint));
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("mount -t tmpfs is not permitted here");
        const QString record = mountPoint + QStringLiteral("/r.jsonl");
        {
            auto window = open(record);
            auto *bar = child<QFrame>(*window, "barMensagem");
            QVERIFY(!bar->isVisible());
            int tries = 0;
            while (!bar->isVisible() && tries++ < 40) {
                type(*window, QStringLiteral("500d6"));
                window->rollTyped();
            }
            const QString message = child<QLabel>(*window, "lblMensagem")->text();
            const int shown = rows(*window);
            const qsizetype recorded = lines(record).size() - 1;
            window.reset();
            ::umount(QFile::encodeName(mountPoint).constData());
            QVERIFY(bar);
            QVERIFY2(message.contains(QStringLiteral("não foi feita")) && message.contains(QStringLiteral("espaço")),
                     qPrintable(message));
            QVERIFY(shown > 0);
            QCOMPARE(qsizetype(shown), recorded);
            QVERIFY(QApplication::activeModalWidget() == nullptr);
            return;
        }
    }

    // A record removed or replaced during the session takes no more rolls: they would be
    // written where no one can read them back.
    void aRecordTakenAwayRefusesTheRoll_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("removed") << false;
        QTest::newRow("replaced") << true;
    }
    void aRecordTakenAwayRefusesTheRoll()
    {
        QFETCH(bool, replaced);
        auto window = open();
        type(*window, QStringLiteral("3d6"));
        window->rollTyped();
        QCOMPARE(rows(*window), 1);
        const QString path = window->recordPath();
        const QByteArray before = readAll(path);
        QVERIFY(QFile::rename(path, path + QStringLiteral(".antigo")));
        if (replaced)
            QVERIFY(QFile::copy(path + QStringLiteral(".antigo"), path));
        window->rollTyped();
        QCOMPARE(rows(*window), 1);
        QVERIFY(child<QFrame>(*window, "barMensagem")->isVisible());
        QVERIFY2(child<QLabel>(*window, "lblMensagem")->text().contains(QStringLiteral("removido ou trocado")),
                 qPrintable(child<QLabel>(*window, "lblMensagem")->text()));
        QCOMPARE(readAll(path + QStringLiteral(".antigo")), before);
    }

    // Ctrl+C copies the selected rolls, Ctrl+L clears the view but not the record, Ctrl+Z
    // brings the rolls back.
    void clearAndUndo()
    {
        auto window = open();
        for (const char *text : {"1d4", "1d6", "1d8"}) {
            type(*window, QString::fromLatin1(text));
            window->rollTyped();
        }
        auto *history = child<QListView>(*window, "lstRolagens");
        history->setFocus();
        history->selectAll();
        QTest::keyClick(history, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), 3);
        QVERIFY2(copied[0].contains("1d4: [") && copied[2].contains("1d8: ["), qPrintable(copied.join('|')));

        QTest::keyClick(history, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(rows(*window), 0);
        QCOMPARE(lines(window->recordPath()).size(), 4);
        type(*window, QStringLiteral("1d10"));
        window->rollTyped();
        history->setFocus();
        QTest::keyClick(history, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rows(*window), 4);
        QVERIFY(row(*window, 0).contains("1d10: ["));
        QVERIFY(row(*window, 3).contains("1d4: ["));
    }

    // The tray: examples on a first run, Alt+N rolls, add, move, rename and remove, and all of
    // it there again at the next run, with the expressions typed for Up and Down.
    void savedRollsAndHistoryPersist()
    {
        {
            auto window = open();
            auto *tray = child<QListView>(*window, "lstSalvas");
            QCOMPARE(tray->model()->rowCount(), 4);
            QCOMPARE(tray->model()->index(0, 0).data().toString(),
                     QStringLiteral("Ataque com vantagem: 2d20kh1+5"));
            QTest::keyClick(window.get(), Qt::Key_3, Qt::AltModifier);
            QCOMPARE(rows(*window), 1);
            QVERIFY(row(*window, 0).contains("4d6kh3: ["));

            type(*window, QStringLiteral("2d6+3 # Espada"));
            QTest::mouseClick(child<QPushButton>(*window, "cmdGuardar"), Qt::LeftButton);
            QCOMPARE(tray->model()->rowCount(), 5);
            QTest::mouseClick(child<QPushButton>(*window, "cmdSubir"), Qt::LeftButton);
            tray->model()->setData(tray->model()->index(3, 0), QStringLiteral(" Espada  longa "));
            tray->setCurrentIndex(tray->model()->index(0, 0));
            QTest::mouseClick(child<QPushButton>(*window, "cmdRemover"), Qt::LeftButton);
            // Bola de fogo, first now: a click rolls it once, so does Enter.
            const QRect first = tray->visualRect(tray->model()->index(0, 0));
            QTest::mouseClick(tray->viewport(), Qt::LeftButton, {}, first.center());
            QCOMPARE(rows(*window), 2);
            tray->setFocus();
            QTest::keyClick(tray, Qt::Key_Return);
            QCOMPARE(rows(*window), 3);
            window->close();
        }
        auto window = open();
        auto *tray = child<QListView>(*window, "lstSalvas");
        QStringList shown;
        for (int r = 0; r < tray->model()->rowCount(); ++r)
            shown << tray->model()->index(r, 0).data().toString();
        QCOMPARE(shown, (QStringList{"Bola de fogo: 8d6", "Atributos: 4d6kh3",
                                     "Espada longa: 2d6+3 # Espada", "Vampiro: 10d10>=8f1"}));
        auto *box = child<ExpressionEdit>(*window, "txtExpressao");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1d"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QStringLiteral("8d6"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QStringLiteral("4d6kh3"));
        QTest::keyClick(box, Qt::Key_Up); // the oldest stays
        QCOMPARE(box->text(), QStringLiteral("4d6kh3"));
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), QStringLiteral("1d")); // back to what was being typed
    }

    // An unreadable settings file is reported in the bar, kept aside and replaced.
    void aBadSettingsFileIsReplaced_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("not JSON") << QByteArray("{\"mesa\":1,\"salvas\":[");
        QTest::newRow("not ours") << QByteArray("{\"nome\":\"outra coisa\"}");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage", 12);
    }
    void aBadSettingsFileIsReplaced()
    {
        QFETCH(QByteArray, contents);
        const QString path = m_dir->filePath("config/mesa.json");
        QVERIFY(QDir().mkpath(m_dir->filePath("config")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        auto window = open();
        QVERIFY(child<QFrame>(*window, "barMensagem")->isVisible());
        QVERIFY2(child<QLabel>(*window, "lblMensagem")->text().contains(path),
                 qPrintable(child<QLabel>(*window, "lblMensagem")->text()));
        QCOMPARE(readAll(path + ".invalido"), contents);
        QCOMPARE(child<QListView>(*window, "lstSalvas")->model()->rowCount(), 4);
        MesaSettings settings;
        QString error;
        QVERIFY2(settings.load(path, error), qPrintable(error));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // A record that is not one is refused at the start: nothing rolls, the bar says why.
    void aForeignRecordIsRefused()
    {
        const QString path = m_dir->filePath("notas.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("minhas notas\n");
        file.close();
        auto window = open(path);
        QVERIFY(child<QFrame>(*window, "barMensagem")->isVisible());
        type(*window, QStringLiteral("3d6"));
        window->rollTyped();
        QCOMPARE(rows(*window), 0);
        QCOMPARE(readAll(path), QByteArray("minhas notas\n"));
    }

    // Every control can be told by a screen reader.
    void accessibleNames()
    {
        auto window = open();
        for (const char *name : {"txtExpressao", "cmdRolar", "lblErro", "lblChances", "lstRolagens",
                                 "lstSalvas", "cmdGuardar", "cmdRenomear", "cmdSubir", "cmdDescer",
                                 "cmdRemover", "cmdFecharMensagem", "pctChances", "cboVer",
                                 "cmdFixar", "cmdEstimar", "lstFixadas", "cmdSoltar",
                                 "lblConfronto"})
            QVERIFY2(!child<QWidget>(*window, name)->accessibleName().isEmpty(), name);
    }

    // --registro continues a record made elsewhere: the numbers run on, the lines before stay.
    void aGivenRecordIsContinued()
    {
        const QString path = m_dir->filePath("mesa.jsonl");
        QProcess cli;
        cli.start(QStringLiteral(QUESSAR_CLI_PATH), {"dados", "-n", "2", "--registro", path, "1d20"});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray before = readAll(path);
        auto window = open(path);
        QCOMPARE(window->recordPath(), path);
        type(*window, QStringLiteral("2d6"));
        window->rollTyped();
        const QList<QByteArray> all = lines(path);
        QCOMPARE(all.size(), 4);
        QVERIFY(readAll(path).startsWith(before));
        QVERIFY2(all[3].startsWith("{\"tipo\":\"rolagem\",\"seq\":3,"), all[3].constData());
    }

    // A verifiable session opened, salted, rolled and closed in the window: the commitment
    // shown is the record's, a roll waits for the salt, the secret revealed is the one kept
    // beside the record, and both the panel and quessar-cli verificar find it verifies.
    void aVerifiableSessionVerifies()
    {
        auto window = open();
        type(*window, QStringLiteral("1d20+5 # Ana"));
        window->rollTyped();
        QCOMPARE(rows(*window), 1);
        const QString path = m_dir->filePath("data/mesa verificável.jsonl");
        QVERIFY(window->openVerifiableSession(path));
        QCOMPARE(window->recordPath(), path);
        QVERIFY(child<QLabel>(*window, "lblRegistro")->text().contains(path));
        auto *panel = child<QWidget>(*window, "dckSessao");
        QVERIFY(panel->isVisible());
        const QJsonObject header = QJsonDocument::fromJson(lines(path).value(0)).object();
        const QString commitment = header.value("compromisso").toString();
        QCOMPARE(commitment.size(), 64);
        QCOMPARE(child<QLineEdit>(*window, "txtCompromisso")->text(), commitment);
        QTest::mouseClick(child<QPushButton>(*window, "cmdCopiarCompromisso"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), commitment);
        struct stat info{};
        QCOMPARE(::stat(QFile::encodeName(path + ".segredo").constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0600));

        // Before the salt, no roll: the bar says why and the record holds its header alone.
        window->rollTyped();
        QCOMPARE(rows(*window), 1);
        QVERIFY(child<QFrame>(*window, "barMensagem")->isVisible());
        QVERIFY2(child<QLabel>(*window, "lblMensagem")->text().contains(QStringLiteral("sal")),
                 qPrintable(child<QLabel>(*window, "lblMensagem")->text()));
        QCOMPARE(lines(path).size(), 1);

        // The salt box is reached from the keyboard by its label's mnemonic.
        auto *salt = child<QLineEdit>(*window, "txtSal");
        QTest::keyClick(child<QWidget>(*window, "txtExpressao"), Qt::Key_J, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), salt);
        QTest::keyClicks(salt, QStringLiteral("lobo azul 42 %1"));
        QTest::mouseClick(child<QPushButton>(*window, "cmdSal"), Qt::LeftButton);
        QVERIFY(!salt->isEnabled());
        QVERIFY(lines(path).value(1).contains("\"sal\":\"lobo azul 42 %1\""));
        for (const char *text : {"4d6kh3", "10d10>=8f1", "2d20kh1+5 # Bruno"}) {
            type(*window, QString::fromUtf8(text));
            window->rollTyped();
        }
        QCOMPARE(rows(*window), 4);
        QCOMPARE(lines(path).size(), 5);

        QTest::mouseClick(child<QPushButton>(*window, "cmdEncerrar"), Qt::LeftButton);
        const QString secret = child<QLineEdit>(*window, "txtSegredo")->text();
        QCOMPARE(secret.toLatin1(), readAll(path + ".segredo").trimmed());
        QVERIFY(lines(path).constLast().contains(secret.toLatin1()));
        QTest::mouseClick(child<QPushButton>(*window, "cmdCopiarSegredo"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), secret);
        const QString verdict = child<QLabel>(*window, "lblVerificacao")->text();
        QVERIFY2(verdict.startsWith(QStringLiteral("Confere: 3 rolagens; o segredo revelado confere")),
                 qPrintable(verdict));

        QProcess cli;
        cli.start(QStringLiteral(QUESSAR_CLI_PATH), {"verificar", path});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY2(cli.readAllStandardOutput().startsWith(
                     "Confere: 3 rolagens, sessão verificável fechada, com sal.\n"
                     "O segredo revelado confere com o compromisso"),
                 "verificar");

        // Closed, the session takes no more rolls.
        const QByteArray closed = readAll(path);
        window->rollTyped();
        QCOMPARE(rows(*window), 4);
        QCOMPARE(readAll(path), closed);
        QVERIFY(child<QLabel>(*window, "lblMensagem")->text().contains(QStringLiteral("encerrada")));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // A session that cannot be made leaves the window rolling into its record as before, what
    // was there untouched, and the bar saying why.
    void aVerifiableSessionIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a record there") << "s.jsonl" << "s.jsonl" << "o arquivo já existe";
        QTest::newRow("a secret there") << "s.jsonl" << "s.jsonl.segredo" << "o arquivo do segredo já existe";
        QTest::newRow("no folder") << "falta/s.jsonl" << "" << "";
        QTest::newRow("a full disk") << "cheio/s.jsonl" << "cheio/resto" << "espaço";
    }
    void aVerifiableSessionIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, existing);
        QFETCH(QString, reason);
        const bool full = name.startsWith(QStringLiteral("cheio/"));
        const QString mountPoint = m_dir->filePath("cheio");
        if (full) {
            QVERIFY(QDir().mkpath(mountPoint));
            if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=4k") != 0)
                QSKIP("mount -t tmpfs is not permitted here");
        }
        const auto unmount = qScopeGuard([&] {
            if (full)
                ::umount(QFile::encodeName(mountPoint).constData());
        });
        auto window = open();
        const QString before = window->recordPath();
        if (!existing.isEmpty()) {
            QFile file(m_dir->filePath(existing));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("meu\n");
            // A full disk: what is left of it taken by that file.
            while (full && file.write(QByteArray(512, 'x')) > 0 && file.flush()) {
            }
        }
        const QString path = m_dir->filePath(name);
        QVERIFY(!window->openVerifiableSession(path));
        const QString message = child<QLabel>(*window, "lblMensagem")->text();
        QVERIFY2(message.startsWith(QStringLiteral("A sessão verificável não foi aberta: "))
                     && message.contains(reason),
                 qPrintable(message));
        if (!existing.isEmpty())
            QVERIFY(readAll(m_dir->filePath(existing)).startsWith("meu\n"));
        // Neither half of a session is left behind.
        QCOMPARE(QFileInfo::exists(path), existing == name);
        QCOMPARE(QFileInfo::exists(path + ".segredo"), existing == name + ".segredo");
        QCOMPARE(window->recordPath(), before);
        type(*window, QStringLiteral("3d6"));
        window->rollTyped();
        QCOMPARE(rows(*window), 1);
        QCOMPARE(lines(before).size(), 2);
        // A plain record has nothing to close: the bar says so.
        window->findChild<QAction *>(QStringLiteral("actEncerrarSessao"))->trigger();
        QVERIFY(child<QLabel>(*window, "lblMensagem")->text().startsWith(
            QStringLiteral("Não há sessão verificável aberta")));
        QCOMPARE(lines(before).size(), 2);
    }

    // --registro continues a verifiable session made by quessar-cli with its secret's dice,
    // and refuses it when the secret is missing.
    void aGivenSessionIsContinued_data()
    {
        QTest::addColumn<bool>("secretKept");
        QTest::newRow("with its secret") << true;
        QTest::newRow("secret gone") << false;
    }
    void aGivenSessionIsContinued()
    {
        QFETCH(bool, secretKept);
        const QString path = m_dir->filePath("mesa.jsonl");
        const auto cli = [](const QStringList &arguments) {
            QProcess process;
            process.start(QStringLiteral(QUESSAR_CLI_PATH), arguments);
            process.waitForFinished(10000);
            return process.exitCode();
        };
        QCOMPARE(cli({"sessao", "abrir", path}), 0);
        QCOMPARE(cli({"sessao", "sal", path, "sal"}), 0);
        QCOMPARE(cli({"dados", "--registro", path, "1d20"}), 0);
        if (!secretKept)
            QVERIFY(QFile::rename(path + ".segredo", path + ".longe"));
        const QByteArray before = readAll(path);
        {
            auto window = open(path);
            type(*window, QStringLiteral("3d6"));
            window->rollTyped();
            QCOMPARE(rows(*window), secretKept ? 1 : 0);
            QCOMPARE(child<QFrame>(*window, "barMensagem")->isVisible(), !secretKept);
        }
        if (!secretKept) {
            QCOMPARE(readAll(path), before);
            return;
        }
        QCOMPARE(lines(path).size(), 4);
        QCOMPARE(cli({"sessao", "fechar", path}), 0);
        QCOMPARE(cli({"verificar", path}), 0);
    }

    // The luck panel shows, for a seeded session, the counts and p-values the audit of the
    // record gives (what quessar-cli auditar prints), and follows the rolls made while shown.
    void theLuckPanelAuditsTheRecord_data()
    {
        QTest::addColumn<bool>("byLabel");
        QTest::newRow("all together") << false;
        QTest::newRow("each label") << true;
    }
    void theLuckPanelAuditsTheRecord()
    {
        QFETCH(bool, byLabel);
        auto window = open();
        for (int r = 0; r < 40; ++r) {
            for (const char *text : {"1d6", "2d6 # Ana"}) {
                type(*window, QString::fromUtf8(text));
                window->rollTyped();
            }
        }
        QCOMPARE(rows(*window), 80);
        auto *panel = child<LuckPanel>(*window, "dckSorte");
        auto *tree = child<QTreeWidget>(*window, "lstSorte");
        QVERIFY(!panel->isVisible());
        QCOMPARE(tree->topLevelItemCount(), 0); // nothing worked out while hidden
        child<QCheckBox>(*window, "chkPorRotulo")->setChecked(byLabel);
        QTest::keyClick(child<QWidget>(*window, "txtExpressao"), Qt::Key_F8);
        QVERIFY(panel->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!panel->busy() && tree->topLevelItemCount() > 0, Patience);

        // One more roll while shown: the panel reads it too.
        type(*window, QStringLiteral("1d6"));
        window->rollTyped();
        QTRY_VERIFY_WITH_TIMEOUT(!panel->busy()
                                     && child<QLabel>(*window, "lblSorte")
                                            ->text()
                                            .contains(QStringLiteral("81 rolagens")),
                                 Patience);

        LuckAudit audit(byLabel);
        AuditLineReader reader(audit);
        reader.feed(readAll(window->recordPath()));
        reader.finish();
        const AuditReport report = audit.report();
        QCOMPARE(report.rolls, 81);
        QCOMPARE(tree->topLevelItemCount(), byLabel ? 2 : 4);
        for (const AuditGroup &group : report.groups) {
            QTreeWidgetItem *top = nullptr;
            if (byLabel) {
                const QString name = group.label.isEmpty() ? QStringLiteral("sem rótulo")
                                                           : QStringLiteral("rótulo \"%1\"").arg(group.label);
                const auto found = tree->findItems(name, Qt::MatchExactly, LuckPanel::Name);
                QCOMPARE(found.size(), 1);
                top = found[0];
            }
            const auto item = [&](const QString &name) {
                for (int i = 0, n = top ? top->childCount() : tree->topLevelItemCount(); i < n; ++i) {
                    QTreeWidgetItem *it = top ? top->child(i) : tree->topLevelItem(i);
                    if (it->text(LuckPanel::Name) == name)
                        return it;
                }
                qFatal("no row %s", qPrintable(name));
            };
            for (const ExpressionAudit &expression : group.expressions) {
                QTreeWidgetItem *it = item(expression.expression);
                QCOMPARE(it->text(LuckPanel::Count), QString::number(expression.rolls));
                QCOMPARE(it->text(LuckPanel::PValue), AuditWords::pValue(expression.fit.pValue));
                QCOMPARE(it->child(0)->text(LuckPanel::PValue), AuditWords::pValue(expression.mean.pValue));
                QCOMPARE(it->text(LuckPanel::Verdict),
                         AuditWords::verdict(AuditFinding::worse(expression.mean, expression.distribution)));
            }
            for (const DieAudit &die : group.dice) {
                QTreeWidgetItem *it = item(QStringLiteral("d%1").arg(die.faces));
                QCOMPARE(it->text(LuckPanel::Count), QString::number(die.draws));
                QVERIFY(it->text(LuckPanel::Seen).startsWith(
                    QStringLiteral("1: %1  2: %2").arg(die.counts[0]).arg(die.counts[1])));
                QCOMPARE(it->text(LuckPanel::PValue), AuditWords::pValue(die.fit.pValue));
            }
            QTreeWidgetItem *luck = item(QStringLiteral("sorte média"));
            QCOMPARE(luck->text(LuckPanel::Seen),
                     AuditWords::decimal(100 * group.luck.meanLuck, 1) + QStringLiteral(" %"));
            QCOMPARE(luck->text(LuckPanel::PValue), AuditWords::pValue(group.luck.finding.pValue));
        }
        // The die sizes audited are every draw of the record: 41 + 80 faces of a d6.
        if (!byLabel)
            QCOMPARE(report.groups[0].dice[0].draws, 121);
    }

    // The window's size comes back at the next run.
    void theSizeIsRemembered()
    {
        {
            auto window = open();
            window->resize(700, 450);
            window->close();
        }
        auto window = open();
        QCOMPARE(window->size(), QSize(700, 450));
    }

    // F1 shows the notation table beside the window, without a modal box, and hides it again.
    void f1ShowsTheNotation()
    {
        auto window = open();
        auto *dock = child<QWidget>(*window, "dckNotacao");
        QVERIFY(!dock->isVisible());
        QTest::keyClick(child<QWidget>(*window, "txtExpressao"), Qt::Key_F1);
        QVERIFY(dock->isVisible());
        QVERIFY(child<QPlainTextEdit>(*window, "txtNotacao")->toPlainText().contains(
            QStringLiteral("khK kK klK  mantém os K maiores / menores")));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QTest::keyClick(child<QWidget>(*window, "txtExpressao"), Qt::Key_F1);
        QVERIFY(!dock->isVisible());
    }

    // Successes and failures stay readable on a light and on a dark base, and stay green and
    // red.
    void coloursReadInLightAndDark_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(255, 255, 255) << QColor(0, 0, 0);
        QTest::newRow("qt6ct darker") << QColor(42, 42, 42) << QColor(230, 230, 230);
        QTest::newRow("black") << QColor(0, 0, 0) << QColor(255, 255, 255);
    }
    void coloursReadInLightAndDark()
    {
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        QPalette palette;
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        const QColor success = RollDelegate::successColour(palette);
        const QColor failure = RollDelegate::failureColour(palette);
        QVERIFY2(contrast(success, base) >= 4.5, qPrintable(success.name()));
        QVERIFY2(contrast(failure, base) >= 4.5, qPrintable(failure.name()));
        QVERIFY(success.green() > success.red() && success.green() > success.blue());
        QVERIFY(failure.red() > failure.green() && failure.red() > failure.blue());
    }
};

QTEST_MAIN(frmMesaDadosTest)
#include "frmMesaDadosTest.moc"
