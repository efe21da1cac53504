#pragma once

#include "mesa/MesaSettings.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class ChancesPanel;
class DiceExpression;
class ExpressionEdit;
class LuckPanel;
class MesaSession;
class OddsCalculator;
class QDockWidget;
class QFrame;
class QLabel;
class QListView;
class QPushButton;
class QTimer;
class RollHistoryModel;
class SavedRollsModel;
class SessionPanel;

// Where the desktop roller keeps things, and how it rolls; every field may stay empty.
struct MesaOptions
{
    QString recordPath;   // a record to continue; empty: a new one in <data>/registros
    QString configFolder; // empty: the user's configuration folder for the program
    QString dataFolder;   // empty: the user's data folder for the program
    std::optional<quint64> seed; // fixed dice (tests); otherwise the system's randomness

    // Everything the program keeps under `folder` (its "config" and "data"): a window for a
    // test, a probe or a screenshot that leaves the user's own files alone.
    static MesaOptions within(const QString &folder, std::optional<quint64> seed = {});
};

// The dice table: an expression box checked as it is typed, with the exact odds of what is
// typed; the session's rolls, each recorded before it is shown; and a tray of saved rolls.
class frmMesaDados final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMesaDados(const MesaOptions &options = {}, QWidget *parent = nullptr);
    ~frmMesaDados() override;

    // Rolls the expression in the box, as Enter and cmdRolar do.
    void rollTyped();
    // Rolls a saved roll's expression (a click, Enter or Alt+1 … Alt+9).
    void rollSaved(int row);
    const QString &recordPath() const;
    // Opens a new verifiable session at `path` (as `quessar-cli sessao abrir`) and rolls
    // into it from then on; false, with the bar, when it cannot be made.
    bool openVerifiableSession(const QString &path);
    OddsCalculator *oddsCalculator() const { return m_odds; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void buildActions();
    void loadSettings();
    void saveSettings();
    void check(const QString &text);
    // Rolls `text` into the record and the history; false (with the bar) when refused.
    bool roll(const QString &text);
    void showMessage(const QString &text);
    void copySelected();
    void addSaved();
    QString recordsFolder() const;
    void chooseVerifiableSession();
    int currentSaved() const;

    MesaOptions m_options;
    MesaSettings m_settings;
    QString m_settingsPath;
    std::unique_ptr<MesaSession> m_session;
    OddsCalculator *m_odds = nullptr;
    ChancesPanel *m_chances = nullptr;
    RollHistoryModel *m_history = nullptr;
    SavedRollsModel *m_saved = nullptr;
    QTimer *m_saveTimer = nullptr;

    ExpressionEdit *txtExpressao = nullptr;
    QPushButton *cmdRolar = nullptr;
    QLabel *lblErro = nullptr;
    QLabel *lblChances = nullptr;
    QFrame *barMensagem = nullptr;
    QLabel *lblMensagem = nullptr;
    QListView *lstRolagens = nullptr;
    QListView *lstSalvas = nullptr;
    QLabel *lblRegistro = nullptr;
    QDockWidget *dckNotacao = nullptr;
    SessionPanel *dckSessao = nullptr;
    LuckPanel *dckSorte = nullptr;
};
