#pragma once

#include <QLineEdit>

// A one-line box for whole numbers typed at the keyboard: digits and Backspace are the only
// characters it accepts; every other printable character, Enter and shortcuts such as Ctrl+V
// are dropped, while the navigation and editing keys (arrows, Home, End, Delete, Tab,
// Shift+arrows, Ctrl+A, Ctrl+C) keep working. Text composed by dead keys or an input method
// is filtered to its digits the same way. It selects its whole text whenever it gains the
// focus. Text pasted through the context menu still arrives as it is (cut to maxLength, never
// inside a character), so whoever reads the number must cope with any text.
class DigitLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DigitLineEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};
