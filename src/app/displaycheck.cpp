#include "displaycheck.h"

#include <QtGlobal>

namespace pellimo {

DisplayKind detectDisplay()
{
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (x11)
        return DisplayKind::X11;
    return wayland ? DisplayKind::WaylandOnly : DisplayKind::None;
}

QString noDisplayMessage()
{
    return QStringLiteral("Pellimo: no display to run on (neither DISPLAY nor WAYLAND_DISPLAY is "
                          "set); nothing was done.");
}

void choosePlatform(DisplayKind kind)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (kind == DisplayKind::X11)
        qputenv("QT_QPA_PLATFORM", "xcb");
    else if (kind == DisplayKind::WaylandOnly)
        qputenv("QT_QPA_PLATFORM", "wayland");
}

} // namespace pellimo
