#include "mesa/SessionPanel.h"

#include "dice/record/RecordVerifier.h"
#include "dice/record/SessionRecord.h"
#include "dice/record/VerifiableSession.h"
#include "mesa/MesaButton.h"
#include "mesa/MesaSession.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *field(QWidget *parent, const char *name, const QString &accessible)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setAccessibleName(accessible);
    return edit;
}

QLabel *note(QWidget *parent, const char *name, const QString &accessible)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1StringView(name));
    label->setAccessibleName(accessible);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString rolls(qint64 count)
{
    return count == 1 ? QStringLiteral("1 rolagem") : QStringLiteral("%1 rolagens").arg(count);
}

} // namespace

SessionPanel::SessionPanel(QWidget *parent)
    : QDockWidget(QStringLiteral("Sessão verificável"), parent)
{
    setObjectName(QStringLiteral("dckSessao"));
    auto *body = new QWidget(this);
    auto *grid = new QGridLayout(body);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    lblSessao = note(body, "lblSessao", QStringLiteral("Estado da sessão"));
    grid->addWidget(lblSessao, 0, 0, 1, 3);

    auto *lblCompromisso = new QLabel(QStringLiteral("Com&promisso:"), body);
    txtCompromisso = field(body, "txtCompromisso", QStringLiteral("Compromisso da sessão"));
    txtCompromisso->setReadOnly(true);
    txtCompromisso->setFont(fixed);
    // 64 hex digits, shown whole.
    txtCompromisso->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(66, u'0')));
    txtCompromisso->setToolTip(
        QStringLiteral("O SHA-256 do segredo: publique-o para os jogadores antes de rolar"));
    lblCompromisso->setBuddy(txtCompromisso);
    cmdCopiarCompromisso = MesaButton(body, "cmdCopiarCompromisso", QStringLiteral("&Copiar"),
                                      QStringLiteral("Copia o compromisso para publicá-lo"),
                                      QStringLiteral("Copiar o compromisso"));
    grid->addWidget(lblCompromisso, 1, 0);
    grid->addWidget(txtCompromisso, 1, 1);
    grid->addWidget(cmdCopiarCompromisso, 1, 2);

    auto *lblSal = new QLabel(QStringLiteral("Sal dos &jogadores:"), body);
    txtSal = field(body, "txtSal", QStringLiteral("Sal dos jogadores"));
    txtSal->setMaxLength(int(VerifiableSession::MaxSaltBytes));
    txtSal->setToolTip(QStringLiteral(
        "Um texto que os jogadores escolhem depois de ver o compromisso; registrado antes da "
        "primeira rolagem (Enter registra)"));
    lblSal->setBuddy(txtSal);
    cmdSal = MesaButton(body, "cmdSal", QStringLiteral("Regis&trar o sal"),
                        QStringLiteral("Registra o sal; depois dele as rolagens vêm do segredo"),
                        QStringLiteral("Registrar o sal"));
    grid->addWidget(lblSal, 2, 0);
    grid->addWidget(txtSal, 2, 1);
    grid->addWidget(cmdSal, 2, 2);

    cmdEncerrar =
        MesaButton(body, "cmdEncerrar", QStringLiteral("Encerr&ar a sessão"),
                   QStringLiteral("Revela o segredo no registro e confere a sessão inteira; "
                                  "depois disso nada mais é rolado nela"),
                   QStringLiteral("Encerrar a sessão"));
    grid->addWidget(cmdEncerrar, 3, 1, 1, 2, Qt::AlignLeft);

    auto *lblSegredo = new QLabel(QStringLiteral("Segredo reve&lado:"), body);
    txtSegredo = field(body, "txtSegredo", QStringLiteral("Segredo revelado"));
    txtSegredo->setReadOnly(true);
    txtSegredo->setFont(fixed);
    txtSegredo->setMinimumWidth(txtCompromisso->minimumWidth());
    txtSegredo->setToolTip(QStringLiteral("O segredo, revelado ao encerrar a sessão"));
    lblSegredo->setBuddy(txtSegredo);
    cmdCopiarSegredo =
        MesaButton(body, "cmdCopiarSegredo", QStringLiteral("Cop&iar"),
                   QStringLiteral("Copia o segredo revelado"), QStringLiteral("Copiar o segredo"));
    grid->addWidget(lblSegredo, 4, 0);
    grid->addWidget(txtSegredo, 4, 1);
    grid->addWidget(cmdCopiarSegredo, 4, 2);

    lblVerificacao = note(body, "lblVerificacao", QStringLiteral("Verificação do registro"));
    grid->addWidget(lblVerificacao, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);
    setWidget(body);

    setTabOrder(txtCompromisso, cmdCopiarCompromisso);
    setTabOrder(cmdCopiarCompromisso, txtSal);
    setTabOrder(txtSal, cmdSal);
    setTabOrder(cmdSal, cmdEncerrar);
    setTabOrder(cmdEncerrar, txtSegredo);
    setTabOrder(txtSegredo, cmdCopiarSegredo);

    connect(cmdCopiarCompromisso, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(txtCompromisso->text()); });
    connect(cmdCopiarSegredo, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(txtSegredo->text()); });
    connect(cmdSal, &QPushButton::clicked, this, &SessionPanel::sealSalt);
    connect(txtSal, &QLineEdit::returnPressed, this, &SessionPanel::sealSalt);
    connect(cmdEncerrar, &QPushButton::clicked, this, &SessionPanel::closeSession);
    // Another process may have appended to the record while the panel was out of sight.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            refresh();
    });
    refresh();
}

