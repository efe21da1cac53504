#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The window that opens the program: the artwork with the version over it. After
// two and a half seconds it shows the main window and closes itself. Once it has painted, it
// gives the application its window icon, which the main window then carries.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    static constexpr int SplashMilliseconds = 2500;

    explicit frmSplash(QWidget *parent = nullptr);
    ~frmSplash() override;

    // "Versão " + major + "." + minor + revision: version 1.0.0 reads "Versão 1.00".
    static QString VersionText(int major, int minor, int revision);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void tmrSplash_Timer();

    QLabel *m_imgSplash;
    QLabel *m_lblVersao;
    QTimer *m_tmrSplash;
    bool m_iconRequested = false;
};
