// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace pellimo {

// A launcher that starts Pellimo from its menu entry (StartupNotify=true) shows a busy cursor
// until the program says it has started, by the startup id it was given in DESKTOP_STARTUP_ID.
// Qt says so when the first window is shown; a run that shows none (nogui) says it with
// completeStartupNotice.

// The startup id, read before QGuiApplication takes it out of the environment.
QByteArray startupId();

// Sends "remove: ID=<id>" (X11 startup notification) to the root window of the display Qt is
// connected to. Nothing happens for an empty id or without an X11 connection.
void completeStartupNotice(const QByteArray &id);

// The notification message for the id: the id quoted where it must be ("a b" -> "\"a b\"").
QByteArray startupRemoveMessage(const QByteArray &id);

} // namespace pellimo
