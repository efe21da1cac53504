#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QWidget>

class QLabel;
class QScrollBar;

// The scrolling list of clickable text entries of the main window and the Links window: the
// panel area itself (object name pctAreaTrabalho), its entries lblMenu_0, lblMenu_1, … stacked
// in 15-pixel rows, and the scroll bar beside it (vsbAreaTrab), which the owning window creates
// and hands over.
//
// Entries are either items, which react to the mouse and the keyboard, or headings, which are
// inert text. The item under the pointer carries a one-pixel frame (at most one item at a time);
// an item turns red while a mouse button is held on it. Moving the pointer over a heading, over
// the panel's own background or over the window's gradient strip clears the frame.
//
// Keyboard: the panel takes the focus with Tab; Up, Down, Home and End move the frame over the
// items (scrolling the list to keep it in view) and Enter or Space activates the item the
// keyboard framed, exactly as a click would.
class MenuPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int EntryHeight = 15;
    static constexpr int ScrollStep = 10;

    enum class Items {
        Tagged, // only entries tagged "ITEM" are items; the others are headings
        All     // every entry is an item
    };

    struct Options
    {
        Items items = Items::All;
        QColor itemColour;    // an item's text colour at rest
        QColor headingColour; // a heading's text colour
        QFont font;
        bool recordsLastScrollValue = false; // the layout records the scroll bar's value
    };

    static QColor pressedColour() { return QColor(255, 0, 0); }
    static QString itemTag() { return QStringLiteral("ITEM"); }

    // `scrollBar` is the panel's vertical scroll bar, placed by the window beside the panel; it
    // starts disabled and the layout enables it when the entries overflow the panel.
    MenuPanel(const Options &options, QScrollBar *scrollBar, QWidget *parent);
    ~MenuPanel() override;

    // Adds the next entry. `caption` is stored as given: "&&" in it shows as one "&".
    QLabel *addEntry(const QString &caption, const QString &tag);

    // Mouse movement over `area` (the window's gradient strip) clears the frame.
    void watchClearingArea(QWidget *area);

    // Stacks the entries from the top in 15-pixel rows across the whole width and sets up the
    // scroll bar when they are taller than the panel. Called once, after the last entry.
    void layoutEntries();

    int count() const { return static_cast<int>(m_entries.size()); }
    QLabel *entry(int index) const { return m_entries.at(index); }
    QString caption(int index) const;
    QString tag(int index) const;
    bool isItem(int index) const;

    // The framed item, or -1.
    int framedIndex() const { return m_framed; }
    // The scroll bar value the entries were last placed for.
    qint16 lastScrollValue() const { return m_lastScrollValue; }
    QScrollBar *scrollBar() const { return m_scrollBar; }

    // What a stored caption shows: "&&" becomes "&"; a single "&" before a character only marks
    // a mnemonic and is not shown.
    static QString shownCaption(const QString &caption);
    // How far the entries stand above their rows for a scroll bar value: whole 10-pixel steps,
    // rounded up, so the list always follows the bar and the last entry can always be reached.
    static int scrollOffset(int value);

Q_SIGNALS:
    // A click with the primary button (press and release on the same entry), or Enter/Space on
    // the item the keyboard framed. Headings send it too; the owning window decides.
    void entryClicked(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool entryEvent(int index, QEvent *event);
    void hover(int index);
    void setFrame(int index);
    void clearFrame();
    void setTextColour(int index, const QColor &colour);
    void scrollBarChanged(int value);
    void placeEntries();
    int nextItem(int from, int direction) const;
    void frameFromKeyboard(int index);
    void scrollIntoView(int index);

    Options m_options;
    QScrollBar *m_scrollBar;
    QList<QLabel *> m_entries;
    QWidget *m_clearingArea = nullptr;
    int m_framed = -1;
    bool m_framedByKeyboard = false;
    int m_leftPressedOn = -1; // the entry that took a press of the primary button
    int m_offset = 0;         // how far the entries stand above their rows
    qint16 m_lastScrollValue = 0;
};
