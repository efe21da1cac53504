// Every window stays readable under a dark desktop colour scheme: the desktop's palette is
// installed on the application before the windows are built, as a dark scheme would be.
#include "city/frmGeradorCidadeADD.h"
#include "common/ApplicationSetup.h"
#include "common/WindowKit.h"
#include "dice/frmRodadorDados.h"
#include "names/frmGeradorNome.h"
#include "shell/frmLinks.h"
#include "shell/frmPrincipal.h"
#include "shell/frmSobre.h"
#include "shell/frmSplash.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace {

// WCAG 2 relative luminance and contrast ratio.
double luminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
           + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark scheme of the kind desktops offer: light text on dark greys.
QPalette darkPalette()
{
    QPalette dark(QColor(Qt::white), QColor(53, 53, 53), QColor(80, 80, 80), QColor(20, 20, 20),
                  QColor(40, 40, 40), QColor(Qt::white), QColor(Qt::white), QColor(35, 35, 35),
                  QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return dark;
}

// What a label is drawn on: the background of the nearest widget that fills its own, or
// nothing when it is drawn on a picture (its colours were chosen for the picture).
std::optional<QColor> background(const QLabel *label)
{
    if (const QWidget *parent = label->parentWidget()) {
        for (const QObject *object : parent->children()) {
            if (object == label)
                break; // siblings after the label are drawn over it
            const auto *below = qobject_cast<const QLabel *>(object);
            if (below && !below->pixmap().isNull() && below->geometry().contains(label->geometry()))
                return std::nullopt;
        }
    }
    for (const QWidget *w = label->parentWidget(); w; w = w->parentWidget()) {
        const auto *picture = qobject_cast<const QLabel *>(w);
        if (picture && !picture->pixmap().isNull())
            return std::nullopt;
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return std::nullopt;
}

using MakeWindow = std::function<std::unique_ptr<QWidget>()>;

template <typename Window> MakeWindow make()
{
    return [] { return std::unique_ptr<QWidget>(std::make_unique<Window>()); };
}

} // namespace

class ReadableColoursTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QApplication::setPalette(QPalette()); }

    void readableOnADarkDesktop_data()
    {
        QTest::addColumn<MakeWindow>("makeWindow");
        QTest::addRow("frmSplash") << MakeWindow([] {
            auto splash = std::make_unique<frmSplash>();
            splash->findChild<QTimer *>(QStringLiteral("tmrSplash"))->stop();
            return std::unique_ptr<QWidget>(std::move(splash));
        });
        QTest::addRow("frmPrincipal") << make<frmPrincipal>();
        QTest::addRow("frmLinks") << make<frmLinks>();
        QTest::addRow("frmSobre") << make<frmSobre>();
        QTest::addRow("frmGeradorNome") << make<frmGeradorNome>();
        QTest::addRow("frmGeradorCidadeADD") << make<frmGeradorCidadeADD>();
        QTest::addRow("frmRodadorDados") << make<frmRodadorDados>();
    }

    // Text boxes, lists and buttons at least 4.5 : 1 between their text and background,
    // labels at least 3 : 1 against what they are drawn on.
    void readableOnADarkDesktop()
    {
        QFETCH(MakeWindow, makeWindow);
        QApplication::setPalette(darkPalette());
        const std::unique_ptr<QWidget> w = makeWindow();
        w->show();
        int checked = 0;
        for (QWidget *control : w->findChildren<QWidget *>()) {
            if (!control->isEnabled() || !control->isVisibleTo(w.get()))
                continue;
            const QPalette &p = control->palette();
            const QString what = control->objectName();
            if (qobject_cast<QLineEdit *>(control) || qobject_cast<QPlainTextEdit *>(control)
                || qobject_cast<QListWidget *>(control)) {
                QVERIFY2(contrast(p.color(QPalette::Text), p.color(QPalette::Base)) >= 4.5,
                         qPrintable(what));
                ++checked;
            } else if (qobject_cast<QAbstractButton *>(control)
                       || qobject_cast<QComboBox *>(control)) {
                QVERIFY2(contrast(p.color(QPalette::ButtonText), p.color(QPalette::Button)) >= 4.5,
                         qPrintable(what));
                ++checked;
            } else if (auto *label = qobject_cast<QLabel *>(control);
                       label && !label->text().isEmpty()) {
                if (const std::optional<QColor> behind = background(label)) {
                    QVERIFY2(contrast(p.color(QPalette::WindowText), *behind) >= 3.0,
                             qPrintable(what + QStringLiteral(": ") + label->text()));
                    ++checked;
                }
            }
        }
        QVERIFY(QByteArrayView(QTest::currentDataTag()) == "frmSplash" || checked > 0);
    }

    // The program itself puts the light palette on the application, so that its message
    // boxes look like its windows.
    void setUpInstallsTheLightPalette()
    {
        QApplication::setPalette(darkPalette());
        SetUpApplication();
        QCOMPARE(QApplication::palette(), WindowKit::LightPalette());
    }
};

QTEST_MAIN(ReadableColoursTest)
#include "ReadableColoursTest.moc"
