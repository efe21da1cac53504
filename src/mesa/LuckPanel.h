#pragma once

#include "dice/audit/AuditReport.h"

#include <QDockWidget>
#include <QFuture>

#include <memory>

class LuckTally;
class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The luck panel: the audit of the window's record against the exact odds (per expression,
// per die size, the mean luck; each label apart when asked), in the words and numbers of
// `quessar-cli auditar`. It is brought up to date off the window's thread, only while it is
// shown, reading only what the record gained.
class LuckPanel final : public QDockWidget
{
    Q_OBJECT

public:
    explicit LuckPanel(QWidget *parent = nullptr);
    ~LuckPanel() override;

    // The record audited; the tally starts over.
    void setRecord(const QString &path);
    // The record gained lines: the panel follows, now if it is shown, or when it is.
    void recordChanged();
    // Whether an update is running or waiting (tests wait for it to end).
    bool busy() const { return m_running || m_pending; }

    // Column of the tree that holds each figure.
    enum Column { Name, Count, Seen, Expected, PValue, Verdict };

signals:
    // An update was shown.
    void updated();

private:
    struct Outcome
    {
        bool read = false;
        AuditReport report;
        QString error;
    };

    void start();
    void display(const Outcome &outcome);
    void addGroup(QTreeWidgetItem *parent, const AuditGroup &group);

    std::shared_ptr<LuckTally> m_tally;
    QString m_path;
    bool m_running = false;
    bool m_pending = false; // the record changed since the running update began
    QFuture<Outcome> m_future;

    QCheckBox *chkPorRotulo = nullptr;
    QLabel *lblSorte = nullptr;
    QTreeWidget *lstSorte = nullptr;
};
