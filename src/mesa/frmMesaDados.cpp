#include "mesa/frmMesaDados.h"

#include "dice/format/DiceNotationTable.h"
#include "dice/notation/DiceNotation.h"
#include "dice/roll/SplitMixDieSource.h"
#include "mesa/ChancesPanel.h"
#include "mesa/MesaButton.h"
#include "mesa/ExpressionEdit.h"
#include "mesa/LuckPanel.h"
#include "mesa/MesaButton.h"
#include "mesa/MesaSession.h"
#include "mesa/OddsCalculator.h"
#include "mesa/RollDelegate.h"
#include "mesa/RollHistoryModel.h"
#include "mesa/SavedRollsModel.h"
#include "mesa/SessionPanel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDateTime>
#include <QDockWidget>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString folderOr(const QString &folder, QStandardPaths::StandardLocation location)
{
    return folder.isEmpty() ? QStandardPaths::writableLocation(location) : folder;
}

} // namespace

MesaOptions MesaOptions::within(const QString &folder, std::optional<quint64> seed)
{
    MesaOptions options;
    options.configFolder = QDir(folder).filePath(QStringLiteral("config"));
    options.dataFolder = QDir(folder).filePath(QStringLiteral("data"));
    options.seed = seed;
    return options;
}

frmMesaDados::frmMesaDados(const MesaOptions &options, QWidget *parent)
    : QMainWindow(parent), m_options(options)
{
    setWindowTitle(QStringLiteral("Morvane's Quessar: Mesa de Dados"));
    m_history = new RollHistoryModel(this);
    m_saved = new SavedRollsModel(this);
    m_odds = new OddsCalculator(this);
    m_saveTimer = new QTimer(this);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(500);
    connect(m_saveTimer, &QTimer::timeout, this, &frmMesaDados::saveSettings);

    buildLayout();
    buildActions();
    loadSettings();

    std::unique_ptr<DieSource> source;
    if (options.seed)
        source = std::make_unique<SplitMixDieSource>(*options.seed);
    m_session = std::make_unique<MesaSession>(std::move(source));
    QString error;
    const bool opened =
        options.recordPath.isEmpty()
            ? m_session->openNew(recordsFolder(), error)
            : m_session->openExisting(options.recordPath, error);
    if (opened) {
        lblRegistro->setText(QStringLiteral("Registro: ") + m_session->path());
    } else {
        const QString path = options.recordPath.isEmpty() ? QStringLiteral("novo") : options.recordPath;
        lblRegistro->setText(QStringLiteral("Sem registro: nenhuma rolagem será feita"));
        showMessage(QStringLiteral("O registro de sessão (") + path
                    + QStringLiteral(") não pôde ser aberto: ") + error
                    + QStringLiteral(". Nenhuma rolagem será feita sem registro."));
    }

    dckSessao->setSession(m_session.get());
    if (opened)
        dckSorte->setRecord(m_session->path());
    connect(m_odds, &OddsCalculator::computed, this, [this](const QString &text, bool) {
        lblChances->setText(text);
    });
    txtExpressao->setFocus();
}

frmMesaDados::~frmMesaDados()
{
    // The odds thread may still be finishing: it reports to nothing once the window is gone.
    m_odds->cancel();
    m_odds->waitForIdle();
}

const QString &frmMesaDados::recordPath() const
{
    return m_session->path();
}

QString frmMesaDados::recordsFolder() const
{
    return QDir(folderOr(m_options.dataFolder, QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("registros"));
}

void frmMesaDados::chooseVerifiableSession()
{
    const QString folder = recordsFolder();
    QDir().mkpath(folder);
    const QString suggested = QDir(folder).filePath(
        QStringLiteral("sessao-verificavel-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"))
        + QStringLiteral(".jsonl"));
    // An existing file is refused by the session itself, with the reason in the bar.
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Abrir sessão verificável"), suggested,
        QStringLiteral("Registros de sessão (*.jsonl);;Todos os arquivos (*)"), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        openVerifiableSession(path);
}

