#!/usr/bin/python3
"""A GTK 3 window for the accessibility tests: an entry holding argv[1] with the code point range
argv[2] ("start,end") selected, named argv[3] if given. GTK counts AT-SPI offsets in code points, Qt in
UTF-16 units. Prints "ready" once the entry has the focus; exits 77 when GTK's introspection data is
missing.

Options, anywhere among the arguments: --clipboard=TEXT owns the clipboard with TEXT once focused;
--report prints one JSON line {text, focus, clipboard} on every SIGUSR1; --maximized fills the screen."""
import json
import signal
import sys

try:
    import gi
    gi.require_version("Gtk", "3.0")
    gi.require_version("Gdk", "3.0")
    from gi.repository import Gdk, GLib, Gtk
except (ImportError, ValueError):
    sys.exit(77)

options = [a for a in sys.argv[1:] if a.startswith("--")]
args = [a for a in sys.argv[1:] if not a.startswith("--")]
text = args[0] if args else ""
# The application's name as AT-SPI reports it, when given.
if len(args) > 2:
    GLib.set_prgname(args[2])
start, end = (int(n) for n in (args[1] if len(args) > 1 else "0,0").split(","))
clipboard_text = next((o.split("=", 1)[1] for o in options if o.startswith("--clipboard=")), None)

window = Gtk.Window(title="quenda-gtk-target")
entry = Gtk.Entry()
entry.set_text(text)
window.add(entry)
clipboard = Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD)
announced = False


def select_and_announce():
    entry.select_region(start, end)
    # Wayland hands the clipboard only to the focused window.
    if clipboard_text is not None:
        clipboard.set_text(clipboard_text, -1)
        clipboard.store()
    print("ready", flush=True)
    return False


def on_focus(*_):
    global announced
    if not announced:
        announced = True
        # After GTK's own select-all on focus.
        GLib.idle_add(select_and_announce)
    return False


def report():
    state = {"text": entry.get_text(), "focus": entry.has_focus() and window.is_active(),
             "clipboard": clipboard.wait_for_text() or ""}
    print(json.dumps(state), flush=True)
    return True


entry.connect("focus-in-event", on_focus)
window.connect("destroy", Gtk.main_quit)
if "--report" in options:
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, report)
if "--maximized" in options:
    window.maximize()
window.show_all()
window.present()
GLib.idle_add(entry.grab_focus)
Gtk.main()
