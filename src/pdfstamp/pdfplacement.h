// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <optional>
#include <qpdf/QPDFObjectHandle.hh>

namespace pellimo {

// Page coordinates larger than this (in user space units) are refused: no page is 350 m across,
// and a stamp placed with such numbers could not be written as a reader takes them.
inline constexpr double kMaxPageCoordinate = 1e6;

// What a viewer shows of a page: the visible box (the CropBox clipped to the MediaBox, both
// inherited from the page tree where the page has none) in its user space, the page's turn, and
// the size of its unit.
struct PageFrame {
    QRectF box;          // user space, y up: left, bottom, width, height
    int rotation = 0;    // 0, 90, 180 or 270, clockwise as shown
    double userUnit = 1; // points (1/72 inch) per user space unit

    // The page as a viewer shows it, in points.
    QSizeF viewSize() const;
};

// The frame of a page, or nothing with `problem` saying why its numbers cannot be used: no
// MediaBox, numbers past kMaxPageCoordinate, an empty box, a /Rotate that is not a whole multiple
// of 90 (viewers differ on those).
std::optional<PageFrame> pageFrame(QPDFObjectHandle page, QString &problem);

// A page attribute from the page, or else from the nearest node of the page tree above it that
// has it (/Resources, /MediaBox, /CropBox, /Rotate). Null when none has.
QPDFObjectHandle inheritedAttribute(QPDFObjectHandle page, const std::string &key);

// A rectangle given in points from the top-left corner of the page as shown (y down), in the
// page's user space (y up), for placing content there.
QPDFObjectHandle::Rectangle userSpaceRect(const PageFrame &frame, const QRectF &view);

// One point of the page as shown, in user space, and back.
QPointF userSpacePoint(const PageFrame &frame, QPointF view);
QPointF viewPoint(const PageFrame &frame, QPointF user);

// The matrix that turns content (a stamp's form) by the page's rotation against the turn the
// viewer gives the page, so that it reads upright as shown.
std::array<double, 6> uprightMatrix(int rotation);

} // namespace pellimo