bool frmMesaDados::openVerifiableSession(const QString &path)
{
    // The window's session stays as it is until the new one is made whole.
    auto session = std::make_unique<MesaSession>();
    QString error;
    if (!session->openVerifiable(path, error)) {
        showMessage(QStringLiteral("A sessão verificável não foi aberta: ") + error);
        return false;
    }
    m_session = std::move(session);
    lblRegistro->setText(QStringLiteral("Registro: ") + m_session->path());
    dckSessao->setSession(m_session.get());
    dckSorte->setRecord(m_session->path());
    dckSessao->show();
    dckSessao->raise();
    return true;
}

void frmMesaDados::buildLayout()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    auto *row = new QHBoxLayout;
    auto *lblExpressao = new QLabel(QStringLiteral("&Expressão:"), central);
    lblExpressao->setObjectName(QStringLiteral("lblExpressao"));
    txtExpressao = new ExpressionEdit(central);
    txtExpressao->setObjectName(QStringLiteral("txtExpressao"));
    txtExpressao->setAccessibleName(QStringLiteral("Expressão de dados"));
    txtExpressao->setPlaceholderText(QStringLiteral("2d20kh1+5, 8d6, 4d6kh3, 10d10>=8f1…"));
    txtExpressao->setToolTip(QStringLiteral(
        "A notação inteira de quessar-cli dados (F1 mostra a tabela); Enter rola; "
        "Acima e Abaixo percorrem as expressões já roladas"));
    txtExpressao->setMaxLength(int(DiceNotation::MaxLength));
    lblExpressao->setBuddy(txtExpressao);
    cmdRolar = MesaButton(central, "cmdRolar", QStringLiteral("&Rolar"),
                          QStringLiteral("Rola a expressão (Enter, Alt+R)"), QStringLiteral("Rolar"));
    row->addWidget(lblExpressao);
    row->addWidget(txtExpressao, 1);
    row->addWidget(cmdRolar);
    layout->addLayout(row);

    lblErro = new QLabel(central);
    lblErro->setObjectName(QStringLiteral("lblErro"));
    lblErro->setTextFormat(Qt::PlainText);
    lblErro->setWordWrap(true);
    lblErro->setAccessibleName(QStringLiteral("Erro na expressão"));
    QPalette errorPalette = lblErro->palette();
    errorPalette.setColor(QPalette::WindowText, RollDelegate::failureColour(palette()));
    lblErro->setPalette(errorPalette);
    lblErro->hide();
    layout->addWidget(lblErro);

    lblChances = new QLabel(central);
    lblChances->setObjectName(QStringLiteral("lblChances"));
    lblChances->setTextFormat(Qt::PlainText);
    lblChances->setWordWrap(true);
    lblChances->setAccessibleName(QStringLiteral("Chances exatas da expressão"));
    layout->addWidget(lblChances);
    m_chances = new ChancesPanel(m_odds, m_history, central);

    // The message bar: why something was not done, without a modal box.
    barMensagem = new QFrame(central);
    barMensagem->setObjectName(QStringLiteral("barMensagem"));
    barMensagem->setFrameShape(QFrame::StyledPanel);
    barMensagem->setAutoFillBackground(true);
    QPalette barPalette = barMensagem->palette();
    const QColor base = palette().color(QPalette::Base);
    const QColor red = RollDelegate::failureColour(palette());
    barPalette.setColor(QPalette::Window,
                        QColor::fromRgbF(float(base.redF() * 0.8 + red.redF() * 0.2),
                                         float(base.greenF() * 0.8 + red.greenF() * 0.2),
                                         float(base.blueF() * 0.8 + red.blueF() * 0.2)));
    barMensagem->setPalette(barPalette);
    auto *barLayout = new QHBoxLayout(barMensagem);
    lblMensagem = new QLabel(barMensagem);
    lblMensagem->setObjectName(QStringLiteral("lblMensagem"));
    lblMensagem->setTextFormat(Qt::PlainText);
    lblMensagem->setWordWrap(true);
    lblMensagem->setAccessibleName(QStringLiteral("Mensagem"));
    auto *cmdFechar = new QToolButton(barMensagem);
    cmdFechar->setObjectName(QStringLiteral("cmdFecharMensagem"));
    cmdFechar->setText(QStringLiteral("✕"));
    cmdFechar->setToolTip(QStringLiteral("Fecha a mensagem"));
    cmdFechar->setAccessibleName(QStringLiteral("Fechar a mensagem"));
    connect(cmdFechar, &QToolButton::clicked, barMensagem, &QWidget::hide);
    barLayout->addWidget(lblMensagem, 1);
    barLayout->addWidget(cmdFechar);
    barMensagem->hide();
    layout->addWidget(barMensagem);

    auto *splitter = new QSplitter(central);
    auto *left = new QWidget(splitter);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto *lblHistorico = new QLabel(QStringLiteral("&Histórico (o registro da sessão)"), left);
    lstRolagens = new QListView(left);
    lstRolagens->setObjectName(QStringLiteral("lstRolagens"));
    lstRolagens->setAccessibleName(QStringLiteral("Histórico de rolagens"));
    lstRolagens->setToolTip(QStringLiteral(
        "Cada rolagem, a mais nova em cima: Ctrl+C copia as selecionadas, Ctrl+L limpa a "
        "vista (não o registro), Ctrl+Z a traz de volta"));
    lstRolagens->setModel(m_history);
    lstRolagens->setItemDelegate(new RollDelegate(lstRolagens));
    lstRolagens->setUniformItemSizes(true);
    lstRolagens->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lblHistorico->setBuddy(lstRolagens);
    leftLayout->addWidget(lblHistorico);
    leftLayout->addWidget(lstRolagens);

    auto *right = new QWidget(splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *lblSalvas = new QLabel(QStringLiteral("Rolagens &salvas"), right);
    lstSalvas = new QListView(right);
    lstSalvas->setObjectName(QStringLiteral("lstSalvas"));
    lstSalvas->setAccessibleName(QStringLiteral("Rolagens salvas"));
    lstSalvas->setToolTip(QStringLiteral(
        "Um clique, Enter ou Alt+1 … Alt+9 rola; F2 renomeia"));
    lstSalvas->setModel(m_saved);
    lstSalvas->setEditTriggers(QAbstractItemView::EditKeyPressed);
    lblSalvas->setBuddy(lstSalvas);
    rightLayout->addWidget(lblSalvas);
    rightLayout->addWidget(lstSalvas);
    auto *buttons = new QHBoxLayout;
    auto *cmdGuardar = MesaButton(right, "cmdGuardar", QStringLiteral("&Guardar"),
                                  QStringLiteral("Guarda a expressão da caixa (Ctrl+S); o rótulo "
                                                 "\"# nome\" dá o nome"),
                                  QStringLiteral("Guardar a expressão"));
    auto *cmdRenomear = MesaButton(right, "cmdRenomear", QStringLiteral("Re&nomear"),
                                   QStringLiteral("Renomeia a rolagem salva (F2)"),
                                   QStringLiteral("Renomear a rolagem salva"));
    auto *cmdSubir = MesaButton(right, "cmdSubir", QStringLiteral("Su&bir"),
                                QStringLiteral("Sobe a rolagem salva (Ctrl+Acima)"),
                                QStringLiteral("Subir a rolagem salva"));
    auto *cmdDescer = MesaButton(right, "cmdDescer", QStringLiteral("&Descer"),
                                 QStringLiteral("Desce a rolagem salva (Ctrl+Abaixo)"),
                                 QStringLiteral("Descer a rolagem salva"));
    auto *cmdRemover = MesaButton(right, "cmdRemover", QStringLiteral("Remo&ver"),
                                  QStringLiteral("Remove a rolagem salva (Delete)"),
                                  QStringLiteral("Remover a rolagem salva"));
    for (QPushButton *b : {cmdGuardar, cmdRenomear, cmdSubir, cmdDescer, cmdRemover})
        buttons->addWidget(b);
    rightLayout->addLayout(buttons);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({640, 320});
    // The chart above the history and the tray, each as tall as the user makes it.
    auto *panes = new QSplitter(Qt::Vertical, central);
    panes->setObjectName(QStringLiteral("splPaineis"));
    panes->addWidget(m_chances);
    panes->addWidget(splitter);
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 1);
    layout->addWidget(panes, 1);
    setCentralWidget(central);

    lblRegistro = new QLabel(this);
    lblRegistro->setObjectName(QStringLiteral("lblRegistro"));
    lblRegistro->setTextFormat(Qt::PlainText);
    lblRegistro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(lblRegistro, 1);

    dckNotacao = new QDockWidget(QStringLiteral("Notação dos dados"), this);
    dckNotacao->setObjectName(QStringLiteral("dckNotacao"));
    auto *txtNotacao = new QPlainTextEdit(DiceNotationTable(), dckNotacao);
    txtNotacao->setObjectName(QStringLiteral("txtNotacao"));
    txtNotacao->setAccessibleName(QStringLiteral("Tabela da notação"));
    txtNotacao->setReadOnly(true);
    txtNotacao->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtNotacao->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dckNotacao->setWidget(txtNotacao);
    addDockWidget(Qt::BottomDockWidgetArea, dckNotacao);
    dckNotacao->hide();

    dckSessao = new SessionPanel(this);
    // Below the table, where the commitment and the secret fit whole.
    addDockWidget(Qt::BottomDockWidgetArea, dckSessao);
    dckSessao->hide();
    connect(dckSessao, &SessionPanel::failed, this, &frmMesaDados::showMessage);

    // The audit's columns need the window's width: a tab beside the session's panel.
    dckSorte = new LuckPanel(this);
    addDockWidget(Qt::BottomDockWidgetArea, dckSorte);
    tabifyDockWidget(dckSessao, dckSorte);
    dckSorte->hide();

    setTabOrder(txtExpressao, cmdRolar);
    setTabOrder(cmdRolar, m_chances->firstInTabOrder());
    setTabOrder(m_chances->lastInTabOrder(), lstRolagens);
    setTabOrder(lstRolagens, lstSalvas);
    setTabOrder(lstSalvas, cmdGuardar);
    setTabOrder(cmdGuardar, cmdRenomear);
    setTabOrder(cmdRenomear, cmdSubir);
    setTabOrder(cmdSubir, cmdDescer);
    setTabOrder(cmdDescer, cmdRemover);

    connect(txtExpressao, &QLineEdit::textChanged, this, &frmMesaDados::check);
    connect(txtExpressao, &QLineEdit::returnPressed, this, &frmMesaDados::rollTyped);
    connect(cmdRolar, &QPushButton::clicked, this, &frmMesaDados::rollTyped);
    connect(lstSalvas, &QListView::clicked, this,
            [this](const QModelIndex &index) { rollSaved(index.row()); });
    // Enter rolls the current one. Not through activated(): under a style that activates on
    // a single click, or on a double click, that would roll a second time after clicked().
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), lstSalvas, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { rollSaved(currentSaved()); });
    }
    connect(cmdGuardar, &QPushButton::clicked, this, &frmMesaDados::addSaved);
    connect(cmdRenomear, &QPushButton::clicked, this, [this] {
        if (currentSaved() >= 0)
            lstSalvas->edit(m_saved->index(currentSaved()));
    });
    const auto mover = [this](int step) {
        const int row = currentSaved();
        if (m_saved->move(row, step))
            lstSalvas->setCurrentIndex(m_saved->index(row + step));
    };
    connect(cmdSubir, &QPushButton::clicked, this, [mover] { mover(-1); });
    connect(cmdDescer, &QPushButton::clicked, this, [mover] { mover(+1); });
    connect(cmdRemover, &QPushButton::clicked, this, [this] { m_saved->remove(currentSaved()); });
    connect(m_saved, &SavedRollsModel::changed, this, [this] {
        m_settings.saved = m_saved->rolls();
        m_saveTimer->start();
    });
    for (const auto &[key, target] : {std::pair{Qt::CTRL | Qt::Key_Up, cmdSubir},
                                      std::pair{Qt::CTRL | Qt::Key_Down, cmdDescer},
                                      std::pair{QKeyCombination(Qt::Key_Delete), cmdRemover},
                                      std::pair{QKeyCombination(Qt::Key_F2), cmdRenomear}}) {
        auto *shortcut = new QShortcut(QKeySequence(key), lstSalvas, nullptr, nullptr,
                                       Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, target, &QPushButton::click);
    }
}

