#include "shell/frmLinks.h"

frmLinks::frmLinks(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLinks"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Links"));
}

frmLinks::~frmLinks() = default;
