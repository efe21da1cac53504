#include "FileContents.h"
#include "FileSizeLimit.h"
#include "city/BusyCursor.h"
#include "city/CityFile.h"
#include "city/CityReport.h"
#include "city/frmGeradorCidadeADD.h"
#include "common/DigitLineEdit.h"
#include "common/RandomSource.h"
#include "common/ScopedRandomSource.h"
#include "common/SequenceRandomSource.h"
#include "names/NameMask.h"

#include "MessageBoxAnswerer.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

const QString DefaultMask = QStringLiteral("$!^ $!!@^");

struct Controls
{
    explicit Controls(QWidget &window)
        : pctAreaAni(window.findChild<QWidget *>(QStringLiteral("pctAreaAni"))),
          pctDegrade(window.findChild<QLabel *>(QStringLiteral("pctDegrade"))),
          cmdOK(window.findChild<QPushButton *>(QStringLiteral("cmdOK"))),
          cmdSalvar(window.findChild<QPushButton *>(QStringLiteral("cmdSalvar"))),
          txtCidade(window.findChild<QPlainTextEdit *>(QStringLiteral("txtCidade"))),
          cmdGeraCidade(window.findChild<QPushButton *>(QStringLiteral("cmdGeraCidade"))),
          txtBlocos(window.findChild<QLineEdit *>(QStringLiteral("txtBlocos"))),
          cmdGerarNome(window.findChild<QPushButton *>(QStringLiteral("cmdGerarNome"))),
          txtNome(window.findChild<QLineEdit *>(QStringLiteral("txtNome"))),
          txtAjudaNomes(window.findChild<QPlainTextEdit *>(QStringLiteral("txtAjudaNomes"))),
          txtMascara(window.findChild<QLineEdit *>(QStringLiteral("txtMascara"))),
          cmdUsarMascara(window.findChild<QPushButton *>(QStringLiteral("cmdUsarMascara"))),
          cmbMascPre(window.findChild<QComboBox *>(QStringLiteral("cmbMascPre")))
    {
    }

    QWidget *pctAreaAni;
    QLabel *pctDegrade;
    QPushButton *cmdOK;
    QPushButton *cmdSalvar;
    QPlainTextEdit *txtCidade;
    QPushButton *cmdGeraCidade;
    QLineEdit *txtBlocos;
    QPushButton *cmdGerarNome;
    QLineEdit *txtNome;
    QPlainTextEdit *txtAjudaNomes;
    QLineEdit *txtMascara;
    QPushButton *cmdUsarMascara;
    QComboBox *cmbMascPre;

    bool complete() const
    {
        return pctAreaAni && pctDegrade && cmdOK && cmdSalvar && txtCidade && cmdGeraCidade
            && txtBlocos && cmdGerarNome && txtNome && txtAjudaNomes && txtMascara
            && cmdUsarMascara && cmbMascPre;
    }

    // A city named by a mask of literal characters.
    void makeCity(const QString &name, const QString &blocks = QStringLiteral("1")) const
    {
        txtMascara->setText(name);
        cmdGerarNome->click();
        txtBlocos->setText(blocks);
        cmdGeraCidade->click();
    }

