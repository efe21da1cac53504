#include "names/frmGeradorNome.h"

#include "common/CenterForm.h"
#include "common/DigitLineEdit.h"
#include "common/LeadingNumber.h"
#include "common/RandomSource.h"
#include "common/SortedInsert.h"
#include "common/WindowKit.h"
#include "names/NameBatch.h"
#include "names/NameMask.h"
#include "names/PredefinedNameMasks.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <optional>

namespace {

// Enter must never press a button in this window, so none of them is a default button.
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &text, QRect place,
                        const QString &toolTip = {})
{
    QPushButton *button = WindowKit::AddButton(parent, name, text, place);
    if (!toolTip.isEmpty())
        button->setToolTip(toolTip);
    return button;
}

// A label at its design place, widened if its text needs more room than the design gave it.
QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, QRect place)
{
    QLabel *label = WindowKit::AddLabel(parent, name, text, place, Qt::black);
    const QSize needed = label->sizeHint();
    place.setWidth(std::max(place.width(), needed.width()));
    place.setHeight(std::max(place.height(), needed.height()));
    label->setGeometry(place);
    return label;
}

} // namespace

frmGeradorNome::frmGeradorNome(QWidget *parent) : QDialog(parent, WindowKit::ToolWindowFlags())
{
    setObjectName(QStringLiteral("frmGeradorNome"));
    WindowKit::UseLightPalette(this);
    setWindowTitle(QStringLiteral("Morvane's Quessar: Gerador de Nomes"));
    setFixedSize(451, 331);
    // The window's own font, which its plain buttons use: the small sans-serif the layout was
    // drawn for. The desktop's default is often larger and would clip "Selecionar".
    setFont(WindowKit::Arial());
    buildControls();

    CenterForm(this);
    txtQuantNomes->setText(QStringLiteral("1"));
    txtAjudaNomes->setPlainText(MaskHelpText());
    FillPredefinedMasks();
}

frmGeradorNome::~frmGeradorNome() = default;

