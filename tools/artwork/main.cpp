// Draws Quessar's pictures into a folder: the splash artwork (as a JPEG, and as the pixels that
// JPEG decodes to, which the program shows without needing a JPEG decoder), the ten figure
// frames, the photo placeholder, the title banner and the application icons. Everything is drawn
// from code with fixed parameters, so running it again gives the same pictures.
//
//     quessar_artwork <folder>
//
// Text needs a font database, hence QGuiApplication; without a display it runs on the
// offscreen platform.

#include "common/RawPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <array>
#include <cmath>
#include <cstdio>

namespace {

// The program's colours: deep navy and old gold.
const QColor NavyDeep(8, 12, 40);
const QColor Navy(24, 36, 112);
const QColor NavyLight(70, 96, 200);
const QColor Gold(230, 182, 70);
const QColor GoldLight(255, 232, 150);
const QColor GoldDark(146, 100, 26);

QColor Mix(const QColor &from, const QColor &to, double t)
{
    t = qBound(0.0, t, 1.0);
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t),
                            float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

QColor WithAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// A small fixed-seed generator (SplitMix64) for the star field: same stars on every run, on
// every machine.
class StarRandom
{
public:
    explicit StarRandom(quint64 seed) : m_state(seed) {}

    double next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return double(z >> 11) * 0x1p-53;
    }

private:
    quint64 m_state;
};

// A twenty-sided die seen face-on, one vertex up: a hexagonal outline, the front face in the
// middle and the nine faces around it.
struct DieShape
{
    // Outline corners: top, upper right, lower right, bottom, lower left, upper left.
    std::array<QPointF, 6> outer;
    // Front face: top, lower right, lower left.
    std::array<QPointF, 3> front;
};

QPointF Polar(QPointF centre, double radius, double degrees)
{
    const double angle = qDegreesToRadians(degrees);
    return {centre.x() + radius * std::cos(angle), centre.y() - radius * std::sin(angle)};
}

DieShape MakeDie(QPointF centre, double radius)
{
    DieShape die;
    const double outerAngles[6] = {90, 30, -30, -90, -150, 150};
    for (int i = 0; i < 6; ++i)
        die.outer[i] = Polar(centre, radius, outerAngles[i]);
    // Seen along the axis through a face, the front face's corners lie at 1/phi of the
    // outline's radius.
    const double frontRadius = radius * 0.618;
    die.front = {Polar(centre, frontRadius, 90), Polar(centre, frontRadius, -30),
                 Polar(centre, frontRadius, -150)};
    return die;
}

QPolygonF Triangle(QPointF a, QPointF b, QPointF c)
{
    return QPolygonF({a, b, c});
}

struct DieStyle
{
    double edgeWidth = 1.0;
    double outlineWidth = 1.5;
    bool number = true; // "20" on the front face
};

