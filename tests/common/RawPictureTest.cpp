#include "common/RawPicture.h"

#include <QResource>
#include <QTest>
#include <QtEndian>

namespace {

// A header for a picture of the given sizes, followed by `pixelBytes` bytes of pixels.
QByteArray Picture(QByteArrayView magic, quint32 width, quint32 height, qsizetype pixelBytes)
{
    QByteArray data(magic.data(), magic.size());
    char sizes[8];
    qToLittleEndian<quint32>(width, sizes);
    qToLittleEndian<quint32>(height, sizes + 4);
    data.append(sizes, 8);
    data.append(pixelBytes, '\xff');
    return data;
}

} // namespace

class RawPictureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every pixel comes back as it went in, alpha dropped, whatever the source's format; the
    // bytes are little-endian blue, green, red, 0xff on any machine.
    void roundTrip()
    {
        QImage source(7, 5, QImage::Format_ARGB32);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, qRgba(x * 37, y * 51, (x * y * 13) & 0xff, 0x40 + x));
        const QByteArray data = RawPicture::encode(source);
        QCOMPARE(data.size(), RawPicture::HeaderSize + 7 * 5 * 4);
        QCOMPARE(data.left(8), QByteArray("RGB32LE\n"));
        const QRgb corner = source.pixel(6, 4);
        const char last[4] = {char(qBlue(corner)), char(qGreen(corner)), char(qRed(corner)),
                              '\xff'};
        QCOMPARE(data.right(4), QByteArray(last, 4));

        const QImage back = RawPicture::decode(data);
        QCOMPARE(back.format(), QImage::Format_RGB32);
        QCOMPARE(back.size(), source.size());
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                QCOMPARE(back.pixel(x, y), source.pixel(x, y) | 0xff000000u);
        // The picture owns its pixels: the bytes it came from may go.
        QVERIFY(back.constBits() < reinterpret_cast<const uchar *>(data.constData())
                || back.constBits() >= reinterpret_cast<const uchar *>(data.constEnd()));
        QVERIFY(RawPicture::encode(QImage()).isEmpty());
    }

    // The splash as the program reads it: the same pixels as a plain decode, and where the
    // resource allows it, the resource's own bytes rather than a copy of them.
    void readsFromResources()
    {
        const QString path = QStringLiteral(":/quessar/splash.raw");
        const QResource resource(path);
        QVERIFY(resource.isValid());
        const QImage decoded = RawPicture::decode(resource.uncompressedData());
        const QImage shared = RawPicture::fromResource(path);
        QCOMPARE(shared.size(), QSize(250, 300));
        QCOMPARE(shared.format(), QImage::Format_RGB32);
        QCOMPARE(shared, decoded);
        QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
        const uchar *pixels = resource.data() + RawPicture::HeaderSize;
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian
            && reinterpret_cast<quintptr>(pixels) % 4 == 0)
            QCOMPARE(shared.constBits(), pixels);
        QVERIFY(RawPicture::fromResource(QStringLiteral(":/quessar/none.raw")).isNull());
        QVERIFY(RawPicture::fromResource(QStringLiteral(":/quessar/photo.png")).isNull());
    }

    // Anything that is not exactly such a picture gives a null image, never a read past the
    // end of the data.
    void rejectsMalformedData_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray magic("RGB32LE\n");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("header cut short") << Picture(magic, 2, 2, 16).left(12);
        QTest::addRow("other magic") << Picture("RGB32BE\n", 2, 2, 16);
        QTest::addRow("zero width") << Picture(magic, 0, 2, 0);
        QTest::addRow("zero height") << Picture(magic, 2, 0, 0);
        QTest::addRow("pixels one byte short") << Picture(magic, 2, 2, 15);
        QTest::addRow("pixels one byte over") << Picture(magic, 2, 2, 17);
        QTest::addRow("width beyond any picture") << Picture(magic, 1u << 20, 1, 16);
        // 65536 × 65536 × 4 wraps to 0 in 32 bits, which the empty pixel data would match.
        QTest::addRow("sizes whose product wraps") << Picture(magic, 1u << 16, 1u << 16, 0);
        QTest::addRow("largest sizes") << Picture(magic, 0xffffffffu, 0xffffffffu, 4);
    }

    void rejectsMalformedData()
    {
        QFETCH(QByteArray, data);
        QVERIFY(RawPicture::decode(data).isNull());
    }
};

QTEST_MAIN(RawPictureTest)
#include "RawPictureTest.moc"
