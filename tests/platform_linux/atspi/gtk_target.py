#!/usr/bin/python3
"""A GTK 3 window for the accessibility tests: an entry holding argv[1] with the code point range
argv[2] ("start,end") selected, named argv[3] if given. GTK counts AT-SPI offsets in code points, Qt in UTF-16 units.
Prints "ready" once the entry has the focus; exits 77 when GTK's introspection data is missing."""
import sys

try:
    import gi
    gi.require_version("Gtk", "3.0")
    from gi.repository import GLib, Gtk
except (ImportError, ValueError):
    sys.exit(77)

text = sys.argv[1] if len(sys.argv) > 1 else ""
# The application's name as AT-SPI reports it, when given.
if len(sys.argv) > 3:
    GLib.set_prgname(sys.argv[3])
start, end = (int(n) for n in (sys.argv[2] if len(sys.argv) > 2 else "0,0").split(","))

window = Gtk.Window(title="quenda-gtk-target")
entry = Gtk.Entry()
entry.set_text(text)
window.add(entry)
announced = False


def select_and_announce():
    entry.select_region(start, end)
    print("ready", flush=True)
    return False


def on_focus(*_):
    global announced
    if not announced:
        announced = True
        # After GTK's own select-all on focus.
        GLib.idle_add(select_and_announce)
    return False


entry.connect("focus-in-event", on_focus)
window.connect("destroy", Gtk.main_quit)
window.show_all()
window.present()
GLib.idle_add(entry.grab_focus)
Gtk.main()
