#include "shell/frmPrincipal.h"

#include "city/frmGeradorCidadeADD.h"
#include "common/CenterForm.h"
#include "common/PngPixmap.h"
#include "common/WindowDressing.h"
#include "common/WindowKit.h"
#include "dice/frmRodadorDados.h"
#include "names/frmGeradorNome.h"
#include "shell/MenuPanel.h"
#include "shell/frmLinks.h"
#include "shell/frmSobre.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int FigureLeft = 14;
constexpr int TitleTop = 8; // inside the banner's interior

struct MenuEntry
{
    const char16_t *caption;
    bool item;
};

// Stored captions: "&&" shows as one "&".
constexpr MenuEntry MenuEntries[] = {
    {u"GENÉRICOS", false},
    {u"Gerador de Nomes", true},
    {u"Rodador de Dados", true},
    {u"DUNGEONS && DRAGONS (AD&&D)", false},
    {u"Gerador de Cidades para AD&&D", true},
    {u"MISC", false},
    {u"Links", true},
    {u"Sobre", true},
    {u"Sair", true},
};

} // namespace

frmPrincipal::frmPrincipal(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      m_pctTitulo(new QLabel(this)), m_lblTitulo(new QLabel(m_pctTitulo)),
      m_pctAreaAni(new QWidget(this)), m_imgAni(new QLabel(m_pctAreaAni)),
      m_pctDegrade(new QLabel(this)), m_menu(nullptr), m_tmrAni(new QTimer(this)),
      m_tmrAniTit(new QTimer(this))
{
    setObjectName(QStringLiteral("frmPrincipal"));
    WindowKit::UseLightPalette(this);
    setWindowTitle(QStringLiteral("Morvane's Quessar"));
    setFixedSize(454, 397);

    // Title banner: a sunken two-pixel border around the banner picture; the title slides in
    // its interior and is clipped to it.
    m_pctTitulo->setObjectName(QStringLiteral("pctTitulo"));
    m_pctTitulo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pctTitulo->setLineWidth(2);
    m_pctTitulo->setPixmap(PngPixmap(QStringLiteral(":/quessar/title-banner.png")));
    m_pctTitulo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pctTitulo->setGeometry(0, 0, 454, 35);
    m_pctTitulo->setAccessibleName(QStringLiteral("Faixa do título"));

    m_lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    m_lblTitulo->setTextFormat(Qt::PlainText);
    m_lblTitulo->setText(QStringLiteral("Morvane's Quessar"));
    m_lblTitulo->setFont(WindowKit::ArialBold(9.75));
    QPalette yellow = m_lblTitulo->palette();
    yellow.setColor(QPalette::WindowText, QColor(255, 255, 0));
    m_lblTitulo->setPalette(yellow);
    m_lblTitulo->setAutoFillBackground(false);
    m_lblTitulo->adjustSize();

    // The black strip with the figure, and the gradient beside it.
    m_pctAreaAni->setObjectName(QStringLiteral("pctAreaAni"));
    m_pctAreaAni->setGeometry(0, 36, WindowDressing::StripWidth, 361);
    m_pctAreaAni->setAccessibleName(QStringLiteral("Faixa da animação"));
    m_pctDegrade->setObjectName(QStringLiteral("pctDegrade"));
    m_pctDegrade->setGeometry(WindowDressing::GradientLeft, 36, WindowDressing::GradientWidth,
                              WindowDressing::GradientHeight);
    m_pctDegrade->setAccessibleName(QStringLiteral("Faixa em degradê"));
    WindowDressing::dress(m_pctAreaAni, m_pctDegrade);

    for (int i = 0; i < FigureAnimation::FrameCount; ++i) {
        auto *frame = new QLabel(m_pctAreaAni);
        frame->setObjectName(QStringLiteral("imgFigAni_%1").arg(i));
        frame->setPixmap(PngPixmap(QStringLiteral(":/quessar/figure/frame%1.png").arg(i)));
        frame->setGeometry(FigureLeft, 0, 16, 16);
        frame->hide();
        m_imgFigAni[static_cast<std::size_t>(i)] = frame;
    }
    // The figure has no picture of its own until the first tick.
    m_imgAni->setObjectName(QStringLiteral("imgAni"));
    m_imgAni->setGeometry(FigureLeft, 0, 16, 16);
    m_imgAni->setAccessibleName(QStringLiteral("Figura animada"));

    // The menu.
    auto *vsbAreaTrab = new QScrollBar(Qt::Vertical, this);
    vsbAreaTrab->setGeometry(438, 36, 17, 361);
    vsbAreaTrab->setAccessibleName(QStringLiteral("Rolagem do menu"));
    MenuPanel::Options options;
    options.items = MenuPanel::Items::Tagged;
    options.itemColour = QColor(0, 128, 0);
    options.headingColour = QColor(0, 0, 128);
    options.font = WindowKit::ArialBold();
    options.recordsLastScrollValue = false;
    m_menu = new MenuPanel(options, vsbAreaTrab, this);
    m_menu->setGeometry(56, 36, 381, 360);
    m_menu->setAccessibleName(QStringLiteral("Menu principal"));
    m_menu->setAccessibleDescription(
        QStringLiteral("Use as setas para escolher um item e Enter para abri-lo"));
    for (const MenuEntry &entry : MenuEntries) {
        QLabel *label =
            m_menu->addEntry(QString::fromUtf16(entry.caption),
                             entry.item ? MenuPanel::itemTag() : QStringLiteral("PRINCIPAL"));
        if (!entry.item)
            label->setAccessibleDescription(QStringLiteral("Título de seção"));
    }
    m_menu->watchClearingArea(m_pctDegrade);
    connect(m_menu, &MenuPanel::entryClicked, this, &frmPrincipal::lblMenu_Click);

    m_tmrAni->setObjectName(QStringLiteral("tmrAni"));
    m_tmrAni->setInterval(100);
    connect(m_tmrAni, &QTimer::timeout, this, &frmPrincipal::tmrAni_Timer);

    m_tmrAniTit->setObjectName(QStringLiteral("tmrAniTit"));
    m_tmrAniTit->setInterval(1);
    m_tmrAniTit->setTimerType(Qt::PreciseTimer);
    connect(m_tmrAniTit, &QTimer::timeout, this, &frmPrincipal::tmrAniTit_Timer);

    // Load: centre, start both animations, lay out the menu.
    CenterForm(this);
    m_title = TitleAnimation::start(m_lblTitulo->width());
    placeTitle();
    m_tmrAniTit->start();
    m_figure = FigureAnimation{};
    m_imgAni->move(FigureLeft, m_figure.top);
    m_tmrAni->start();
    m_menu->layoutEntries();
}

frmPrincipal::~frmPrincipal() = default;

void frmPrincipal::lblMenu_Click(int index)
{
    // The stored caption decides, not the index or the tag.
    const QString caption = m_menu->caption(index);
    if (caption == QStringLiteral("Gerador de Cidades para AD&&D")) {
        showTool<frmGeradorCidadeADD>();
    } else if (caption == QStringLiteral("Rodador de Dados")) {
        showTool<frmRodadorDados>();
    } else if (caption == QStringLiteral("Gerador de Nomes")) {
        showTool<frmGeradorNome>();
    } else if (caption == QStringLiteral("Sair")) {
        if (confirmExit()) {
            m_exitConfirmed = true;
            endProgram();
        }
    } else if (caption == QStringLiteral("Links")) {
        showTool<frmLinks>();
    } else if (caption == QStringLiteral("Sobre")) {
        showTool<frmSobre>();
    }
}

// A fresh window at every opening, modal to this one; the animations go on meanwhile.
template <typename Tool> void frmPrincipal::showTool()
{
    Tool tool(this);
    tool.exec();
}

bool frmPrincipal::confirmExit()
{
    return WindowKit::Ask(this, QStringLiteral("Tem certeza que deseja sair do Quessar?"), true);
}

void frmPrincipal::endProgram()
{
    QCoreApplication::quit();
}

void frmPrincipal::closeEvent(QCloseEvent *event)
{
    // Once the exit is confirmed (the quit closes every window), close without asking again.
    if (m_exitConfirmed) {
        event->accept();
        return;
    }
    if (!confirmExit()) {
        event->ignore();
        return;
    }
    m_exitConfirmed = true;
    event->accept();
    endProgram();
}

void frmPrincipal::tmrAni_Timer()
{
    // Only the 16 × 16 figure changes: the strip repaints just its old and new place.
    const int frame = StepFigure(m_figure, m_imgAni->height(), m_pctAreaAni->height());
    m_imgAni->setPixmap(m_imgFigAni[static_cast<std::size_t>(frame)]->pixmap());
    m_imgAni->move(FigureLeft, m_figure.top);
}

void frmPrincipal::tmrAniTit_Timer()
{
    switch (StepTitle(m_title, m_lblTitulo->width(), m_pctTitulo->contentsRect().width())) {
    case TitleTick::Moved:
        placeTitle();
        break;
    case TitleTick::Stopped:
        m_tmrAniTit->stop();
        break;
    case TitleTick::ChangedLeg:
    case TitleTick::Idle:
        break;
    }
}

void frmPrincipal::placeTitle()
{
    const QRect interior = m_pctTitulo->contentsRect();
    const QPoint at(interior.left() + m_title.x, interior.top() + TitleTop);
    m_lblTitulo->move(at);
    // Keep the title off the banner's border while it slides past the edges. (An empty mask
    // would mean no mask at all, so a title wholly outside the interior is hidden instead.)
    const QRect visible = interior.translated(-at).intersected(m_lblTitulo->rect());
    if (!visible.isEmpty())
        m_lblTitulo->setMask(QRegion(visible));
    m_lblTitulo->setVisible(!visible.isEmpty());
}
