#include "city/frmGeradorCidadeADD.h"

#include "city/BusyCursor.h"
#include "city/CityFile.h"
#include "city/CityReport.h"
#include "common/CenterForm.h"
#include "common/CharacterDescription.h"
#include "common/DigitLineEdit.h"
#include "common/LeadingNumber.h"
#include "common/RandomSource.h"
#include "common/SortedInsert.h"
#include "common/WindowKit.h"
#include "names/NameMask.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <optional>

QString frmGeradorCidadeADD::s_lastCityName;

namespace {

// Enter does nothing in this window: no button may take it.
QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    return WindowKit::AddButton(parent, QLatin1StringView(name), caption, place);
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, const QRect &place)
{
    return WindowKit::AddLabel(parent, QLatin1StringView(name), caption, place, Qt::black);
}

} // namespace

frmGeradorCidadeADD::frmGeradorCidadeADD(QWidget *parent)
    : QDialog(parent, WindowKit::ToolWindowFlags())
{
    setObjectName(QStringLiteral("frmGeradorCidadeADD"));
    WindowKit::UseLightPalette(this);
    setWindowTitle(QStringLiteral("Morvane's Quessar: Gerador de Cidades (AD&D)"));
    setFixedSize(450, 337);
    setSizeGripEnabled(false);
    // The window's own font, which the plain buttons and the block box use: the small
    // sans-serif the layout was drawn for.
    setFont(WindowKit::Arial());

    // Created in tab order.
    const WindowKit::ToolDressing dressing = WindowKit::AddToolDressing(this, 337, 148);
    m_pctAreaAni = dressing.pctAreaAni;
    m_pctDegrade = dressing.pctDegrade;
    m_cmdOK = dressing.cmdOK;
    m_cmdOK->setAutoDefault(false); // Enter does nothing in this window

    m_cmdSalvar = button(this, "cmdSalvar", QStringLiteral("Salvar Cidade!"), {362, 122, 85, 25});

    m_txtCidade = WindowKit::AddTextBox(this, QStringLiteral("txtCidade"), {58, 152, 387, 181},
                                        WindowKit::CourierNew(), false);

    m_cmdGeraCidade =
        button(this, "cmdGeraCidade", QStringLiteral("Gerar Cidade!"), {288, 122, 75, 25});

    m_txtBlocos = new DigitLineEdit(this);
    m_txtBlocos->setObjectName(QStringLiteral("txtBlocos"));
    m_txtBlocos->setGeometry(230, 122, 53, 23);
    m_txtBlocos->setMaxLength(5);

    m_cmdGerarNome = button(this, "cmdGerarNome", QStringLiteral("Gerar nome!"), {350, 92, 97, 25});

    m_txtNome = WindowKit::AddLineEdit(this, QStringLiteral("txtNome"), {152, 92, 195, 23},
                                       WindowKit::CourierNew(), 50);
    m_txtNome->setReadOnly(true);
    WindowKit::SetBaseColour(m_txtNome, QColor(224, 224, 224));

    m_txtAjudaNomes = WindowKit::AddTextBox(this, QStringLiteral("txtAjudaNomes"),
                                            {58, 52, 389, 37}, WindowKit::CourierNew(), true);

    m_txtMascara = WindowKit::AddLineEdit(this, QStringLiteral("txtMascara"), {250, 16, 195, 23},
                                          WindowKit::CourierNew(), 50);

    m_cmdUsarMascara = button(this, "cmdUsarMascara", QStringLiteral(">"), {224, 16, 25, 25});

    m_cmbMascPre = new QComboBox(this);
    m_cmbMascPre->setObjectName(QStringLiteral("cmbMascPre"));
    m_cmbMascPre->setGeometry(58, 16, 165, 22);
    m_cmbMascPre->setFont(WindowKit::CourierNew());
    m_cmbMascPre->setEditable(false);

    // Each label also names the box beside or below it, for screen readers.
    label(this, "Label4", QStringLiteral("Blocos (1 bloco = 250 pessoas):"), {58, 122, 171, 14})
        ->setBuddy(m_txtBlocos);
    label(this, "Label3", QStringLiteral("Nome da cidade:"), {60, 92, 90, 14})->setBuddy(m_txtNome);
    label(this, "lblAjuda1", QStringLiteral("Ajuda:"), {58, 40, 34, 14})->setBuddy(m_txtAjudaNomes);
    label(this, "Label2", QStringLiteral("M\u00E1scara do nome da cidade:"), {250, 0, 156, 14})
        ->setBuddy(m_txtMascara);
    label(this, "Label1", QStringLiteral("M\u00E1scaras pr\u00E9-definidas:"), {58, 0, 133, 14})
        ->setBuddy(m_cmbMascPre);
    m_cmdUsarMascara->setAccessibleName(QStringLiteral("Usar a máscara pré-definida"));
    m_txtCidade->setAccessibleName(QStringLiteral("Relatório da cidade"));

    m_pctAreaAni->setFocusPolicy(Qt::NoFocus);
    m_pctDegrade->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(m_cmdOK, m_cmdSalvar);
    QWidget::setTabOrder(m_cmdSalvar, m_txtCidade);
    QWidget::setTabOrder(m_txtCidade, m_cmdGeraCidade);
    QWidget::setTabOrder(m_cmdGeraCidade, m_txtBlocos);
    QWidget::setTabOrder(m_txtBlocos, m_cmdGerarNome);
    QWidget::setTabOrder(m_cmdGerarNome, m_txtNome);
    QWidget::setTabOrder(m_txtNome, m_txtAjudaNomes);
    QWidget::setTabOrder(m_txtAjudaNomes, m_txtMascara);
    QWidget::setTabOrder(m_txtMascara, m_cmdUsarMascara);
    QWidget::setTabOrder(m_cmdUsarMascara, m_cmbMascPre);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmGeradorCidadeADD::cmdOK_Click);
    connect(m_cmdSalvar, &QPushButton::clicked, this, &frmGeradorCidadeADD::cmdSalvar_Click);
    connect(m_cmdGeraCidade, &QPushButton::clicked, this,
            &frmGeradorCidadeADD::cmdGeraCidade_Click);
    connect(m_cmdGerarNome, &QPushButton::clicked, this, &frmGeradorCidadeADD::cmdGerarNome_Click);
    connect(m_cmdUsarMascara, &QPushButton::clicked, this,
            &frmGeradorCidadeADD::cmdUsarMascara_Click);
    connect(m_txtMascara, &QLineEdit::textChanged, this, &frmGeradorCidadeADD::txtMascara_Change);
    connect(m_txtBlocos, &QLineEdit::textChanged, this, &frmGeradorCidadeADD::txtBlocos_Change);

    // Form_Load
    CenterForm(this);
    // Each opening starts a new random sequence: names differ from one opening to the next.
    RandomSource::process().reseed(static_cast<double>(QDateTime::currentMSecsSinceEpoch())
                                   / 1000.0);
    m_txtAjudaNomes->setPlainText(MaskHelpText());
    FillPredefinedMasks();
    m_txtBlocos->setText(QStringLiteral("1"));
}

