#include "shell/frmSplash.h"

#include "QuessarVersion.h"
#include "common/ApplicationSetup.h"
#include "common/CenterForm.h"
#include "common/RawPicture.h"
#include "shell/frmPrincipal.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace {

// The artwork, kept as the plain pixels of the picture: no decoder and no image plugin stands
// between the program's start and the splash on screen.
QPixmap SplashPicture()
{
    return QPixmap::fromImage(RawPicture::fromResource(QStringLiteral(":/quessar/splash.raw")));
}

} // namespace

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_imgSplash(new QLabel(this)),
      m_lblVersao(new QLabel(this)), m_tmrSplash(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    // The splash has no title bar; its window name only tells window lists what it is.
    setWindowTitle(QStringLiteral("Quessar"));
    setFixedSize(250, 299);
    // Clicks and keys do nothing here; only the timer moves the program on.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);

    m_imgSplash->setObjectName(QStringLiteral("imgSplash"));
    m_imgSplash->setGeometry(0, 0, 250, 300);
    m_imgSplash->setPixmap(SplashPicture());

    m_lblVersao->setObjectName(QStringLiteral("lblVersão"));
    m_lblVersao->setGeometry(0, 248, 251, 29);
    m_lblVersao->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(21.75);
    font.setBold(true);
    m_lblVersao->setFont(font);
    QPalette white = m_lblVersao->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    m_lblVersao->setPalette(white);

    m_tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
    m_tmrSplash->setInterval(SplashMilliseconds);
    m_tmrSplash->setSingleShot(true);
    // A coarse timer may fire several percent early.
    m_tmrSplash->setTimerType(Qt::PreciseTimer);
    connect(m_tmrSplash, &QTimer::timeout, this, &frmSplash::tmrSplash_Timer);

    // Form_Load: centre, write the version, start counting.
    CenterForm(this);
    m_lblVersao->setText(
        VersionText(QuessarVersionMajor, QuessarVersionMinor, QuessarVersionPatch));
    m_tmrSplash->start();
}

frmSplash::~frmSplash() = default;

QString frmSplash::VersionText(int major, int minor, int revision)
{
    return QStringLiteral("Versão %1.%2%3").arg(major).arg(minor).arg(revision);
}

void frmSplash::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The window icon is left until the splash is on screen: decoding it and handing it to the
    // window system takes over a millisecond the first paint need not wait for. A zero-delay
    // timer runs it after this paint has reached the screen, not inside it.
    if (!m_iconRequested) {
        m_iconRequested = true;
        QTimer::singleShot(0, qApp, &SetApplicationIcon);
    }
}

void frmSplash::tmrSplash_Timer()
{
    // The main window comes up first, so the program always has a window on screen and does
    // not quit when the splash closes.
    auto *main = new frmPrincipal;
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->show();
    close();
    deleteLater();
}
