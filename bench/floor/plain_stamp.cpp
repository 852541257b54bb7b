// SPDX-License-Identifier: MIT
#include "plain_stamp.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegion>
#include <cmath>

namespace {

constexpr int kSize = 200;
const QRect kSquare(65, 65, 70, 70); // radius 35, centred
constexpr int kBandLine1 = 89;       // 65 + 70 * 35 / 100
constexpr int kBandLine2 = 111;      // 135 - 70 * 35 / 100

QFont stampFont()
{
    QFont font(QStringLiteral("IPAMincho"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

PlainStamp plainStamp(const QString &date)
{
    PlainStamp stamp;
    stamp.texts = {QStringLiteral(u"組織名"), date, QStringLiteral(u"名字"), QStringLiteral(u"名")};
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    const QFontMetricsF m(stampFont(), &probe);
    const auto even = [](double v) { return std::nearbyint(v); };
    const auto top = [&](int bandTop, int bandBottom) {
        return (bandBottom - bandTop - even(m.lineSpacing())) / 2 + bandTop + m.ascent();
    };
    const auto centred = [&](const QString &text) {
        return std::trunc((kSize - even(m.horizontalAdvance(text))) / 2);
    };
    stamp.baselines[0] = {centred(stamp.texts[0]), std::trunc(top(65, kBandLine1))};
    stamp.baselines[1] = {centred(stamp.texts[1]), std::trunc(top(kBandLine1, kBandLine2))};
    const double name2 = even(m.horizontalAdvance(stamp.texts[3]));
    const double row = even(m.horizontalAdvance(stamp.texts[2]) + name2);
    const double x1 = std::trunc((kSize - row) / 2);
    stamp.baselines[2] = {x1, std::trunc(top(kBandLine2, 135))};
    stamp.baselines[3] = {even(x1 + row - m.horizontalAdvance(stamp.texts[3])),
                          std::trunc(top(kBandLine2, 135))};
    return stamp;
}

void drawPlainStamp(QImage &image, const PlainStamp &stamp)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    painter.drawEllipse(kSquare);
    painter.setClipRegion(QRegion(kSquare, QRegion::Ellipse));
    painter.drawLine(QPointF(0, kBandLine1), QPointF(kSize, kBandLine1));
    painter.drawLine(QPointF(0, kBandLine2), QPointF(kSize, kBandLine2));
    painter.setFont(stampFont());
    for (size_t i = 0; i < stamp.texts.size(); ++i)
        painter.drawText(stamp.baselines[i], stamp.texts[i]);
}
