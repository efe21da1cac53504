#pragma once

#include <QPixmap>

class QLabel;
class QWidget;

// The strips at the left edge of the main window and every tool window: the black strip
// pctAreaAni and, beside it, the grey gradient pctDegrade.
class WindowDressing
{
public:
    static constexpr int StripWidth = 41;
    static constexpr int GradientLeft = 40; // overlaps the black strip by one pixel
    static constexpr int GradientWidth = 16;
    static constexpr int GradientHeight = 400;

    // The one gradient picture every window shows: 400 rows of 16 grey levels running from
    // near-black to light grey.
    static QPixmap gradientPicture();

    // Paints the black strip and gives the gradient strip its picture.
    static void dress(QWidget *pctAreaAni, QLabel *pctDegrade);

    // The grey level of each column of the gradient, left to right.
    static constexpr int GreyLevels[GradientWidth] = {7,   17,  28,  41,  54,  67,  81,  94,
                                                      106, 119, 132, 146, 159, 172, 183, 192};
};
