#include "dice/record/RecordLine.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

// The time of a roll is worked out once per second and its milliseconds filled in: every
// time read over a change of second is well formed, the moment it was taken (to the
// millisecond, with the zone's offset), and never earlier than the one before.
TEST(RecordLine, TimeFollowsTheClockAcrossSeconds)
{
    const QRegularExpression shape(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}(Z|[+-]\d\d:\d\d)$)"));
    qint64 previous = 0;
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + 1100;
    int seconds = 0;
    while (QDateTime::currentMSecsSinceEpoch() < end) {
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        const QByteArray time = RecordLine::now();
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        ASSERT_TRUE(shape.match(QString::fromLatin1(time)).hasMatch()) << time.constData();
        const qint64 read =
            QDateTime::fromString(QString::fromLatin1(time), Qt::ISODateWithMs).toMSecsSinceEpoch();
        ASSERT_GE(read, before) << time.constData();
        ASSERT_LE(read, after) << time.constData();
        ASSERT_GE(read, previous);
        seconds += previous / 1000 != read / 1000;
        previous = read;
        QThread::usleep(700);
    }
    EXPECT_GE(seconds, 2); // the first time read, and at least one change of second
}
