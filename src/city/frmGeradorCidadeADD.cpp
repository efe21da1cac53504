#include "city/frmGeradorCidadeADD.h"

frmGeradorCidadeADD::frmGeradorCidadeADD(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGeradorCidadeADD"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Gerador de Cidades (AD&D)"));
}

frmGeradorCidadeADD::~frmGeradorCidadeADD() = default;
