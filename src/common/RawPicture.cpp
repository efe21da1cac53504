#include "common/RawPicture.h"

#include <QResource>
#include <QtEndian>

#include <cstring>

namespace {

constexpr char Magic[8] = {'R', 'G', 'B', '3', '2', 'L', 'E', '\n'};
// Far beyond any picture the program ships; keeps width × height × 4 well inside qsizetype.
constexpr quint32 MaxSide = 1u << 15;

} // namespace

QByteArray RawPicture::encode(const QImage &source)
{
    if (source.isNull())
        return {};
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    QByteArray data(HeaderSize + rowBytes * image.height(), Qt::Uninitialized);
    char *out = data.data();
    std::memcpy(out, Magic, sizeof Magic);
    qToLittleEndian<quint32>(quint32(image.width()), out + 8);
    qToLittleEndian<quint32>(quint32(image.height()), out + 12);
    out += HeaderSize;
    for (int y = 0; y < image.height(); ++y, out += rowBytes)
        qToLittleEndian<quint32>(image.constScanLine(y), image.width(), out);
    return data;
}

namespace {

// The picture's sizes from its header, or an empty size when data is not such a picture.
QSize CheckedSize(QByteArrayView data)
{
    if (data.size() < RawPicture::HeaderSize || std::memcmp(data.data(), Magic, sizeof Magic) != 0)
        return {};
    const quint32 width = qFromLittleEndian<quint32>(data.data() + 8);
    const quint32 height = qFromLittleEndian<quint32>(data.data() + 12);
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide)
        return {};
    if (data.size() - RawPicture::HeaderSize != qsizetype(width) * 4 * qsizetype(height))
        return {};
    return QSize(int(width), int(height));
}

} // namespace

QImage RawPicture::decode(QByteArrayView data)
{
    const QSize size = CheckedSize(data);
    if (size.isEmpty())
        return {};
    const qsizetype rowBytes = qsizetype(size.width()) * 4;
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    // Copied rather than wrapped: the pixels in a resource need not be 4-byte aligned, and
    // the copy lets a big-endian machine turn them round on the way.
    const char *in = data.data() + HeaderSize;
    for (int y = 0; y < image.height(); ++y, in += rowBytes)
        qFromLittleEndian<quint32>(in, size.width(), image.scanLine(y));
    return image;
}

QImage RawPicture::fromResource(const QString &path)
{
    const QResource resource(path);
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() != QResource::NoCompression)
        return decode(resource.uncompressedData());
    const QByteArrayView data(resource.data(), resource.size());
    const QSize size = CheckedSize(data);
    const uchar *pixels = resource.data() + HeaderSize;
    if (QSysInfo::ByteOrder != QSysInfo::LittleEndian || size.isEmpty()
        || reinterpret_cast<quintptr>(pixels) % 4 != 0)
        return decode(data);
    // Read-only: anything that writes to the image makes it copy the pixels first.
    return QImage(pixels, size.width(), size.height(), qsizetype(size.width()) * 4,
                  QImage::Format_RGB32);
}
