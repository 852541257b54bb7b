#include "displaycheck.h"

#include <QtGlobal>
#include <xcb/xcb.h>

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

bool x11DisplayReachable(QString *message)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform != "xcb" || qEnvironmentVariableIsEmpty("DISPLAY"))
        return true;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!reachable) {
        *message = QStringLiteral("Pellimo: cannot connect to the X display %1; nothing was done.")
                       .arg(qEnvironmentVariable("DISPLAY"));
    }
    return reachable;
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
