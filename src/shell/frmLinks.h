#pragma once

#include <QDialog>

#include <functional>

class MenuPanel;
class QPushButton;
class QUrl;

// The list of links: role-playing-game web sites and the author's mail address. A click hands
// the entry's address to the system (browser or mail program); the window stays open.
class frmLinks : public QDialog
{
    Q_OBJECT

public:
    // Hands an address to the system and says whether it could.
    using UrlOpener = std::function<bool(const QUrl &)>;

    explicit frmLinks(QWidget *parent = nullptr);
    ~frmLinks() override;

    // Replaces QDesktopServices::openUrl (for tests).
    void setUrlOpener(UrlOpener opener);

private:
    void lblMenu_Click(int index);
    void OpenLink(const QString &address);

    MenuPanel *m_menu;
    QPushButton *m_cmdOK;
    UrlOpener m_openUrl;
};