// Paints the die: faces shaded as if lit from the upper left, gold edges.
void PaintDie(QPainter &painter, QPointF centre, double radius, const DieStyle &style)
{
    const DieShape die = MakeDie(centre, radius);
    const auto &[top, upperRight, lowerRight, bottom, lowerLeft, upperLeft] = die.outer;
    const auto &[a, b, c] = die.front;

    const std::array<QPolygonF, 9> sideFaces = {
        Triangle(a, b, upperRight),       Triangle(b, c, bottom),
        Triangle(c, a, upperLeft),        Triangle(a, upperLeft, top),
        Triangle(a, top, upperRight),     Triangle(b, upperRight, lowerRight),
        Triangle(b, lowerRight, bottom),  Triangle(c, bottom, lowerLeft),
        Triangle(c, lowerLeft, upperLeft)};

    const QPointF light(-0.62, -0.78);
    painter.setPen(Qt::NoPen);
    for (const QPolygonF &face : sideFaces) {
        const QPointF middle = (face[0] + face[1] + face[2]) / 3.0 - centre;
        const double length = std::hypot(middle.x(), middle.y());
        const double facing = (middle.x() * light.x() + middle.y() * light.y()) / length;
        const QColor shade = Mix(NavyDeep, NavyLight, 0.42 + 0.30 * facing);
        QLinearGradient fill(face[0], (face[1] + face[2]) / 2.0);
        fill.setColorAt(0, shade.lighter(112));
        fill.setColorAt(1, shade.darker(112));
        painter.setBrush(fill);
        painter.drawPolygon(face);
    }

    QLinearGradient frontFill(a, (b + c) / 2.0);
    frontFill.setColorAt(0, Mix(Navy, NavyLight, 0.95));
    frontFill.setColorAt(1, Mix(Navy, NavyLight, 0.55));
    painter.setBrush(frontFill);
    painter.drawPolygon(Triangle(a, b, c));

    QLinearGradient goldEdge(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    goldEdge.setColorAt(0, GoldLight);
    goldEdge.setColorAt(0.5, Gold);
    goldEdge.setColorAt(1, GoldDark);

    painter.setBrush(Qt::NoBrush);
    QPen edge(QBrush(goldEdge), style.edgeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(edge);
    const QLineF spokes[9] = {{a, top},        {a, upperLeft},  {a, upperRight},
                              {b, upperRight}, {b, lowerRight}, {b, bottom},
                              {c, bottom},     {c, lowerLeft},  {c, upperLeft}};
    painter.drawLines(spokes, 9);
    painter.drawPolygon(Triangle(a, b, c));

    QPen outline = edge;
    outline.setWidthF(style.outlineWidth);
    painter.setPen(outline);
    painter.drawPolygon(QPolygonF(QList<QPointF>(die.outer.begin(), die.outer.end())));

    if (style.number) {
        QFont font(QStringLiteral("Liberation Serif"));
        font.setBold(true);
        font.setPixelSize(qMax(6, qRound(radius * 0.34)));
        QPainterPath text;
        text.addText(0, 0, font, QStringLiteral("20"));
        const QRectF box = text.boundingRect();
        // The front face's centre of mass, a little low so the number sits in the wide part.
        const QPointF spot = (a + b + c) / 3.0 + QPointF(0, radius * 0.03);
        text.translate(spot - box.center());
        painter.setPen(Qt::NoPen);
        painter.setBrush(WithAlpha(NavyDeep, 150));
        painter.drawPath(text.translated(radius * 0.012 + 0.5, radius * 0.012 + 0.5));
        painter.setBrush(QBrush(goldEdge));
        painter.drawPath(text);
    }
}

// A compass rose of thin gold lines, drawn faintly behind the die.
void PaintCompassRose(QPainter &painter, QPointF centre, double radius, int alpha)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPen pen(WithAlpha(Gold, alpha), 1.0);
    painter.setPen(pen);
    painter.drawEllipse(centre, radius, radius);
    pen.setWidthF(0.6);
    painter.setPen(pen);
    painter.drawEllipse(centre, radius - 7, radius - 7);
    for (int degrees = 0; degrees < 360; degrees += 10) {
        const double inner = degrees % 30 == 0 ? radius - 7 : radius - 3.5;
        painter.drawLine(Polar(centre, inner, degrees), Polar(centre, radius, degrees));
    }
    // Eight points: the four long ones on the compass directions, four short between them.
    painter.setPen(Qt::NoPen);
    for (int point = 0; point < 8; ++point) {
        const double degrees = point * 45.0 + 90.0;
        const double length = point % 2 == 0 ? radius + 14 : radius * 0.62;
        const double half = point % 2 == 0 ? 9.0 : 6.0;
        const QPointF tip = Polar(centre, length, degrees);
        const QPointF left = Polar(centre, half, degrees + 45);
        const QPointF right = Polar(centre, half, degrees - 45);
        painter.setBrush(WithAlpha(GoldLight, alpha * 3 / 4));
        painter.drawPolygon(Triangle(centre, left, tip));
        painter.setBrush(WithAlpha(GoldDark, alpha * 3 / 4));
        painter.drawPolygon(Triangle(centre, right, tip));
    }
    painter.restore();
}

// A thin gold rule that fades out towards both ends.
void PaintRule(QPainter &painter, double y, double left, double right, int alpha)
{
    QLinearGradient fade(left, 0, right, 0);
    fade.setColorAt(0, WithAlpha(Gold, 0));
    fade.setColorAt(0.5, WithAlpha(Gold, alpha));
    fade.setColorAt(1, WithAlpha(Gold, 0));
    painter.setPen(QPen(QBrush(fade), 1.0));
    painter.drawLine(QPointF(left, y), QPointF(right, y));
}

QImage DrawSplash()
{
    constexpr int Width = 250;
    constexpr int Height = 300;
    // The splash window writes its version, white bold, across this band.
    constexpr double BandTop = 241;
    constexpr double BandBottom = 285;

    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0.0, QColor(22, 24, 70));
    sky.setColorAt(0.5, QColor(14, 15, 46));
    sky.setColorAt(1.0, QColor(5, 6, 18));
    painter.fillRect(image.rect(), sky);

    const QPointF dieCentre(125, 168);
    QRadialGradient glow(dieCentre, 118);
    glow.setColorAt(0.0, QColor(96, 70, 170, 170));
    glow.setColorAt(0.45, QColor(60, 40, 130, 90));
    glow.setColorAt(1.0, QColor(30, 20, 80, 0));
    painter.fillRect(image.rect(), glow);

    StarRandom random(20240307);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        const QPointF at(random.next() * Width, random.next() * (BandTop - 8));
        const double size = 0.35 + random.next() * random.next() * 0.9;
        const int alpha = 60 + int(random.next() * 170);
        painter.setBrush(QColor(235, 230, 255, alpha));
        painter.drawEllipse(at, size, size);
    }

    painter.save();
    painter.setClipRect(QRectF(0, 0, Width, BandTop - 2));
    PaintCompassRose(painter, dieCentre, 96, 60);
    painter.restore();

    // The die, with a soft shadow beneath it.
    QRadialGradient shadow(dieCentre + QPointF(4, 8), 74);
    shadow.setColorAt(0.75, QColor(0, 0, 0, 120));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(dieCentre + QPointF(4, 8), 74, 74);
    DieStyle dieStyle;
    dieStyle.edgeWidth = 1.6;
    dieStyle.outlineWidth = 2.4;
    PaintDie(painter, dieCentre, 62, dieStyle);

    // The name: gold letters with a dark rim and a shadow.
    QFont titleFont(QStringLiteral("Liberation Serif"));
    titleFont.setBold(true);
    titleFont.setPixelSize(50);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    QPainterPath title;
    title.addText(0, 0, titleFont, QStringLiteral("Quessar"));
    const QRectF titleBox = title.boundingRect();
    title.translate(Width / 2.0 - titleBox.center().x(), 18 - titleBox.top());
    const QRectF placed = title.boundingRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawPath(title.translated(2, 3));
    QLinearGradient titleFill(0, placed.top(), 0, placed.bottom());
    titleFill.setColorAt(0.0, GoldLight);
    titleFill.setColorAt(0.55, Gold);
    titleFill.setColorAt(1.0, GoldDark);
    painter.setPen(QPen(QColor(60, 36, 6), 1.1));
    painter.setBrush(titleFill);
    painter.drawPath(title);

    QFont subtitleFont(QStringLiteral("Liberation Sans"));
    subtitleFont.setPixelSize(10);
    subtitleFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    painter.setFont(subtitleFont);
    painter.setPen(QColor(214, 204, 176));
    painter.drawText(QRectF(0, placed.bottom() + 5, Width, 14), Qt::AlignCenter,
                     QStringLiteral("FERRAMENTAS DO MESTRE"));
    PaintRule(painter, placed.bottom() + 22.5, 40, 210, 150);

    // A calm dark band for the version, set off by two gold rules.
    QLinearGradient band(0, BandTop, 0, BandBottom);
    band.setColorAt(0.0, QColor(6, 7, 22, 235));
    band.setColorAt(1.0, QColor(4, 5, 16, 245));
    painter.setPen(Qt::NoPen);
    painter.setBrush(band);
    painter.drawRect(QRectF(0, BandTop, Width, BandBottom - BandTop));
    PaintRule(painter, BandTop + 0.5, 10, 240, 190);
    PaintRule(painter, BandBottom - 0.5, 10, 240, 190);

    painter.end();
    return image;
}

