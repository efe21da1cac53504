#include "common/WholeCharacters.h"

#include <QLineEdit>

void KeepCharactersWhole(QLineEdit *box)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString &text) {
        // The box cuts what arrives to the room left, and the cursor then stands right after
        // the part that went in (at the end, for text set as a whole): a cut through a
        // character leaves its first half just before the cursor, with the box full.
        if (text.size() != box->maxLength())
            return;
        const int cursor = box->cursorPosition();
        if (cursor <= 0 || !text[cursor - 1].isHighSurrogate())
            return;
        if (cursor < text.size() && text[cursor].isLowSurrogate())
            return; // a whole character
        // setText() emits textChanged again, now with whole characters only, so whoever
        // watches the box sees the text it really holds.
        box->setText(QString(text).remove(cursor - 1, 1));
        box->setCursorPosition(cursor - 1);
    });
}
