#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmRodadorDados : public QDialog
{
    Q_OBJECT

public:
    explicit frmRodadorDados(QWidget *parent = nullptr);
    ~frmRodadorDados() override;
};
