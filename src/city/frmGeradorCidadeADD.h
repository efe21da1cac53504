#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmGeradorCidadeADD : public QDialog
{
    Q_OBJECT

public:
    explicit frmGeradorCidadeADD(QWidget *parent = nullptr);
    ~frmGeradorCidadeADD() override;
};
