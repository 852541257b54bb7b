// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

namespace pellimo {

// On a Wayland compositor without Xwayland a window that is never shown cannot set the
// clipboard. The image is handed to `wl-copy --type image/png` (Debian package wl-clipboard),
// which keeps serving it in the background. On failure `error` says why, for stderr.
bool copyImageWithWlCopy(const QImage &image, QString *error);

// What keeps a stamp pasteable after the program has ended, where this process cannot: on
// Wayland the stamp just put on the clipboard is handed to wl-copy, once this process's own
// clipboard request has reached the compositor (otherwise it would arrive after wl-copy's and take
// the clipboard back). Nothing to do on other platforms (true). False when wl-copy failed, with
// the reason in `error`.
bool keepOnWaylandClipboard(const QImage &image, QString *error);

} // namespace pellimo
