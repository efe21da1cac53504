#pragma once

#include <QWidget>

// The program's home window.
class frmPrincipal : public QWidget
{
    Q_OBJECT

public:
    explicit frmPrincipal(QWidget *parent = nullptr);
    ~frmPrincipal() override;
};