    // What the box's context menu "Colar" does.
    void pasteBlocks(const QString &text) const
    {
        QGuiApplication::clipboard()->setText(text);
        txtBlocos->selectAll();
        txtBlocos->paste();
    }
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Counts the reseeds a window makes and the values it uses.
class RecordingRandomSource final : public RandomSource
{
public:
    float next() override { return 0.0f; }
    void reseed(double value) override { seeds.append(value); }
    QList<double> seeds;
};

QWidget *nextTabStop(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

} // namespace

class frmGeradorCidadeADDTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        CityFile::setProgramFolder(m_folder->path());
        CityFile::setDocumentsFolder(m_folder->filePath(QStringLiteral("Documentos")));
        CityFile::setWritableCheck({});
        frmGeradorCidadeADD::ResetLastCityName();
    }

    void cleanup()
    {
        CityFile::setProgramFolder(QString());
        CityFile::setDocumentsFolder(QString());
        CityFile::setWritableCheck({});
        m_folder.reset();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("font");

        const QString arialBold = QStringLiteral("Arial bold");
        const QString courier = QStringLiteral("Courier New");
        const QString standard;
        QTest::addRow("pctAreaAni") << "pctAreaAni" << QByteArray("QWidget") << QRect(0, 0, 41, 337) << QString() << standard;
        QTest::addRow("cmdOK") << "cmdOK" << QByteArray("QPushButton") << QRect(6, 148, 30, 30) << "&OK" << arialBold;
        QTest::addRow("pctDegrade") << "pctDegrade" << QByteArray("QLabel") << QRect(40, 0, 16, 400) << QString() << standard;
        QTest::addRow("cmdSalvar") << "cmdSalvar" << QByteArray("QPushButton") << QRect(362, 122, 85, 25) << "Salvar Cidade!" << standard;
        QTest::addRow("txtCidade") << "txtCidade" << QByteArray("QPlainTextEdit") << QRect(58, 152, 387, 181) << QString() << courier;
        QTest::addRow("cmdGeraCidade") << "cmdGeraCidade" << QByteArray("QPushButton") << QRect(288, 122, 75, 25) << "Gerar Cidade!" << standard;
        QTest::addRow("txtBlocos") << "txtBlocos" << QByteArray("DigitLineEdit") << QRect(230, 122, 53, 23) << "1" << standard;
        QTest::addRow("cmdGerarNome") << "cmdGerarNome" << QByteArray("QPushButton") << QRect(350, 92, 97, 25) << "Gerar nome!" << standard;
        QTest::addRow("txtNome") << "txtNome" << QByteArray("QLineEdit") << QRect(152, 92, 195, 23) << QString() << courier;
        QTest::addRow("txtAjudaNomes") << "txtAjudaNomes" << QByteArray("QPlainTextEdit") << QRect(58, 52, 389, 37) << QString() << courier;
        QTest::addRow("txtMascara") << "txtMascara" << QByteArray("QLineEdit") << QRect(250, 16, 195, 23) << DefaultMask << courier;
        QTest::addRow("cmdUsarMascara") << "cmdUsarMascara" << QByteArray("QPushButton") << QRect(224, 16, 25, 25) << ">" << standard;
        QTest::addRow("cmbMascPre") << "cmbMascPre" << QByteArray("QComboBox") << QRect(58, 16, 165, 22) << QString() << courier;
        QTest::addRow("Label4") << "Label4" << QByteArray("QLabel") << QRect(58, 122, 171, 14) << "Blocos (1 bloco = 250 pessoas):" << arialBold;
        QTest::addRow("Label3") << "Label3" << QByteArray("QLabel") << QRect(60, 92, 90, 14) << "Nome da cidade:" << arialBold;
        QTest::addRow("lblAjuda1") << "lblAjuda1" << QByteArray("QLabel") << QRect(58, 40, 34, 14) << "Ajuda:" << arialBold;
        QTest::addRow("Label2") << "Label2" << QByteArray("QLabel") << QRect(250, 0, 156, 14) << QString::fromUtf8("Máscara do nome da cidade:") << arialBold;
        QTest::addRow("Label1") << "Label1" << QByteArray("QLabel") << QRect(58, 0, 133, 14) << QString::fromUtf8("Máscaras pré-definidas:") << arialBold;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, kind);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, font);

        frmGeradorCidadeADD window;
        auto *control = window.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(QByteArray(control->metaObject()->className()), kind);
        QCOMPARE(control->geometry(), geometry);
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QCOMPARE(button->text(), text);
            QVERIFY(!button->autoDefault());
            QVERIFY(!button->isDefault());
        } else if (auto *label = qobject_cast<QLabel *>(control); label && !text.isEmpty()) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            QCOMPARE(edit->text(), text);
        }
        if (font == QStringLiteral("Arial bold")) {
            QCOMPARE(control->font().family(), QStringLiteral("Arial"));
            QVERIFY(control->font().bold());
            QCOMPARE(control->font().pointSizeF(), 8.25);
        } else if (font == QStringLiteral("Courier New")) {
            QCOMPARE(control->font().family(), QStringLiteral("Courier New"));
            QVERIFY(!control->font().bold());
            QCOMPARE(control->font().pointSizeF(), 8.25);
        } else {
            QCOMPARE(control->font(), window.font());
        }
    }

    void loadsInItsInitialState()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        QVERIFY(c.complete());
        QCOMPARE(window.windowTitle(), QStringLiteral("Morvane's Quessar: Gerador de Cidades (AD&D)"));
        QCOMPARE(window.size(), QSize(450, 337));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        QCOMPARE(c.cmdOK->parentWidget(), c.pctAreaAni);
        QCOMPARE(c.pctDegrade->pixmap().size(), QSize(16, 400));
        QCOMPARE(c.pctAreaAni->palette().color(QPalette::Window), QColor(Qt::black));

        QStringList masks;
        for (int i = 0; i < c.cmbMascPre->count(); ++i)
            masks << c.cmbMascPre->itemText(i);
        QCOMPARE(masks, (QStringList{DefaultMask, QStringLiteral("$@!"), QStringLiteral("$@!@!"),
                                     QStringLiteral("$}@"), QStringLiteral("[@!@ $!@@@!@")}));
        QCOMPARE(c.cmbMascPre->currentIndex(), -1);
        QVERIFY(!c.cmbMascPre->isEditable());

        QCOMPARE(c.txtAjudaNomes->toPlainText(),
                 MaskHelpText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(c.txtAjudaNomes->isReadOnly());
        QVERIFY(!c.txtCidade->isReadOnly());
        QVERIFY(c.txtCidade->toPlainText().isEmpty());
        QVERIFY(c.txtNome->isReadOnly());
        QCOMPARE(c.txtNome->maxLength(), 50);
        QCOMPARE(c.txtNome->palette().color(QPalette::Base), QColor(224, 224, 224));
        QCOMPARE(c.txtMascara->maxLength(), 50);
        QCOMPARE(c.txtBlocos->maxLength(), 5);

        const QList<QWidget *> tabOrder = {c.cmdOK, c.cmdSalvar, c.txtCidade, c.cmdGeraCidade,
                                           c.txtBlocos, c.cmdGerarNome, c.txtNome,
                                           c.txtAjudaNomes, c.txtMascara, c.cmdUsarMascara,
                                           c.cmbMascPre};
        for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i)
            QCOMPARE(nextTabStop(tabOrder[i])->objectName(), tabOrder[i + 1]->objectName());
        QCOMPARE(nextTabStop(c.cmbMascPre), c.cmdOK);
    }

    void reseedsTheRandomSourceAtEveryLoad()
    {
        RecordingRandomSource source;
        ScopedRandomSource scope(source);
        const double before = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        {
            frmGeradorCidadeADD first;
        }
        frmGeradorCidadeADD second;
        const double after = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        QCOMPARE(source.seeds.size(), 2);
        for (double seed : source.seeds)
            QVERIFY(seed >= before - 1 && seed <= after + 1);
    }

    void refusesToBuildOrSaveOnAFreshWindow()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        MessageBoxAnswerer answerer;
        c.cmdGeraCidade->click();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
        QCOMPARE(answerer.last().text, QStringLiteral("A cidade deve ter um nome!"));
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        QCOMPARE(answerer.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(c.txtCidade->toPlainText().isEmpty());
        QVERIFY(frmGeradorCidadeADD::LastCityName().isEmpty());

        c.cmdSalvar->click();
        QCOMPARE(answerer.count(), 2);
        QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
        QCOMPARE(answerer.last().text, QStringLiteral("Crie uma cidade antes de salvar!"));
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        QVERIFY(folderEntries(m_folder->path()).isEmpty());
    }

    void maskButtonAndEmptiedBoxesRefill()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        c.txtMascara->setText(QStringLiteral("Vila @!"));
        c.cmdUsarMascara->click(); // nothing selected: the default comes back
        QCOMPARE(c.txtMascara->text(), DefaultMask);

        c.cmbMascPre->setCurrentIndex(c.cmbMascPre->findText(QStringLiteral("$@!")));
        c.cmdUsarMascara->click();
        QCOMPARE(c.txtMascara->text(), QStringLiteral("$@!"));

        c.txtMascara->selectAll();
        QTest::keyClick(c.txtMascara, Qt::Key_Backspace);
        QCOMPARE(c.txtMascara->text(), DefaultMask);
        c.txtMascara->clear();
        QCOMPARE(c.txtMascara->text(), DefaultMask);

        c.txtBlocos->setText(QStringLiteral("250"));
        c.txtBlocos->selectAll();
        QTest::keyClick(c.txtBlocos, Qt::Key_Delete);
        QCOMPARE(c.txtBlocos->text(), QStringLiteral("1"));
        c.txtBlocos->setText(QString());
        QCOMPARE(c.txtBlocos->text(), QStringLiteral("1"));

        // What refills a box is selected: typing replaces it.
        c.txtBlocos->setText(QStringLiteral("5"));
        c.txtBlocos->setCursorPosition(1);
        QTest::keyClick(c.txtBlocos, Qt::Key_Backspace);
        QCOMPARE(c.txtBlocos->selectedText(), QStringLiteral("1"));
        QTest::keyClicks(c.txtBlocos, QStringLiteral("20"));
        QCOMPARE(c.txtBlocos->text(), QStringLiteral("20"));
        c.txtMascara->selectAll();
        QTest::keyClick(c.txtMascara, Qt::Key_Backspace);
        QCOMPARE(c.txtMascara->selectedText(), DefaultMask);
        QTest::keyClicks(c.txtMascara, QStringLiteral("$@"));
        QCOMPARE(c.txtMascara->text(), QStringLiteral("$@"));
        c.cmbMascPre->setCurrentIndex(-1);
        c.cmdUsarMascara->click(); // nothing selected in the list: refilled, selected
        QTest::keyClicks(c.txtMascara, QStringLiteral("!"));
        QCOMPARE(c.txtMascara->text(), QStringLiteral("!"));

        // The mask box takes at most 50 characters, each one whole.
        QGuiApplication::clipboard()->setText(QString(49, u'@') + QString::fromUtf8("😀"));
        c.txtMascara->selectAll();
        c.txtMascara->paste();
        QCOMPARE(c.txtMascara->text(), QString(49, u'@'));
    }

    void blockBoxTakesOnlyDigits()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        MessageBoxAnswerer answerer;
        c.txtBlocos->setCursorPosition(1);
        QTest::keyClicks(c.txtBlocos, QStringLiteral("ab-.+e, "));
        QTest::keyClick(c.txtBlocos, Qt::Key_Return);
        QTest::keyClick(c.txtBlocos, Qt::Key_Enter);
        QTest::keyClick(c.txtBlocos, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(c.txtBlocos->text(), QStringLiteral("1"));
        QTest::keyClicks(c.txtBlocos, QStringLiteral("234567"));
        QCOMPARE(c.txtBlocos->text(), QStringLiteral("12345"));
        QTest::qWait(30);
        QCOMPARE(answerer.count(), 0);
        QVERIFY(c.txtCidade->toPlainText().isEmpty());
    }

    void enterDoesNothingAndEscapeCloses()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MessageBoxAnswerer answerer;
        // Enter on a focused button, and in the boxes, clicks nothing (a click would complain
        // about the missing name).
        for (QWidget *w : {static_cast<QWidget *>(c.cmdGeraCidade), static_cast<QWidget *>(c.txtNome),
                           static_cast<QWidget *>(c.txtMascara), static_cast<QWidget *>(c.txtBlocos)}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter);
        }
        QTest::qWait(30);
        QCOMPARE(answerer.count(), 0);
        QVERIFY(window.isVisible());

        QTest::keyClick(c.txtMascara, Qt::Key_Escape);
        QVERIFY(!window.isVisible());

        frmGeradorCidadeADD other;
        other.show();
        Controls(other).cmdOK->click();
        QVERIFY(!other.isVisible());
    }

    void generatesANameAndThenTheCity()
    {
        SequenceRandomSource source({0.0f});
        ScopedRandomSource scope(source);
        frmGeradorCidadeADD window;
        Controls c(window);
        c.cmdGerarNome->click();
        QCOMPARE(c.txtNome->text(), QStringLiteral("Bao Baabo"));
        QVERIFY(frmGeradorCidadeADD::LastCityName().isEmpty());

        c.txtBlocos->setText(QStringLiteral("37"));
        c.cmdGeraCidade->click();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(frmGeradorCidadeADD::LastCityName(), QStringLiteral("Bao Baabo"));

        const QStringList shown = c.txtCidade->toPlainText().split(u'\n');
        QStringList expected = BuildCityReport(QStringLiteral("Bao Baabo"), 37).split(QStringLiteral("\r\n"));
        QCOMPARE(shown.size(), expected.size());
        QCOMPARE(shown.mid(0, shown.size() - 1), expected.mid(0, expected.size() - 1));
        static const QRegularExpression footer(QStringLiteral(
            "^Cidade gerada dia \\d\\d/\\d\\d/\\d{4} as \\d\\d:\\d\\d pelo Morvane's Quessar$"));
        QVERIFY(footer.match(shown.constLast()).hasMatch());
        QCOMPARE(shown.value(1), QString::fromUtf8("População:  9250 habitantes"));

        // A new city replaces the box, edits included.
        c.txtCidade->appendPlainText(QStringLiteral("notas"));
        c.txtBlocos->setText(QStringLiteral("00000"));
        c.cmdGeraCidade->click();
        QCOMPARE(c.txtCidade->toPlainText().split(u'\n').value(1),
                 QString::fromUtf8("População:  0 habitantes"));
        QVERIFY(!c.txtCidade->toPlainText().contains(QStringLiteral("notas")));
    }

    void savesUnderTheLastCityNameAcrossOpenings()
    {
        SequenceRandomSource source({0.0f, 0.99f});
        ScopedRandomSource scope(source);
        const QString bName = m_folder->filePath(QStringLiteral("Vila B.txt"));
        {
            frmGeradorCidadeADD window;
            Controls c(window);
            c.txtMascara->setText(QStringLiteral("Vila $"));
            c.cmdGerarNome->click();
            QCOMPARE(c.txtNome->text(), QStringLiteral("Vila B"));
            c.cmdGeraCidade->click();
            c.cmdGerarNome->click();
            QCOMPARE(c.txtNome->text(), QStringLiteral("Vila Z"));
            QCOMPARE(frmGeradorCidadeADD::LastCityName(), QStringLiteral("Vila B"));

            MessageBoxAnswerer answerer;
            c.cmdSalvar->click();
            QCOMPARE(answerer.count(), 1);
            QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
            QCOMPARE(answerer.last().icon, QMessageBox::Information);
            QCOMPARE(answerer.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(answerer.last().text, QStringLiteral("A cidade foi salva no arquivo: \r\n") + bName);
            QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("Vila B.txt")});
        }

        // A later opening keeps the name; what is typed into the box is what gets saved, and
        // the second save replaces the first.
        frmGeradorCidadeADD window;
        Controls c(window);
        QCOMPARE(frmGeradorCidadeADD::LastCityName(), QStringLiteral("Vila B"));
        c.txtCidade->setPlainText(QStringLiteral("Notas da vila"));
        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        QCOMPARE(answerer.last().icon, QMessageBox::Information);
        QCOMPARE(FileContents(bName), QByteArray("Notas da vila\r\n"));
        QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("Vila B.txt")});
    }

    void textSavedBeforeAnyCityGoesToDotTxt()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        c.txtCidade->setPlainText(QStringLiteral("rascunho"));
        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        QCOMPARE(answerer.last().icon, QMessageBox::Information);
        QCOMPARE(FileContents(m_folder->filePath(QStringLiteral(".txt"))), QByteArray("rascunho\r\n"));
    }

    void savedFileIsWindows1252WithCrLf()
    {
        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QString::fromUtf8("São Tomé"));
        const QString shown = c.txtCidade->toPlainText();

        // The user adds two lines at the end: one with Enter, one with Shift+Enter.
        c.txtCidade->moveCursor(QTextCursor::End);
        QTest::keyClick(c.txtCidade, Qt::Key_Return);
        // A no-break space stays one: it is a character of its own in the file.
        QTest::keyClicks(c.txtCidade, QStringLiteral("Fim"));
        QTest::sendKeyEvent(QTest::Click, c.txtCidade, Qt::Key_nobreakspace, QString(QChar(0xA0)),
                            Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, c.txtCidade, Qt::Key_Ccedilla, QString::fromUtf8("ç"),
                            Qt::NoModifier);
        QTest::keyClick(c.txtCidade, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(c.txtCidade, QStringLiteral("ok"));

        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        QCOMPARE(answerer.last().icon, QMessageBox::Information);
        const QByteArray bytes = FileContents(m_folder->filePath(QString::fromUtf8("São Tomé.txt")));
        const QByteArray expected =
            (QString(shown).replace(u'\n', QStringLiteral("\r\n")) + QStringLiteral("\r\nFim\u00A0\u00E7\r\nok\r\n"))
                .toLatin1();
        QCOMPARE(bytes, expected);
        QVERIFY(bytes.startsWith("Cidade: S\xE3o Tom\xE9\r\nPopula\xE7\xE3o:  250 habitantes\r\n"));
        QVERIFY(bytes.contains("\r\n5 de 1\xBA n\xEDvel\r\n"));
        QVERIFY(bytes.endsWith(" pelo Morvane's Quessar\r\nFim\xA0\xE7\r\nok\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    }

    void refusesNamesThatCannotBeFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("slash") << QStringLiteral("A/B");
        QTest::addRow("parent") << QStringLiteral("../Fora");
        QTest::addRow("dot dot") << QStringLiteral("..");
        QTest::addRow("dot") << QStringLiteral(".");
        QTest::addRow("colon") << QStringLiteral("Vila: Nova");
        QTest::addRow("question") << QStringLiteral("Onde?");
        QTest::addRow("backslash") << QStringLiteral("A\\B");
        QTest::addRow("tab") << QStringLiteral("A\tB");
        QTest::addRow("markup") << QStringLiteral("Nome: \"A\" <b> | c?");
    }

    void refusesNamesThatCannotBeFileNames()
    {
        QFETCH(QString, name);
        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(name);
        QCOMPARE(frmGeradorCidadeADD::LastCityName(), name);
        const QString report = c.txtCidade->toPlainText();

        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        QVERIFY2(answerer.last().text.contains(QString::fromUtf8("não pode ser usado como nome de arquivo")),
                 qPrintable(answerer.last().text));
        // The name is shown as typed, never read as markup.
        QVERIFY(answerer.last().text.contains(QStringLiteral("\"") + name + QStringLiteral("\"")));
        QCOMPARE(answerer.last().textFormat, Qt::PlainText);
        QVERIFY(folderEntries(m_folder->path()).isEmpty());
        QVERIFY(!QFile::exists(QFileInfo(m_folder->path()).dir().filePath(QStringLiteral("Fora.txt"))));
        QCOMPARE(c.txtCidade->toPlainText(), report);
    }

    void reportsAFailedSaveAndKeepsTheReport_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("documents"); // empty: the documents folder set in init()
        QTest::addRow("missing folder") << QStringLiteral("nao/existe") << QString();
        QTest::addRow("folder is a file") << QStringLiteral("arquivo") << QString();
        QTest::addRow("percent signs") << QStringLiteral("%1 %2 %L1 %%/falta") << QString();
        // Installed, with a documents folder that cannot be made (as in a read-only home).
        QTest::addRow("no documents") << QStringLiteral("bin") << QStringLiteral("arquivo/Docs");
    }

    void reportsAFailedSaveAndKeepsTheReport()
    {
        QFETCH(QString, folder);
        QFETCH(QString, documents);
        QFile file(m_folder->filePath(QStringLiteral("arquivo")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        const QString programFolder = m_folder->filePath(folder);
        CityFile::setProgramFolder(programFolder);
        if (!documents.isEmpty())
            CityFile::setDocumentsFolder(m_folder->filePath(documents));

        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QStringLiteral("Tau"));
        const QString report = c.txtCidade->toPlainText();
        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        const QString prefix = documents.isEmpty()
            ? QString::fromUtf8("Não foi possível salvar a cidade no arquivo: \r\n")
                + programFolder + QStringLiteral("/Tau.txt\r\n")
            : QString::fromUtf8("Não foi possível criar a pasta de documentos: \r\n")
                + m_folder->filePath(documents) + QString::fromUtf8("\r\nA cidade não foi salva.");
        QVERIFY2(answerer.last().text.startsWith(prefix), qPrintable(answerer.last().text));
        // The system's reason follows a failed write.
        QVERIFY(answerer.last().text.size() > prefix.size() || !documents.isEmpty());
        QCOMPARE(c.txtCidade->toPlainText(), report);
        QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("arquivo")});
        QCOMPARE(FileContents(m_folder->filePath(QStringLiteral("arquivo"))), QByteArray("x"));
    }

    void savesToDocumentsWhenTheProgramFolderIsReadOnly_data()
    {
        QTest::addColumn<QString>("programFolder"); // inside the temporary folder
        QTest::addColumn<bool>("writable");
        QTest::addRow("read-only folder") << QString() << false;
        QTest::addRow("installed in bin") << QStringLiteral("bin") << true;
        QTest::addRow("installed in prefix/bin") << QStringLiteral("local/bin") << true;
    }

    void savesToDocumentsWhenTheProgramFolderIsReadOnly()
    {
        QFETCH(QString, programFolder);
        QFETCH(bool, writable);
        const QString program = m_folder->filePath(programFolder);
        QVERIFY(QDir().mkpath(program));
        CityFile::setProgramFolder(program);
        CityFile::setWritableCheck([writable](const QString &) { return writable; });
        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QStringLiteral("Tau"));
        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        const QString path = m_folder->filePath(QStringLiteral("Documentos/Tau.txt"));
        QCOMPARE(answerer.last().icon, QMessageBox::Information);
        QCOMPARE(answerer.last().text, QStringLiteral("A cidade foi salva no arquivo: \r\n") + path);
        QCOMPARE(answerer.last().textFormat, Qt::PlainText);
        QVERIFY(FileContents(path).startsWith("Cidade: Tau\r\n"));
        QVERIFY(!QFile::exists(QDir(program).filePath(QStringLiteral("Tau.txt"))));
    }

    // A file of the city's name that Quessar did not write is replaced only when the user
    // agrees: "Não" writes nothing, "Sim" replaces it, and saving again over what is now a city
    // file asks nothing.
    void asksBeforeReplacingAFileQuessarDidNotWrite()
    {
        const QString path = m_folder->filePath(QStringLiteral("CMakeCache.txt"));
        const QByteArray foreign = "# This is the CMakeCache file.\n";
        QVERIFY(writeFile(path, foreign));
        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QStringLiteral("CMakeCache"));
        const QString report = c.txtCidade->toPlainText();
        {
            MessageBoxAnswerer no(QMessageBox::No);
            c.cmdSalvar->click();
            QTest::qWait(30);
            QCOMPARE(no.count(), 1);
            const MessageBoxAnswerer::Seen &asked = no.last();
            QCOMPARE(asked.title, QStringLiteral("Quessar"));
            QCOMPARE(asked.icon, QMessageBox::Question);
            QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(asked.defaultButton, QMessageBox::No);
            QCOMPARE(asked.textFormat, Qt::PlainText);
            QVERIFY2(asked.text.contains(path), qPrintable(asked.text));
            QVERIFY2(asked.text.contains(QString::fromUtf8("não foi criado pelo Quessar")),
                     qPrintable(asked.text));
            QVERIFY2(asked.text.endsWith(QStringLiteral("Substituir o arquivo?")), qPrintable(asked.text));
            QCOMPARE(FileContents(path), foreign);
        }
        for (const int boxes : {2, 1}) {
            MessageBoxAnswerer yes(QMessageBox::Yes);
            c.cmdSalvar->click();
            QTest::qWait(30);
            QCOMPARE(yes.count(), boxes);
            QCOMPARE(yes.last().icon, QMessageBox::Information);
            QVERIFY(FileContents(path).startsWith("Cidade: CMakeCache\r\n"));
        }
        QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("CMakeCache.txt")});
        QCOMPARE(c.txtCidade->toPlainText(), report);
    }

    // A real failing write (the file size limit, as a full disk gives): the message says why,
    // the old file stays as it was and the report stays in the box.
    void reportsAFailedWriteWithTheSystemsReason()
    {
        const QString path = m_folder->filePath(QStringLiteral("Tau.txt"));
        const QByteArray old = "Cidade: Tau\r\nantiga\r\n";
        QVERIFY(writeFile(path, old));

        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QStringLiteral("Tau"), QStringLiteral("99999"));
        c.txtCidade->appendPlainText(QString(20000, u'x')); // the user's notes
        const QString report = c.txtCidade->toPlainText();
        MessageBoxAnswerer answerer;
        {
            FileSizeLimit limit(16384);
            QVERIFY(limit.ok());
            c.cmdSalvar->click();
        }
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        QCOMPARE(answerer.last().textFormat, Qt::PlainText);
        QCOMPARE(answerer.last().text,
                 QString::fromUtf8("Não foi possível salvar a cidade no arquivo: \r\n") + path
                     + QStringLiteral("\r\n") + QString::fromLocal8Bit(std::strerror(EFBIG)));
        QCOMPARE(FileContents(path), old);
        QCOMPARE(folderEntries(m_folder->path()), QStringList{QStringLiteral("Tau.txt")});
        QCOMPARE(c.txtCidade->toPlainText(), report);
    }

    void refusesCharactersTheFileCannotHold_data()
    {
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("named");
        QTest::addRow("arrow") << QString::fromUtf8("→") << QString::fromUtf8("\"→\" (U+2192)");
        QTest::addRow("emoji") << QString::fromUtf8("😀") << QString::fromUtf8("\"😀\" (U+1F600)");
        QTest::addRow("latin A macron") << QString::fromUtf8("Ā") << QString::fromUtf8("\"Ā\" (U+0100)");
        QTest::addRow("C1 control") << QString(QChar(0x81)) << QStringLiteral("U+0081");
    }

    void refusesCharactersTheFileCannotHold()
    {
        QFETCH(QString, inserted);
        QFETCH(QString, named);
        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QStringLiteral("Tau"));
        c.txtCidade->appendPlainText(QStringLiteral("Nota: 1 ") + inserted + QString::fromUtf8(" 2 €"));
        MessageBoxAnswerer answerer;
        c.cmdSalvar->click();
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
        QCOMPARE(answerer.last().icon, QMessageBox::Critical);
        QVERIFY2(answerer.last().text.startsWith(QStringLiteral("O caractere ") + named + QStringLiteral(" ")),
                 qPrintable(answerer.last().text));
        QVERIFY(folderEntries(m_folder->path()).isEmpty());
    }

    void readsPastedBlockCounts_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("population"); // empty: refused
        QTest::addRow("1e7") << "1e7" << QString();
        QTest::addRow("9e+99") << "9e+99" << QString();
        QTest::addRow("-9e99") << "-9e99" << QString();
        QTest::addRow("9e999") << "9e999" << QString();
        QTest::addRow("percent sign") << "9e9%1" << QString(); // shown as pasted
        QTest::addRow("-1") << "-1" << QString::fromUtf8("População: -250 habitantes");
        QTest::addRow("2.5") << "2.5" << QString::fromUtf8("População:  500 habitantes");
        QTest::addRow("3.5") << "3.5" << QString::fromUtf8("População:  1000 habitantes");
        QTest::addRow("1e6") << "1e6" << QString::fromUtf8("População:  250000000 habitantes");
        QTest::addRow("+7x") << "+7x" << QString::fromUtf8("População:  1750 habitantes");
        QTest::addRow("text") << "abc" << QString::fromUtf8("População:  0 habitantes");
    }

    void readsPastedBlockCounts()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, population);
        frmGeradorCidadeADD window;
        Controls c(window);
        c.makeCity(QStringLiteral("Tau"), QStringLiteral("2"));
        const QString before = c.txtCidade->toPlainText();
        c.pasteBlocks(pasted);
        QCOMPARE(c.txtBlocos->text(), pasted);

        MessageBoxAnswerer answerer;
        c.txtMascara->setText(QStringLiteral("Outra"));
        c.cmdGerarNome->click();
        c.cmdGeraCidade->click();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        if (population.isEmpty()) {
            QCOMPARE(answerer.count(), 1);
            QCOMPARE(answerer.last().title, QStringLiteral("Quessar"));
            QCOMPARE(answerer.last().icon, QMessageBox::Critical);
            QVERIFY2(answerer.last().text.contains(QStringLiteral("\"") + pasted + QStringLiteral("\"")),
                     qPrintable(answerer.last().text));
            QCOMPARE(c.txtCidade->toPlainText(), before);
            QCOMPARE(frmGeradorCidadeADD::LastCityName(), QStringLiteral("Tau"));
        } else {
            QCOMPARE(answerer.count(), 0);
            QCOMPARE(c.txtCidade->toPlainText().split(u'\n').value(1), population);
            QCOMPARE(frmGeradorCidadeADD::LastCityName(), QStringLiteral("Outra"));
        }
        QCOMPARE(c.txtBlocos->text(), pasted);
    }

    void busyCursorComesBackOnEveryPath()
    {
        try {
            BusyCursor busy;
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            throw std::runtime_error("stop");
        } catch (const std::runtime_error &) {
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(frmGeradorCidadeADDTest)
#include "frmGeradorCidadeADDTest.moc"
