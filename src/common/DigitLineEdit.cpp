#include "common/DigitLineEdit.h"

#include <QKeyEvent>
#include <QTimer>

DigitLineEdit::DigitLineEdit(QWidget *parent) : QLineEdit(parent) {}

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
