#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class DigitLineEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The name generator. The user gathers masks in a list (predefined ones or masks of their
// own), says how many names to make, and gets them in one box, separated by ", ", ready to be
// copied to the clipboard. Each opening starts afresh: the window keeps nothing.
class frmGeradorNome : public QDialog
{
    Q_OBJECT

public:
    explicit frmGeradorNome(QWidget *parent = nullptr);
    ~frmGeradorNome() override;

    // The predefined masks, in the order the drop-down list shows them.
    static QStringList PredefinedMasks();

    // Escape and the title bar's close box close the window the way OK does.
    void reject() override;

private:
    void buildControls();
    void FillPredefinedMasks();
    void addMask(const QString &mask);

    void cmdAdicionaMascPre_Click();
    void cmdAdicionaMascCustom_Click();
    void txtMascCustom_Change();
    void cmdExcluirItem_Click();
    void cmdLimparList_Click();
    void txtQuantNomes_Change();
    void cmdGeraNomes_Click();
    void cmdCopiaNome_Click();
    void cmdOK_Click();

    QWidget *pctAreaAni = nullptr;
    QLabel *pctDegrade = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdLimparList = nullptr;
    QPlainTextEdit *txtAjudaNomes = nullptr;
    QComboBox *cmbMascPre = nullptr;
    QPushButton *cmdAdicionaMascPre = nullptr;
    QLineEdit *txtMascCustom = nullptr;
    QPushButton *cmdAdicionaMascCustom = nullptr;
    QListWidget *lstMascSel = nullptr;
    QPushButton *cmdExcluirItem = nullptr;
    DigitLineEdit *txtQuantNomes = nullptr;
    QPlainTextEdit *txtNomes = nullptr;
    QPushButton *cmdGeraNomes = nullptr;
    QPushButton *cmdCopiaNome = nullptr;
    QLabel *lblQntNomes = nullptr;
};