frmGeradorCidadeADD::~frmGeradorCidadeADD() = default;

const QString &frmGeradorCidadeADD::LastCityName()
{
    return s_lastCityName;
}

void frmGeradorCidadeADD::ResetLastCityName()
{
    s_lastCityName.clear();
}

QStringList frmGeradorCidadeADD::PredefinedMasks()
{
    return {QStringLiteral("$}@"), QStringLiteral("$@!@!"), QStringLiteral("$@!"),
            QStringLiteral("[@!@ $!@@@!@"), QStringLiteral("$!^ $!!@^")};
}

QString frmGeradorCidadeADD::DefaultMask()
{
    return QStringLiteral("$!^ $!!@^");
}

void frmGeradorCidadeADD::reject()
{
    cmdOK_Click();
}

void frmGeradorCidadeADD::FillPredefinedMasks()
{
    m_txtMascara->setText(DefaultMask());
    for (const QString &mask : PredefinedMasks())
        InsertSorted(m_cmbMascPre, mask);
    m_cmbMascPre->setCurrentIndex(-1);
}

void frmGeradorCidadeADD::cmdUsarMascara_Click()
{
    // With nothing selected the text is empty, and the mask box puts the default back.
    m_txtMascara->setText(m_cmbMascPre->currentIndex() < 0 ? QString()
                                                           : m_cmbMascPre->currentText());
}

void frmGeradorCidadeADD::txtMascara_Change()
{
    // The refilled text is selected, so that what is typed next replaces it.
    if (m_txtMascara->text().isEmpty()) {
        m_txtMascara->setText(DefaultMask());
        m_txtMascara->selectAll();
    }
}