void frmGeradorNome::buildControls()
{
    const WindowKit::ToolDressing dressing = WindowKit::AddToolDressing(this, 4995 / 15, 2190 / 15);
    pctAreaAni = dressing.pctAreaAni;
    pctDegrade = dressing.pctDegrade;
    cmdOK = dressing.cmdOK;
    // Enter must never press a button in this window.
    cmdOK->setAutoDefault(false);

    cmdLimparList =
        MakeButton(this, QStringLiteral("cmdLimparList"), QStringLiteral("Limpar a lista"),
                   WindowKit::FromTwips(2820, 2490, 1575, 285));

    txtAjudaNomes = WindowKit::AddTextBox(this, QStringLiteral("txtAjudaNomes"),
                                          WindowKit::FromTwips(870, 180, 5835, 1065),
                                          WindowKit::CourierNew(), true);

    cmbMascPre = new QComboBox(this);
    cmbMascPre->setObjectName(QStringLiteral("cmbMascPre"));
    cmbMascPre->setGeometry(WindowKit::FromTwips(870, 1530, 1920, 330));
    cmbMascPre->setFont(WindowKit::CourierNew());
    cmbMascPre->setEditable(false);

    cmdAdicionaMascPre =
        MakeButton(this, QStringLiteral("cmdAdicionaMascPre"), QStringLiteral("Selecionar"),
                   WindowKit::FromTwips(2820, 1530, 915, 345),
                   QStringLiteral("Colocar máscara na lista das máscaras selecionadas"));

    txtMascCustom = WindowKit::AddLineEdit(this, QStringLiteral("txtMascCustom"),
                                           WindowKit::FromTwips(3840, 1530, 1905, 330),
                                           WindowKit::CourierNew(), 50);

    cmdAdicionaMascCustom = MakeButton(
        this, QStringLiteral("cmdAdicionaMascCustom"), QStringLiteral("Selecionar"),
        WindowKit::FromTwips(5790, 1530, 915, 345),
        QStringLiteral("Colocar máscara customizada na lista das máscaras selecionadas"));
    cmdAdicionaMascCustom->setEnabled(false);

    lstMascSel = new QListWidget(this);
    lstMascSel->setObjectName(QStringLiteral("lstMascSel"));
    lstMascSel->setGeometry(WindowKit::FromTwips(870, 2220, 1905, 480));
    lstMascSel->setFont(WindowKit::CourierNew());
    lstMascSel->setSelectionMode(QAbstractItemView::SingleSelection);

    cmdExcluirItem =
        MakeButton(this, QStringLiteral("cmdExcluirItem"), QStringLiteral("Excluir Item"),
                   WindowKit::FromTwips(2820, 2220, 1575, 285),
                   QStringLiteral("Exclui o item selecionado da lista"));

    txtQuantNomes = new DigitLineEdit(this);
    txtQuantNomes->setObjectName(QStringLiteral("txtQuantNomes"));
    txtQuantNomes->setGeometry(WindowKit::FromTwips(5070, 2220, 915, 315));
    txtQuantNomes->setFont(WindowKit::CourierNew());
    txtQuantNomes->setMaxLength(3);

    txtNomes = WindowKit::AddTextBox(this, QStringLiteral("txtNomes"),
                                     WindowKit::FromTwips(840, 3090, 5895, 1395),
                                     WindowKit::CourierNew(), true);

    cmdGeraNomes =
        MakeButton(this, QStringLiteral("cmdGeraNomes"), QStringLiteral("GERAR!"),
                   WindowKit::FromTwips(3870, 4470, 2895, 495), QStringLiteral("gera os nomes"));
    cmdGeraNomes->setEnabled(false);

    cmdCopiaNome =
        MakeButton(this, QStringLiteral("cmdCopiaNome"), QStringLiteral("Copiar nomes"),
                   WindowKit::FromTwips(840, 4470, 2895, 495),
                   QStringLiteral("Copia os nomes gerados para a área de transferência"));

    // Each label also names the box it stands over, for screen readers.
    MakeLabel(this, QStringLiteral("lblAjuda1"), QStringLiteral("Ajuda:"),
              WindowKit::FromTwips(870, 0, 510, 210))
        ->setBuddy(txtAjudaNomes);
    MakeLabel(this, QStringLiteral("lblMascPre"), QStringLiteral("Máscaras Pré-definidas:"),
              WindowKit::FromTwips(870, 1320, 1995, 210))
        ->setBuddy(cmbMascPre);
    MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Máscara customizada:"),
              WindowKit::FromTwips(3840, 1320, 1830, 210))
        ->setBuddy(txtMascCustom);
    MakeLabel(this, QStringLiteral("lblMascSel"), QStringLiteral("Máscaras selecionadas:"),
              WindowKit::FromTwips(870, 2010, 1980, 210))
        ->setBuddy(lstMascSel);
    txtQuantNomes->setAccessibleName(QStringLiteral("Quantidade de nomes"));
    MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("Gerar"),
              WindowKit::FromTwips(4530, 2190, 465, 210));
    // Sized for its longer text, "nomes"; the load switches it to "nome".
    lblQntNomes = MakeLabel(this, QStringLiteral("lblQntNomes"), QStringLiteral("nomes"),
                            WindowKit::FromTwips(6030, 2190, 585, 210));
    QLabel *label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("Nomes:"),
                               WindowKit::FromTwips(870, 2850, 630, 210));
    WindowKit::SetTextColour(label4, QColor(255, 0, 0));
    label4->setBuddy(txtNomes);

    QWidget::setTabOrder(cmdOK, cmdLimparList);
    QWidget::setTabOrder(cmdLimparList, txtAjudaNomes);
    QWidget::setTabOrder(txtAjudaNomes, cmbMascPre);
    QWidget::setTabOrder(cmbMascPre, cmdAdicionaMascPre);
    QWidget::setTabOrder(cmdAdicionaMascPre, txtMascCustom);
    QWidget::setTabOrder(txtMascCustom, cmdAdicionaMascCustom);
    QWidget::setTabOrder(cmdAdicionaMascCustom, lstMascSel);
    QWidget::setTabOrder(lstMascSel, cmdExcluirItem);
    QWidget::setTabOrder(cmdExcluirItem, txtQuantNomes);
    QWidget::setTabOrder(txtQuantNomes, txtNomes);
    QWidget::setTabOrder(txtNomes, cmdGeraNomes);
    QWidget::setTabOrder(cmdGeraNomes, cmdCopiaNome);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmGeradorNome::cmdOK_Click);
    connect(cmdLimparList, &QPushButton::clicked, this, &frmGeradorNome::cmdLimparList_Click);
    connect(cmdAdicionaMascPre, &QPushButton::clicked, this,
            &frmGeradorNome::cmdAdicionaMascPre_Click);
    connect(txtMascCustom, &QLineEdit::textChanged, this, &frmGeradorNome::txtMascCustom_Change);
    connect(cmdAdicionaMascCustom, &QPushButton::clicked, this,
            &frmGeradorNome::cmdAdicionaMascCustom_Click);
    connect(cmdExcluirItem, &QPushButton::clicked, this, &frmGeradorNome::cmdExcluirItem_Click);
    connect(txtQuantNomes, &QLineEdit::textChanged, this, &frmGeradorNome::txtQuantNomes_Change);
    connect(cmdGeraNomes, &QPushButton::clicked, this, &frmGeradorNome::cmdGeraNomes_Click);
    connect(cmdCopiaNome, &QPushButton::clicked, this, &frmGeradorNome::cmdCopiaNome_Click);
}