void frmMesaDados::buildActions()
{
    QMenu *mesa = menuBar()->addMenu(QStringLiteral("&Mesa"));
    QAction *copy = mesa->addAction(QStringLiteral("&Copiar as rolagens selecionadas"));
    copy->setShortcut(QKeySequence::Copy);
    // Ctrl+C in the expression box copies its text; in the history, the rolls.
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    lstRolagens->addAction(copy);
    connect(copy, &QAction::triggered, this, &frmMesaDados::copySelected);
    QAction *clear = mesa->addAction(QStringLiteral("&Limpar a vista (o registro fica)"));
    clear->setObjectName(QStringLiteral("actLimpar"));
    clear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(clear, &QAction::triggered, m_history, &RollHistoryModel::clearView);
    QAction *undo = mesa->addAction(QStringLiteral("&Desfazer a limpeza"));
    undo->setObjectName(QStringLiteral("actDesfazer"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, m_history, &RollHistoryModel::undoClear);
    mesa->addSeparator();
    QAction *save = mesa->addAction(QStringLiteral("&Guardar a expressão"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &frmMesaDados::addSaved);
    mesa->addSeparator();
    QAction *quit = mesa->addAction(QStringLiteral("&Sair"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu *session = menuBar()->addMenu(QStringLiteral("Sessã&o"));
    QAction *openSession = session->addAction(QStringLiteral("Abrir sessão &verificável…"));
    openSession->setObjectName(QStringLiteral("actAbrirSessao"));
    openSession->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    connect(openSession, &QAction::triggered, this, &frmMesaDados::chooseVerifiableSession);
    QAction *closeSession = session->addAction(QStringLiteral("&Encerrar a sessão"));
    closeSession->setObjectName(QStringLiteral("actEncerrarSessao"));
    connect(closeSession, &QAction::triggered, this, [this] {
        dckSessao->show();
        dckSessao->closeSession();
    });
    session->addSeparator();
    QAction *panel = dckSessao->toggleViewAction();
    panel->setText(QStringLiteral("&Painel da sessão"));
    panel->setShortcut(QKeySequence(Qt::Key_F7));
    session->addAction(panel);
    QAction *luck = dckSorte->toggleViewAction();
    luck->setText(QStringLiteral("Painel da &sorte"));
    luck->setShortcut(QKeySequence(Qt::Key_F8));
    session->addAction(luck);
    // Shown, each panel comes to the front of the tabs they share.
    // (Tied to the dock, not the window: a dock still toggles while the window is destroyed.)
    for (QDockWidget *dock : std::initializer_list<QDockWidget *>{dckSessao, dckSorte})
        connect(dock->toggleViewAction(), &QAction::toggled, dock, [dock](bool on) {
            // Once the tab is laid out: raised at once, the other tab stays in front.
            if (on)
                QTimer::singleShot(0, dock, [dock] { dock->raise(); });
        });

    QMenu *help = menuBar()->addMenu(QStringLiteral("Aj&uda"));
    QAction *notation = dckNotacao->toggleViewAction();
    notation->setText(QStringLiteral("&Notação dos dados"));
    notation->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(notation);

    // Alt+1 … Alt+9 roll the first nine saved rolls.
    for (int n = 1; n <= 9; ++n) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + n)), this);
        connect(shortcut, &QShortcut::activated, this, [this, n] { rollSaved(n - 1); });
    }
}

