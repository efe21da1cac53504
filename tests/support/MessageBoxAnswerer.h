#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Answers the next message box a slot opens. Arm it before the click that opens the box: a
// repeating timer finds QApplication::activeModalWidget(), records what the box shows and
// presses `answer`. Nothing keeps a pointer to the box after it has closed.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Seen
    {
        QString title;
        QString text;
        Qt::TextFormat textFormat = Qt::AutoText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList buttonTexts; // as shown, mnemonic markers removed
    };

    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok,
                                QObject *parent = nullptr);

    // How many boxes were answered, and what the last one showed.
    int count() const { return m_count; }
    const Seen &last() const { return m_last; }

    // Stop answering boxes.
    void disarm() { m_timer.stop(); }

private:
    void poll();

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    int m_count = 0;
    Seen m_last;
};
