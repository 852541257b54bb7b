// SPDX-License-Identifier: MIT
#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace pellimo {

bool putStampOnClipboard(const QImage &image)
{
    if (image.isNull() || qobject_cast<QGuiApplication *>(QCoreApplication::instance()) == nullptr)
        return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    // A previous start's serving process, or any other client, may have taken the clipboard
    // after the last event this process handled; a request stamped with that older time would
    // be refused.
    refreshX11ServerTime();
    clipboard->clear();
    clipboard->setImage(image);
    // Ask back: when another program kept the clipboard, what it offers is not our image.
    const QMimeData *offered = clipboard->mimeData();
    return offered != nullptr && offered->hasImage() &&
           qvariant_cast<QImage>(offered->imageData()) == image;
}

} // namespace pellimo
