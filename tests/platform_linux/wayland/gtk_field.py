#!/usr/bin/python3
"""A GTK 3 entry for the Wayland paste tests. Prints "ready" once the entry has the keyboard focus,
then "text:" and the entry's text at each change; quits when its input closes. Exits 77 when
GTK's introspection data is missing."""
import sys

try:
    import gi
    gi.require_version("Gtk", "3.0")
    from gi.repository import GLib, Gtk
except (ImportError, ValueError):
    sys.exit(77)

window = Gtk.Window(title="quenda-gtk-field")
entry = Gtk.Entry()
window.add(entry)
announced = False


def on_focus(*_):
    global announced
    if not announced:
        announced = True
        print("ready", flush=True)
    return False


def on_input(source, condition):
    if not sys.stdin.buffer.read1(4096):
        Gtk.main_quit()
        return False
    return True


entry.connect("focus-in-event", on_focus)
entry.connect("changed", lambda e: print("text:" + e.get_text(), flush=True))
window.connect("destroy", Gtk.main_quit)
GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, on_input)
window.show_all()
window.present()
entry.grab_focus()
Gtk.main()
