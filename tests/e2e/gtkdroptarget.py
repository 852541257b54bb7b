#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A GTK 3 window that takes one drop, as a GTK program does: it accepts image/png and
# text/uri-list, fetches both from the source and prints what came, one line each:
#   offered: TARGET TARGET ...
#   image/png: WIDTHxHEIGHT          (or "image/png: none")
#   text/uri-list: URI               (or "text/uri-list: none")
# then quits. Usage: gtkdroptarget.py X Y   (the window's place on the screen; it prints "ready"
# once it is shown there).
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GdkPixbuf, GLib, Gtk  # noqa: E402

WANTED = ["image/png", "text/uri-list"]
received = {}


def on_drop(widget, context, x, y, time):
    offered = [str(t) for t in context.list_targets()]
    print("offered: " + " ".join(offered), flush=True)
    widget.pending = [t for t in WANTED if t in offered]
    for t in WANTED:
        if t not in offered:
            received[t] = "none"
    if not widget.pending:
        finish(widget, context, time)
    else:
        widget.drag_get_data(context, Gdk.Atom.intern(widget.pending[0], False), time)
    return True


def on_data(widget, context, x, y, data, info, time):
    target = widget.pending.pop(0)
    raw = data.get_data()
    if target == "image/png":
        loader = GdkPixbuf.PixbufLoader.new_with_type("png")
        try:
            loader.write(raw)
            loader.close()
            pixbuf = loader.get_pixbuf()
            received[target] = "%dx%d" % (pixbuf.get_width(), pixbuf.get_height())
        except GLib.Error:
            received[target] = "unreadable"
    else:
        uris = data.get_uris() or []
        received[target] = uris[0] if uris else "none"
    if widget.pending:
        widget.drag_get_data(context, Gdk.Atom.intern(widget.pending[0], False), time)
    else:
        finish(widget, context, time)


def finish(widget, context, time):
    Gtk.drag_finish(context, True, False, time)
    for t in WANTED:
        print("%s: %s" % (t, received.get(t, "none")), flush=True)
    GLib.idle_add(Gtk.main_quit)


def main():
    window = Gtk.Window(title="drop target")
    window.set_default_size(300, 300)
    window.move(int(sys.argv[1]), int(sys.argv[2]))
    area = Gtk.EventBox()
    area.pending = []
    window.add(area)
    targets = [Gtk.TargetEntry.new(t, Gtk.TargetFlags.OTHER_APP, i) for i, t in enumerate(WANTED)]
    area.drag_dest_set(Gtk.DestDefaults.MOTION | Gtk.DestDefaults.HIGHLIGHT, targets,
                       Gdk.DragAction.COPY)
    area.connect("drag-drop", on_drop)
    area.connect("drag-data-received", on_data)
    window.connect("destroy", Gtk.main_quit)
    window.connect("map-event", lambda *a: print("ready", flush=True))
    window.show_all()
    GLib.timeout_add_seconds(60, Gtk.main_quit)
    Gtk.main()


main()
