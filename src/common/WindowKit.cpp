#include "common/WindowKit.h"

#include "common/WholeCharacters.h"
#include "common/WindowDressing.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

QFont WindowKit::Arial(qreal points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont WindowKit::CourierNew(qreal points, bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QPalette WindowKit::LightPalette()
{
    struct RoleColours
    {
        QPalette::ColorRole role;
        QRgb enabled; // the active and inactive groups
        QRgb disabled;
    };
    static constexpr RoleColours Colours[] = {
        {QPalette::WindowText, 0xff000000, 0xffbebebe},
        {QPalette::Button, 0xffefefef, 0xffefefef},
        {QPalette::Light, 0xffffffff, 0xffffffff},
        {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
        {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
        {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
        {QPalette::Text, 0xff000000, 0xffbebebe},
        {QPalette::BrightText, 0xffffffff, 0xffffffff},
        {QPalette::ButtonText, 0xff000000, 0xffbebebe},
        {QPalette::Base, 0xffffffff, 0xffefefef},
        {QPalette::Window, 0xffefefef, 0xffefefef},
        {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
        {QPalette::Highlight, 0xff308cc6, 0xff919191},
        {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
        {QPalette::Link, 0xff0000ff, 0xff0000ff},
        {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
        {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
        {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
        {QPalette::ToolTipText, 0xff000000, 0xff000000},
        {QPalette::PlaceholderText, 0x80000000, 0x80000000},
    };
    QPalette palette;
    for (const RoleColours &c : Colours) {
        const QColor enabled = QColor::fromRgba(c.enabled);
        palette.setColor(QPalette::Active, c.role, enabled);
        palette.setColor(QPalette::Inactive, c.role, enabled);
        palette.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
    }
    return palette;
}

void WindowKit::UseLightPalette(QWidget *window)
{
    window->setPalette(LightPalette());
}

Qt::WindowFlags WindowKit::ToolWindowFlags()
{
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
           | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

namespace {

QMessageBox::StandardButton showMessage(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, WindowKit::MessageTitle(), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void WindowKit::ShowError(QWidget *parent, const QString &text)
{
    showMessage(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void WindowKit::ShowInformation(QWidget *parent, const QString &text)
{
    showMessage(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool WindowKit::Ask(QWidget *parent, const QString &text, bool yesIsDefault)
{
    return showMessage(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                       yesIsDefault ? QMessageBox::Yes : QMessageBox::No)
           == QMessageBox::Yes;
}

WindowKit::ToolDressing WindowKit::AddToolDressing(QWidget *window, int stripHeight, int okTop)
{
    ToolDressing dressing{};
    dressing.pctAreaAni = new QWidget(window);
    dressing.pctAreaAni->setObjectName(QStringLiteral("pctAreaAni"));
    dressing.pctAreaAni->setGeometry(0, 0, WindowDressing::StripWidth, stripHeight);
    dressing.pctAreaAni->setAccessibleName(QStringLiteral("Faixa preta"));

    dressing.cmdOK = new QPushButton(QStringLiteral("&OK"), dressing.pctAreaAni);
    dressing.cmdOK->setObjectName(QStringLiteral("cmdOK"));
    dressing.cmdOK->setGeometry(6, okTop, 30, 30);
    dressing.cmdOK->setFont(ArialBold());
    dressing.cmdOK->setAccessibleName(QStringLiteral("OK"));
    dressing.cmdOK->setAccessibleDescription(QStringLiteral("Fecha a janela"));

    dressing.pctDegrade = new QLabel(window);
    dressing.pctDegrade->setObjectName(QStringLiteral("pctDegrade"));
    dressing.pctDegrade->setGeometry(WindowDressing::GradientLeft, 0, WindowDressing::GradientWidth,
                                     WindowDressing::GradientHeight);
    dressing.pctDegrade->setAccessibleName(QStringLiteral("Faixa em degradê"));
    dressing.pctDegrade->raise(); // its first column covers the strip's last one

    WindowDressing::dress(dressing.pctAreaAni, dressing.pctDegrade);
    return dressing;
}

QPushButton *WindowKit::AddButton(QWidget *parent, const QString &name, const QString &caption,
                                  const QRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLabel *WindowKit::AddLabel(QWidget *parent, const QString &name, const QString &text,
                            const QRect &place, const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(ArialBold());
    label->setTextFormat(Qt::PlainText);
    SetTextColour(label, colour); // a QLabel fills no background: it stays transparent
    label->setGeometry(place);
    return label;
}

QLineEdit *WindowKit::AddLineEdit(QWidget *parent, const QString &name, const QRect &place,
                                  const QFont &font, int maxLength)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setFont(font);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    KeepCharactersWhole(box);
    return box;
}

QPlainTextEdit *WindowKit::AddTextBox(QWidget *parent, const QString &name, const QRect &place,
                                      const QFont &font, bool readOnly)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setFont(font);
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (readOnly) {
        box->setReadOnly(true);
        box->setUndoRedoEnabled(false);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return box;
}

void WindowKit::SetBaseColour(QWidget *box, const QColor &colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

void WindowKit::SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}
