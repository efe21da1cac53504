#pragma once

#include <QDockWidget>

class MesaSession;
class QLabel;
class QLineEdit;
class QPushButton;

// The verifiable session beside the dice table: the commitment to publish (with a copy
// button), the players' salt to seal before the first roll, and at the end the secret
// revealed (with a copy button) and the verdict of verifying the whole record. It shows the
// window's session as its record says it is, whoever else appends to it.
class SessionPanel final : public QDockWidget
{
    Q_OBJECT

public:
    explicit SessionPanel(QWidget *parent = nullptr);

    // The session shown; it stays the window's.
    void setSession(MesaSession *session);
    // Reads the record's state again and shows it.
    void refresh();

signals:
    // Why a step was not taken, in Portuguese, for the window's message bar.
    void failed(const QString &message);
    // The record changed (a salt or the closing line appended).
    void recordChanged();

public slots:
    void sealSalt();
    void closeSession();

private:
    void verify();

    MesaSession *m_session = nullptr;
    QLabel *lblSessao = nullptr;
    QLineEdit *txtCompromisso = nullptr;
    QPushButton *cmdCopiarCompromisso = nullptr;
    QLineEdit *txtSal = nullptr;
    QPushButton *cmdSal = nullptr;
    QPushButton *cmdEncerrar = nullptr;
    QLineEdit *txtSegredo = nullptr;
    QPushButton *cmdCopiarSegredo = nullptr;
    QLabel *lblVerificacao = nullptr;
};
