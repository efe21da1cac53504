#include "shell/frmLinks.h"

#include "common/CenterForm.h"
#include "common/WindowDressing.h"
#include "shell/MenuPanel.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

namespace {

struct Link
{
    const char16_t *caption; // "&&" shows as one "&"
    const char16_t *address;
};

constexpr Link Links[] = {
    {u"Jambô Editora", u"https://jamboeditora.com.br"},
    {u"E-Mail do criador do Quessar", u"mailto:quessar@example.com"},
    {u"Devir Brasil", u"https://devir.com.br"},
    {u"Galápagos Jogos", u"https://www.galapagosjogos.com.br"},
    {u"Retropunk Publicações", u"https://retropunk.com.br"},
    {u"Movimento RPG", u"https://movimentorpg.com.br"},
    {u"Jovem Nerd", u"https://jovemnerd.com.br"},
    {u"Ludopedia", u"https://ludopedia.com.br"},
    {u"D&&D Beyond", u"https://www.dndbeyond.com"},
    {u"RPGGeek", u"https://rpggeek.com"},
    {u"DriveThruRPG", u"https://www.drivethrurpg.com"},
    {u"RPG.net", u"https://www.rpg.net"},
    {u"Chaosium", u"https://www.chaosium.com"},
};

QFont ArialFont(bool bold, bool underline)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

frmLinks::frmLinks(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_menu(nullptr),
      m_cmdOK(nullptr),
      m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("frmLinks"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Links"));
    setFixedSize(356, 170);

    auto *pctAreaAni = new QWidget(this);
    pctAreaAni->setObjectName(QStringLiteral("pctAreaAni"));
    pctAreaAni->setGeometry(0, 0, WindowDressing::StripWidth, 171);
    auto *pctDegrade = new QLabel(this);
    pctDegrade->setObjectName(QStringLiteral("pctDegrade"));
    pctDegrade->setGeometry(WindowDressing::GradientLeft, 0, WindowDressing::GradientWidth,
                            WindowDressing::GradientHeight);
    pctDegrade->setAccessibleName(QStringLiteral("Faixa em degradê"));
    WindowDressing::dress(pctAreaAni, pctDegrade);

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), pctAreaAni);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(6, 62, 30, 30);
    m_cmdOK->setFont(ArialFont(true, false));
    m_cmdOK->setAccessibleName(QStringLiteral("OK"));
    m_cmdOK->setAccessibleDescription(QStringLiteral("Fecha a janela de links"));
    m_cmdOK->setAutoDefault(false);
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *vsbAreaTrab = new QScrollBar(Qt::Vertical, this);
    vsbAreaTrab->setGeometry(338, 0, 17, 169);
    vsbAreaTrab->setAccessibleName(QStringLiteral("Rolagem da lista de links"));
    MenuPanel::Options options;
    options.items = MenuPanel::Items::All;
    options.itemColour = QColor(0, 0, 128);
    options.headingColour = options.itemColour;
    options.font = ArialFont(false, true);
    options.recordsLastScrollValue = true;
    m_menu = new MenuPanel(options, vsbAreaTrab, this);
    m_menu->setGeometry(56, 0, 279, 168);
    m_menu->setAccessibleName(QStringLiteral("Lista de links"));
    m_menu->setAccessibleDescription(
        QStringLiteral("Use as setas para escolher um link e Enter para abri-lo"));
    for (const Link &link : Links) {
        const QString address = QString::fromUtf16(link.address);
        QLabel *label = m_menu->addEntry(QString::fromUtf16(link.caption), address);
        label->setToolTip(address);
        label->setAccessibleDescription(address);
    }
    m_menu->watchClearingArea(pctDegrade);
    connect(m_menu, &MenuPanel::entryClicked, this, &frmLinks::lblMenu_Click);

    setTabOrder(m_menu, vsbAreaTrab);
    setTabOrder(vsbAreaTrab, m_cmdOK);

    // Load: centre, lay out the list.
    CenterForm(this);
    m_menu->layoutEntries();
}

frmLinks::~frmLinks() = default;

void frmLinks::setUrlOpener(UrlOpener opener)
{
    m_openUrl = std::move(opener);
}

void frmLinks::lblMenu_Click(int index)
{
    OpenLink(m_menu->tag(index));
}

void frmLinks::OpenLink(const QString &address)
{
    // The address goes to the system unchanged; the window stays open either way.
    if (m_openUrl(QUrl(address)))
        return;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quessar"),
                    QStringLiteral("Não foi possível abrir o endereço:\n%1").arg(address),
                    QMessageBox::Ok, this);
    box.exec();
}