void frmMesaDados::loadSettings()
{
    m_settingsPath = QDir(folderOr(m_options.configFolder, QStandardPaths::AppConfigLocation))
                         .filePath(QStringLiteral("mesa.json"));
    QString error;
    if (!m_settings.load(m_settingsPath, error)) {
        const QString aside = MesaSettings::moveAside(m_settingsPath);
        showMessage(QStringLiteral("As configurações em \"") + m_settingsPath
                    + QStringLiteral("\" não puderam ser lidas (") + error
                    + (aside.isEmpty() ? QStringLiteral("); foram substituídas pelas iniciais.")
                                       : QStringLiteral("); o arquivo foi guardado como \"")
                                             + aside
                                             + QStringLiteral("\" e substituído pelas iniciais.")));
        saveSettings();
    }
    m_saved->setRolls(m_settings.saved);
    txtExpressao->setHistory(m_settings.history);
    if (m_settings.geometry.isEmpty() || !restoreGeometry(m_settings.geometry))
        resize(960, 620);
}

void frmMesaDados::saveSettings()
{
    m_saveTimer->stop();
    QString error;
    if (!m_settings.save(m_settingsPath, error))
        showMessage(QStringLiteral("As configurações não puderam ser salvas em \"") + m_settingsPath
                    + QStringLiteral("\": ") + error);
}

