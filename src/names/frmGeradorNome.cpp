#include "names/frmGeradorNome.h"

frmGeradorNome::frmGeradorNome(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGeradorNome"));
    setWindowTitle(QStringLiteral("Morvane's Quessar: Gerador de Nomes"));
}

frmGeradorNome::~frmGeradorNome() = default;
