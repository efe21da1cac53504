#include "shell/frmSobre.h"

#include "common/CenterForm.h"
#include "common/PngPixmap.h"
#include "common/WindowKit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

frmSobre::frmSobre(QWidget *parent) : QDialog(parent, WindowKit::ToolWindowFlags())
{
    setObjectName(QStringLiteral("frmSobre"));
    WindowKit::UseLightPalette(this);
    setWindowTitle(QStringLiteral("Morvane's Quessar: Sobre"));
    setFixedSize(354, 114);

    const WindowKit::ToolDressing dressing = WindowKit::AddToolDressing(this, 115, 40);
    m_pctAreaAni = dressing.pctAreaAni;
    m_pctDegrade = dressing.pctDegrade;
    m_cmdOK = dressing.cmdOK;
    m_cmdOK->setDefault(true);

    m_txtSobre = WindowKit::AddTextBox(this, QStringLiteral("txtSobre"), {140, 0, 213, 113},
                                       WindowKit::Arial(), true);
    WindowKit::SetBaseColour(m_txtSobre, QColor(192, 192, 192));
    m_txtSobre->setAccessibleName(QStringLiteral("Sobre o Quessar"));
    m_txtSobre->installEventFilter(this); // Enter in the text does not close the window

    m_imgFoto = new QLabel(this);
    m_imgFoto->setObjectName(QStringLiteral("imgFoto"));
    m_imgFoto->setGeometry(58, 8, 78, 96);
    m_imgFoto->setPixmap(PngPixmap(QStringLiteral(":/quessar/photo.png")));
    m_imgFoto->setToolTip(QStringLiteral("Olha o Morvane aí, gente!"));
    m_imgFoto->setAccessibleName(QStringLiteral("Foto do autor"));

    QWidget::setTabOrder(m_cmdOK, m_txtSobre);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmSobre::cmdOK_Click);

    // Form_Load: centre, show the text from its first line.
    CenterForm(this);
    m_txtSobre->setPlainText(AboutText());
    m_cmdOK->setFocus();
}

frmSobre::~frmSobre() = default;

QString frmSobre::AboutText()
{
    const QStringList lines = {
        QStringLiteral("Idéia Original: Morvane"),
        QStringLiteral("Programação: Morvane"),
        QStringLiteral("Agradecimentos aos autores de dois programas que inspiraram este."),
        QStringLiteral("Qualquer dúvida, comentário, crítica ou relato de bug envie-me um E-mail "
                       "(disponível na seção de Links)!"),
        QString(),
    };
    return lines.join(QStringLiteral("\r\n"));
}

bool frmSobre::eventFilter(QObject *watched, QEvent *event)
{
    // The read-only text box leaves Enter unused, and the dialog would pass it on to the
    // default button: keep it in the box, where it does nothing.
    if (watched == m_txtSobre && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSobre::reject()
{
    cmdOK_Click();
}

void frmSobre::cmdOK_Click()
{
    accept();
}
