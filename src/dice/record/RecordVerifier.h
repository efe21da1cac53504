#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Checks a session record from start to end, line by line (memory stays flat whatever its
// length): the header; a verifiable session's commitment against the secret its closing
// line reveals, and its salt; every roll's number (1, 2, 3 … with no gap or repeat); that
// every roll, made again from its expression and the draws it holds, writes exactly the
// line the record holds (and, once the secret is revealed, that the draws are the ones the
// secret gives); and that times never run backwards. A line that is not a whole JSON
// object, left by a writer that was killed, is noted with its number and passed over.
class RecordVerifier
{
public:
    struct Summary
    {
        qint64 lines = 0;           // lines read, the header included
        qint64 rolls = 0;           // rolls checked
        bool verifiable = false;    // the header holds a commitment
        bool salted = false;
        bool closed = false;        // the closing line was reached
        bool drawsChecked = false;  // the revealed secret matched: draws compared with it
        qint64 tornCount = 0;
        std::vector<qint64> tornLines; // the first few of them
        qint64 failedLine = 0;      // 0 when everything verifies
        QString failure;            // what is wrong there, in Portuguese

        bool verified() const { return failedLine == 0; }
    };

    static constexpr std::size_t TornLinesKept = 10;

    // False with the reason, in the user's language, when the file cannot be read; the
    // checks stop at the first discrepancy.
    static bool verify(const QString &path, Summary &summary, QString &error);

private:
    // With the closing line's secret, when it is known before reading.
    static bool verifyWith(const QString &path, std::optional<QByteArray> secretHex,
                           Summary &summary, QString &error);
};
