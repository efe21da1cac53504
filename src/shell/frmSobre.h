#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmSobre : public QDialog
{
    Q_OBJECT

public:
    explicit frmSobre(QWidget *parent = nullptr);
    ~frmSobre() override;
};
