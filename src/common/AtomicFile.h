#pragma once

#include <QByteArrayView>
#include <QString>

// Writes a whole file atomically: the bytes go to a temporary file beside the target, which
// takes the target's place only once every byte has reached the disk.
//
// Every failure counts, the late ones included: the file is written unbuffered, so a full
// disk or a file-size limit shows at the write itself instead of at a final flush whose
// failure would go unnoticed while the truncated file replaced the old one.
class AtomicFile
{
public:
    // True when the file now holds exactly `bytes`. Otherwise the target is as it was (or
    // still absent), no temporary file is left behind, and `error` (when given) receives the
    // system's reason.
    //
    // Only a regular file (or a new one) is replaced: a directory, device, FIFO or socket at
    // `path` is refused and left as it is, since renaming over it would destroy it.
    static bool write(const QString &path, QByteArrayView bytes, QString *error = nullptr);
};
