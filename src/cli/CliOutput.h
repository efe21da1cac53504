#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdio>

// A checked, buffered writer over a C stream (stdout or stderr).
//
// Text goes out as UTF-8 exactly as given (the caller writes "\n" line ends). Bytes collect
// in a buffer that goes to the stream in large blocks; every write and the final flush are
// checked, and the first failure is remembered with the system's reason, so a full disk or a
// closed pipe turns into an exit status instead of silently lost output.
class CliOutput
{
public:
    explicit CliOutput(std::FILE *stream);
    ~CliOutput();

    CliOutput(const CliOutput &) = delete;
    CliOutput &operator=(const CliOutput &) = delete;

    void write(QStringView text);
    void write(QByteArrayView bytes);
    CliOutput &operator<<(QStringView text)
    {
        write(text);
        return *this;
    }

    // The pending bytes, for callers that append into it directly (a fast path for large
    // outputs). Call flushIfFull() after appending.
    QByteArray &buffer() { return m_buffer; }
    void flushIfFull()
    {
        if (m_buffer.size() >= BlockSize)
            flushBuffer();
    }

    // Writes everything out and flushes the stream. False when anything failed, now or
    // before; errorString() then says why.
    bool finish();
    // The same, in the middle of a run: what was written so far reaches the reader now.
    bool flush() { return finish(); }

    bool failed() const { return m_failed; }
    QString errorString() const { return m_error; }

    static constexpr qsizetype BlockSize = 64 * 1024;

private:
    void flushBuffer();
    void fail(int error);

    std::FILE *m_stream;
    QByteArray m_buffer;
    bool m_failed = false;
    QString m_error;
};
