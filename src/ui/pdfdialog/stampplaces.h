// SPDX-License-Identifier: MIT
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace pellimo {

// Where the stamp was last put on a page of each size and orientation, kept in the settings file
// (pellimo.ini) in a section of its own, one entry a size: "210x297=160.5,15.0", the page as shown
// (width x height, whole millimetres; a landscape page is another size) and the stamp's corner in
// millimetres from the page's top-left corner. Every other line of the file stays as it is.
QString stampPlacesSection();
QString stampPlaceKey(QSizeF pageMm);

// The place kept for pages of this size; nothing when there is none or it cannot be read.
std::optional<QPointF> rememberedStampPlace(const QString &settingsFile, QSizeF pageMm);

// Keeps `atMm` for pages of this size; false, with the reason, when the file cannot be written.
bool rememberStampPlace(const QString &settingsFile, QSizeF pageMm, QPointF atMm,
                        QString *why = nullptr);

} // namespace pellimo
