#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A session record opened for appending: a JSON Lines file whose first line is the header
// ({"registro":"quessar","versao":1,…}) and whose every other line is one roll, salt or
// closing. Lines are only ever appended, whole, under an exclusive flock(2), so several
// processes may share one record; each batch reaches the disk (fdatasync) before commit()
// returns, so a roll is answered only once it is recorded.
//
// A batch goes out in blocks of whole lines as it grows (its memory stays bounded however
// many rolls it holds), still under the lock, and is flushed to the disk once at commit().
// A batch that cannot be written whole (full disk, file-size limit), or that is dropped, is
// taken back to the record's length before it, so the record never keeps half of a batch.
// A torn last line left by a killed writer stays where it is; the next batch starts on a
// fresh line.
class SessionRecord
{
public:
    // What the record holds, as read under the lock from its first lines and its last one.
    struct State
    {
        qint64 lastSeq = 0;                // the last roll's number; 0 before any roll
        QByteArray commitment;             // a verifiable session's "compromisso", or empty
        std::optional<QByteArray> salt;    // the players' salt, when recorded
        bool closed = false;               // the secret was revealed: no more lines
    };

    SessionRecord() = default;
    ~SessionRecord();
    SessionRecord(const SessionRecord &) = delete;
    SessionRecord &operator=(const SessionRecord &) = delete;

    // Opens `path` for appending, creating it with `header` (a whole line) when it is missing
    // or empty; with an empty `header`, only a record that exists is opened. With
    // `exclusive`, a file that exists already is refused. False with the
    // reason, in the user's language, when the file cannot be opened or is not a record.
    bool open(const QString &path, const QByteArray &header, bool exclusive, QString &error);

    // Takes the lock and reads the record's state as it is now. False (lock released) when
    // the record can no longer be read as one.
    bool begin(QString &error);
    const State &state() const { return m_state; }

    // A whole line ("\n" included) for the batch; the state follows it once committed.
    void addRoll(qint64 seq, QByteArrayView line);
    // The batch's end, for a roll's whole line to be written straight into it (nothing
    // else); rollAdded() then takes that line into the batch.
    QByteArray &lineBuffer() { return m_batch; }
    void rollAdded(qint64 seq);
    // Where the batch stands, and the batch taken back there, its last roll's number with
    // it (what of it went out already is cut off the record again).
    qint64 mark() const { return m_spilled + m_batch.size(); }
    void rewind(qint64 mark, qint64 lastSeq);
    void addSalt(const QByteArray &salt, QByteArrayView line);
    void addClosing(QByteArrayView line);

    // Writes the batch, flushes it to the disk and releases the lock. On failure the batch
    // is taken back whole, the lock released, and `error` says why.
    bool commit(QString &error);
    // Drops the batch (what of it went out already is taken back) and releases the lock.
    void abort();

    // The reason of the last failed system call, in the user's language.
    static QString systemReason(int error);

private:
    bool readState(QString &error);
    // The offset of the last "\n" before `position`, -1 when none, -2 on a read failure.
    qint64 lastNewlineBefore(qint64 position, QString &error) const;
    bool readLine(qint64 start, qint64 end, QByteArray &line, QString &error) const;
    bool writeAll(QByteArrayView bytes, int &error);
    void add(QByteArrayView line);
    // Writes the batch's whole lines once they fill a block; a failure is kept for commit().
    void spill();
    void takeBack();
    void unlock();

    int m_fd = -1;
    bool m_locked = false;
    State m_state;
    State m_pending;
    QByteArray m_batch;      // the part of the batch not yet written
    qint64 m_spilled = 0;    // bytes of the batch already written
    int m_failure = 0;       // errno of a write that failed while the batch grew
    qint64 m_knownSize = -1; // the size after our last commit: unchanged means no re-read
    qint64 m_batchStart = 0;
    bool m_wrote = false;
    bool m_tornTail = false; // the record ends in a torn line: a batch starts with "\n"
};
