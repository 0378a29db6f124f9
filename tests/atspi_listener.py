"""Prints what a screen reader hears appear (Orca speaks a notification that starts showing and
ignores a plain label that appears): each such notification, by its AT-SPI role and name, until
COUNT have shown or SECONDS have passed. Run inside the program's session bus (python3-pyatspi)."""
import sys

import pyatspi
from gi.repository import GLib

count, seconds = int(sys.argv[1]), int(sys.argv[2])
heard = []


def on_showing(event):
    if event.detail1 != 1 or event.source.getRoleName() != "notification":
        return
    heard.append(f"{event.source.getRoleName()}: {event.source.name}")
    print(heard[-1], flush=True)
    if len(heard) == count:
        pyatspi.Registry.stop()


pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
GLib.timeout_add_seconds(seconds, pyatspi.Registry.stop)
print("listening", flush=True)
pyatspi.Registry.start()
