#include "dice/frmRodadorDados.h"

frmRodadorDados::frmRodadorDados(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRodadorDados"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Rodador de Dados"));
}

frmRodadorDados::~frmRodadorDados() = default;
