#include "dice/frmRodadorDados.h"

#include "common/CenterForm.h"
#include "common/LeadingNumber.h"
#include "common/RandomSource.h"
#include "common/WindowKit.h"
#include "dice/ArrowButton.h"
#include "dice/DiceRoll.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTime>

namespace {

const QColor LightGrey(224, 224, 224);
const QColor Green(0, 128, 0);

QLineEdit *readOnlyLine(QWidget *parent, const char *name, const QRect &geometry, const QFont &font)
{
    QLineEdit *box = WindowKit::AddLineEdit(parent, QLatin1String(name), geometry, font);
    box->setReadOnly(true);
    WindowKit::SetBaseColour(box, LightGrey);
    return box;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
              const QColor &colour)
{
    return WindowKit::AddLabel(parent, QLatin1String(name), text, geometry, colour);
}

ArrowButton *stepper(QWidget *parent, const char *name, ArrowButton::Direction direction,
                     const QRect &geometry, const QString &accessibleName)
{
    auto *button = new ArrowButton(direction, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setAccessibleName(accessibleName);
    return button;
}

// The time of day in whole seconds since midnight: the reseed value changes once a second.
double SecondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

} // namespace

frmRodadorDados::frmRodadorDados(QWidget *parent) : QDialog(parent, WindowKit::ToolWindowFlags())
{
    setObjectName(QStringLiteral("frmRodadorDados"));
    WindowKit::UseLightPalette(this);
    setWindowTitle(QStringLiteral("Morvane's Quessar: Rodador de Dados"));
    setFixedSize(451, 227);

    const WindowKit::ToolDressing dressing = WindowKit::AddToolDressing(this, 229, 96);
    m_pctAreaAni = dressing.pctAreaAni;
    m_pctDegrade = dressing.pctDegrade;
    m_cmdOK = dressing.cmdOK;
    m_cmdOK->setDefault(true);

    // Results.
    m_txtResultFinal = readOnlyLine(this, "txtResultFinal", QRect(58, 174, 391, 49),
                                    WindowKit::CourierNew(20.25, true));

    m_txtResultParc = WindowKit::AddTextBox(this, QStringLiteral("txtResultParc"),
                                            {58, 72, 391, 81}, WindowKit::CourierNew(), true);
    WindowKit::SetBaseColour(m_txtResultParc, LightGrey);

    // The top row: quantity and faces with their steppers, and the roll.
    m_cmdGirar = WindowKit::AddButton(this, QStringLiteral("cmdGirar"), QStringLiteral("Girar!"),
                                      {282, 6, 81, 25});

    using Direction = ArrowButton::Direction;
    m_cmdDesceFaces = stepper(this, "cmdDesceFaces", Direction::Down, QRect(232, 18, 13, 13),
                              QStringLiteral("Menos faces"));
    m_cmdSobeFaces = stepper(this, "cmdSobeFaces", Direction::Up, QRect(232, 6, 13, 13),
                             QStringLiteral("Mais faces"));
    m_txtFaces = readOnlyLine(this, "txtFaces", QRect(194, 6, 37, 23), WindowKit::CourierNew());
    m_cmdDesceQuant = stepper(this, "cmdDesceQuant", Direction::Down, QRect(126, 18, 13, 13),
                              QStringLiteral("Menos dados"));
    m_cmdSobeQuant = stepper(this, "cmdSobeQuant", Direction::Up, QRect(126, 6, 13, 13),
                             QStringLiteral("Mais dados"));
    m_txtQuant = readOnlyLine(this, "txtQuant", QRect(88, 6, 37, 23), WindowKit::CourierNew());

    label(this, "Label5", QStringLiteral("Resultado final:"), QRect(58, 158, 84, 14), Green)
        ->setBuddy(m_txtResultFinal);
    label(this, "Label4", QStringLiteral("Resultados parciais"), QRect(56, 54, 108, 14), Green)
        ->setBuddy(m_txtResultParc);
    m_txtQuant->setAccessibleName(QStringLiteral("Quantidade de dados"));
    m_txtFaces->setAccessibleName(QStringLiteral("Faces de cada dado"));
    label(this, "Label3", QStringLiteral("faces"), QRect(248, 4, 30, 14), Qt::black);
    label(this, "Label2", QStringLiteral("dados de"), QRect(142, 4, 51, 14), Qt::black);
    label(this, "Label1", QStringLiteral("Girar"), QRect(58, 4, 27, 14), Qt::black);

    QWidget::setTabOrder(m_cmdOK, m_txtResultFinal);
    QWidget::setTabOrder(m_txtResultFinal, m_txtResultParc);
    QWidget::setTabOrder(m_txtResultParc, m_cmdGirar);
    QWidget::setTabOrder(m_cmdGirar, m_cmdDesceFaces);
    QWidget::setTabOrder(m_cmdDesceFaces, m_cmdSobeFaces);
    QWidget::setTabOrder(m_cmdSobeFaces, m_txtFaces);
    QWidget::setTabOrder(m_txtFaces, m_cmdDesceQuant);
    QWidget::setTabOrder(m_cmdDesceQuant, m_cmdSobeQuant);
    QWidget::setTabOrder(m_cmdSobeQuant, m_txtQuant);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmRodadorDados::cmdOK_Click);
    connect(m_cmdGirar, &QPushButton::clicked, this, &frmRodadorDados::cmdGirar_Click);
    connect(m_cmdSobeQuant, &QPushButton::clicked, this, &frmRodadorDados::cmdSobeQuant_Click);
    connect(m_cmdDesceQuant, &QPushButton::clicked, this, &frmRodadorDados::cmdDesceQuant_Click);
    connect(m_cmdSobeFaces, &QPushButton::clicked, this, &frmRodadorDados::cmdSobeFaces_Click);
    connect(m_cmdDesceFaces, &QPushButton::clicked, this, &frmRodadorDados::cmdDesceFaces_Click);