// One frame of the spinning figure: four lights on a cross, turned by a tenth of a full turn
// per frame, so the ten frames make one turn and the last leads smoothly into the first.
QImage DrawFigureFrame(int frame)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(8, 8);
    painter.rotate(frame * 36.0);

    painter.setPen(QPen(QColor(70, 70, 78), 1.0));
    painter.drawLine(QPointF(-4.5, 0), QPointF(4.5, 0));
    painter.drawLine(QPointF(0, -4.5), QPointF(0, 4.5));

    struct Light
    {
        QPointF at;
        QColor colour;
    };
    const Light lights[4] = {{{0, -5}, QColor(235, 36, 36)},
                             {{5, 0}, QColor(40, 205, 60)},
                             {{0, 5}, QColor(250, 222, 40)},
                             {{-5, 0}, QColor(36, 64, 210)}};
    painter.setPen(Qt::NoPen);
    for (const Light &light : lights) {
        QRadialGradient bulb(light.at + QPointF(-0.6, -0.6), 2.8);
        bulb.setColorAt(0.0, light.colour.lighter(165));
        bulb.setColorAt(0.5, light.colour);
        bulb.setColorAt(1.0, light.colour.darker(170));
        painter.setBrush(bulb);
        painter.drawEllipse(light.at, 2.6, 2.6);
    }
    painter.end();
    return image;
}

