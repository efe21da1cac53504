#include "shell/frmSobre.h"

#include "common/CenterForm.h"
#include "common/WindowDressing.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

namespace {

QFont arial(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

} // namespace

frmSobre::frmSobre(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Sobre"));
    setFixedSize(354, 114);

    // The dressing at the left edge, with the OK button in the black strip.
    m_pctAreaAni = new QWidget(this);
    m_pctAreaAni->setObjectName(QStringLiteral("pctAreaAni"));
    m_pctAreaAni->setGeometry(0, 0, WindowDressing::StripWidth, 115);
    m_pctAreaAni->setAccessibleName(QStringLiteral("Faixa preta"));
    m_pctDegrade = new QLabel(this);
    m_pctDegrade->setObjectName(QStringLiteral("pctDegrade"));
    m_pctDegrade->setGeometry(WindowDressing::GradientLeft, 0, WindowDressing::GradientWidth,
                              WindowDressing::GradientHeight);
    m_pctDegrade->setAccessibleName(QStringLiteral("Faixa em degradê"));
    m_pctDegrade->raise(); // its first column covers the strip's last one

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), m_pctAreaAni);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(6, 40, 30, 30);
    m_cmdOK->setFont(arial(true));
    m_cmdOK->setDefault(true);
    m_cmdOK->setAccessibleName(QStringLiteral("OK"));
    m_cmdOK->setAccessibleDescription(QStringLiteral("Fecha a janela Sobre"));

    m_txtSobre = new QPlainTextEdit(this);
    m_txtSobre->setObjectName(QStringLiteral("txtSobre"));
    m_txtSobre->setGeometry(140, 0, 213, 113);
    m_txtSobre->setFont(arial(false));
    m_txtSobre->setReadOnly(true);
    // Read-only still lets the user scroll, select and copy, with the mouse and the keyboard.
    m_txtSobre->setTextInteractionFlags(Qt::TextSelectableByMouse
                                        | Qt::TextSelectableByKeyboard);
    m_txtSobre->setTabChangesFocus(true);
    m_txtSobre->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtSobre->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtSobre->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette grey = m_txtSobre->palette();
    grey.setColor(QPalette::Base, QColor(192, 192, 192));
    m_txtSobre->setPalette(grey);
    m_txtSobre->setAccessibleName(QStringLiteral("Sobre o Quessar"));

    m_imgFoto = new QLabel(this);
    m_imgFoto->setObjectName(QStringLiteral("imgFoto"));
    m_imgFoto->setGeometry(58, 8, 78, 96);
    m_imgFoto->setPixmap(QPixmap(QStringLiteral(":/quessar/photo.png")));
    m_imgFoto->setToolTip(QStringLiteral("Olha o Morvane aí, gente!"));
    m_imgFoto->setAccessibleName(QStringLiteral("Foto do autor"));

    QWidget::setTabOrder(m_cmdOK, m_txtSobre);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmSobre::cmdOK_Click);

    // Form_Load: centre, dress, show the text from its first line.
    CenterForm(this);
    WindowDressing::dress(m_pctAreaAni, m_pctDegrade);
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

void frmSobre::reject()
{
    cmdOK_Click();
}

void frmSobre::cmdOK_Click()
{
    accept();
}
