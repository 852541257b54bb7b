// SPDX-License-Identifier: MIT
#include "displaycheck.h"

#include "programtranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
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
    const TranslatedTexts texts;
    return QCoreApplication::translate(
        "pellimo", "Pellimo: no display to run on (neither DISPLAY nor WAYLAND_DISPLAY is "
                   "set); nothing was done.");
}

bool displayUsable(QString *message)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "xcb" && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
        const bool reachable = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (!reachable) {
            const TranslatedTexts texts;
            *message =
                QCoreApplication::translate(
                    "pellimo", "Pellimo: cannot connect to the X display %1; nothing was done.")
                    .arg(qEnvironmentVariable("DISPLAY"));
        }
        return reachable;
    }
    if (platform == "wayland") {
        const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                             QStringLiteral("/platforms"));
        if (platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty()) {
            const TranslatedTexts texts;
            *message = QCoreApplication::translate(
                "pellimo", "Pellimo: this Wayland session has no Xwayland (DISPLAY is "
                           "not set) and Qt's Wayland support is not installed "
                           "(package qt6-wayland); nothing was done.");
            return false;
        }
    }
    return true;
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
