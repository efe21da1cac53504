#pragma once

#include "shell/FigureAnimation.h"
#include "shell/TitleAnimation.h"

#include <QWidget>

#include <array>

class MenuPanel;
class QLabel;
class QTimer;

// The program's home window: the title banner with its sliding title, the black strip with the
// running figure, and the menu that opens the tools or leaves the program.
class frmPrincipal : public QWidget
{
    Q_OBJECT

public:
    explicit frmPrincipal(QWidget *parent = nullptr);
    ~frmPrincipal() override;

protected:
    // The title bar's close box asks the same question as "Sair".
    void closeEvent(QCloseEvent *event) override;

    // Ends the program; runs once the user has confirmed. Tests replace it to stay alive.
    virtual void endProgram();

private:
    void lblMenu_Click(int index);
    bool confirmExit();
    void tmrAni_Timer();
    void tmrAniTit_Timer();
    void placeTitle();
    template <typename Tool> void showTool();

    QLabel *m_pctTitulo;
    QLabel *m_lblTitulo;
    QWidget *m_pctAreaAni;
    QLabel *m_imgAni;
    std::array<QLabel *, FigureAnimation::FrameCount> m_imgFigAni{};
    QLabel *m_pctDegrade;
    MenuPanel *m_menu;
    QTimer *m_tmrAni;
    QTimer *m_tmrAniTit;

    FigureAnimation m_figure;
    TitleAnimation m_title;
    bool m_exitConfirmed = false;
};
