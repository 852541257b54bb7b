// SPDX-License-Identifier: MIT
#pragma once

#include "render/stampgeometry.h"

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

namespace pellimo {

// A PDF page as a picture with the stamp on it; the stamp follows the mouse while it is dragged
// and never leaves the page. Positions are millimetres from the page's top-left corner as shown.
class PagePreview : public QWidget {
    Q_OBJECT
public:
    PagePreview(const StampGeometry &geometry, double diameterMm, QWidget *parent = nullptr);

    // The page's picture and its size on paper; the stamp keeps its place, moved onto the page
    // when it would stick out.
    void setPage(const QImage &picture, QSizeF pageMm);
    void setStampCorner(QPointF atMm);

    QPointF stampCorner() const { return m_atMm; }
    QSizeF pageSizeMm() const { return m_pageMm; }
    // Where the page and the stamp's square are drawn, in widget pixels.
    QRectF pageRect() const;
    QRectF stampRect() const;

    QSize sizeHint() const override { return {420, 594}; }

Q_SIGNALS:
    void stampMoved(QPointF atMm);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPointF clamped(QPointF atMm) const;
    double pixelsPerMm() const;

    StampGeometry m_geometry;
    double m_diameterMm;
    QImage m_picture;
    QSizeF m_pageMm{210, 297};
    QPointF m_atMm;
    bool m_dragging = false;
    QPointF m_grabMm; // where in the stamp the mouse took hold, in millimetres
};

} // namespace pellimo
