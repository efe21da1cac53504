#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About window: credits, how to reach the author, and a photo. OK, Escape and the close
// box close it, and so does Enter while the focus is not in the text box.
class frmSobre : public QDialog
{
    Q_OBJECT

public:
    explicit frmSobre(QWidget *parent = nullptr);
    ~frmSobre() override;

    // The five lines of the About text joined by CR LF, with no line end after the last one.
    static QString AboutText();

public Q_SLOTS:
    // Escape and the close box do what OK does.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdOK_Click();

    QWidget *m_pctAreaAni;
    QLabel *m_pctDegrade;
    QPushButton *m_cmdOK;
    QPlainTextEdit *m_txtSobre;
    QLabel *m_imgFoto;
};
