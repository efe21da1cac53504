#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmGeradorNome : public QDialog
{
    Q_OBJECT

public:
    explicit frmGeradorNome(QWidget *parent = nullptr);
    ~frmGeradorNome() override;
};