    // Form_Load: centre, start at one die of four faces with no results.
    CenterForm(this);
    m_quantityIndex = 0;
    m_facesIndex = 0;
    showQuantity();
    showFaces();
}

frmRodadorDados::~frmRodadorDados() = default;

void frmRodadorDados::reject()
{
    cmdOK_Click();
}

void frmRodadorDados::showQuantity()
{
    m_txtQuant->setText(QString::number(QuantityChoices[m_quantityIndex]));
}

void frmRodadorDados::showFaces()
{
    m_txtFaces->setText(QString::number(FaceChoices[m_facesIndex]));
}

// The steppers stop silently at either end of their table.
void frmRodadorDados::cmdSobeQuant_Click()
{
    if (m_quantityIndex + 1 < QuantityChoices.size()) {
        ++m_quantityIndex;
        showQuantity();
    }
}

void frmRodadorDados::cmdDesceQuant_Click()
{
    if (m_quantityIndex > 0) {
        --m_quantityIndex;
        showQuantity();
    }
}

void frmRodadorDados::cmdSobeFaces_Click()
{
    if (m_facesIndex + 1 < FaceChoices.size()) {
        ++m_facesIndex;
        showFaces();
    }
}

void frmRodadorDados::cmdDesceFaces_Click()
{
    if (m_facesIndex > 0) {
        --m_facesIndex;
        showFaces();
    }
}

void frmRodadorDados::cmdGirar_Click()
{
    RandomSource &source = RandomSource::process();
    source.reseed(SecondsSinceMidnight());

    // The boxes are the truth: the roll reads what they show. They only ever hold entries
    // of the two tables, so both numbers are always in range.
    const qint16 quantity = RoundToWhole<qint16>(LeadingNumber(m_txtQuant->text())).value_or(0);
    const double faces = LeadingNumber(m_txtFaces->text());
    const DiceRoll roll = RollDice(quantity, faces, source);

    m_txtResultParc->setPlainText(FormatPartialResults(roll.values));
    m_txtResultFinal->setText(QString::number(roll.total));
}

void frmRodadorDados::cmdOK_Click()
{
    accept();
}
