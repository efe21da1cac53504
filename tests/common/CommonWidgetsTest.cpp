#include "common/DigitLineEdit.h"
#include "common/SortedInsert.h"
#include "common/WindowKit.h"
#include "common/WindowDressing.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// Types any text, one key event per character (QTest::keyClicks takes ASCII only).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class CommonWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void digitBoxKeepsOnlyDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addRow("digits") << "0123" << "0123";
        QTest::addRow("signs and points") << "-1.5e+3" << "153";
        QTest::addRow("letters and blanks") << "a 7 b" << "7";
        QTest::addRow("accents") << "é9ç" << "9";
        QTest::addRow("non-ASCII digits") << QString::fromUtf16(u"\u0661\u0662") << "";
    }
    void digitBoxKeepsOnlyDigits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        DigitLineEdit box;
        typeText(&box, typed);
        QCOMPARE(box.text(), kept);
    }

    // Dead keys and input methods deliver composed text as an input-method event, not as key
    // presses; it is filtered to digits too, wherever it lands.
    void digitBoxKeepsOnlyDigitsOfComposedText_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("commit");
        QTest::addColumn<QString>("kept");
        QTest::addRow("accented letters") << "" << QString::fromUtf8("5áõ") << "5";
        QTest::addRow("accent alone") << "7" << QString::fromUtf8("´") << "7";
        QTest::addRow("digits") << "1" << "23" << "123";
        QTest::addRow("mixed") << "" << QString::fromUtf8("1ç2ü3") << "123";
        QTest::addRow("full-width digit") << "" << QString::fromUtf16(u"\uFF15") << "";
    }
    void digitBoxKeepsOnlyDigitsOfComposedText()
    {
        QFETCH(QString, before);
        QFETCH(QString, commit);
        QFETCH(QString, kept);
        DigitLineEdit box;
        box.setText(before);
        QInputMethodEvent composing;
        composing.setCommitString(commit);
        QApplication::sendEvent(&box, &composing);
        QCOMPARE(box.text(), kept);
        QCOMPARE(box.displayText(), kept); // nothing else shows, composed text included
        // The composition ends with an empty commit.
        QInputMethodEvent done;
        QApplication::sendEvent(&box, &done);
        QCOMPARE(box.text(), kept);
    }

    // A limited box drops a character that does not fit whole instead of keeping half of it,
    // however the character arrives.
    void limitedBoxesNeverSplitACharacter_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursorAfter");
        const QString smile = QString::fromUtf8("😀");
        QTest::addRow("typed at the limit") << "type" << "abcd" << 4 << smile << "abcd" << 4;
        QTest::addRow("typed, fits exactly") << "type" << "abc" << 3 << smile << "abc" + smile << 5;
        QTest::addRow("typed in the middle") << "type" << "abcd" << 2 << smile << "abcd" << 2;
        QTest::addRow("pasted two, one fits") << "paste" << "ab" << 2 << smile + smile << "ab" + smile << 4;
        QTest::addRow("pasted in the middle") << "paste" << "abc" << 1 << "x" + smile << "axbc" << 2;
        QTest::addRow("pasted, fits") << "paste" << "a" << 1 << "b" + smile << "ab" + smile << 4;
        QTest::addRow("composed") << "compose" << "abcd" << 4 << smile << "abcd" << 4;
        QTest::addRow("set") << "set" << "" << 0 << "abcd" + smile << "abcd" << 4;
        QTest::addRow("set, fits") << "set" << "" << 0 << "abc" + smile << "abc" + smile << 5;
    }
    void limitedBoxesNeverSplitACharacter()
    {
        QFETCH(QString, how);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, added);
        QFETCH(QString, after);
        QFETCH(int, cursorAfter);
        QWidget window;
        QLineEdit *box = WindowKit::AddLineEdit(&window, QStringLiteral("box"), {0, 0, 100, 20},
                                                WindowKit::Arial(), 5);
        box->setText(before);
        box->setCursorPosition(cursor);
        if (how == u"type") {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, added);
            QApplication::sendEvent(box, &press);
        } else if (how == u"paste") {
            QApplication::clipboard()->setText(added);
            box->paste();
        } else if (how == u"compose") {
            QInputMethodEvent composed;
            composed.setCommitString(added);
            QApplication::sendEvent(box, &composed);
        } else {
            box->setText(added);
        }
        QCOMPARE(box->text(), after);
        QCOMPARE(box->cursorPosition(), cursorAfter);
    }

    void digitBoxNeverSplitsAPastedCharacter()
    {
        DigitLineEdit box;
        box.setMaxLength(3);
        QApplication::clipboard()->setText(QString::fromUtf8("12😀"));
        box.paste();
        QCOMPARE(box.text(), QStringLiteral("12"));
    }

    void digitBoxEditingKeysStillWork()
    {
        DigitLineEdit box;
        box.setMaxLength(3);
        QTest::keyClicks(&box, "12345");
        QCOMPARE(box.text(), QStringLiteral("123"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("12"));
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.text(), QStringLiteral("2"));
        QTest::keyClick(&box, Qt::Key_End);
        QTest::keyClick(&box, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(box.selectedText(), QStringLiteral("2"));
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box.selectedText(), QStringLiteral("2"));
    }

    void digitBoxDropsPasteAndEnter()
    {
        QDialog dialog;
        auto *box = new DigitLineEdit(&dialog);
        auto *button = new QPushButton(QStringLiteral("OK"), &dialog);
        button->setDefault(true);
        QSignalSpy clicked(button, &QPushButton::clicked);
        dialog.show();
        QApplication::clipboard()->setText(QStringLiteral("987"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(box->text(), QString());
        QCOMPARE(clicked.count(), 0);
        QVERIFY(dialog.isVisible());
    }

    void digitBoxSelectsAllOnFocus()
    {
        QWidget window;
        auto *other = new QLineEdit(&window);
        auto *box = new DigitLineEdit(&window);
        box->setText(QStringLiteral("250"));
        window.show();
        window.activateWindow();
        other->setFocus();
        box->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(box->selectedText(), QStringLiteral("250"));
    }

    void sortedInsertOrdersByCodeUnits()
    {
        QComboBox combo;
        QListWidget list;
        const QStringList added = {"&@@!", "$!!@", "$!@!@", "a", "A", "$!!@ ", "{", "$}@", "$!!@"};
        QStringList expected = added;
        std::sort(expected.begin(), expected.end(),
                  [](const QString &a, const QString &b) { return QString::compare(a, b) < 0; });
        for (const QString &text : added) {
            InsertSorted(&combo, text);
            InsertSorted(&list, text);
        }
        QStringList fromCombo;
        QStringList fromList;
        for (int i = 0; i < combo.count(); ++i) {
            fromCombo << combo.itemText(i);
            fromList << list.item(i)->text();
        }
        QCOMPARE(fromCombo, expected);
        QCOMPARE(fromList, expected);
        QCOMPARE(fromCombo.first(), QStringLiteral("$!!@"));
        QCOMPARE(fromCombo.last(), QStringLiteral("{"));
    }

    void gradientHasItsSixteenGreys()
    {
        const QImage image = WindowDressing::gradientPicture().toImage();
        QCOMPARE(image.size(), QSize(16, 400));
        const int greys[] = {7, 17, 28, 41, 54, 67, 81, 94, 106, 119, 132, 146, 159, 172, 183, 192};
        for (int y : {0, 199, 399}) {
            for (int x = 0; x < 16; ++x)
                QCOMPARE(image.pixel(x, y), qRgb(greys[x], greys[x], greys[x]));
        }
    }
};

QTEST_MAIN(CommonWidgetsTest)
#include "CommonWidgetsTest.moc"
