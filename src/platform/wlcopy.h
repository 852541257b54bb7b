// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

namespace pellimo {

// On a Wayland compositor without Xwayland a window that is never shown cannot set the
// clipboard. The image is handed to `wl-copy --type image/png` (Debian package wl-clipboard),
// which keeps serving it in the background. On failure `error` says why, for stderr.
bool copyImageWithWlCopy(const QImage &image, QString *error);

} // namespace pellimo
