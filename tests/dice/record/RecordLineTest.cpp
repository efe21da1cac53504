#include "dice/record/RecordLine.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

// A roll's line, written in pieces through a small buffer, reads back with QJsonDocument as
// the roll it records: its number, its time (escaped when it is not the program's own), the
// roll's fields, and every draw in order, however many there are and however long each.
TEST(RecordLine, RollLineReadsBackAsItsRoll)
{
    struct Case
    {
        qint64 seq;
        QByteArray time;
        std::vector<DieDraw> draws;
    };
    std::vector<DieDraw> many; // more than the writer's buffer holds at once
    for (std::uint32_t i = 0; i < 300; ++i)
        many.push_back({4294967295u - i, 4294967295u - 2 * i});
    const Case cases[] = {
        {1, "2026-12-08T04:15:02.123-03:00", {{6, 6}, {6, 1}}},
        {9'223'372'036'854'775'807, "2026-12-08T07:15:02.123Z", {}},
        {42, "hora \"estranha\" \\ \n", {{20, 20}}},
        {7, QByteArray(100, '9'), {{1, 1}}},
        {1'000'000, "2026-12-08T04:15:02.123-03:00", many},
    };
    const QByteArray rollJson = "{\"expressao\":\"4d6kh3\",\"rotulo\":\"Ana\",\"total\":12}\n";
    for (const Case &c : cases) {
        QByteArray line = "antes\n"; // appended to, never replaced
        RecordLine::appendRoll(line, c.seq, c.time, rollJson, c.draws);
        ASSERT_TRUE(line.startsWith("antes\n{") && line.endsWith("}\n")) << line.constData();
        QJsonParseError error{};
        const QJsonObject roll = QJsonDocument::fromJson(line.sliced(6), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line.constData();
        EXPECT_EQ(roll.value(u"tipo").toString(), u"rolagem");
        EXPECT_EQ(roll.value(u"seq").toInteger(), c.seq);
        EXPECT_EQ(roll.value(u"hora").toString().toUtf8(), c.time);
        EXPECT_EQ(roll.value(u"rotulo").toString(), u"Ana");
        EXPECT_EQ(roll.value(u"total").toInteger(), 12);
        const QJsonArray draws = roll.value(u"sorteios").toArray();
        ASSERT_EQ(std::size_t(draws.size()), c.draws.size());
        for (qsizetype i = 0; i < draws.size(); ++i) {
            const DieDraw draw = c.draws[std::size_t(i)];
            EXPECT_EQ(draws[i].toArray()[0].toInteger(), draw.faces) << i;
            EXPECT_EQ(draws[i].toArray()[1].toInteger(), draw.value) << i;
        }
    }
}
