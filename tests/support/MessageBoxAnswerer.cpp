#include "MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer, QObject *parent)
    : QObject(parent), m_answer(answer)
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::poll);
    m_timer.start();
}

void MessageBoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_last.title = box->windowTitle();
    m_last.text = box->text();
    m_last.textFormat = box->textFormat();
    m_last.icon = box->icon();
    m_last.buttons = box->standardButtons();
    m_last.defaultButton =
        box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    m_last.buttonTexts.clear();
    for (QAbstractButton *button : box->buttons())
        m_last.buttonTexts << button->text().remove(u'&');
    ++m_count;
    if (QAbstractButton *button = box->button(m_answer))
        button->click();
    else
        box->reject();
}
