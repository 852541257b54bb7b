// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pellimo {

// What the program runs on, decided from the environment before Qt starts.
enum class DisplayKind {
    None,        // neither DISPLAY nor WAYLAND_DISPLAY: the program cannot run
    X11,         // an X server (DISPLAY), also Xwayland next to a Wayland compositor
    WaylandOnly, // a Wayland compositor without Xwayland
};

DisplayKind detectDisplay();

// The one line written to stderr when there is no display.
QString noDisplayMessage();

// Whether the chosen platform can start: for X11, the X server named by DISPLAY accepts a
// connection; for Wayland, Qt's Wayland plugin is installed. On failure `message` is the one
// line for stderr. Other platforms are not checked (true).
bool displayUsable(QString *message);

// On a Wayland desktop that also offers Xwayland, the program uses the X11 platform unless the
// user chose one with QT_QPA_PLATFORM: a window that is never shown cannot set the Wayland
// clipboard, while the X11 clipboard, kept alive by the serving process, reaches Wayland programs
// through the compositor.
void choosePlatform(DisplayKind kind);

} // namespace pellimo