// A neutral head-and-shoulders silhouette on a soft background.
QImage DrawPhoto()
{
    constexpr int Width = 78;
    constexpr int Height = 96;
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QRadialGradient background(QPointF(39, 34), 72);
    background.setColorAt(0.0, QColor(226, 232, 240));
    background.setColorAt(1.0, QColor(146, 160, 182));
    painter.fillRect(image.rect(), background);

    QPainterPath head;
    head.addEllipse(QPointF(39, 33), 14.5, 17);
    QPainterPath neck;
    neck.addRoundedRect(QRectF(32, 44, 14, 22), 5, 5);
    QPainterPath shoulders;
    shoulders.moveTo(0, Height + 1);
    shoulders.cubicTo(1, 75, 14, 63, 39, 62);
    shoulders.cubicTo(64, 63, 77, 75, 78, Height + 1);
    shoulders.closeSubpath();
    const QPainterPath figure = head.united(neck).united(shoulders).simplified();

    QLinearGradient shade(0, 18, 0, Height);
    shade.setColorAt(0.0, QColor(104, 114, 132));
    shade.setColorAt(1.0, QColor(66, 74, 90));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawPath(figure);
    painter.end();
    return image;
}

// The title banner: a horizontal gradient, linear per colour channel, from RGB 12, 1, 85 in the
// first column to RGB 52, 62, 146 in the last, every row the same. Computed per pixel so both
// ends are exact.
QImage DrawTitleBanner()
{
    constexpr int Width = 450;
    constexpr int Height = 31;
    constexpr int From[3] = {12, 1, 85};
    constexpr int To[3] = {52, 62, 146};
    QImage image(Width, Height, QImage::Format_RGB32);
    for (int x = 0; x < Width; ++x) {
        int channel[3];
        for (int i = 0; i < 3; ++i)
            channel[i] = qRound(From[i] + (To[i] - From[i]) * double(x) / (Width - 1));
        const QRgb colour = qRgb(channel[0], channel[1], channel[2]);
        for (int y = 0; y < Height; ++y)
            image.setPixel(x, y, colour);
    }
    return image;
}

// The application icon: the die alone on a transparent ground. Below 48 pixels the number
// would only blur, so it is left out.
QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DieStyle style;
    style.edgeWidth = qMax(0.8, size / 40.0);
    style.outlineWidth = qMax(1.0, size / 26.0);
    style.number = size >= 48;
    const double radius = size / 2.0 - style.outlineWidth / 2.0;
    PaintDie(painter, QPointF(size / 2.0, size / 2.0), radius, style);
    painter.end();
    return image;
}

bool Save(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "quessar_artwork: could not write %s\n", qPrintable(path));
    return false;
}

bool Write(const QByteArray &bytes, const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    std::fprintf(stderr, "quessar_artwork: could not write %s\n", qPrintable(path));
    return false;
}

// The splash as a quality-90 JPEG, and the pixels that JPEG decodes to: the program shows the
// latter, so what it shows is exactly the JPEG, decoded once here instead of at every start.
bool SaveSplash(const QDir &folder)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!DrawSplash().save(&buffer, "JPG", 90)) {
        std::fprintf(stderr, "quessar_artwork: could not encode the splash\n");
        return false;
    }
    const QImage decoded = QImage::fromData(jpeg, "JPG");
    if (decoded.isNull()) {
        std::fprintf(stderr, "quessar_artwork: could not decode the splash again\n");
        return false;
    }
    return Write(jpeg, folder.filePath(QStringLiteral("splash.jpg")))
           && Write(RawPicture::encode(decoded), folder.filePath(QStringLiteral("splash.raw")));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: quessar_artwork <folder>\n");
        return 2;
    }
    QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("figure")) || !folder.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "quessar_artwork: could not create the folders in %s\n",
                     qPrintable(folder.path()));
        return 1;
    }

    bool ok = SaveSplash(folder);
    for (int frame = 0; frame < 10; ++frame)
        ok &= Save(DrawFigureFrame(frame),
                   folder.filePath(QStringLiteral("figure/frame%1.png").arg(frame)), "PNG");
    ok &= Save(DrawPhoto(), folder.filePath(QStringLiteral("photo.png")), "PNG");
    ok &= Save(DrawTitleBanner(), folder.filePath(QStringLiteral("title-banner.png")), "PNG");
    for (int size : {16, 32, 48, 64, 128, 256})
        ok &= Save(DrawIcon(size),
                   folder.filePath(QStringLiteral("icons/quessar-%1.png").arg(size)), "PNG");
    return ok ? 0 : 1;
}