void frmGeradorCidadeADD::cmdGerarNome_Click()
{
    m_txtNome->setText(GenerateNameFromMask(m_txtMascara->text()));
}

void frmGeradorCidadeADD::txtBlocos_Change()
{
    if (m_txtBlocos->text().isEmpty()) {
        m_txtBlocos->setText(QStringLiteral("1"));
        m_txtBlocos->selectAll();
    }
}

void frmGeradorCidadeADD::cmdGeraCidade_Click()
{
    const QString name = m_txtNome->text();
    if (name.isEmpty()) {
        showError(QStringLiteral("A cidade deve ter um nome!"));
        return;
    }

    // Typed input is one to five digits, but a paste can bring signs, fractions and
    // exponents; the count is the leading number, ties to even.
    const QString blockText = m_txtBlocos->text();
    const std::optional<qint32> blocks = RoundToWhole<qint32>(LeadingNumber(blockText));
    bool built = false;
    if (blocks) {
        BusyCursor busy;
        if (std::optional<QString> report = TryBuildCityReport(name, *blocks)) {
            m_txtCidade->setPlainText(*report);
            s_lastCityName = name;
            built = true;
        }
    }
    if (!built) {
        showError(QStringLiteral("O n\u00FAmero de blocos \"%1\" est\u00E1 fora do limite: "
                                 "uma cidade pode ter de -8589934 a 8589934 blocos.")
                      .arg(blockText));
    }
}

void frmGeradorCidadeADD::cmdSalvar_Click()
{
    // The raw text keeps every character as typed (plain-text export would turn no-break
    // spaces into spaces); its paragraph separators become CR LF in the file.
    const QString text = m_txtCidade->document()->toRawText();
    if (text.isEmpty()) {
        showError(QStringLiteral("Crie uma cidade antes de salvar!"));
        return;
    }

    CityFile::Outcome outcome = CityFile::save(s_lastCityName, text);
    if (outcome.status == CityFile::Status::NotACityFile) {
        // A file of that name that Quessar did not write is only replaced when the user says so.
        const bool replace = WindowKit::Ask(
            this,
            QStringLiteral("O arquivo \r\n%1\r\nj\u00E1 existe e n\u00E3o foi criado pelo Quessar."
                           "\r\n\r\nSubstituir o arquivo?")
                .arg(QDir::toNativeSeparators(outcome.path)),
            false);
        if (!replace)
            return;
        outcome = CityFile::save(s_lastCityName, text, CityFile::Replace::Anything);
    }
    switch (outcome.status) {
    case CityFile::Status::Saved:
        WindowKit::ShowInformation(this, QStringLiteral("A cidade foi salva no arquivo: \r\n")
                                             + QDir::toNativeSeparators(outcome.path));
        break;
    case CityFile::Status::NotACityFile: // answered above
        break;
    case CityFile::Status::NameNotAllowed:
        showError(QStringLiteral("O nome \"%1\" n\u00E3o pode ser usado como nome de arquivo. "
                                 "Gere outro nome e crie a cidade de novo.")
                      .arg(s_lastCityName));
        break;
    case CityFile::Status::Unencodable:
        showError(QStringLiteral("O caractere %1 n\u00E3o pode ser gravado no arquivo, que usa a "
                                 "codifica\u00E7\u00E3o Windows-1252. Apague-o ou troque-o e "
                                 "salve de novo.")
                      .arg(DescribeCharacter(outcome.character)));
        break;
    case CityFile::Status::FolderNotMade:
        showError(QStringLiteral("N\u00E3o foi poss\u00EDvel criar a pasta de documentos: \r\n")
                  + QDir::toNativeSeparators(outcome.path)
                  + QStringLiteral("\r\nA cidade n\u00E3o foi salva."));
        break;
    case CityFile::Status::WriteFailed:
        showError(QStringLiteral("N\u00E3o foi poss\u00EDvel salvar a cidade no arquivo: \r\n")
                  + QDir::toNativeSeparators(outcome.path) + QStringLiteral("\r\n")
                  + outcome.error);
        break;
    }
}

void frmGeradorCidadeADD::cmdOK_Click()
{
    QDialog::reject();
}

void frmGeradorCidadeADD::showError(const QString &text)
{
    WindowKit::ShowError(this, text);
}
