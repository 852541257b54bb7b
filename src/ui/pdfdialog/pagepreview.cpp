// SPDX-License-Identifier: MIT
#include "pagepreview.h"

#include "render/stampvector.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace pellimo {

PagePreview::PagePreview(const StampGeometry &geometry, double diameterMm, QWidget *parent)
    : QWidget(parent), m_geometry(geometry), m_diameterMm(diameterMm)
{
    setMinimumSize(200, 200);
    setCursor(Qt::OpenHandCursor);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("lblPageNotice"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_notice->setAttribute(Qt::WA_TransparentForMouseEvents); // the stamp is dragged through it
    // On the white page, whatever the palette of the window.
    m_notice->setStyleSheet(QStringLiteral("color: #404040; background: transparent;"));
    m_notice->hide();
}

void PagePreview::setPage(const QImage &picture, QSizeF pageMm)
{
    m_picture = picture;
    m_pageMm = pageMm;
    m_atMm = clamped(m_atMm);
    placeNotice();
    update();
}

void PagePreview::setNotice(const QString &text)
{
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
    placeNotice();
}

QString PagePreview::notice() const
{
    return m_notice->isHidden() ? QString() : m_notice->text();
}

void PagePreview::placeNotice()
{
    m_notice->setGeometry(pageRect().adjusted(8, 8, -8, -8).toAlignedRect());
}

void PagePreview::resizeEvent(QResizeEvent *)
{
    placeNotice();
}

void PagePreview::setStampCorner(QPointF atMm)
{
    m_atMm = clamped(atMm);
    update();
    Q_EMIT stampMoved(m_atMm);
}

double PagePreview::pixelsPerMm() const
{
    if (m_pageMm.isEmpty())
        return 1;
    return std::min(width() / m_pageMm.width(), height() / m_pageMm.height());
}

QRectF PagePreview::pageRect() const
{
    const QSizeF size = m_pageMm * pixelsPerMm();
    return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

QRectF PagePreview::stampRect() const
{
    const double k = pixelsPerMm();
    return {pageRect().topLeft() + m_atMm * k, QSizeF(m_diameterMm, m_diameterMm) * k};
}

QPointF PagePreview::clamped(QPointF atMm) const
{
    const double maxX = std::max(0.0, m_pageMm.width() - m_diameterMm);
    const double maxY = std::max(0.0, m_pageMm.height() - m_diameterMm);
    return {std::clamp(atMm.x(), 0.0, maxX), std::clamp(atMm.y(), 0.0, maxY)};
}

void PagePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRectF page = pageRect();
    painter.fillRect(page, Qt::white);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(page, m_picture);
    }
    // The stamp's whole picture: the square widened by its margin on each side.
    const QRectF square = stampRect();
    const double margin = square.width() * m_geometry.margin / m_geometry.diameter;
    paintStamp(painter, m_geometry, square.adjusted(-margin, -margin, margin, margin));
}

void PagePreview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const double k = pixelsPerMm();
    const QPointF atMouse = (event->position() - pageRect().topLeft()) / k;
    // Taken by the stamp itself, or anywhere else: the stamp's centre jumps to the mouse.
    m_grabMm = stampRect().contains(event->position())
                   ? atMouse - m_atMm
                   : QPointF(m_diameterMm / 2, m_diameterMm / 2);
    m_dragging = true;
    setCursor(Qt::ClosedHandCursor);
    setStampCorner(atMouse - m_grabMm);
}

void PagePreview::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    setStampCorner((event->position() - pageRect().topLeft()) / pixelsPerMm() - m_grabMm);
}

void PagePreview::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
}

} // namespace pellimo