QStringList frmGeradorNome::PredefinedMasks()
{
    return PredefinedNameMasks();
}

void frmGeradorNome::reject()
{
    cmdOK_Click();
}

void frmGeradorNome::FillPredefinedMasks()
{
    for (const QString &mask : PredefinedMasks())
        InsertSorted(cmbMascPre, mask);
    cmbMascPre->setCurrentIndex(0);
}

void frmGeradorNome::addMask(const QString &mask)
{
    for (int row = 0; row < lstMascSel->count(); ++row) {
        if (lstMascSel->item(row)->text() == mask) {
            WindowKit::ShowError(this, QStringLiteral("Item já selecionado!"));
            return;
        }
    }
    InsertSorted(lstMascSel, mask);
    cmdGeraNomes->setEnabled(true);
}

void frmGeradorNome::cmdAdicionaMascPre_Click()
{
    if (cmbMascPre->currentIndex() >= 0)
        addMask(cmbMascPre->currentText());
}

void frmGeradorNome::cmdAdicionaMascCustom_Click()
{
    // The button is disabled while the box is empty; an empty mask would make empty names.
    if (!txtMascCustom->text().isEmpty())
        addMask(txtMascCustom->text());
}

void frmGeradorNome::txtMascCustom_Change()
{
    cmdAdicionaMascCustom->setEnabled(!txtMascCustom->text().isEmpty());
}

void frmGeradorNome::cmdExcluirItem_Click()
{
    const QList<QListWidgetItem *> selected = lstMascSel->selectedItems();
    if (!selected.isEmpty()) {
        delete lstMascSel->takeItem(lstMascSel->row(selected.first()));
        // Nothing stays selected, so a second click does not take away a neighbour unasked.
        lstMascSel->clearSelection();
    }
    if (lstMascSel->count() == 0)
        cmdGeraNomes->setEnabled(false);
}

void frmGeradorNome::cmdLimparList_Click()
{
    lstMascSel->clear();
    cmdGeraNomes->setEnabled(false);
}

void frmGeradorNome::txtQuantNomes_Change()
{
    if (txtQuantNomes->text().isEmpty()) {
        txtQuantNomes->setText(QStringLiteral("1")); // comes back here and sets the label
        txtQuantNomes->selectAll();                  // what is typed next replaces it
        return;
    }
    lblQntNomes->setText(txtQuantNomes->text() == QLatin1String("1") ? QStringLiteral("nome")
                                                                     : QStringLiteral("nomes"));
}

void frmGeradorNome::cmdGeraNomes_Click()
{
    // Typed text holds only digits, but a paste can bring anything ("1e5", "-9", "abc").
    const double value = LeadingNumber(txtQuantNomes->text());
    const std::optional<qint16> count = RoundToWhole<qint16>(value);
    if (!count) {
        WindowKit::ShowError(this, value > 0 ? QStringLiteral(
                                       "A quantidade de nomes é grande demais: o máximo é 32767.")
                                             : QStringLiteral("A quantidade de nomes é inválida."));
        return;
    }

    QStringList masks;
    masks.reserve(lstMascSel->count());
    for (int row = 0; row < lstMascSel->count(); ++row)
        masks.append(lstMascSel->item(row)->text());
    txtNomes->setPlainText(GenerateNames(masks, *count, RandomSource::process()));
}

void frmGeradorNome::cmdCopiaNome_Click()
{
    QGuiApplication::clipboard()->setText(txtNomes->toPlainText(), QClipboard::Clipboard);
}

void frmGeradorNome::cmdOK_Click()
{
    QDialog::accept();
}
