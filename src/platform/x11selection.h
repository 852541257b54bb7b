// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace pellimo {

// Whether the X11 CLIPBOARD selection belongs to a window of this process, asked of the X server
// itself (Qt's own answer depends on whether it had a server timestamp when it took the
// selection, which a window that was never shown may not have). Nothing when the program does
// not run on X11.
std::optional<bool> ownsX11Clipboard();

} // namespace pellimo
