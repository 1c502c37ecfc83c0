#!/usr/bin/python3
# A GTK 3 window with one text field: prints "focused" once the field has the keyboard focus,
# then "text:" and the field's text after every change. Ends when its stdin closes.
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402


def say(line):
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


window = Gtk.Window(title="gtk field")
entry = Gtk.Entry()
window.add(entry)
entry.connect("focus-in-event", lambda *_: say("focused") or False)
entry.connect("changed", lambda field: say("text:" + field.get_text()))
GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, lambda *_: Gtk.main_quit() or False)
window.show_all()
Gtk.main()
