#include "shell/MenuPanel.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

const char *const CaptionProperty = "caption";
const char *const TagProperty = "tag";

// The frame takes the place of a one-pixel margin, so the text does not shift when it comes
// and goes.
void ShowFrame(QLabel *label, bool shown)
{
    if (shown) {
        label->setContentsMargins(0, 0, 0, 0);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
    } else {
        label->setFrameStyle(QFrame::NoFrame);
        label->setContentsMargins(1, 1, 1, 1);
    }
}

} // namespace

MenuPanel::MenuPanel(const Options &options, QScrollBar *scrollBar, QWidget *parent)
    : QWidget(parent), m_options(options), m_scrollBar(scrollBar)
{
    setObjectName(QStringLiteral("pctAreaTrabalho"));
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);

    m_scrollBar->setObjectName(QStringLiteral("vsbAreaTrab"));
    m_scrollBar->setOrientation(Qt::Vertical);
    // Nothing to scroll until the layout finds the entries taller than the panel.
    m_scrollBar->setRange(0, 0);
    m_scrollBar->setEnabled(false);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &MenuPanel::scrollBarChanged);
}

MenuPanel::~MenuPanel() = default;

QLabel *MenuPanel::addEntry(const QString &caption, const QString &tag)
{
    const int index = count();
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("lblMenu_%1").arg(index));
    label->setTextFormat(Qt::PlainText);
    label->setText(shownCaption(caption));
    label->setProperty(CaptionProperty, caption);
    label->setProperty(TagProperty, tag);
    label->setFont(m_options.font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(0); // a framed label would otherwise indent its text
    label->setAutoFillBackground(false);
    label->setMouseTracking(true);
    label->setAccessibleName(label->text());
    ShowFrame(label, false);
    label->installEventFilter(this);
    m_entries.append(label);
    setTextColour(index, isItem(index) ? m_options.itemColour : m_options.headingColour);
    return label;
}

void MenuPanel::watchClearingArea(QWidget *area)
{
    if (m_clearingArea)
        m_clearingArea->removeEventFilter(this);
    m_clearingArea = area;
    area->setMouseTracking(true);
    area->installEventFilter(this);
}

void MenuPanel::layoutEntries()
{
    const QRect inner = contentsRect();
    for (int i = 0; i < count(); ++i)
        m_entries[i]->setGeometry(inner.left(), inner.top() + i * EntryHeight - m_offset,
                                  inner.width(), EntryHeight);

    const int total = count() * EntryHeight;
    if (total > inner.height()) {
        m_scrollBar->setRange(0, total - inner.height());
        m_scrollBar->setSingleStep(ScrollStep);
        m_scrollBar->setPageStep(ScrollStep);
        m_scrollBar->setEnabled(true);
    }
    if (m_options.recordsLastScrollValue)
        m_lastScrollValue = static_cast<qint16>(m_scrollBar->value());
}

QString MenuPanel::caption(int index) const
{
    return m_entries.at(index)->property(CaptionProperty).toString();
}

QString MenuPanel::tag(int index) const
{
    return m_entries.at(index)->property(TagProperty).toString();
}

bool MenuPanel::isItem(int index) const
{
    return m_options.items == Items::All || tag(index) == itemTag();
}

QString MenuPanel::shownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&&" gives "&"; "&x" gives "x"
        shown.append(caption[i]);
    }
    return shown;
}

int MenuPanel::scrollOffset(int value)
{
    return ScrollStep * static_cast<int>(std::ceil(value / double(ScrollStep)));
}

bool MenuPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_clearingArea) {
        if (event->type() == QEvent::MouseMove)
            clearFrame();
        return false;
    }
    if (auto *label = qobject_cast<QLabel *>(watched)) {
        const int index = static_cast<int>(m_entries.indexOf(label));
        if (index >= 0)
            return entryEvent(index, event);
    }
    return QWidget::eventFilter(watched, event);
}

bool MenuPanel::entryEvent(int index, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        hover(index);
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Any button turns an item red. Only a fresh press of the primary button can become a
        // click: the second press of a double click does not open the entry a second time.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (isItem(index))
            setTextColour(index, pressedColour());
        if (mouse->button() == Qt::LeftButton)
            m_leftPressedOn = event->type() == QEvent::MouseButtonPress ? index : -1;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The release comes to the entry that took the press, wherever the pointer is now.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (isItem(index))
            setTextColour(index, m_options.itemColour);
        if (mouse->button() == Qt::LeftButton) {
            const bool click = m_leftPressedOn == index
                               && m_entries[index]->rect().contains(mouse->position().toPoint());
            m_leftPressedOn = -1;
            if (click)
                Q_EMIT entryClicked(index);
        }
        return true;
    }
    case QEvent::Wheel:
        // A wheel turned over an entry scrolls the list.
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    default:
        return false;
    }
}

