// SPDX-License-Identifier: MIT
#include "x11selection.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

namespace pellimo {

std::optional<bool> ownsX11Clipboard()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;

    static const char name[] = "CLIPBOARD";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    std::free(atom);
    if (!owner)
        return false;
    const xcb_window_t window = owner->owner;
    std::free(owner);
    if (window == XCB_NONE)
        return false;
    // Every resource a client creates carries that client's id base.
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

} // namespace pellimo
