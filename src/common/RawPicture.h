#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

// An opaque picture stored as plain pixels, so that showing it needs no image decoder and
// no image plugin: a 16-byte header ("RGB32LE\n", then width and height as little-endian
// 32-bit numbers) followed by width × height pixels of four bytes each, blue, green, red and
// 0xff, row after row with no padding. That is QImage::Format_RGB32 as a little-endian machine
// holds it in memory, so reading it there is a single copy.
class RawPicture
{
public:
    static constexpr int HeaderSize = 16;

    // The picture's pixels as the format above; any alpha is dropped. A null image gives an
    // empty array.
    static QByteArray encode(const QImage &image);

    // The picture held in data, in QImage::Format_RGB32 with its own copy of the pixels, or a
    // null image when data is not such a picture (wrong header, sizes that are zero, absurdly
    // large or disagree with the length of data).
    static QImage decode(QByteArrayView data);

    // The picture in the resource at path, null if there is none or it is not such a picture.
    // Stored uncompressed, 4-byte aligned, on a little-endian machine, the image shares the
    // resource's bytes instead of copying them (they stay in place for the whole run).
    static QImage fromResource(const QString &path);
};
