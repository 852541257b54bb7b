// SPDX-License-Identifier: MIT
#include "inkmatch.h"

#include <QColor>

namespace pellimo::testing {

namespace {

bool isInk(QRgb p)
{
    return p != 0xFFFFFFFF;
}

// How much of the pixel is ink: its opacity on transparent, its distance from white on white.
double coverage(QRgb p)
{
    const double alpha = qAlpha(p) / 255.0;
    const double fromWhite = (255 - std::min({qRed(p), qGreen(p), qBlue(p)})) / 255.0;
    return qAlpha(p) == 255 ? fromWhite : alpha;
}

} // namespace

QImage inkAtStampPixels(const QImage &large, int scale)
{
    const QImage src = large.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.width() / scale, src.height() / scale, QImage::Format_RGB32);
    out.fill(Qt::white);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            double sum = 0;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    sum += coverage(src.pixel(x * scale + dx, y * scale + dy));
            if (sum >= 0.5 * scale * scale)
                out.setPixel(x, y, 0xFF000000);
        }
    return out;
}

QList<QPoint> unmatchedInk(const QImage &a, const QImage &b, int reach)
{
    QList<QPoint> missing;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!isInk(a.pixel(x, y)))
                continue;
            bool found = false;
            for (int dy = -reach; dy <= reach && !found; ++dy)
                for (int dx = -reach; dx <= reach && !found; ++dx)
                    found = b.valid(x + dx, y + dy) && isInk(b.pixel(x + dx, y + dy));
            if (!found)
                missing.append(QPoint(x, y));
        }
    return missing;
}

} // namespace pellimo::testing