void frmMesaDados::closeEvent(QCloseEvent *event)
{
    m_settings.geometry = saveGeometry();
    saveSettings();
    QMainWindow::closeEvent(event);
}

void frmMesaDados::check(const QString &text)
{
    const auto parsed = text.trimmed().isEmpty()
                            ? std::nullopt
                            : std::optional(DiceNotation::parse(text));
    const DiceNotationError *error = parsed ? std::get_if<DiceNotationError>(&*parsed) : nullptr;
    txtExpressao->setErrorPosition(error ? int(error->position) : 0);
    if (error)
        lblErro->setText(QStringLiteral("Posição %1: ").arg(error->position) + error->message);
    lblErro->setVisible(error);
    if (!parsed || error) {
        // Nothing to work out: an empty box or a mistake.
        m_odds->cancel();
        m_chances->track(nullptr);
        lblChances->clear();
        return;
    }
    lblChances->setText(QStringLiteral("calculando…"));
    m_chances->track(std::make_shared<const DiceExpression>(std::get<DiceExpression>(*parsed)));
}

void frmMesaDados::rollTyped()
{
    if (roll(txtExpressao->text()))
        txtExpressao->selectAll();
    txtExpressao->setFocus();
}

void frmMesaDados::rollSaved(int row)
{
    if (row >= 0 && row < m_saved->rolls().size())
        roll(m_saved->rolls()[row].expression);
}

