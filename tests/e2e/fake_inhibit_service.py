#!/usr/bin/python3
"""A stand-in for the desktop's screen-saver inhibit service on a private session bus.

    fake_inhibit_service.py LOG KIND

KIND is "freedesktop" (org.freedesktop.ScreenSaver) or "gnome" / "mate" (the session
managers). Every call is appended to LOG as one line: "Inhibit <cookie>" or
"UnInhibit <cookie>" (the session managers' "Uninhibit" is logged the same way), so
that a test can compare cookies. "ready" is logged once the name is owned.
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

LOG, KIND = sys.argv[1], sys.argv[2]


def log(line):
    with open(LOG, "a") as f:
        f.write(line + "\n")


class Cookies:
    def __init__(self):
        self.next = 41

    def take(self):
        self.next += 1
        return dbus.UInt32(self.next)


COOKIES = Cookies()


class FreedesktopScreenSaver(dbus.service.Object):
    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="ss", out_signature="u")
    def Inhibit(self, application, reason):
        cookie = COOKIES.take()
        log(f"Inhibit {cookie} {application}")
        return cookie

    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="u", out_signature="")
    def UnInhibit(self, cookie):
        log(f"UnInhibit {cookie}")


def session_manager(interface):
    class SessionManager(dbus.service.Object):
        @dbus.service.method(interface, in_signature="susu", out_signature="u")
        def Inhibit(self, application, toplevel, reason, flags):
            cookie = COOKIES.take()
            log(f"Inhibit {cookie} {application} flags={flags}")
            return cookie

        @dbus.service.method(interface, in_signature="u", out_signature="")
        def Uninhibit(self, cookie):
            log(f"UnInhibit {cookie}")

    return SessionManager


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    if KIND == "freedesktop":
        name, path, cls = ("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                           FreedesktopScreenSaver)
    else:
        desktop = {"gnome": "gnome", "mate": "mate"}[KIND]
        name = f"org.{desktop}.SessionManager"
        path, cls = f"/org/{desktop}/SessionManager", session_manager(name)
    owned = dbus.service.BusName(name, bus)
    cls(owned, path)
    log("ready")
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
