// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QImage>

namespace pellimo {

// A picture box: shows a raster that lives elsewhere (the window owns PicBase's and PicTemp's
// images, which keep their pixels whether or not the window is shown). With a border it is the
// standard sunken 2-pixel frame around the drawing area. The raster is shown pixel for pixel at
// logical size; on a scaled screen every stamp pixel becomes a block of device pixels, without
// smoothing, so the stamp stays crisp.
class PicBox : public QFrame {
    Q_OBJECT
public:
    PicBox(const QImage *image, bool sunkenBorder, QWidget *parent = nullptr);

    // The size of the drawing area inside the border.
    QSize drawingAreaSize() const { return contentsRect().size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QImage *m_image;
};

} // namespace pellimo