void MenuPanel::mouseMoveEvent(QMouseEvent *event)
{
    // Over the panel's own background, below the last entry.
    clearFrame();
    event->accept();
}

void MenuPanel::hover(int index)
{
    if (!isItem(index)) {
        clearFrame();
        return;
    }
    if (m_framed == index)
        return;
    setFrame(index);
    m_framedByKeyboard = false;
}

void MenuPanel::setFrame(int index)
{
    clearFrame();
    ShowFrame(m_entries[index], true);
    m_framed = index;
}

void MenuPanel::clearFrame()
{
    if (m_framed >= 0)
        ShowFrame(m_entries[m_framed], false);
    m_framed = -1;
    m_framedByKeyboard = false;
}

void MenuPanel::setTextColour(int index, const QColor &colour)
{
    QLabel *label = m_entries[index];
    if (label->palette().color(QPalette::WindowText) == colour)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

void MenuPanel::scrollBarChanged(int value)
{
    m_offset = scrollOffset(value);
    placeEntries();
    m_lastScrollValue = static_cast<qint16>(value);
}

void MenuPanel::placeEntries()
{
    const QRect inner = contentsRect();
    for (int i = 0; i < count(); ++i)
        m_entries[i]->move(inner.left(), inner.top() + i * EntryHeight - m_offset);
}

int MenuPanel::nextItem(int from, int direction) const
{
    for (int i = from + direction; i >= 0 && i < count(); i += direction) {
        if (isItem(i))
            return i;
    }
    return -1;
}

void MenuPanel::frameFromKeyboard(int index)
{
    if (m_framed != index)
        setFrame(index);
    m_framedByKeyboard = true;
    scrollIntoView(index);
    if (QAccessible::isActive()) {
        QAccessibleEvent focus(m_entries[index], QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void MenuPanel::scrollIntoView(int index)
{
    if (!m_scrollBar->isEnabled())
        return;
    const int top = index * EntryHeight;
    const int bottom = top + EntryHeight;
    const int height = contentsRect().height();
    int offset = m_offset;
    if (top < offset)
        offset = top / ScrollStep * ScrollStep;
    else if (bottom > offset + height)
        offset = scrollOffset(bottom - height);
    else
        return;
    // Offsets are whole steps; the last one belongs to the scroll bar's maximum.
    offset = std::clamp(offset, 0, scrollOffset(m_scrollBar->maximum()));
    m_scrollBar->setValue(std::min(offset, m_scrollBar->maximum()));
}

void MenuPanel::keyPressEvent(QKeyEvent *event)
{
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Down:
        target = m_framed < 0 ? nextItem(-1, 1) : nextItem(m_framed, 1);
        break;
    case Qt::Key_Up:
        target = m_framed < 0 ? nextItem(count(), -1) : nextItem(m_framed, -1);
        break;
    case Qt::Key_Home:
        target = nextItem(-1, 1);
        break;
    case Qt::Key_End:
        target = nextItem(count(), -1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // Only an item the keyboard framed: with nothing chosen that way, Enter goes on to
        // the window (a dialog's default button).
        if (m_framed >= 0 && m_framedByKeyboard
            && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            Q_EMIT entryClicked(m_framed);
            return;
        }
        event->ignore();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (target >= 0)
        frameFromKeyboard(target);
}

void MenuPanel::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    const bool tab = event->reason() == Qt::TabFocusReason;
    if (!tab && event->reason() != Qt::BacktabFocusReason)
        return;
    // Coming in with Tab shows where the keyboard is.
    if (m_framed >= 0) {
        m_framedByKeyboard = true;
        return;
    }
    const int first = tab ? nextItem(-1, 1) : nextItem(count(), -1);
    if (first >= 0)
        frameFromKeyboard(first);
}

void MenuPanel::wheelEvent(QWheelEvent *event)
{
    if (m_scrollBar->isEnabled())
        QCoreApplication::sendEvent(m_scrollBar, event);
    else
        event->ignore();
}
