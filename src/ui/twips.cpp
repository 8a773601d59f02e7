#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440.0;

double dotsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace

int twipsToPixels(int twips)
{
    return int(std::lround(twips * dotsPerInch() / TwipsPerInch));
}

int pixelsToTwips(int pixels)
{
    return int(std::lround(pixels * TwipsPerInch / dotsPerInch()));
}

QRect toPixels(const TwipsRect &rect)
{
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

QSize toPixels(int widthTwips, int heightTwips)
{
    return {twipsToPixels(widthTwips), twipsToPixels(heightTwips)};
}
