// SPDX-License-Identifier: MIT
#include "x11selection.h"

#include <QAbstractNativeEventFilter>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <functional>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace pellimo {

namespace {

// The display connection Qt uses, or null when the program does not run on X11.
xcb_connection_t *qtConnection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name, size_t length)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(length), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

xcb_atom_t clipboardAtom(xcb_connection_t *connection)
{
    static const char name[] = "CLIPBOARD";
    return internAtom(connection, name, sizeof name - 1);
}

// Calls `onEvent` for every event of one type that reaches Qt's connection; Qt handles the
// event as well.
class EventWatch : public QAbstractNativeEventFilter {
public:
    EventWatch(uint8_t responseType, std::function<void(xcb_generic_event_t *)> onEvent)
        : m_type(responseType), m_onEvent(std::move(onEvent))
    {
        qGuiApp->installNativeEventFilter(this);
    }
    ~EventWatch() override { qGuiApp->removeNativeEventFilter(this); }
    EventWatch(const EventWatch &) = delete;
    EventWatch &operator=(const EventWatch &) = delete;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType == "xcb_generic_event_t") {
            auto *event = static_cast<xcb_generic_event_t *>(message);
            if ((event->response_type & 0x7f) == m_type)
                m_onEvent(event);
        }
        return false;
    }

private:
    uint8_t m_type;
    std::function<void(xcb_generic_event_t *)> m_onEvent;
};

} // namespace

std::optional<bool> ownsX11Clipboard()
{
    xcb_connection_t *connection = qtConnection();
    if (!connection)
        return std::nullopt;

    const xcb_atom_t atom = clipboardAtom(connection);
    if (atom == XCB_NONE)
        return false;
    xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom), nullptr);
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

bool waitWhileOwningX11Clipboard()
{
    xcb_connection_t *connection = qtConnection();
    if (!connection)
        return false;
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return false;
    // The version Qt asks for itself; asking again changes nothing for Qt.
    std::free(xcb_xfixes_query_version_reply(
        connection,
        xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION),
        nullptr));
    const xcb_atom_t atom = clipboardAtom(connection);
    if (atom == XCB_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    QEventLoop loop;
    const EventWatch watch(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY,
                           [&loop](xcb_generic_event_t *) {
                               if (ownsX11Clipboard() != true)
                                   loop.quit();
                           });
    const uint32_t changes = XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                             XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                             XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE;
    xcb_xfixes_select_selection_input(connection, root, atom, changes);
    xcb_flush(connection);
    // Asked after subscribing, so that a change in between still wakes the loop.
    if (ownsX11Clipboard() == true)
        loop.exec();
    xcb_xfixes_select_selection_input(connection, root, atom, 0);
    xcb_flush(connection);
    return true;
}

bool refreshX11ServerTime()
{
    xcb_connection_t *connection = qtConnection();
    if (!connection)
        return false;
    // Qt takes the time of every property change it reports for a window of its own.
    QWindow probe;
    probe.create();
    const auto window = xcb_window_t(probe.winId());
    static const char name[] = "_PELLIMO_SERVER_TIME";
    const xcb_atom_t atom = internAtom(connection, name, sizeof name - 1);
    if (atom == XCB_NONE)
        return false;

    QEventLoop loop;
    bool seen = false;
    const EventWatch watch(XCB_PROPERTY_NOTIFY, [&](xcb_generic_event_t *event) {
        if (reinterpret_cast<xcb_property_notify_event_t *>(event)->window == window) {
            seen = true;
            loop.quit();
        }
    });
    // Appending nothing still makes the server report a change, with its current time.
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, atom, XCB_ATOM_INTEGER, 32, 0,
                        nullptr);
    xcb_flush(connection);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit); // a server that does not answer
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return seen;
}

} // namespace pellimo
