#include "common/ScopedRandomSource.h"
#include "common/SequenceRandomSource.h"
#include "names/NameMask.h"
#include "names/frmGeradorNome.h"

#include "MessageBoxAnswerer.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <iterator>
#include <memory>
#include <vector>

namespace {

// The window's controls, found by their object names.
struct Controls
{
    explicit Controls(QWidget &window)
        : pctAreaAni(window.findChild<QWidget *>(QStringLiteral("pctAreaAni"))),
          pctDegrade(window.findChild<QLabel *>(QStringLiteral("pctDegrade"))),
          cmdOK(window.findChild<QPushButton *>(QStringLiteral("cmdOK"))),
          cmdLimparList(window.findChild<QPushButton *>(QStringLiteral("cmdLimparList"))),
          txtAjudaNomes(window.findChild<QPlainTextEdit *>(QStringLiteral("txtAjudaNomes"))),
          cmbMascPre(window.findChild<QComboBox *>(QStringLiteral("cmbMascPre"))),
          cmdAdicionaMascPre(window.findChild<QPushButton *>(QStringLiteral("cmdAdicionaMascPre"))),
          txtMascCustom(window.findChild<QLineEdit *>(QStringLiteral("txtMascCustom"))),
          cmdAdicionaMascCustom(
              window.findChild<QPushButton *>(QStringLiteral("cmdAdicionaMascCustom"))),
          lstMascSel(window.findChild<QListWidget *>(QStringLiteral("lstMascSel"))),
          cmdExcluirItem(window.findChild<QPushButton *>(QStringLiteral("cmdExcluirItem"))),
          txtQuantNomes(window.findChild<QLineEdit *>(QStringLiteral("txtQuantNomes"))),
          txtNomes(window.findChild<QPlainTextEdit *>(QStringLiteral("txtNomes"))),
          cmdGeraNomes(window.findChild<QPushButton *>(QStringLiteral("cmdGeraNomes"))),
          cmdCopiaNome(window.findChild<QPushButton *>(QStringLiteral("cmdCopiaNome"))),
          lblQntNomes(window.findChild<QLabel *>(QStringLiteral("lblQntNomes")))
    {
    }

    bool complete() const
    {
        return pctAreaAni && pctDegrade && cmdOK && cmdLimparList && txtAjudaNomes && cmbMascPre
            && cmdAdicionaMascPre && txtMascCustom && cmdAdicionaMascCustom && lstMascSel
            && cmdExcluirItem && txtQuantNomes && txtNomes && cmdGeraNomes && cmdCopiaNome
            && lblQntNomes;
    }

    QStringList selectedMasks() const
    {
        QStringList masks;
        for (int row = 0; row < lstMascSel->count(); ++row)
            masks.append(lstMascSel->item(row)->text());
        return masks;
    }

    void addPredefined(const QString &mask) const
    {
        cmbMascPre->setCurrentIndex(cmbMascPre->findText(mask));
        cmdAdicionaMascPre->click();
    }

    void addCustom(const QString &mask) const
    {
        txtMascCustom->setText(mask);
        cmdAdicionaMascCustom->click();
    }

    // What the box's context menu "Colar" does: the clipboard text replaces the selection.
    void pasteCount(const QString &text) const
    {
        QGuiApplication::clipboard()->setText(text);
        txtQuantNomes->selectAll();
        txtQuantNomes->paste();
    }

