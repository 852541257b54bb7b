// SPDX-License-Identifier: MIT
#pragma once

#include "render/stampgeometry.h"

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QWidget>

class QLabel;

namespace pellimo {

// A PDF page as a picture with the stamp on it; the stamp follows the mouse while it is dragged
// and never leaves the page. Positions are millimetres from the page's top-left corner as shown.
// A page without its picture is an outline, with a notice on it when it cannot be shown; the
// stamp is placed on it all the same.
class PagePreview : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool pictureShown READ hasPicture)
    Q_PROPERTY(QString notice READ notice)
public:
    PagePreview(const StampGeometry &geometry, double diameterMm, QWidget *parent = nullptr);

    // The page's picture and its size on paper; the stamp keeps its place, moved onto the page
    // when it would stick out.
    void setPage(const QImage &picture, QSizeF pageMm);
    void setStampCorner(QPointF atMm);
    // A text on the page (empty: none).
    void setNotice(const QString &text);

    const QImage &picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }
    QString notice() const;

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
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointF clamped(QPointF atMm) const;
    double pixelsPerMm() const;
    void placeNotice();

    StampGeometry m_geometry;
    double m_diameterMm;
    QImage m_picture;
    QLabel *m_notice = nullptr;
    QSizeF m_pageMm{210, 297};
    QPointF m_atMm;
    bool m_dragging = false;
    QPointF m_grabMm; // where in the stamp the mouse took hold, in millimetres
};

} // namespace pellimo
