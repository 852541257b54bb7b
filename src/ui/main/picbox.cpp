// SPDX-License-Identifier: MIT
#include "picbox.h"

#include <QPainter>

namespace pellimo {

PicBox::PicBox(const QImage *image, bool sunkenBorder, QWidget *parent)
    : QFrame(parent), m_image(image)
{
    if (sunkenBorder)
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // always 2 pixels wide
    else
        setFrameStyle(QFrame::NoFrame);
}

void PicBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    painter.fillRect(area, palette().color(backgroundRole()));
    if (m_image && !m_image->isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(area.topLeft(), m_image->size()), *m_image);
    }
}

} // namespace pellimo
