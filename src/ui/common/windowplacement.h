// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QSize>

class QLabel;
class QString;
class QWidget;

namespace pellimo {

// Moves the top-level `window` so that its frame is centred on `centre`. Before the window has
// been shown its frame is not known yet; `frameExtra` (what a frame adds to a window that is
// already shown) stands in for it.
void centreWindowOn(QWidget *window, QPoint centre, QSize frameExtra);

// What the window manager's frame adds to the shown top-level `window`; 0 x 0 when there is none.
QSize frameExtraOf(const QWidget *window);

// Grows `widget` to the size its contents need when its place is smaller, keeping its left edge
// and its vertical centre: a caption or indicator is never cut off by a place measured for
// another font.
void growToFitContents(QWidget *widget);

// The centre of the screen area available to windows on the screen `near` is on (or the primary
// screen when `near` is null).
QPoint availableScreenCentre(const QWidget *near);

// A label sized to its text: only its place (in twips, relative to its parent) is fixed.
QLabel *autoSizedLabel(const QString &text, const QString &name, int left, int top,
                       QWidget *parent);

} // namespace pellimo
