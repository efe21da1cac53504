#include "mesa/ExpressionEdit.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCharFormat>

ExpressionEdit::ExpressionEdit(QWidget *parent) : QLineEdit(parent)
{
    // Typing something new leaves the walk through the history.
    connect(this, &QLineEdit::textEdited, this, [this] { m_walk = -1; });
}

void ExpressionEdit::setErrorPosition(int position)
{
    m_errorPosition = position;
    applyMark();
}

void ExpressionEdit::applyMark()
{
    // A line edit draws formats handed to it as input-method attributes over its text; an
    // event with no preedit text changes nothing else (text, cursor and undo stay).
    QList<QInputMethodEvent::Attribute> attributes;
    if (m_errorPosition > 0) {
        const int length = int(text().size());
        // One past the end marks the last character: the text stopped there too soon.
        const int start = qBound(0, m_errorPosition - 1, qMax(0, length - 1));
        QTextCharFormat format;
        const QColor red(220, 40, 40);
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        format.setUnderlineColor(red);
        QColor tint = red;
        tint.setAlpha(70);
        format.setBackground(tint);
        if (length > 0)
            attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                       start - cursorPosition(), 1, format);
    }
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(this, &event);
}

void ExpressionEdit::setHistory(const QStringList &history)
{
    m_history = history;
    m_walk = -1;
}

void ExpressionEdit::walk(int step)
{
    if (m_history.isEmpty())
        return;
    if (m_walk < 0) {
        if (step > 0)
            return; // already at the newest: nothing below
        m_draft = text();
        m_walk = m_history.size();
    }
    const qsizetype next = m_walk + step;
    if (next < 0)
        return;
    if (next >= m_history.size()) {
        m_walk = -1;
        setText(m_draft);
    } else {
        m_walk = next;
        setText(m_history[next]);
    }
}

void ExpressionEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Up) {
            walk(-1);
            return;
        }
        if (event->key() == Qt::Key_Down) {
            walk(+1);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
