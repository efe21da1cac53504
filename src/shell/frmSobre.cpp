#include "shell/frmSobre.h"

frmSobre::frmSobre(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Sobre"));
}

frmSobre::~frmSobre() = default;
