#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows the busy pointer over the whole application for the lifetime of this object; the
// pointer comes back however the scope is left, an exception included.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