void SessionPanel::setSession(MesaSession *session)
{
    m_session = session;
    txtSegredo->clear();
    lblVerificacao->clear();
    refresh();
}

void SessionPanel::refresh()
{
    SessionRecord::State state;
    QString error;
    const bool known = m_session && m_session->readState(state, error);
    const bool verifiable = known && !state.commitment.isEmpty();
    const bool salting = verifiable && !state.closed && !state.salt && state.lastSeq == 0;
    txtCompromisso->setText(QString::fromLatin1(state.commitment));
    cmdCopiarCompromisso->setEnabled(verifiable);
    txtSal->setEnabled(salting);
    cmdSal->setEnabled(salting);
    if (verifiable && state.salt)
        txtSal->setText(QString::fromUtf8(*state.salt));
    cmdEncerrar->setEnabled(verifiable && !state.closed);
    cmdCopiarSegredo->setEnabled(!txtSegredo->text().isEmpty());

    if (!known)
        lblSessao->setText(QStringLiteral("Nenhum registro aberto."));
    else if (!verifiable)
        lblSessao->setText(QStringLiteral("O registro é comum: ele prova que as rolagens são "
                                          "coerentes, não que os dados foram honestos. Sessão → "
                                          "Abrir sessão verificável começa uma que os jogadores "
                                          "podem conferir."));
    else if (state.closed)
        lblSessao->setText(QStringLiteral("Sessão encerrada com ") + rolls(state.lastSeq)
                           + QStringLiteral("; o segredo está no registro."));
    else if (salting)
        lblSessao->setText(QStringLiteral("Publique o compromisso; os jogadores escolhem então o "
                                          "sal. As rolagens esperam o sal."));
    else
        lblSessao->setText(QStringLiteral("Sessão aberta, ")
                           + (state.salt ? QStringLiteral("com sal: ")
                                         : QStringLiteral("sem sal (rolada antes dele): "))
                           + rolls(state.lastSeq) + QStringLiteral(" com os dados do segredo."));
}

void SessionPanel::sealSalt()
{
    if (!m_session || !cmdSal->isEnabled())
        return;
    const QString text = txtSal->text();
    if (text.isEmpty()) {
        emit failed(QStringLiteral("O sal não foi registrado: escreva o texto que os jogadores "
                                   "escolheram."));
        return;
    }
    QString error;
    if (!m_session->salt(text, error))
        emit failed(QStringLiteral("O sal não foi registrado: ") + error);
    else
        emit recordChanged();
    refresh();
}

void SessionPanel::closeSession()
{
    if (!m_session)
        return;
    if (!cmdEncerrar->isEnabled()) {
        emit failed(QStringLiteral("Não há sessão verificável aberta para encerrar (Sessão → "
                                   "Abrir sessão verificável começa uma)."));
        return;
    }
    QByteArray secret;
    QString error;
    if (!m_session->close(secret, error)) {
        emit failed(QStringLiteral("A sessão não foi encerrada: ") + error);
        refresh();
        return;
    }
    txtSegredo->setText(QString::fromLatin1(secret));
    emit recordChanged();
    refresh();
    verify();
}

void SessionPanel::verify()
{
    RecordVerifier::Summary summary;
    QString error;
    if (!RecordVerifier::verify(m_session->path(), summary, error)) {
        lblVerificacao->setText(QStringLiteral("O registro não pôde ser lido para a verificação: ")
                                + error);
        return;
    }
    if (!summary.verified()) {
        lblVerificacao->setText(QStringLiteral("NÃO CONFERE, linha %1: ").arg(summary.failedLine)
                                + summary.failure);
        return;
    }
    QString text = QStringLiteral("Confere: ") + rolls(summary.rolls);
    if (summary.drawsChecked)
        text += QStringLiteral("; o segredo revelado confere com o compromisso, e cada sorteio é "
                               "o que ele dá");
    text += summary.salted ? QStringLiteral(".")
                           : QStringLiteral(". Sem o sal dos jogadores, o mestre poderia ter "
                                            "escolhido o segredo.");
    if (summary.tornCount > 0)
        text += QStringLiteral(" %1 linha(s) cortada(s) foram puladas.").arg(summary.tornCount);
    lblVerificacao->setText(text);
}
