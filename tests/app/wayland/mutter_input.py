#!/usr/bin/python3
"""A keyboard and a pointer on headless mutter, through its remote-desktop session on the session bus:
the seat has no keyboard (so nothing is focused) until one exists. Prints "ready" once the session
runs, then acts on each line read from stdin and answers "done":
  type TEXT     types TEXT as keysyms
  point X Y     moves the pointer to X,Y (from the top left corner, where it is pushed first)
The session ends at the end of input."""
import sys

from gi.repository import Gio, GLib

NAME = "org.gnome.Mutter.RemoteDesktop"
SESSION = NAME + ".Session"
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(path, interface, method, args=None, reply="()"):
    return bus.call_sync(NAME, path, interface, method, args, GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 5000, None)


session = call("/org/gnome/Mutter/RemoteDesktop", NAME, "CreateSession", None, "(o)").unpack()[0]
call(session, SESSION, "Start")


def key(keysym, down):
    call(session, SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (keysym, down)))


def motion(dx, dy):
    call(session, SESSION, "NotifyPointerMotionRelative", GLib.Variant("(dd)", (dx, dy)))


# Each device appears on the seat with its first event, which itself is lost.
key(0xFFE1, True)
key(0xFFE1, False)
motion(0, 0)
print("ready", flush=True)

for line in sys.stdin:
    command, _, rest = line.rstrip("\n").partition(" ")
    if command == "type":
        for ch in rest:
            keysym = ord(ch) if ord(ch) < 0x100 else 0x01000000 | ord(ch)
            key(keysym, True)
            key(keysym, False)
    elif command == "point":
        x, y = (float(n) for n in rest.split())
        motion(-100000, -100000)
        motion(x, y)
    print("done", flush=True)
call(session, SESSION, "Stop")
