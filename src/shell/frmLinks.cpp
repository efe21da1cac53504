#include "shell/frmLinks.h"

#include "common/CenterForm.h"
#include "common/WindowKit.h"
#include "shell/MenuPanel.h"

#include <QDesktopServices>
#include <QLabel>
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

} // namespace

frmLinks::frmLinks(QWidget *parent)
    : QDialog(parent, WindowKit::ToolWindowFlags()), m_menu(nullptr), m_cmdOK(nullptr),
      m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("frmLinks"));
    WindowKit::UseLightPalette(this);
    setWindowTitle(QStringLiteral("Morvane's Quessar: Links"));
    setFixedSize(356, 170);

    const WindowKit::ToolDressing dressing = WindowKit::AddToolDressing(this, 171, 62);
    QLabel *pctDegrade = dressing.pctDegrade;
    m_cmdOK = dressing.cmdOK;
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
    options.font = WindowKit::Arial();
    options.font.setUnderline(true);
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
    WindowKit::ShowError(this,
                         QStringLiteral("Não foi possível abrir o endereço:\n%1").arg(address));
}
