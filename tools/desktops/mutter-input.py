#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Pointer and keys in a headless GNOME (mutter) Wayland session, through
# mutter's RemoteDesktop interface on the session bus of that mutter:
#
#   mutter-input.py [move X Y | click | down | up | key CHAR | keysym HEX | type TEXT | sleep S]...
#
# A move goes to an absolute position: mutter offers absolute motion only
# against a screen-cast stream, so the pointer is pushed into the top-left
# corner and then moved relatively by the target's coordinates (no
# acceleration is applied to this virtual pointer).
import sys
import time

import dbus

BTN_LEFT = 272
KEYSYM_SHIFT = 0xFFE1
STEP = 0.15  # lets mutter and the clients see each event before the next
HOME = -20000.0


def session():
    bus = dbus.SessionBus()
    name = "org.gnome.Mutter.RemoteDesktop"
    desktop = dbus.Interface(bus.get_object(name, "/org/gnome/Mutter/RemoteDesktop"), name)
    path = desktop.CreateSession()
    s = dbus.Interface(bus.get_object(name, path), name + ".Session")
    s.Start()
    time.sleep(0.2)
    # The first key event of a new session is lost: spend it on a Shift.
    s.NotifyKeyboardKeysym(KEYSYM_SHIFT, True)
    time.sleep(0.05)
    s.NotifyKeyboardKeysym(KEYSYM_SHIFT, False)
    time.sleep(0.2)
    return s


def keysym_of(char):
    code = ord(char)
    # Latin-1 characters are their own keysyms; the rest are 0x01000000 + code point.
    return code if code < 0x100 else 0x01000000 + code


def tap(s, keysym):
    s.NotifyKeyboardKeysym(dbus.UInt32(keysym), True)
    time.sleep(0.04)
    s.NotifyKeyboardKeysym(dbus.UInt32(keysym), False)


def run(args):
    s = session()
    i = 0
    try:
        while i < len(args):
            c = args[i]
            if c == "move":
                x, y = float(args[i + 1]), float(args[i + 2])
                s.NotifyPointerMotionRelative(HOME, HOME)
                time.sleep(0.05)
                s.NotifyPointerMotionRelative(x, y)
                i += 3
            elif c in ("click", "down", "up"):
                if c != "up":
                    s.NotifyPointerButton(BTN_LEFT, True)
                    time.sleep(0.05)
                if c != "down":
                    s.NotifyPointerButton(BTN_LEFT, False)
                i += 1
            elif c == "key":
                tap(s, keysym_of(args[i + 1]))
                i += 2
            elif c == "keysym":
                tap(s, int(args[i + 1], 16))
                i += 2
            elif c == "type":
                for char in args[i + 1]:
                    tap(s, keysym_of(char))
                    time.sleep(0.05)
                i += 2
            elif c == "sleep":
                time.sleep(float(args[i + 1]))
                i += 2
            else:
                print("mutter-input: unknown command " + c, file=sys.stderr)
                return 2
            time.sleep(STEP)
        time.sleep(0.3)
    finally:
        s.Stop()
    return 0


if __name__ == "__main__":
    sys.exit(run(sys.argv[1:]))
