// SPDX-License-Identifier: MIT
#include "stamppixels.h"

#include "render/drawstamp.h"
#include "render/stampsurface.h"

#include <cmath>

namespace pellimo::testing {

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF;
} // namespace

StampProfile defaultStamp()
{
    StampProfile profile;
    loadDefaultProfile(profile);
    profile.items[1].text = QStringLiteral("08.12.07");
    return profile;
}

StampProfile frameOnly(StampProfile profile)
{
    for (StampItem &item : profile.items)
        item.text.clear();
    return profile;
}

QImage drawn(const StampProfile &profile, int width, int height)
{
    QImage image = makeSurface(width, height);
    drawStamp(image, profile);
    return image;
}

QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage differenceImage(const QImage &a, const QImage &b)
{
    QImage result(a.size(), QImage::Format_RGB32);
    result.fill(Qt::white);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                result.setPixel(x, y, 0xFF000000);
    return result;
}

int strayPixels(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != kWhite && p != (colour | 0xFF000000))
                ++count;
        }
    return count;
}

double farthestInk(const QImage &image, double cx, double cy)
{
    double farthest = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                farthest = std::max(farthest, std::hypot(x + 0.5 - cx, y + 0.5 - cy));
    return farthest;
}

} // namespace pellimo::testing
