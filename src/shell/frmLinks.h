#pragma once

#include <QDialog>

// Placeholder until the window is built.
class frmLinks : public QDialog
{
    Q_OBJECT

public:
    explicit frmLinks(QWidget *parent = nullptr);
    ~frmLinks() override;
};
