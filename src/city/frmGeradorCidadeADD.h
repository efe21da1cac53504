#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class DigitLineEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The city generator: the user names a city from a mask, sets its size in blocks, builds the
// city report, may edit it in the report box, and saves it as a text file named after the
// city.
class frmGeradorCidadeADD : public QDialog
{
    Q_OBJECT

public:
    explicit frmGeradorCidadeADD(QWidget *parent = nullptr);
    ~frmGeradorCidadeADD() override;

    // The name of the city whose report was generated last in this run. It names the saved
    // file and outlives the window: a later opening saves under it until a new city is made.
    static const QString &LastCityName();
    // Back to the state of a fresh run (for tests).
    static void ResetLastCityName();

    // The masks offered for city names, in the order they are added to the list.
    static QStringList PredefinedMasks();
    static QString DefaultMask();

    // Escape and the title bar's close box close the window as cmdOK does.
    void reject() override;

private:
    void FillPredefinedMasks();

    void cmdUsarMascara_Click();
    void txtMascara_Change();
    void cmdGerarNome_Click();
    void txtBlocos_Change();
    void cmdGeraCidade_Click();
    void cmdSalvar_Click();
    void cmdOK_Click();

    void showError(const QString &text);

    QWidget *m_pctAreaAni;
    QPushButton *m_cmdOK;
    QLabel *m_pctDegrade;
    QPushButton *m_cmdSalvar;
    QPlainTextEdit *m_txtCidade;
    QPushButton *m_cmdGeraCidade;
    DigitLineEdit *m_txtBlocos;
    QPushButton *m_cmdGerarNome;
    QLineEdit *m_txtNome;
    QPlainTextEdit *m_txtAjudaNomes;
    QLineEdit *m_txtMascara;
    QPushButton *m_cmdUsarMascara;
    QComboBox *m_cmbMascPre;

    static QString s_lastCityName;
};
