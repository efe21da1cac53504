// A record's batch as it grows past a block: what went out early is still all or nothing,
// and an expression taken back (rewind) leaves exactly the lines before it.

#include "dice/record/RecordLine.h"
#include "dice/record/SessionRecord.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray rollLine(qint64 seq)
{
    QByteArray line;
    RecordLine::appendRoll(line, seq, "2026-12-08T04:15:02.123-03:00",
                           "{\"expressao\":\"1d6\",\"total\":3}\n", std::vector<DieDraw>{{6, 3}});
    return line;
}

// Rolls `first` lines, marks the batch, rolls `more` (enough of them go out in blocks while
// the batch is open), then takes the batch back to the mark or not, and commits or drops it.
TEST(SessionRecordBatch, LinesThatWentOutEarlyAreAllOrNothing)
{
    struct Case
    {
        const char *what;
        qint64 first;
        qint64 more;
        bool rewind;
        bool commit;
        qint64 kept; // rolls in the record afterwards
    };
    const Case cases[] = {
        {"a small batch", 3, 2, false, true, 5},
        {"a batch of many blocks", 10, 5000, false, true, 5010},
        {"taken back within the unwritten part", 10, 5, true, true, 10},
        {"taken back past lines already written", 10, 5000, true, true, 10},
        {"taken back to a mark inside written blocks", 3000, 3000, true, true, 3000},
        {"dropped after blocks were written", 10, 5000, false, false, 0},
        {"nothing kept", 0, 5000, true, true, 0},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("r.jsonl");
        const QByteArray header = RecordLine::header("quessar-cli teste");
        QString error;
        SessionRecord record;
        ASSERT_TRUE(record.open(path, header, false, error)) << error.toStdString();
        ASSERT_TRUE(record.begin(error)) << error.toStdString();
        QByteArray expected = header;
        qint64 seq = 0;
        for (qint64 i = 0; i < c.first; ++i) {
            record.lineBuffer() += rollLine(++seq);
            record.rollAdded(seq);
            expected += rollLine(seq);
        }
        const qint64 mark = record.mark();
        for (qint64 i = 0; i < c.more; ++i) {
            record.lineBuffer() += rollLine(++seq);
            record.rollAdded(seq);
            if (!c.rewind)
                expected += rollLine(seq);
        }
        if (c.rewind)
            record.rewind(mark, c.first);
        if (c.commit) {
            EXPECT_TRUE(record.commit(error)) << c.what << ": " << error.toStdString();
        } else {
            record.abort();
            expected = header;
        }
        EXPECT_EQ(readAll(path), expected) << c.what;
        // The state follows: the next batch numbers on from what the record holds.
        ASSERT_TRUE(record.begin(error)) << c.what;
        EXPECT_EQ(record.state().lastSeq, c.kept) << c.what;
        record.abort();
    }
}

} // namespace
