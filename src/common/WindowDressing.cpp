#include "common/WindowDressing.h"

#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QWidget>

QPixmap WindowDressing::gradientPicture()
{
    // Kept as an image: a static QPixmap would outlive the application object.
    static const QImage picture = [] {
        QImage image(GradientWidth, GradientHeight, QImage::Format_RGB32);
        for (int y = 0; y < GradientHeight; ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < GradientWidth; ++x)
                row[x] = qRgb(GreyLevels[x], GreyLevels[x], GreyLevels[x]);
        }
        return image;
    }();
    return QPixmap::fromImage(picture);
}

void WindowDressing::dress(QWidget *pctAreaAni, QLabel *pctDegrade)
{
    QPalette black = pctAreaAni->palette();
    black.setColor(QPalette::Window, Qt::black);
    pctAreaAni->setPalette(black);
    pctAreaAni->setAutoFillBackground(true);

    pctDegrade->setPixmap(gradientPicture());
    pctDegrade->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pctDegrade->setScaledContents(false);
}
