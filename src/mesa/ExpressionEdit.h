#pragma once

#include <QLineEdit>
#include <QStringList>

// The expression box: a line edit that marks the character a mistake is at (a wavy
// underline and a tinted background, in the text itself) and walks the expressions typed
// before with Up and Down, as a shell does.
class ExpressionEdit final : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(int errorPosition READ errorPosition)

public:
    explicit ExpressionEdit(QWidget *parent = nullptr);

    // 1-based position of the character at fault (one past the end when the text stops too
    // soon); 0 clears the mark.
    void setErrorPosition(int position);
    int errorPosition() const { return m_errorPosition; }

    // The expressions Up and Down walk, oldest first.
    void setHistory(const QStringList &history);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyMark();
    void walk(int step);

    int m_errorPosition = 0;
    QStringList m_history;
    qsizetype m_walk = -1; // the history entry shown, -1 while editing a new one
    QString m_draft;       // what was being typed before walking
};
