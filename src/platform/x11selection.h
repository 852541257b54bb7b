// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace pellimo {

// Whether the X11 CLIPBOARD selection belongs to a window of this process, asked of the X server
// itself (Qt's own answer depends on whether it had a server timestamp when it took the
// selection, which a window that was never shown may not have). Nothing when the program does
// not run on X11.
std::optional<bool> ownsX11Clipboard();

// Runs an event loop for as long as this process owns the X11 CLIPBOARD selection, woken only by
// the X server's notification that the selection's owner changed (XFixes): no periodic timer.
// False at once when the program does not run on X11 or the server has no XFixes.
bool waitWhileOwningX11Clipboard();

// Refreshes the X server time that Qt stamps its selection requests with, by a property change on
// a window of this process. Qt keeps the time of the last event it handled; a selection that
// another client took after that event would refuse a request with the older time ("Cannot set
// X11 selection owner"). Call it right before setting the clipboard. False when not on X11 or
// the server did not answer.
bool refreshX11ServerTime();

} // namespace pellimo