bool frmMesaDados::roll(const QString &text)
{
    if (text.trimmed().isEmpty())
        return false;
    auto parsed = DiceNotation::parse(text);
    if (const auto *error = std::get_if<DiceNotationError>(&parsed)) {
        // The box shows the mistake as it is typed; a saved roll gets the bar.
        if (text != txtExpressao->text())
            showMessage(QStringLiteral("\"") + text + QStringLiteral("\" não pode ser rolada: ")
                        + error->message);
        return false;
    }
    auto rolled = m_session->roll(std::get<DiceExpression>(parsed));
    if (const auto *error = std::get_if<QString>(&rolled)) {
        showMessage(QStringLiteral("A rolagem não foi feita: ") + *error);
        return false;
    }
    m_history->append(std::move(std::get<RollEntry>(rolled)));
    m_chances->rolled(m_history->entry(0), std::get<DiceExpression>(parsed));
    if (dckSessao->isVisible())
        dckSessao->refresh();
    dckSorte->recordChanged();
    lstRolagens->scrollToTop();
    m_settings.remember(text.trimmed());
    txtExpressao->setHistory(m_settings.history);
    m_saveTimer->start();
    return true;
}

void frmMesaDados::showMessage(const QString &text)
{
    lblMensagem->setText(text);
    barMensagem->show();
}

void frmMesaDados::copySelected()
{
    QModelIndexList rows = lstRolagens->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    // Oldest first, as they were rolled.
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() > b.row(); });
    QString text;
    for (const QModelIndex &index : rows)
        text += RollHistoryModel::text(m_history->entry(index.row())) + u'\n';
    QApplication::clipboard()->setText(text);
}

void frmMesaDados::addSaved()
{
    const QString text = txtExpressao->text().trimmed();
    auto parsed = DiceNotation::parse(text);
    if (text.isEmpty() || std::holds_alternative<DiceNotationError>(parsed))
        return;
    if (m_saved->rolls().size() >= MesaSettings::MaxSavedRolls) {
        showMessage(QStringLiteral("Há rolagens salvas demais (o limite é %1).")
                        .arg(MesaSettings::MaxSavedRolls));
        return;
    }
    const DiceExpression &expression = std::get<DiceExpression>(parsed);
    const QString shown = QString::fromUtf8(expression.shownUtf8());
    m_saved->add({expression.label().isEmpty() ? shown : expression.label(), text});
    lstSalvas->setCurrentIndex(m_saved->index(int(m_saved->rolls().size()) - 1));
}

int frmMesaDados::currentSaved() const
{
    const QModelIndex index = lstSalvas->currentIndex();
    return index.isValid() ? index.row() : -1;
}
