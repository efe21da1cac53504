#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPalette;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// What every window of the program is built from: its units, fonts, window flags, message
// boxes and the dressing of the tool windows.
class WindowKit
{
public:
    // Window layouts are designed in twips; 15 twips make one pixel.
    static constexpr QRect FromTwips(int left, int top, int width, int height)
    {
        return {left / 15, top / 15, width / 15, height / 15};
    }

    // "Arial" and "Courier New" resolve to the metric-compatible Liberation fonts. 8.25 pt is
    // the size the layouts were drawn for.
    static QFont Arial(qreal points = 8.25, bool bold = false);
    static QFont ArialBold(qreal points = 8.25) { return Arial(points, true); }
    static QFont CourierNew(qreal points = 8.25, bool bold = false);

    // The light palette the windows were laid out for: grey window and buttons, white boxes,
    // black text. The program uses it whatever the desktop's colour scheme, so that a dark
    // scheme cannot put light text on the light greys the windows set themselves or dark
    // text on dark greys.
    static QPalette LightPalette();
    // Gives a window the light palette; call it before its controls get colours of their own.
    static void UseLightPalette(QWidget *window);

    // A tool window: a fixed-size dialog whose title bar offers only the close box.
    static Qt::WindowFlags ToolWindowFlags();

    // Every message box of the program carries this title.
    static QString MessageTitle() { return QStringLiteral("Quessar"); }

    // The program's message boxes. Their text is always shown as it is, never read as rich
    // text: it can hold names, paths and characters the user typed, or the system's words.
    //
    // Reports a user error: a critical message box with an OK button.
    static void ShowError(QWidget *parent, const QString &text);
    // Reports what was done: an information box with an OK button.
    static void ShowInformation(QWidget *parent, const QString &text);
    // Asks a yes-or-no question ("Sim"/"Não"); true when the answer is yes. `yesIsDefault`
    // says which button Enter presses.
    static bool Ask(QWidget *parent, const QString &text, bool yesIsDefault);

    // The left edge of a tool window: the black strip pctAreaAni (`stripHeight` tall) with the
    // square OK button cmdOK at `okTop` inside it, and the gradient pctDegrade beside it.
    struct ToolDressing
    {
        QWidget *pctAreaAni;
        QLabel *pctDegrade;
        QPushButton *cmdOK;
    };
    static ToolDressing AddToolDressing(QWidget *window, int stripHeight, int okTop);

    // A push button that never takes Enter for itself (not auto-default): Enter in a window
    // goes to its default button, if it has one, and nowhere else.
    static QPushButton *AddButton(QWidget *parent, const QString &name, const QString &caption,
                                  const QRect &place);

    // A label in Arial bold 8.25 pt on the window's background, at its design place, widened
    // when the text needs more room than the design gave it so that nothing is clipped.
    static QLabel *AddLabel(QWidget *parent, const QString &name, const QString &text,
                            const QRect &place, const QColor &colour);

    // A one-line text box; `maxLength` 0 leaves the toolkit's limit. A character that does not
    // fit whole under the limit is dropped whole, never split.
    static QLineEdit *AddLineEdit(QWidget *parent, const QString &name, const QRect &place,
                                  const QFont &font, int maxLength = 0);

    // A multi-line text box that wraps at its width, with a vertical scroll bar always shown.
    // A read-only box can still take the focus, scroll and have its text selected and copied.
    // Tab moves on to the next control instead of typing a tab.
    static QPlainTextEdit *AddTextBox(QWidget *parent, const QString &name, const QRect &place,
                                      const QFont &font, bool readOnly);

    // Gives a box a background of its own colour (read-only boxes are light grey).
    static void SetBaseColour(QWidget *box, const QColor &colour);
    // Gives a label or a text box its text colour.
    static void SetTextColour(QWidget *widget, const QColor &colour);
};
