#include "shell/frmPrincipal.h"

#include "common/CenterForm.h"
#include "common/WindowDressing.h"

#include <QLabel>

frmPrincipal::frmPrincipal(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Morvane's Quessar"));
    setFixedSize(454, 397);
    auto *pctAreaAni = new QWidget(this);
    pctAreaAni->setObjectName(QStringLiteral("pctAreaAni"));
    pctAreaAni->setGeometry(0, 36, 41, 361);
    auto *pctDegrade = new QLabel(this);
    pctDegrade->setObjectName(QStringLiteral("pctDegrade"));
    pctDegrade->setGeometry(40, 36, 16, 400);
    WindowDressing::dress(pctAreaAni, pctDegrade);
    CenterForm(this);
}

frmPrincipal::~frmPrincipal() = default;
