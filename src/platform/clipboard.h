// SPDX-License-Identifier: MIT
#pragma once

// The clipboard path, from the Set command to the stamp that stays pasteable after the program
// has ended. Start here:
//
// 1. putStampOnClipboard (below): the cut-out stamp goes on the system clipboard through Qt, which
//    offers it as image/png, image/bmp and the other image types to every client.
// 2. On X11 the clipboard's contents live in the process that set them. main() therefore forks
//    first (forkProgramProcess, clipboardkeeper.h): the parent waits for the exit status only,
//    while the child, once its work is done, detaches (detachFromTerminal) and keeps serving the
//    stamp (serveClipboardUntilTaken) until another program takes the clipboard.
// 3. Whether this process still owns the clipboard is asked of the X server itself
//    (ownsX11Clipboard, x11selection.h); the serving process sleeps until the server says another
//    client took it (waitWhileOwningX11Clipboard). Before setting, the server time Qt stamps the
//    request with is refreshed (refreshX11ServerTime), so that a start can take the clipboard
//    from the previous start's serving process.
// 4. On Wayland without Xwayland a window that is never shown cannot set the clipboard; the hidden
//    run hands the stamp to wl-copy instead (copyImageWithWlCopy, wlcopy.h).

#include "clipboardkeeper.h"
#include "wlcopy.h"
#include "x11selection.h"

#include <QImage>

namespace pellimo {

// Clears the system clipboard and puts the image on it. False when the clipboard did not take it.
bool putStampOnClipboard(const QImage &image);

} // namespace pellimo
