#include "common/RawPicture.h"

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

QImage RawPicture::decode(QByteArrayView data)
{
    if (data.size() < HeaderSize || std::memcmp(data.data(), Magic, sizeof Magic) != 0)
        return {};
    const quint32 width = qFromLittleEndian<quint32>(data.data() + 8);
    const quint32 height = qFromLittleEndian<quint32>(data.data() + 12);
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide)
        return {};
    const qsizetype rowBytes = qsizetype(width) * 4;
    if (data.size() - HeaderSize != rowBytes * qsizetype(height))
        return {};

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    // Copied rather than wrapped: the pixels in a resource need not be 4-byte aligned, and
    // the copy lets a big-endian machine turn them round on the way.
    const char *in = data.data() + HeaderSize;
    for (int y = 0; y < image.height(); ++y, in += rowBytes)
        qFromLittleEndian<quint32>(in, width, image.scanLine(y));
    return image;
}
