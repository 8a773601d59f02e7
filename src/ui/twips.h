#pragma once

#include <QRect>
#include <QSize>

// Windows are designed in twips, 1/1440 inch, so that they keep their proportions on any screen.
// These turn twips into pixels for the screen's resolution, and back.

int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

QRect toPixels(const TwipsRect &rect);
QSize toPixels(int widthTwips, int heightTwips);
