// SPDX-License-Identifier: MIT
#pragma once

// The floor for drawStamp: the default stamp (radius 35, pen 1, bands 35 %, four texts in IPAMincho
// 9 pt) drawn on a 200 x 200 surface with plain QPainter calls: fill white, drawEllipse, the two
// band lines clipped to the circle, four drawText. The places of the texts are worked out once.

#include <QImage>
#include <QPointF>
#include <QString>
#include <array>

struct PlainStamp {
    std::array<QString, 4> texts;
    std::array<QPointF, 4> baselines; // where each text is drawn
};

// The default stamp with the given date text, its texts placed as the program places them.
PlainStamp plainStamp(const QString &date);

void drawPlainStamp(QImage &image, const PlainStamp &stamp);
