#include "common/DigitLineEdit.h"

#include "common/WholeCharacters.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString digitsOf(const QString &text)
{
    QString digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits), isDigit);
    return digits;
}

} // namespace

DigitLineEdit::DigitLineEdit(QWidget *parent) : QLineEdit(parent)
{
    KeepCharactersWhole(this);
}

void DigitLineEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (event == QKeySequence::SelectAll || event == QKeySequence::Copy) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    const bool digit = text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
    if (digit
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Everything else, Enter, Escape and paste included, is swallowed here; Enter and Escape
    // are not passed on either, so a dialog's default and cancel buttons stay untouched.
    if (event->key() == Qt::Key_Escape) {
        event->ignore(); // Escape still closes the window
        return;
    }
    event->accept();
}

void DigitLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Deferred: a mouse click that gave the focus would otherwise place the cursor and undo
    // the selection.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void DigitLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // A dead key (´ ~ ^ ` ¨ on a Brazilian keyboard) or an input method delivers its text here
    // instead of as a key press: "5", then "´" + "a" composed into "á".
    const QString commit = digitsOf(event->commitString());
    const QString &preedit = event->preeditString();
    const bool preeditIsDigits = std::all_of(preedit.begin(), preedit.end(), isDigit);
    if (commit == event->commitString() && preeditIsDigits) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The text being composed (the accent waiting for its letter) is not shown either: it
    // can only end as a character the box does not take.
    QList<QInputMethodEvent::Attribute> attributes;
    if (preeditIsDigits)
        attributes = event->attributes();
    QInputMethodEvent filtered(preeditIsDigits ? preedit : QString(), attributes);
    filtered.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}
