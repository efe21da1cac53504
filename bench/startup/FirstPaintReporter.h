#pragma once

#include <QObject>

// Watches the application for the first paint of a top-level window, prints how long it came
// after the moment the launcher recorded (STARTUP_PROBE_T0, CLOCK_MONOTONIC nanoseconds) and
// the processor time the process had used by then, then ends the program a little later so the launcher can read its peak memory.
class FirstPaintReporter : public QObject
{
    Q_OBJECT

public:
    explicit FirstPaintReporter(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_reported = false;
};
