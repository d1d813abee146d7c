// Pictures outside the skin proper: the splash picture, the logo and the
// watermark stamped on saved pictures.
#pragma once

#include <QImage>

class PicturePainter
{
public:
    static constexpr int kSplashWidth = 360;
    static constexpr int kSplashHeight = 240;
    static constexpr int kWatermarkWidth = 58;
    static constexpr int kWatermarkHeight = 7;
    static constexpr int kPrintLogoWidth = 233;
    static constexpr int kPrintLogoHeight = 50;

    // The bottom right of the splash stays empty: the program writes its
    // motto and version there.
    static QImage splash();
    static QImage watermark();
    // A 3 x 3 block on a tile; drawn for any size so the window icon and
    // the about box agree.
    static QImage logo(int size);
    // The banner at the head of a printed puzzle: the logo tile beside the
    // name, in dark ink, since it lands on white paper.
    static QImage printLogo();
};
