#pragma once

#include <QDialog>

#include <array>

class ArrowButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The dice roller: one to fifty dice of 4, 6, 8, 10, 12 or 20 faces, chosen with arrow
// buttons beside two read-only boxes. "Girar!" reseeds the process-wide random source from
// the time of day and shows every die and the sum. OK, Enter, Escape and the close box all
// close it; each opening starts afresh at one die of four faces.
class frmRodadorDados : public QDialog
{
    Q_OBJECT

public:
    // The quantities (1 to 50) and face counts the steppers walk through, in order.
    static constexpr std::array<qint16, 50> QuantityChoices = [] {
        std::array<qint16, 50> choices{};
        for (std::size_t i = 0; i < choices.size(); ++i)
            choices[i] = static_cast<qint16>(i + 1);
        return choices;
    }();
    static constexpr std::array<qint16, 6> FaceChoices = {4, 6, 8, 10, 12, 20};

    explicit frmRodadorDados(QWidget *parent = nullptr);
    ~frmRodadorDados() override;

public Q_SLOTS:
    // Escape and the close box end up here; they close the window the way OK does.
    void reject() override;

private:
    void cmdSobeQuant_Click();
    void cmdDesceQuant_Click();
    void cmdSobeFaces_Click();
    void cmdDesceFaces_Click();
    void cmdGirar_Click();
    void cmdOK_Click();

    void showQuantity();
    void showFaces();

    QWidget *m_pctAreaAni;
    QLabel *m_pctDegrade;
    QPushButton *m_cmdOK;
    QLineEdit *m_txtResultFinal;
    QPlainTextEdit *m_txtResultParc;
    QPushButton *m_cmdGirar;
    ArrowButton *m_cmdDesceFaces;
    ArrowButton *m_cmdSobeFaces;
    QLineEdit *m_txtFaces;
    ArrowButton *m_cmdDesceQuant;
    ArrowButton *m_cmdSobeQuant;
    QLineEdit *m_txtQuant;

    // Positions in QuantityChoices and FaceChoices of what the two boxes show.
    std::size_t m_quantityIndex = 0;
    std::size_t m_facesIndex = 0;
};
