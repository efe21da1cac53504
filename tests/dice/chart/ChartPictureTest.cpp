// The SVG as another program draws it: rsvg-convert turns it into a PNG, in which every
// series must show in its own colour (lines, dots and the legend's swatch) and bars fill.

#include "DiceTestSupport.h"

#include "dice/chart/ChartSvg.h"
#include "dice/chart/OddsChart.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using dicetest::odds;
using dicetest::parsed;

// Pixels within a step or two of `colour` (the rasteriser's antialiasing leaves the inside
// of a 2,5-pixel line at the colour itself).
int pixelsOf(const QImage &image, const QColor &colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= 2 && std::abs(c.green() - colour.green()) <= 2
                && std::abs(c.blue() - colour.blue()) <= 2)
                ++count;
        }
    }
    return count;
}

QImage drawn(const OddsChart &chart, const QString &folder)
{
    QByteArray svg;
    ChartSvg::append(svg, chart);
    QFile file(folder + "/chart.svg");
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(svg) == svg.size());
    file.close();
    const QString converter = QStandardPaths::findExecutable("rsvg-convert");
    EXPECT_FALSE(converter.isEmpty()) << "rsvg-convert (Debian librsvg2-bin) is needed";
    QProcess process;
    process.start(converter, {"-o", folder + "/chart.png", folder + "/chart.svg"});
    EXPECT_TRUE(process.waitForFinished(30'000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QImage(folder + "/chart.png");
}

TEST(ChartPicture, RsvgConvertDrawsEverySeries)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::vector<ChartSeries> series;
    for (const char *text : {"2d20kh1+5", "1d20+8", "3d6+4", "4d6kh3+2"})
        series.push_back({text, odds(parsed(text))});

    const OddsChart lines(series, ChartView::AtLeast, {5, 10, 15, 20, 25});
    const QImage image = drawn(lines, folder.path());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), ChartSvg::Width);
    for (int s = 0; s < 4; ++s)
        EXPECT_GT(pixelsOf(image, QColor(ChartSvg::Colours[s])), 400) << ChartSvg::Colours[s];
    EXPECT_LT(pixelsOf(image, QColor(ChartSvg::Colours[4])), 20);

    // One series: bars, a large area of the first colour.
    const OddsChart bars({series[2]}, ChartView::Exactly);
    const QImage barImage = drawn(bars, folder.path());
    ASSERT_FALSE(barImage.isNull());
    EXPECT_GT(pixelsOf(barImage, QColor(ChartSvg::Colours[0])), 20'000);
    EXPECT_LT(pixelsOf(barImage, QColor(ChartSvg::Colours[1])), 20);
}

} // namespace
