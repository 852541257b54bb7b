// SPDX-License-Identifier: MIT
// mapwatch TITLE PROGRAM [ARGS...]
// Starts PROGRAM and prints the milliseconds from just before the fork until a top-level window
// titled TITLE is mapped on the display in $DISPLAY (a MapNotify on the root window), then ends
// the program and every process it started with SIGTERM to its process group. The selection on the
// root window is in place before the program starts, so no map is missed and no polling delay is
// added. Exits 1 if no such window maps in 20 s.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

double nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

bool titleIs(xcb_connection_t *c, xcb_window_t w, xcb_atom_t nameAtom, xcb_atom_t type,
             const char *title)
{
    xcb_get_property_reply_t *r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, nameAtom, type, 0, 256), nullptr);
    if (!r)
        return false;
    const int len = xcb_get_property_value_length(r);
    const bool same = size_t(len) == std::strlen(title) &&
                      std::memcmp(xcb_get_property_value(r), title, size_t(len)) == 0;
    std::free(r);
    return same;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mapwatch TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 2;
    }
    const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

    // Orphans of the program (its forked processes) come back here to be reaped.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0); // the program's own processes end with it
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (mapped < 0 && nowMs() - start < 20000) {
        xcb_generic_event_t *ev;
        while (mapped < 0 && (ev = xcb_poll_for_event(c))) {
            if ((ev->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const double at = nowMs();
                xcb_map_notify_event_t *m = reinterpret_cast<xcb_map_notify_event_t *>(ev);
                if (!m->override_redirect &&
                    (titleIs(c, m->window, netName, utf8, argv[1]) ||
                     titleIs(c, m->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, argv[1])))
                    mapped = at;
            }
            std::free(ev);
        }
        if (mapped < 0) {
            pollfd p = {fd, POLLIN, 0};
            poll(&p, 1, 50);
            if (xcb_connection_has_error(c))
                break;
        }
    }
    kill(-child, SIGTERM);
    while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
    }
    xcb_disconnect(c);
    if (mapped < 0) {
        std::fprintf(stderr, "mapwatch: no window titled \"%s\" was mapped\n", argv[1]);
        return 1;
    }
    std::printf("%.3f\n", mapped - start);
    return 0;
}