    QWidget *pctAreaAni;
    QLabel *pctDegrade;
    QPushButton *cmdOK;
    QPushButton *cmdLimparList;
    QPlainTextEdit *txtAjudaNomes;
    QComboBox *cmbMascPre;
    QPushButton *cmdAdicionaMascPre;
    QLineEdit *txtMascCustom;
    QPushButton *cmdAdicionaMascCustom;
    QListWidget *lstMascSel;
    QPushButton *cmdExcluirItem;
    QLineEdit *txtQuantNomes;
    QPlainTextEdit *txtNomes;
    QPushButton *cmdGeraNomes;
    QPushButton *cmdCopiaNome;
    QLabel *lblQntNomes;
};

const QStringList PredefinedInOrder = {
    QStringLiteral("$!!@"),    QStringLiteral("$!!@!@"),  QStringLiteral("$!@!!@"),
    QStringLiteral("$!@!@"),   QStringLiteral("$!@!@!"),  QStringLiteral("$!@*@!@"),
    QStringLiteral("$!@@!"),   QStringLiteral("$%@!@@"),  QStringLiteral("$%@@^"),
    QStringLiteral("$%^@"),    QStringLiteral("$@!@"),    QStringLiteral("%@@!@!@"),
    QStringLiteral("&@@!"),    QStringLiteral("&@@!@!@"), QStringLiteral("&@@!@!@@!")};

QStringList comboEntries(const QComboBox *combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.append(combo->itemText(i));
    return entries;
}

QString repeatedNames(const QString &name, int count)
{
    return QStringList(count, name).join(QStringLiteral(", "));
}

// Checks the state every opening starts from.
void verifyInitialState(frmGeradorNome &window)
{
    const Controls ui(window);
    QVERIFY(ui.complete());
    QCOMPARE(comboEntries(ui.cmbMascPre), PredefinedInOrder);
    QCOMPARE(ui.cmbMascPre->currentIndex(), 0);
    QCOMPARE(ui.cmbMascPre->currentText(), QStringLiteral("$!!@"));
    QVERIFY(!ui.cmbMascPre->isEditable());
    QCOMPARE(ui.lstMascSel->count(), 0);
    QCOMPARE(ui.txtMascCustom->text(), QString());
    QCOMPARE(ui.txtNomes->toPlainText(), QString());
    QCOMPARE(ui.txtQuantNomes->text(), QStringLiteral("1"));
    QCOMPARE(ui.lblQntNomes->text(), QStringLiteral("nome"));
    QCOMPARE(ui.txtAjudaNomes->toPlainText(), MaskHelpText().replace(QStringLiteral("\r\n"),
                                                                     QStringLiteral("\n")));
    QVERIFY(!ui.cmdGeraNomes->isEnabled());
    QVERIFY(!ui.cmdAdicionaMascCustom->isEnabled());
    for (QPushButton *always : {ui.cmdOK, ui.cmdLimparList, ui.cmdAdicionaMascPre,
                                ui.cmdExcluirItem, ui.cmdCopiaNome})
        QVERIFY2(always->isEnabled(), qPrintable(always->objectName()));
}

} // namespace

class frmGeradorNomeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowIsAFixedDialogWithItsDressing()
    {
        frmGeradorNome window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar: Gerador de Nomes"));
        QCOMPARE(window.size(), QSize(451, 331));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));

        const Controls ui(window);
        QVERIFY(ui.complete());
        QCOMPARE(ui.cmdOK->parentWidget(), ui.pctAreaAni);
        QCOMPARE(ui.pctAreaAni->palette().color(QPalette::Window), QColor(Qt::black));
        QVERIFY(ui.pctAreaAni->autoFillBackground());
        const QImage gradient = ui.pctDegrade->pixmap().toImage();
        QCOMPARE(gradient.size(), QSize(16, 400));
        QCOMPARE(qGray(gradient.pixel(0, 0)), 7);
        QCOMPARE(qGray(gradient.pixel(15, 399)), 192);
        verifyInitialState(window);
    }

    void controlsStandWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addRow("pctAreaAni") << "pctAreaAni" << QRect(0, 0, 41, 333);
        QTest::addRow("pctDegrade") << "pctDegrade" << QRect(40, 0, 16, 400);
        QTest::addRow("cmdOK") << "cmdOK" << QRect(6, 146, 30, 30);
        QTest::addRow("cmdLimparList") << "cmdLimparList" << QRect(188, 166, 105, 19);
        QTest::addRow("txtAjudaNomes") << "txtAjudaNomes" << QRect(58, 12, 389, 71);
        QTest::addRow("cmbMascPre") << "cmbMascPre" << QRect(58, 102, 128, 22);
        QTest::addRow("cmdAdicionaMascPre") << "cmdAdicionaMascPre" << QRect(188, 102, 61, 23);
        QTest::addRow("txtMascCustom") << "txtMascCustom" << QRect(256, 102, 127, 22);
        QTest::addRow("cmdAdicionaMascCustom")
            << "cmdAdicionaMascCustom" << QRect(386, 102, 61, 23);
        QTest::addRow("lstMascSel") << "lstMascSel" << QRect(58, 148, 127, 32);
        QTest::addRow("cmdExcluirItem") << "cmdExcluirItem" << QRect(188, 148, 105, 19);
        QTest::addRow("txtQuantNomes") << "txtQuantNomes" << QRect(338, 148, 61, 21);
        QTest::addRow("txtNomes") << "txtNomes" << QRect(56, 206, 393, 93);
        QTest::addRow("cmdGeraNomes") << "cmdGeraNomes" << QRect(258, 298, 193, 33);
        QTest::addRow("cmdCopiaNome") << "cmdCopiaNome" << QRect(56, 298, 193, 33);
    }

    void controlsStandWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        frmGeradorNome window;
        auto *control = window.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), place);
    }

    // Labels start at their design place and are never narrower or lower than their text.
    void labelsShowTheirWholeText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("topLeft");
        QTest::addRow("lblAjuda1") << "lblAjuda1" << "Ajuda:" << QPoint(58, 0);
        QTest::addRow("lblMascPre") << "lblMascPre" << "Máscaras Pré-definidas:" << QPoint(58, 88);
        QTest::addRow("Label1") << "Label1" << "Máscara customizada:" << QPoint(256, 88);
        QTest::addRow("lblMascSel") << "lblMascSel" << "Máscaras selecionadas:" << QPoint(58, 134);
        QTest::addRow("Label2") << "Label2" << "Gerar" << QPoint(302, 146);
        QTest::addRow("lblQntNomes") << "lblQntNomes" << "nome" << QPoint(402, 146);
        QTest::addRow("Label4") << "Label4" << "Nomes:" << QPoint(58, 190);
    }

    void labelsShowTheirWholeText()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QPoint, topLeft);
        frmGeradorNome window;
        auto *label = window.findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->pos(), topLeft);
        QCOMPARE(label->font().family(), QStringLiteral("Arial"));
        QCOMPARE(label->font().pointSizeF(), 8.25);
        QVERIFY(label->font().bold());
        QVERIFY(!label->autoFillBackground());
        const QFontMetrics metrics(label->font());
        // lblQntNomes must also hold "nomes".
        const QSize needed =
            metrics.size(0, name == u"lblQntNomes" ? QStringLiteral("nomes") : text);
        QVERIFY2(label->width() >= needed.width() && label->height() >= needed.height(),
                 qPrintable(QStringLiteral("%1 needs %2x%3")
                                .arg(name)
                                .arg(needed.width())
                                .arg(needed.height())));
        QVERIFY(label->geometry().right() < window.width());
        const QColor expected = name == u"Label4" ? QColor(255, 0, 0) : QColor(Qt::black);
        QCOMPARE(label->palette().color(QPalette::WindowText), expected);
    }

    void textsFontsAndTooltips()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());

        QCOMPARE(ui.cmdOK->text(), QStringLiteral("&OK"));
        QCOMPARE(ui.cmdOK->font().family(), QStringLiteral("Arial"));
        QCOMPARE(ui.cmdOK->font().pointSizeF(), 8.25);
        QVERIFY(ui.cmdOK->font().bold());

        const std::vector<std::pair<QPushButton *, QString>> buttons = {
            {ui.cmdLimparList, QStringLiteral("Limpar a lista")},
            {ui.cmdAdicionaMascPre, QStringLiteral("Selecionar")},
            {ui.cmdAdicionaMascCustom, QStringLiteral("Selecionar")},
            {ui.cmdExcluirItem, QStringLiteral("Excluir Item")},
            {ui.cmdGeraNomes, QStringLiteral("GERAR!")},
            {ui.cmdCopiaNome, QStringLiteral("Copiar nomes")}};
        for (const auto &[button, text] : buttons) {
            QCOMPARE(button->text(), text);
            QCOMPARE(button->font(), window.font());
            // The caption fits inside the part of the button the style draws text in.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(button->fontMetrics().horizontalAdvance(text) <= inside.width(),
                     qPrintable(button->objectName()));
        }
        QCOMPARE(ui.cmdAdicionaMascPre->toolTip(),
                 QStringLiteral("Colocar máscara na lista das máscaras selecionadas"));
        QCOMPARE(ui.cmdAdicionaMascCustom->toolTip(),
                 QStringLiteral("Colocar máscara customizada na lista das máscaras selecionadas"));
        QCOMPARE(ui.cmdExcluirItem->toolTip(),
                 QStringLiteral("Exclui o item selecionado da lista"));
        QCOMPARE(ui.cmdGeraNomes->toolTip(), QStringLiteral("gera os nomes"));
        QCOMPARE(ui.cmdCopiaNome->toolTip(),
                 QStringLiteral("Copia os nomes gerados para a área de transferência"));

        for (QWidget *box : std::initializer_list<QWidget *>{
                 ui.txtAjudaNomes, ui.cmbMascPre, ui.txtMascCustom, ui.lstMascSel,
                 ui.txtQuantNomes, ui.txtNomes}) {
            QCOMPARE(box->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(box->font().pointSizeF(), 8.25);
            QVERIFY2(QFontInfo(box->font()).fixedPitch(), qPrintable(box->objectName()));
        }
        QVERIFY(ui.txtAjudaNomes->isReadOnly());
        QVERIFY(ui.txtNomes->isReadOnly());
        QCOMPARE(ui.txtNomes->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(ui.txtMascCustom->maxLength(), 50);
        QCOMPARE(ui.txtQuantNomes->maxLength(), 3);
        QCOMPARE(ui.lstMascSel->selectionMode(), QAbstractItemView::SingleSelection);
    }

    // Tab walks the controls in design order, skipping nothing that is enabled; the count box
    // selects its whole text when it gets the focus.
    void tabOrder()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        ui.addPredefined(QStringLiteral("$!!@"));
        ui.txtMascCustom->setText(QStringLiteral("x"));
        ui.txtQuantNomes->setText(QStringLiteral("12"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), ui.cmdOK);

        const QStringList expected = {
            QStringLiteral("cmdOK"),          QStringLiteral("cmdLimparList"),
            QStringLiteral("txtAjudaNomes"),  QStringLiteral("cmbMascPre"),
            QStringLiteral("cmdAdicionaMascPre"), QStringLiteral("txtMascCustom"),
            QStringLiteral("cmdAdicionaMascCustom"), QStringLiteral("lstMascSel"),
            QStringLiteral("cmdExcluirItem"), QStringLiteral("txtQuantNomes"),
            QStringLiteral("txtNomes"),       QStringLiteral("cmdGeraNomes"),
            QStringLiteral("cmdCopiaNome"),   QStringLiteral("cmdOK")};
        QStringList visited = {QApplication::focusWidget()->objectName()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget()->objectName());
            if (QApplication::focusWidget() == ui.txtQuantNomes)
                QTRY_COMPARE(ui.txtQuantNomes->selectedText(), QStringLiteral("12"));
        }
        QCOMPARE(visited, expected);
    }

    void duplicatesAreRefusedExactly()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        ui.addPredefined(QStringLiteral("$!!@"));
        QVERIFY(ui.cmdGeraNomes->isEnabled());

        // Refused: the same predefined mask again, and a typed mask equal to it.
        for (bool typed : {false, true}) {
            MessageBoxAnswerer answerer;
            if (typed)
                ui.addCustom(QStringLiteral("$!!@"));
            else
                ui.addPredefined(QStringLiteral("$!!@"));
            QCOMPARE(answerer.count(), 1);
            QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
            QCOMPARE(answerer.last().text, QStringLiteral("Item já selecionado!"));
            QCOMPARE(answerer.last().icon, QMessageBox::Critical);
            QCOMPARE(answerer.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(ui.selectedMasks(), QStringList{QStringLiteral("$!!@")});
        }
        // Neither add clears the typed mask or moves the drop-down list.
        QCOMPARE(ui.txtMascCustom->text(), QStringLiteral("$!!@"));
        QCOMPARE(ui.cmbMascPre->currentText(), QStringLiteral("$!!@"));

        // Accepted: a trailing space and a different letter case make different masks.
        MessageBoxAnswerer answerer;
        ui.addCustom(QStringLiteral("$!!@ "));
        ui.addCustom(QStringLiteral("Vila $!@!"));
        ui.addCustom(QStringLiteral("vila $!@!"));
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(ui.selectedMasks(),
                 (QStringList{QStringLiteral("$!!@"), QStringLiteral("$!!@ "),
                              QStringLiteral("Vila $!@!"), QStringLiteral("vila $!@!")}));
    }

    // The list orders its entries by UTF-16 code units, not by the locale's collation.
    void selectedMasksStaySorted()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        ui.addPredefined(QStringLiteral("&@@!"));
        ui.addPredefined(QStringLiteral("$!!@"));
        QCOMPARE(ui.selectedMasks(), (QStringList{QStringLiteral("$!!@"), QStringLiteral("&@@!")}));

        ui.addCustom(QStringLiteral("ação"));
        ui.addCustom(QStringLiteral("Zeta"));
        ui.addCustom(QStringLiteral("\uFF21"));                     // fullwidth A
        ui.addCustom(QString::fromUtf16(u"\U0001F3B2 $!@"));        // a surrogate pair
        ui.addCustom(QStringLiteral("%@@!@!@"));
        QCOMPARE(ui.selectedMasks(),
                 (QStringList{QStringLiteral("$!!@"), QStringLiteral("%@@!@!@"),
                              QStringLiteral("&@@!"), QStringLiteral("Zeta"),
                              QStringLiteral("ação"), QString::fromUtf16(u"\U0001F3B2 $!@"),
                              QStringLiteral("\uFF21")}));
    }

    void buttonsFollowTheirBoxes()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());

        QTest::keyClicks(ui.txtMascCustom, QStringLiteral("a"));
        QVERIFY(ui.cmdAdicionaMascCustom->isEnabled());
        QTest::keyClick(ui.txtMascCustom, Qt::Key_Backspace);
        QVERIFY(!ui.cmdAdicionaMascCustom->isEnabled());
        QTest::keyClicks(ui.txtMascCustom, QString(60, u'@'));
        QCOMPARE(ui.txtMascCustom->text(), QString(50, u'@'));
        QVERIFY(ui.cmdAdicionaMascCustom->isEnabled());

        ui.addPredefined(QStringLiteral("$!!@"));
        ui.addPredefined(QStringLiteral("$@!@"));
        ui.addPredefined(QStringLiteral("&@@!"));
        QVERIFY(ui.cmdGeraNomes->isEnabled());

        // Nothing selected: nothing removed.
        ui.lstMascSel->clearSelection();
        ui.cmdExcluirItem->click();
        QCOMPARE(ui.lstMascSel->count(), 3);

        // The selected entry goes, and only that one, however often the button is pressed.
        ui.lstMascSel->item(1)->setSelected(true);
        ui.cmdExcluirItem->click();
        ui.cmdExcluirItem->click();
        QCOMPARE(ui.selectedMasks(), (QStringList{QStringLiteral("$!!@"), QStringLiteral("&@@!")}));
        QVERIFY(ui.cmdGeraNomes->isEnabled());

        ui.cmdLimparList->click();
        QCOMPARE(ui.lstMascSel->count(), 0);
        QVERIFY(!ui.cmdGeraNomes->isEnabled());

        ui.addPredefined(QStringLiteral("$!!@"));
        QVERIFY(ui.cmdGeraNomes->isEnabled());
        ui.lstMascSel->item(0)->setSelected(true);
        ui.cmdExcluirItem->click();
        QCOMPARE(ui.lstMascSel->count(), 0);
        QVERIFY(!ui.cmdGeraNomes->isEnabled());
        ui.cmdExcluirItem->click(); // on an empty list: nothing happens
        QVERIFY(!ui.cmdGeraNomes->isEnabled());
    }

    // Only digits and Backspace get typed in; an emptied box comes back as "1"; the label
    // says "nome" for exactly "1".
    void countBoxTakesDigitsOnly()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        QLineEdit *box = ui.txtQuantNomes;

        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("a-1.5 +e,"));
        QCOMPARE(box->text(), QStringLiteral("15"));
        QCOMPARE(ui.lblQntNomes->text(), QStringLiteral("nomes"));

        QGuiApplication::clipboard()->setText(QStringLiteral("42"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box->text(), QStringLiteral("15"));

        QTest::keyClicks(box, QStringLiteral("9999"));
        QCOMPARE(box->text(), QStringLiteral("159"));

        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(ui.lblQntNomes->text(), QStringLiteral("nome"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(ui.lblQntNomes->text(), QStringLiteral("nome"));
        // The refilled "1" is selected: what is typed next replaces it.
        QCOMPARE(box->selectedText(), QStringLiteral("1"));
        QTest::keyClicks(box, QStringLiteral("20"));
        QCOMPARE(box->text(), QStringLiteral("20"));
        QCOMPARE(ui.lblQntNomes->text(), QStringLiteral("nomes"));

        const std::vector<std::pair<QString, QString>> labels = {
            {QStringLiteral("0"), QStringLiteral("nomes")},
            {QStringLiteral("01"), QStringLiteral("nomes")},
            {QStringLiteral("1"), QStringLiteral("nome")},
            {QStringLiteral("2"), QStringLiteral("nomes")},
            {QStringLiteral("10"), QStringLiteral("nomes")}};
        for (const auto &[text, label] : labels) {
            box->selectAll();
            QTest::keyClicks(box, text);
            QCOMPARE(box->text(), text);
            QCOMPARE(ui.lblQntNomes->text(), label);
        }
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("1"));
        QCOMPARE(ui.lblQntNomes->text(), QStringLiteral("nome"));
    }

    // Enter presses nothing, wherever the focus is; the window stays open.
    void enterDoesNothing()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        ui.addPredefined(QStringLiteral("$!!@"));
        ui.txtMascCustom->setText(QStringLiteral("$!"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (QPushButton *button : window.findChildren<QPushButton *>()) {
            QVERIFY2(!button->autoDefault() && !button->isDefault(),
                     qPrintable(button->objectName()));
            spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
        }
        QSignalSpy finished(&window, &QDialog::finished);
        MessageBoxAnswerer answerer; // a wrongly pressed "Selecionar" would open one

        for (QWidget *target : std::initializer_list<QWidget *>{
                 ui.txtQuantNomes, ui.txtMascCustom, ui.cmbMascPre, ui.lstMascSel,
                 ui.txtNomes, ui.cmdGeraNomes, ui.cmdAdicionaMascCustom, ui.cmdOK}) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            QVERIFY2(window.isVisible(), qPrintable(target->objectName()));
        }
        for (const auto &spy : spies)
            QCOMPARE(spy->count(), 0);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(answerer.count(), 0);
        QCOMPARE(ui.txtNomes->toPlainText(), QString());
        QCOMPARE(ui.lstMascSel->count(), 1);
        QCOMPARE(ui.txtQuantNomes->text(), QStringLiteral("1"));
    }

    // Exact names from exact draws: one draw picks the mask, then the mask's own draws.
    void namesFromInjectedDraws()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());

        ui.addCustom(QStringLiteral("$!"));
        ui.txtQuantNomes->setText(QStringLiteral("3"));
        {
            SequenceRandomSource source({0.0f, 0.0f, 0.99f, 0.5f, 0.05f, 0.2f, 0.9f, 0.99f, 0.0f});
            ScopedRandomSource installed(source);
            ui.cmdGeraNomes->click();
            QCOMPARE(source.draws(), 9);
        }
        QCOMPARE(ui.txtNomes->toPlainText(), QStringLiteral("Bu, Ce, Za"));

        // Three masks, added out of order: the pick counts in the displayed (sorted) order.
        ui.cmdLimparList->click();
        ui.addCustom(QStringLiteral("Caio"));
        ui.addCustom(QStringLiteral("Ana"));
        ui.addCustom(QStringLiteral("Bia"));
        ui.txtQuantNomes->setText(QStringLiteral("5"));
        {
            SequenceRandomSource source({0.0f, 0.34f, 0.33f, 0.67f, 0.99f});
            ScopedRandomSource installed(source);
            ui.cmdGeraNomes->click();
            QCOMPARE(source.draws(), 5);
        }
        QCOMPARE(ui.txtNomes->toPlainText(), QStringLiteral("Ana, Bia, Ana, Caio, Caio"));

        // Generating again replaces the names.
        ui.txtQuantNomes->setText(QStringLiteral("1"));
        {
            SequenceRandomSource source({0.5f});
            ScopedRandomSource installed(source);
            ui.cmdGeraNomes->click();
        }
        QCOMPARE(ui.txtNomes->toPlainText(), QStringLiteral("Bia"));
    }

    // Whatever reaches the count box (typed, or pasted through the context menu), the number
    // it begins with is the count; a count beyond 16 bits is refused and the names stay.
    void countsFromAnyText_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("names"); // -1: refused
        QTest::addRow("one") << "1" << "1" << 1;
        QTest::addRow("leading zero") << "01" << "01" << 1;
        QTest::addRow("zero") << "0" << "0" << 0;
        QTest::addRow("most typed") << "999" << "999" << 999;
        QTest::addRow("cut to three") << "12345" << "123" << 123;
        QTest::addRow("negative") << "-5" << "-5" << 0;
        QTest::addRow("no number") << "abc" << "abc" << 0;
        QTest::addRow("half to even down") << "2.5" << "2.5" << 2;
        QTest::addRow("half to even up") << "3.5" << "3.5" << 4;
        QTest::addRow("leading blank") << " 7x" << " 7x" << 7;
        QTest::addRow("exponent fits") << "1e4" << "1e4" << 10000;
        QTest::addRow("exponent too large") << "1e5" << "1e5" << -1;
        QTest::addRow("far too large") << "9e9" << "9e9" << -1;
    }

    void countsFromAnyText()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(int, names);
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        ui.addCustom(QStringLiteral("Xo"));
        ui.cmdGeraNomes->click();
        QCOMPARE(ui.txtNomes->toPlainText(), QStringLiteral("Xo"));

        ui.pasteCount(pasted);
        QCOMPARE(ui.txtQuantNomes->text(), shown);
        QCOMPARE(ui.lblQntNomes->text(),
                 shown == u"1" ? QStringLiteral("nome") : QStringLiteral("nomes"));
        MessageBoxAnswerer answerer;
        ui.cmdGeraNomes->click();
        if (names < 0) {
            QCOMPARE(answerer.count(), 1);
            QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
            QCOMPARE(answerer.last().icon, QMessageBox::Critical);
            QVERIFY(answerer.last().text.contains(QStringLiteral("32767")));
            QCOMPARE(ui.txtNomes->toPlainText(), QStringLiteral("Xo"));
            QCOMPARE(ui.txtQuantNomes->text(), shown);
        } else {
            QCOMPARE(answerer.count(), 0);
            QCOMPARE(ui.txtNomes->toPlainText(), repeatedNames(QStringLiteral("Xo"), names));
        }
    }

    // Masks of any text make names of the same length; nothing breaks on odd characters.
    void anyCustomMaskWorks()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        static constexpr char16_t raw[] = u"\U0001F409{}\0\t\u202E<>&#";
        const QString odd = QString::fromUtf16(raw, std::size(raw) - 1) + QChar(0xD800);
        ui.addCustom(odd);
        ui.txtQuantNomes->setText(QStringLiteral("20"));
        ui.cmdGeraNomes->click();
        const QStringList names = ui.txtNomes->toPlainText().split(QStringLiteral(", "));
        QCOMPARE(names.size(), 20);
        for (const QString &name : names) {
            QCOMPARE(name.size(), odd.size());
            QVERIFY(name.startsWith(QString::fromUtf16(u"\U0001F409")));
        }
    }

    void copiesTheNamesToTheClipboard()
    {
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        QGuiApplication::clipboard()->setText(QStringLiteral("antes"));
        ui.cmdCopiaNome->click(); // an empty box is copied as it is
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());

        ui.addPredefined(QStringLiteral("&@@!@!@@!"));
        ui.addCustom(QString::fromUtf16(u"{}ção"));
        ui.txtQuantNomes->setText(QStringLiteral("25"));
        ui.cmdGeraNomes->click();
        ui.cmdCopiaNome->click();
        QCOMPARE(ui.txtNomes->toPlainText().count(QStringLiteral(", ")), 24);
        QCOMPARE(QGuiApplication::clipboard()->text(), ui.txtNomes->toPlainText());
    }

    // OK, Escape from any box and the close box all close the window the same way.
    void closesLikeOK_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addRow("OK") << "cmdOK";
        QTest::addRow("Escape in the window") << "frmGeradorNome";
        QTest::addRow("Escape in the count box") << "txtQuantNomes";
        QTest::addRow("Escape in the custom mask") << "txtMascCustom";
        QTest::addRow("Escape in the drop-down list") << "cmbMascPre";
        QTest::addRow("Escape in the list") << "lstMascSel";
        QTest::addRow("close box") << "close";
    }

    void closesLikeOK()
    {
        QFETCH(QString, how);
        frmGeradorNome window;
        const Controls ui(window);
        QVERIFY(ui.complete());
        ui.addPredefined(QStringLiteral("$!!@"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy finished(&window, &QDialog::finished);

        if (how == u"cmdOK") {
            QTest::mouseClick(ui.cmdOK, Qt::LeftButton);
        } else if (how == u"close") {
            QVERIFY(window.close());
        } else {
            QWidget *target =
                how == window.objectName() ? &window : window.findChild<QWidget *>(how);
            QVERIFY(target);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
        }
        QVERIFY(!window.isVisible());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
        QCOMPARE(ui.lstMascSel->count(), 1); // closing is all it did
    }

    // A new opening starts from the initial state, whatever the last one did.
    void reopeningStartsAfresh()
    {
        {
            frmGeradorNome first;
            const Controls ui(first);
            QVERIFY(ui.complete());
            ui.addPredefined(QStringLiteral("$%^@"));
            ui.cmbMascPre->setCurrentIndex(7);
            ui.txtMascCustom->setText(QStringLiteral("Rua $!@"));
            ui.txtQuantNomes->setText(QStringLiteral("7"));
            ui.cmdGeraNomes->click();
            QVERIFY(!ui.txtNomes->toPlainText().isEmpty());
            ui.cmdOK->click();
        }
        frmGeradorNome second;
        verifyInitialState(second);
    }
};

QTEST_MAIN(frmGeradorNomeTest)
#include "frmGeradorNomeTest.moc"
