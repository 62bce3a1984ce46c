# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""One desktop of the matrix and the checks run on it.

An environment (environments.py) starts its desktop in `start`, says how input
and screenshots work there, and the checks run the same everywhere. Every
check reports "pass", "fail" or "n/a" with a figure; a check that could not be
set up fails with a figure that starts "setup:".

The compass is placed at a known spot on a 1920x1080 desktop (angle 0, spread
150, default skin), and three points of it are used:
  O  = the pivot, an opaque pixel of the base,
  T1 = 100 px below the pivot, a transparent pixel inside the circle, over an
       X window of ours (xev) that reports the clicks it gets,
  T2 = 90 px left of and 70 px above the pivot, transparent, over a native
       Wayland window of ours (catcher) on Wayland compositors.
The program's own renderer (orvanta --render) confirms that O is opaque and
T1, T2 transparent before any of them is used.
"""

import ctypes
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests"))
from harness.session import SETTLE, Session, stop, wait_for  # noqa: E402
from harness.xserver import start_xvfb  # noqa: E402

CHECKS = ["placed", "follows", "undecorated", "not-a-task", "above", "click-through-x",
          "click-through-wayland", "keys-on-click", "keys-elsewhere", "boxes-on-top", "memory"]

DESKTOP_W, DESKTOP_H = 1920, 1080
SPREAD = 150
# The default skin's pivot lies 26 right of and 28 below the compass position.
PIVOT_OFFSET = (26, 28)
PIVOT = (760, 500)
XCATCH = (160, 240)  # the X window below, around T1 and under the pivot O too
WCATCH = (200, 120)  # the native window below, around T2
XTERM_BG = "ff00ff"
# How long the compass may take to show on the screen once its window is there.
DRAW_WAIT = 12.0
# The boxes' check: the compass's beam across the screen's centre, a little
# above it, through the boxes centred on the screen and the ones centred on
# the compass's window (the whole height of the screen at this spread).
BOX_SPREAD = 1200
BOX_PIVOT = (DESKTOP_W // 2 - BOX_SPREAD // 2, DESKTOP_H // 2 - 40)
# A box shows on the screen when at least this share of its pixels over the
# compass's opaque ones (BOX_POINTS of them at least) are its own.
BOX_SHOWN, BOX_POINTS = 0.9, 20
# How long a click may take to reach the window it goes to: on a loaded machine
# each helper's start alone can take seconds, and a pass returns at once.
CLICK_WAIT = 8.0


class Abort(Exception):
    """The environment cannot be used: the checks not yet run fail."""


def expected_window(bx, by, bw, bh, dw, dh):
    """The window a compass that starts gets (no window before), for layer
    bounds BX,BY BWxBH on a desktop of DWxDH: the bounds grown by 2 px and
    clipped to the desktop. A first window fits the compass."""
    def clip(v, hi):
        return max(0, min(v, hi))
    left, top = clip(bx - 2, dw), clip(by - 2, dh)
    right, bottom = clip(bx + bw + 2, dw), clip(by + bh + 2, dh)
    return left, top, right - left, bottom - top


def inside(px, py, rect, margin=0):
    if not rect:
        return False
    x, y, w, h = rect
    return x + margin <= px < x + w - margin and y + margin <= py < y + h - margin


def same_window(a, b):
    try:
        return int(str(a), 0) == int(str(b), 0)
    except (TypeError, ValueError):
        return False


def package_version(package):
    out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True,
                         text=True)
    return out.stdout if out.returncode == 0 and out.stdout else "?"


def rss_kb(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            return next(int(l.split()[1]) for l in f if l.startswith("VmRSS:"))
    except (OSError, StopIteration, ValueError):
        return 0


def signed_mb(kb):
    return "%+.1f" % (kb / 1024)


class Shot:
    """A screenshot in memory, read from xwd's or grim's raw output: pixels
    without a PNG round trip, which costs seconds on a loaded machine."""

    def __init__(self, data):
        self.data = data
        if data.startswith(b"P6"):
            fields = data.split(maxsplit=4)
            self.width, self.height = int(fields[1]), int(fields[2])
            self.offset = len(data) - self.width * self.height * 3
            self.stride, self.step = self.width * 3, 3
            self.rgb = self._ppm
        else:
            order = ">" if struct.unpack(">I", data[:4])[0] < 4096 else "<"
            h = struct.unpack(order + "25I", data[:100])
            self.width, self.height, self.stride = h[4], h[5], h[12]
            self.step = h[11] // 8
            self.little = h[7] == 0
            self.masks = h[14:17]
            self.offset = h[0] + h[19] * 12
            self.rgb = self._xwd

    def _ppm(self, x, y):
        i = self.offset + y * self.stride + x * 3
        return tuple(self.data[i:i + 3])

    def _xwd(self, x, y):
        i = self.offset + y * self.stride + x * self.step
        v = int.from_bytes(self.data[i:i + self.step], "little" if self.little else "big")
        return tuple((v & m) >> ((m & -m).bit_length() - 1) for m in self.masks)

    def pixel(self, x, y):
        """"#RRGGBB" at X,Y, None outside."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        return "#%02X%02X%02X" % self.rgb(x, y)

    def _row(self, x, y, w):
        """RGB bytes of W pixels from X,Y: whole-byte channels are sliced out."""
        i = self.offset + y * self.stride + x * self.step
        if self.rgb == self._ppm:
            return self.data[i:i + 3 * w]
        shifts = [(m & -m).bit_length() - 1 for m in self.masks]
        if self.step != 4 or any(m >> sh != 0xFF or sh % 8 for m, sh in zip(self.masks, shifts)):
            return b"".join(bytes(self.rgb(c, y)) for c in range(x, x + w))
        raw, out = self.data[i:i + 4 * w], bytearray(3 * w)
        for channel, sh in enumerate(shifts):
            at = sh // 8 if self.little else 3 - sh // 8
            out[channel::3] = raw[at::4]
        return bytes(out)

    def save_ppm(self, path, x=0, y=0, w=None, h=None):
        """The rectangle (the whole shot by default, clipped to it) as a PPM file."""
        w = min(self.width - x, self.width if w is None else w)
        h = min(self.height - y, self.height if h is None else h)
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (w, h))
            for r in range(y, y + h):
                f.write(self._row(x, r, w))
        return path


class _Xlib:
    """The few X calls no command-line tool makes: who owns a selection."""

    def __init__(self):
        self.lib = ctypes.CDLL("libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XInternAtom.restype = ctypes.c_ulong
        self.lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.lib.XGetSelectionOwner.restype = ctypes.c_ulong
        self.lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    def selection_owner(self, display, selection):
        d = self.lib.XOpenDisplay(display.encode())
        if not d:
            return 0
        try:
            return self.lib.XGetSelectionOwner(d, self.lib.XInternAtom(d, selection.encode(), 0))
        finally:
            self.lib.XCloseDisplay(d)


# ---------------------------------------------------------------- input

class NoInput:
    def __init__(self, reason=""):
        self.reason = reason

    def why(self):
        return "no input injection" + ("; " + self.reason if self.reason else "")


class XdotoolInput:
    def __init__(self, desktop):
        self.d = desktop

    def move(self, x, y):
        self.d.run("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, x, y):
        self.move(x, y)
        self.d.run("xdotool", "click", "1")

    def type_line(self, text):
        self.d.run("xdotool", "type", "--delay", "60", text)
        self.d.run("xdotool", "key", "Return")

    def key(self, char):
        self.d.run("xdotool", "key", char)

    def escape(self):
        self.d.run("xdotool", "key", "Escape")

    def close(self):
        pass


class WlrInput:
    """wlroots: the pointer from our virtual pointer, keys from wtype.

    A seat whose pointer comes and goes makes XWayland hand each press to a
    program started while it had none twice (one click becomes a double
    click), so one virtual pointer lives from before the program starts to
    the end; each move and click comes from a short-lived one beside it."""

    def __init__(self, desktop, vpointer):
        self.d = desktop
        self.vpointer = vpointer
        # vpointer's longest rest is a minute: enough of them for any run.
        self.holder = desktop.session.spawn(
            "vpointer-holder", [vpointer, str(DESKTOP_W), str(DESKTOP_H)] + ["sleep", "60000"] * 20)
        if not wait_for(lambda: '"pointer"' in desktop.run("swaymsg", "-t", "get_inputs"), 10.0,
                        0.1):
            raise Abort("the virtual pointer did not join the seat (%s)"
                        % desktop.tail("vpointer-holder"))

    def _pointer(self, *commands):
        self.d.run(self.vpointer, str(DESKTOP_W), str(DESKTOP_H), *commands, timeout=20)

    def move(self, x, y):
        self._pointer("move", str(x), str(y))

    def click(self, x, y):
        self._pointer("move", str(x), str(y), "click")

    # wtype's virtual keyboard brings its own keymap, and XWayland loses the
    # first key press after a keymap change: each wtype starts with a Shift.
    def type_line(self, text):
        self.d.run("wtype", "-k", "Shift_L", "-s", "150", "-d", "60", text, "-k", "Return")

    def key(self, char):
        self.d.run("wtype", "-k", "Shift_L", "-s", "150", char)

    def escape(self):
        self.d.run("wtype", "-k", "Shift_L", "-s", "150", "-k", "Escape")

    def close(self):
        stop(self.holder)


class KwinInput:
    """KWin on Wayland: one fake-input device (our kwininput) for the whole
    run, fed one command a line."""

    # Linux key codes of what the checks type.
    CODES = dict(zip("1234567890", range(2, 12)), q=16, **{"\n": 28, "Escape": 1})

    def __init__(self, desktop, helper):
        self.d = desktop
        self.proc = desktop.session.spawn("kwininput", [helper], stdin=subprocess.PIPE,
                                          stdout=subprocess.PIPE, text=True)
        if self.proc.stdout.readline().strip() != "ready":
            raise Abort("KWin's fake input did not start (%s)" % desktop.tail("kwininput"))

    def _send(self, line):
        if self.proc.poll() is not None:
            return
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        answer = self.proc.stdout.readline().strip()
        if answer != "ok":
            self.d.log("kwininput: %s for %s" % (answer or "no answer", line))

    def move(self, x, y):
        # As with a real mouse, the last step is a small one.
        self._send("move %d %d" % (x - 1 if x > 0 else x + 1, y))
        self._send("move %d %d" % (x, y))

    def click(self, x, y):
        self.move(x, y)
        self._send("click")

    def type_line(self, text):
        for char in text + "\n":
            self._send("key %d" % self.CODES[char])

    def key(self, char):
        self._send("key %d" % self.CODES[char])

    def escape(self):
        self.key("Escape")

    def close(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
        stop(self.proc)


class MutterInput:
    """GNOME on Wayland: one RemoteDesktop session of mutter for the whole run
    (each session is a virtual device of its own). mutter offers absolute
    motion only against a screen-cast stream, so the pointer is pushed into
    the top-left corner and moved from there by the target's coordinates (no
    acceleration is applied to this virtual pointer)."""

    BTN_LEFT = 272
    SHIFT, RETURN, ESCAPE = 0xFFE1, 0xFF0D, 0xFF1B
    HOME = -20000.0
    PACE = 0.05  # between the events of one gesture, as a hand makes them

    def __init__(self, desktop):
        import dbus
        self.dbus = dbus
        self.bus = dbus.bus.BusConnection(desktop.session.env["DBUS_SESSION_BUS_ADDRESS"])
        name = "org.gnome.Mutter.RemoteDesktop"
        remote = dbus.Interface(self.bus.get_object(name, "/org/gnome/Mutter/RemoteDesktop"), name)
        path = remote.CreateSession()
        self.s = dbus.Interface(self.bus.get_object(name, path), name + ".Session")
        self.s.Start()
        # The first key event of a new session is lost: spend it on a Shift.
        self._tap(self.SHIFT)

    def _tap(self, keysym):
        self.s.NotifyKeyboardKeysym(self.dbus.UInt32(keysym), True)
        time.sleep(self.PACE)
        self.s.NotifyKeyboardKeysym(self.dbus.UInt32(keysym), False)
        time.sleep(self.PACE)

    def move(self, x, y):
        self.s.NotifyPointerMotionRelative(self.HOME, self.HOME)
        time.sleep(self.PACE)
        self.s.NotifyPointerMotionRelative(float(x), float(y))
        time.sleep(self.PACE)

    def click(self, x, y):
        self.move(x, y)
        self.s.NotifyPointerButton(self.BTN_LEFT, True)
        time.sleep(self.PACE)
        self.s.NotifyPointerButton(self.BTN_LEFT, False)
        time.sleep(self.PACE)

    def type_line(self, text):
        for char in text:
            self._tap(ord(char))
        self._tap(self.RETURN)

    def key(self, char):
        self._tap(ord(char))

    def escape(self):
        self._tap(self.ESCAPE)

    def close(self):
        try:
            self.s.Stop()
        except self.dbus.DBusException:
            pass
        self.bus.close()


# ---------------------------------------------------------------- the desktop

class Desktop:
    """The desktop an environment starts, the program on it and the checks."""

    name = ""
    wayland = False  # a Wayland compositor with XWayland
    shot = "none"  # x11 | grim | weston | none
    xterm_cells = (100, 4)  # the xterm raised over the compass: columns, rows of 6 x 13 px
    # A tiling desktop lays a new window out some time after it is mapped: a
    # rect that reads the same twice may be the one asked for, not yet laid
    # out, so the windows below are always placed there.
    tiles = False
    # The shadow a desktop draws around a frame, inside its frame window.
    frame_shadow = 0

    def __init__(self, work, results, versions, program_dir, clients, options):
        self.work = work
        self.results_file = results
        self.versions_file = versions
        self.program_dir = program_dir
        self.clients = clients
        self.options = options
        os.makedirs(work, exist_ok=True)
        self.session = Session(work)
        self.reported = set()
        self.input = NoInput()
        self.servers = []  # the pids whose memory counts as the display server's
        self.program_env = {}  # DISPLAY, WAYLAND_DISPLAY, ... for the program
        self.program = None
        self.xcatcher = self.xterm = self.wcatcher = None
        self.wcatcher_origin = self.wcatcher_missing = None
        px, py = PIVOT
        self.o, self.t1, self.t2 = (px, py), (px, py + 100), (px - 90, py - 70)
        self.xterm_at = (px - 60, py - 30)

    # ------------------------------------------------------------ reporting

    def log(self, text):
        print("[%s %s] %s" % (self.name, time.strftime("%T"), text), file=sys.stderr, flush=True)

    def result(self, check, status, figure=""):
        figure = " ".join(figure.split())
        with open(self.results_file, "a") as f:
            f.write("%s\t%s\t%s\t%s\n" % (self.name, check, status, figure))
        self.reported.add(check)
        self.log("%s: %s%s" % (check, status, " (%s)" % figure if figure else ""))

    def version(self, text):
        with open(self.versions_file, "a") as f:
            f.write("%s\t%s\n" % (self.name, text))

    def tail(self, log, lines=2):
        try:
            with open(os.path.join(self.work, log + ".log"), errors="replace") as f:
                return " ".join(f.read().splitlines()[-lines:])
        except OSError:
            return ""

    # ------------------------------------------------------------ commands

    @property
    def env(self):
        return self.session.env

    def run(self, *args, timeout=10, env=None):
        """Runs a command on this desktop; its standard output, "" when it failed."""
        try:
            out = subprocess.run(args, env=self.env if env is None else env, capture_output=True,
                                 text=True, timeout=timeout, stdin=subprocess.DEVNULL)
        except (subprocess.TimeoutExpired, OSError):
            return ""
        return out.stdout if out.returncode == 0 else ""

    def ok(self, *args, timeout=10):
        try:
            return subprocess.run(args, env=self.env, capture_output=True, timeout=timeout,
                                  stdin=subprocess.DEVNULL).returncode == 0
        except (subprocess.TimeoutExpired, OSError):
            return False

    def spawn(self, name, args, env=None):
        return self.session.spawn(name, args, env=env)

    def read_log(self, name):
        try:
            with open(os.path.join(self.work, name + ".log"), errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def from_log(self, name, pattern, timeout):
        """Waits until the log NAME has a line matching PATTERN; its first group."""
        found = wait_for(lambda: re.search(pattern, self.read_log(name)), timeout, 0.2)
        return found.group(1) if found else None

    # ------------------------------------------------------------ X servers

    def start_xvfb(self):
        try:
            proc, _ = start_xvfb(DESKTOP_W, DESKTOP_H, self.session, args=("-noreset",))
        except RuntimeError as e:
            raise Abort(str(e))
        self.servers = [proc.pid]
        self.version("Xvfb " + package_version("xvfb"))

    def x_ready(self):
        return self.ok("xdpyinfo", timeout=3)

    def wm_ready(self):
        """The X window manager's check: a _NET_SUPPORTING_WM_CHECK window on the root."""
        return "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", timeout=3)

    def composited(self):
        try:
            return _Xlib().selection_owner(self.env["DISPLAY"], "_NET_WM_CM_S0") != 0
        except OSError:
            return False

    def xwayland_servers(self, compositor):
        """The compositor and the XWayland server of DISPLAY are the display
        servers whose memory counts; notes XWayland's version."""
        display = self.env["DISPLAY"]
        pid = None
        for line in subprocess.run(["ps", "-eo", "pid=,args="], capture_output=True,
                                   text=True).stdout.splitlines():
            parts = line.split()
            if len(parts) >= 3 and parts[1].endswith("Xwayland") and parts[2] == display:
                pid = int(parts[0])
                break
        self.servers = [compositor.pid] + ([pid] if pid else [])
        out = subprocess.run(["Xwayland", "-version"], capture_output=True, text=True)
        m = re.search(r"Xwayland Version.*", out.stdout + out.stderr)
        self.version("%s on %s" % (m.group(0) if m else "Xwayland ?", display))

    # ------------------------------------------------------------ X windows

    def x_rect(self, window):
        """(x, y, w, h) of a window's inside in root coordinates, or None."""
        info = self.run("xwininfo", "-id", str(window or 0), timeout=5)
        values = {}
        for key, pattern in (("x", r"Absolute upper-left X:\s*(-?\d+)"),
                             ("y", r"Absolute upper-left Y:\s*(-?\d+)"),
                             ("w", r"\n\s+Width:\s*(\d+)"), ("h", r"\n\s+Height:\s*(\d+)")):
            m = re.search(pattern, info)
            if not m:
                return None
            values[key] = int(m.group(1))
        return values["x"], values["y"], values["w"], values["h"]

    def x_root(self):
        m = re.search(r"Window id: (0x[0-9a-f]+)", self.run("xwininfo", "-root", timeout=5))
        return m.group(1) if m else None

    def x_toplevel(self, window):
        """Its ancestor that is a child of the root (a frame, or the window
        itself when the window manager does not reparent)."""
        root, w = self.x_root(), window
        for _ in range(8):
            m = re.search(r"Parent window id: (0x[0-9a-f]+)",
                          self.run("xwininfo", "-id", str(w), "-tree", timeout=5))
            if not m:
                break
            if same_window(m.group(1), root):
                return w
            w = m.group(1)
        return window

    def x_above(self, a, b):
        """Toplevel A lies above toplevel B in the X stacking order."""
        ids = re.findall(r"^\s+(0x[0-9a-f]+) ", self.run("xwininfo", "-root", "-children"),
                         re.M)
        order = [int(i, 16) for i in ids]  # from the top down
        try:
            return order.index(int(str(a), 0)) < order.index(int(str(b), 0))
        except ValueError:
            return False

    def x_find(self, timeout, *search):
        """The first viewable window that matches xdotool search's arguments."""
        found = wait_for(lambda: self.run("xdotool", "search", "--all", "--onlyvisible", *search,
                                          timeout=3).split(), timeout, 0.2)
        return found[0] if found else None

    def settled_rect(self, window, timeout=3.0):
        """The window's rect once it reads the same twice in a row."""
        last = [None]

        def steady():
            now, before = self.x_rect(window), last[0]
            last[0] = now
            return now if now is not None and now == before else None
        return wait_for(steady, timeout, 0.1) or last[0]

    def x_place(self, window, x, y):
        """Moves a window's inside to X,Y, correcting once for the frame the
        window manager put around it."""
        before = self.x_rect(window)
        self.place_window(window, x, y)
        wait_for(lambda: self.x_rect(window) != before, 3.0, 0.1)
        rect = self.settled_rect(window)
        if rect and rect[:2] != (x, y):
            self.place_window(window, 2 * x - rect[0], 2 * y - rect[1])
            wait_for(lambda: (self.x_rect(window) or (0, 0))[:2] == (x, y), 3.0, 0.1)

    def active_window(self):
        m = re.search(r"0x[0-9a-f]+", self.run("xprop", "-root", "_NET_ACTIVE_WINDOW", timeout=5))
        return m.group(0) if m else None

    def prop(self, window, name):
        return self.run("xprop", "-id", str(window), name, timeout=5)

    def title(self):
        m = re.search(r'= "(.*)"', self.prop(self.compass, "_NET_WM_NAME"))
        return m.group(1) if m else ""

    def x_pointer(self):
        """Where the X server has the pointer: {"X": .., "Y": .., "WINDOW": ..}
        (the window under it, as X picks it through the input shapes), or {}."""
        return dict(re.findall(r"^(\w+)=(\d+)$",
                               self.run("xdotool", "getmouselocation", "--shell"), re.M))

    def x_pointer_at(self, x, y):
        """The X pointer once it is at X,Y, else None."""
        got = self.x_pointer()
        return got if (got.get("X"), got.get("Y")) == (str(x), str(y)) else None

    def window_text(self, window):
        """One of ours by name, any other by its id."""
        for ours, name in ((self.compass, "the compass"), (self.xterm, "the xterm"),
                           (self.xcatcher, "xev")):
            if ours and same_window(window, ours):
                return name
        return "0x%x" % int(str(window), 0)

    def focus_text(self):
        """Which window has the focus, as the X side sees it."""
        out = self.run("xprop", "-root", "_NET_ACTIVE_WINDOW", timeout=5)
        if not out:
            return "the X focus could not be read (xprop failed)"
        m = re.search(r"0x[0-9a-f]+", out)
        if not m or same_window(m.group(0), 0):
            return "no X window focused"
        return "X focus on " + self.window_text(m.group(0))

    # ------------------------------------------------------------ hooks

    def start(self):
        """Starts the desktop: sets DISPLAY and the rest in self.env."""
        raise NotImplementedError

    def place_window(self, window, x, y):
        """Asks for the window (frame) at X,Y."""
        self.run("xdotool", "windowmove", str(window), str(x), str(y), timeout=5)

    def raise_window(self, window):
        """Raises and focuses a window as a user clicking on it would."""
        self.run("xdotool", "windowactivate", str(window), timeout=5)
        self.run("xdotool", "windowraise", str(window), timeout=5)
        wait_for(lambda: same_window(self.active_window(), window), 3.0, 0.1)

    def shown(self, window):
        """The desktop shows the mapped X window: on a loaded machine a
        compositor can leave an X window mapped but never shown (it is not
        drawn and takes no clicks)."""
        return True

    def place_wayland_catcher(self):
        pass

    def move_wayland_catcher(self):
        pass

    # ------------------------------------------------------------ screenshots

    def grab(self):
        """The screen now as a Shot, or None where there are no screenshots."""
        data = b""
        if self.shot == "x11":
            data = self.run_bytes("xwd", "-root", "-silent")
        elif self.shot == "grim":
            data = self.run_bytes("grim", "-t", "ppm", "-")
        elif self.shot == "weston":
            shots = os.path.join(self.work, "shots")
            shutil.rmtree(shots, ignore_errors=True)
            os.makedirs(shots)
            subprocess.run(["weston-screenshooter"], cwd=shots, env=self.env,
                           capture_output=True, timeout=10)
            made = [f for f in os.listdir(shots) if f.endswith(".png")]
            if made:
                data = self.run_bytes("convert", os.path.join(shots, made[0]), "ppm:-")
        try:
            return Shot(data) if len(data) > 100 else None
        except (struct.error, ValueError, IndexError):
            return None

    def run_bytes(self, *args):
        try:
            out = subprocess.run(args, env=self.env, capture_output=True, timeout=20,
                                 stdin=subprocess.DEVNULL)
        except (subprocess.TimeoutExpired, OSError):
            return b""
        return out.stdout if out.returncode == 0 else b""

    def screenshot(self, name):
        """The whole screen to WORK/NAME.ppm where screenshots work, for a
        person to look at after the run."""
        shot = self.grab()
        return shot.save_ppm(os.path.join(self.work, name + ".ppm")) if shot else None

    def pixel(self, x, y):
        """"#RRGGBB" of the screen there, or None."""
        shot = self.grab()
        return shot.pixel(x, y) if shot else None

    # ------------------------------------------------------------ the program

    def prepare_program(self):
        """A copy of the program folder with its own home and XDG folders."""
        self.program = os.path.join(self.work, "program")
        shutil.rmtree(self.program, ignore_errors=True)
        bin_dir = os.path.join(self.program, "bin")
        shutil.copytree(self.program_dir, bin_dir, ignore=shutil.ignore_patterns(
            "orvanta_*", "Compass.ini", "*.compassskin"))
        self.penv = dict(self.env)
        for var, name in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"),
                          ("XDG_DATA_HOME", "data"), ("XDG_RUNTIME_DIR", "runtime")):
            self.penv[var] = os.path.join(self.program, name)
            os.makedirs(self.penv[var], mode=0o700)
        self.binary = os.path.join(bin_dir, "orvanta")
        self.ini = os.path.join(bin_dir, "Compass.ini")
        self.write_options()

    def write_options(self, pivot=PIVOT, spread=SPREAD):
        """The options the compass starts with, and the matrix's --option lines."""
        lines = ["[Options]", "FirstTime=0", "HideSplash=1",
                 "X=%d" % (pivot[0] - PIVOT_OFFSET[0]), "Y=%d" % (pivot[1] - PIVOT_OFFSET[1]),
                 "Angle=0", "Measurement=%d" % spread] + list(self.options)
        with open(self.ini, "w", newline="") as f:
            f.write("".join(line + "\r\n" for line in lines))

    def render(self, path, *extra):
        env = dict(self.penv, QT_QPA_PLATFORM="offscreen")
        out = subprocess.run([self.binary, "--render", path, "--desktop",
                              "%dx%d" % (DESKTOP_W, DESKTOP_H), *extra], env=env,
                             capture_output=True, timeout=30)
        return out.returncode == 0

    def alpha_at(self, image, x, y):
        out = self.run("convert", image, "-format", "%%[fx:int(255*p{%d,%d}.a+0.5)]" % (x, y),
                       "info:")
        return int(out) if out.strip().isdigit() else None

    def expect_layout(self):
        """The window the program must get: the compass's layer bounds from
        its own renderer (the render of the whole desktop less the
        transparent border of the cropped render, whose size is the bounds'
        size), placed as a new window is; and the render's pixels at O, T1, T2."""
        self.alpha = {}
        full = os.path.join(self.work, "render-full.png")
        self.expected = self.rendered_window(full)
        if not self.expected:
            return
        m = re.search(r"#[0-9A-Fa-f]{6}", self.run(
            "convert", full, "-crop", "1x1+%d+%d" % self.o, "-depth", "8", "txt:-"))
        self.colour_o = m.group(0) if m else None
        self.template = os.path.join(self.work, "pivot-template.png")
        self.run("convert", full, "-crop", "24x24+%d+%d" % (self.o[0] - 12, self.o[1] - 12),
                 "+repage", "-background", "black", "-alpha", "remove", self.template)
        for point, name in ((self.o, "O"), (self.t1, "T1"), (self.t2, "T2")):
            self.alpha[name] = self.alpha_at(full, *point)
        self.log("render: window %s, alpha %s" % (self.expected, self.alpha))

    def rendered_window(self, full):
        """Renders the compass of Compass.ini over the whole desktop to FULL;
        the window it must get, or None."""
        crop = os.path.join(self.work, "render-crop.png")
        if not (self.render(full) and self.render(crop, "--crop")):
            self.log("the program's --render failed")
            return None
        trim = lambda image: [int(v) for v in self.run(
            "convert", image, "-alpha", "extract", "-trim", "-format", "%X %Y", "info:")
            .replace("+", "").split()]
        (ax, ay), (cx, cy) = trim(full), trim(crop)
        bw, bh = [int(v) for v in self.run("identify", "-format", "%w %h", crop).split()]
        return expected_window(ax - cx, ay - cy, bw, bh, DESKTOP_W, DESKTOP_H)

    def server_rss(self):
        return [rss_kb(pid) for pid in self.servers]

    def start_program(self):
        self.server_before = self.server_rss()
        env = dict(self.penv, **self.program_env)
        self.proc = self.spawn("orvanta", [self.binary], env=env)
        self.compass = self.x_find(15, "--pid", str(self.proc.pid), "--name", "^Compass")
        if not self.compass:
            if self.proc.poll() is not None:
                raise Abort("the program exited (%s)" % self.tail("orvanta"))
            raise Abort("no X window of the program appeared")
        # Settled: the same place twice in a row.
        last = [None]

        def steady():
            now, before = self.x_rect(self.compass), last[0]
            last[0] = now
            return now is not None and now == before
        wait_for(steady, 6.0, 0.3)
        self.compass_rect = self.x_rect(self.compass)
        self.compass_top = self.x_toplevel(self.compass)
        self.log("compass window %s (top %s) at %s" % (self.compass, self.compass_top,
                                                        self.compass_rect))

    # ------------------------------------------------------------ the catchers

    def start_x_catcher(self):
        """The X window below T1: xev, which prints the button presses it receives."""
        w, h = XCATCH
        x, y = self.t1[0] - w // 2, self.t1[1] - h // 2
        for _ in range(3):
            proc = self.spawn("xev", ["xev", "-geometry", "%dx%d+%d+%d" % (w, h, x, y), "-name",
                                      "matrix-xev", "-event", "button"])
            self.xcatcher = self.x_find(10, "--name", "^matrix-xev$")
            if not self.xcatcher or wait_for(lambda: self.shown(self.xcatcher), 5.0, 0.1):
                break
            self.log("xev %s is mapped but not shown by the desktop: another xev" % self.xcatcher)
            stop(proc)
        if not self.xcatcher:
            self.log("the X window below did not appear")
            return
        self.xcatcher_top = self.x_toplevel(self.xcatcher)
        if self.tiles or self.settled_rect(self.xcatcher) != (x, y, w, h):
            self.x_place(self.xcatcher, x, y)
        self.log("X catcher %s at %s" % (self.xcatcher, self.x_rect(self.xcatcher)))

    def x_catcher_clicks(self):
        return len(re.findall(r"^ButtonPress", self.read_log("xev"), re.M))

    def start_wayland_catcher(self, *extra):
        """The native Wayland window below T2 (Wayland compositors only)."""
        helper = os.path.join(self.clients, "orvanta_catcher")
        if not os.access(helper, os.X_OK):
            self.wcatcher_missing = "no %s (build orvanta_desktop_clients)" % helper
            return False
        w, h = WCATCH
        self.wcatcher = self.spawn("catcher", [helper, str(w), str(h), "00a040", "matrix-catcher",
                                               *extra])
        return wait_for(lambda: re.search(r"^ready", self.read_log("catcher"), re.M), 10.0, 0.1)

    def probe_wayland_catcher(self):
        """Where the native window lies, from the pointer: the surface position
        it reports for the pointer at T2; None when it is not under T2."""
        self.wcatcher_origin = None
        if isinstance(self.input, NoInput):
            return
        before = len(self.read_log("catcher").splitlines())

        def seen():
            lines = self.read_log("catcher").splitlines()[before:]
            at = [l.split() for l in lines if l.startswith(("enter ", "motion "))]
            return at[-1] if at else None

        def moved_over():
            # A window the compositor has not yet shown gets no enter: the
            # pointer comes again until one arrives.
            self.input.move(*self.t2)
            return wait_for(seen, 1.5, 0.1)
        at = wait_for(moved_over, 8.0, 0.1)
        if at:
            self.wcatcher_origin = (self.t2[0] - int(float(at[1])),
                                    self.t2[1] - int(float(at[2])))
            self.log("native window at %s" % (self.wcatcher_origin,))

    def wayland_catcher_presses(self):
        return len(re.findall(r"^button 272 pressed", self.read_log("catcher"), re.M))

    # ------------------------------------------------------------ the xterm

    def start_xterm(self):
        self.xterm_file = os.path.join(self.work, "xterm-typed")
        open(self.xterm_file, "w").close()
        cols, rows = self.xterm_cells
        x, y = self.xterm_at
        self.spawn("xterm", ["xterm", "-title", "matrix-xterm", "-xrm",
                             "XTerm*allowTitleOps: false", "-bg", "#" + XTERM_BG, "-fg", "black",
                             "-geometry", "%dx%d+%d+%d" % (cols, rows, x, y), "-e", "sh", "-c",
                             "stty -icanon -echo; exec cat > '%s'" % self.xterm_file])
        self.xterm = self.x_find(10, "--name", "^matrix-xterm$")
        if not self.xterm:
            return False
        if self.tiles or (self.settled_rect(self.xterm) or (0, 0))[:2] != (x, y):
            self.x_place(self.xterm, x, y)
        self.xterm_top = self.x_toplevel(self.xterm)
        self.log("xterm %s (top %s) at %s" % (self.xterm, self.xterm_top,
                                              self.x_rect(self.xterm)))
        return True

    def typed(self):
        with open(self.xterm_file, errors="replace") as f:
            return f.read().replace("\n", "").replace("\r", "")

    # ------------------------------------------------------------ the checks

    def no_input(self):
        return isinstance(self.input, NoInput)

    def check_memory(self):
        """Program RSS, and how much the display server grew when the compass
        started (the X server; on Wayland XWayland and the compositor).
        Absurd is more than 150 MB either."""
        prog = rss_kb(self.proc.pid)
        now = self.server_rss()
        growth = sum(now) - sum(self.server_before)
        parts = ", ".join("%s %s" % (self.run("ps", "-o", "comm=", "-p", str(pid)).strip(),
                                     signed_mb(a - b))
                          for pid, a, b in zip(self.servers, now, self.server_before))
        figure = "%.1f MB, server %s MB; program RSS, display server growth (%s)" % (
            prog / 1024, signed_mb(growth), parts)
        if prog == 0:
            self.result("memory", "fail", "program not running")
        else:
            ok = prog <= 150 * 1024 and growth <= 150 * 1024
            self.result("memory", "pass" if ok else "fail", figure)

    def find_pivot(self, x, y):
        """Where the compass's pivot is drawn on the screen, searched within
        96 px of X,Y by matching the 24 x 24 opaque pixels around the pivot in
        the render (an inactive compass is drawn a little translucent: the
        best match counts when its normalised RMSE is under 0.15)."""
        if not os.path.exists(getattr(self, "template", "")):
            return None
        shot = self.grab()
        if not shot:
            return None
        rx, ry = max(0, x - 108), max(0, y - 108)
        region = shot.save_ppm(os.path.join(self.work, "find-region.ppm"), rx, ry, 216, 216)
        out = subprocess.run(["compare", "-metric", "RMSE", "-subimage-search", region,
                              self.template, "null:"], capture_output=True, text=True,
                             timeout=30, env=self.env)
        m = re.search(r"\(([0-9.e-]+)\) @ (\d+),(\d+)", out.stderr + out.stdout)
        if not m or float(m.group(1)) >= 0.15:
            return None
        return rx + int(m.group(2)) + 12, ry + int(m.group(3)) + 12

    def measure_offset(self):
        """Where the compass is against where the program asked for it: its X
        window's top-left, and where screenshots exist the pivot as drawn."""
        self.win_d = self.drawn_d = self.drawn_after = None
        if not self.compass_rect or not self.expected:
            return
        self.win_d = (self.compass_rect[0] - self.expected[0],
                      self.compass_rect[1] - self.expected[1])
        if self.shot == "none":
            return
        start, tries = time.monotonic(), [0]

        def drawn():
            tries[0] += 1
            return self.find_pivot(PIVOT[0] + self.win_d[0], PIVOT[1] + self.win_d[1])
        at = wait_for(drawn, DRAW_WAIT, 0.5)
        if at:
            self.drawn_d = (at[0] - PIVOT[0], at[1] - PIVOT[1])
            if tries[0] > 1:
                self.drawn_after = time.monotonic() - start

    def screen_offset(self):
        """The offset the points of the compass are off by on the screen."""
        return self.drawn_d or self.win_d or (0, 0)

    def check_placed(self):
        if not self.expected:
            self.result("placed", "fail", "setup: the program's --render gave no expectation")
            return
        self.measure_offset()
        w, h = self.compass_rect[2:]
        dx, dy = self.win_d
        ok = (dx, dy) == (0, 0)
        window = "window %+d,%+d" % (dx, dy)
        if (w, h) != self.expected[2:]:
            window += " (size %dx%d, expected %dx%d)" % (w, h, *self.expected[2:])
        short, drawn = "%+d,%+d" % (dx, dy), ""
        if self.shot != "none":
            if self.drawn_d is None:
                ok, short = False, "not seen"
                drawn = ", pivot not seen on the screen within %d s" % DRAW_WAIT
            else:
                short = "%+d,%+d" % self.drawn_d
                drawn = ", pivot drawn %+d,%+d" % self.drawn_d
                if self.drawn_after is not None:
                    drawn += " after %.0f s" % self.drawn_after
                ok = ok and all(-1 <= v <= 1 for v in self.drawn_d)
        else:
            window += " (no screenshot here)"
        self.result("placed", "pass" if ok else "fail", "%s; %s%s" % (short, window, drawn))

    def compass_call(self, verb, member, *args, path="/VelmoraCompass",
                     interface="Compass.IVelmoraCompass"):
        """busctl's answer (None when the call failed)."""
        try:
            out = subprocess.run(["busctl", "--user", verb, "Compass.VelmoraCompass", path,
                                  interface, member, *args],
                                 env=self.penv, capture_output=True, text=True, timeout=5)
        except subprocess.TimeoutExpired:
            return None
        return out.stdout if out.returncode == 0 else None

    def check_follows(self):
        """The compass moved by the automation's MoveTo, as a drag moves it:
        the window goes along by the same amount and, where screenshots are
        taken, the pivot is drawn at the new place; then it goes back."""
        dx, dy = 150, 100
        rect = self.x_rect(self.compass)
        try:
            cx = int(self.compass_call("get-property", "X").split()[1])
            cy = int(self.compass_call("get-property", "Y").split()[1])
        except (AttributeError, IndexError, ValueError):
            rect = None
        if not rect:
            self.result("follows", "fail", "setup: no window or no position over D-Bus")
            return
        if self.compass_call("call", "MoveTo", "ii", str(cx + dx), str(cy + dy)) is None:
            self.result("follows", "fail", "setup: MoveTo refused")
            return
        at = lambda: (self.x_rect(self.compass) or (0, 0))[:2]
        ok = bool(wait_for(lambda: at() == (rect[0] + dx, rect[1] + dy), 5.0, 0.1))
        nx, ny = at()
        figure = "window %+d,%+d for %+d,%+d" % (nx - rect[0], ny - rect[1], dx, dy)
        if self.shot != "none":
            sx, sy = self.screen_offset()
            want = (PIVOT[0] + sx + dx, PIVOT[1] + sy + dy)
            found = wait_for(lambda: self.find_pivot(*want), DRAW_WAIT, 0.5)
            if found:
                off = (found[0] - want[0], found[1] - want[1])
                figure += ", pivot drawn %+d,%+d off" % off
                ok = ok and all(-1 <= v <= 1 for v in off)
            else:
                ok = False
                figure += ", pivot not seen at its new place"
        self.compass_call("call", "MoveTo", "ii", str(cx), str(cy))
        if not wait_for(lambda: at() == rect[:2], 5.0, 0.1):
            self.log("the compass did not come back to %d,%d" % rect[:2])
        self.result("follows", "pass" if ok else "fail", figure)

    def check_undecorated(self):
        """Decorations as the X side sees them: a frame larger than the
        window, or frame extents."""
        m = re.search(r"= (.*)", self.prop(self.compass, "_NET_FRAME_EXTENTS"))
        extents = m.group(1).replace(" ", "") if m else ""
        x, y, w, h = self.compass_rect
        fx, fy, fw, fh = self.x_rect(self.compass_top) or self.compass_rect
        margins = (x - fx, y - fy, fx + fw - x - w, fy + fh - y - h)
        figure = ("frame %d,%d,%d,%d; frame window's margins around the window (left, top, "
                  "right, bottom)" % margins) + (", _NET_FRAME_EXTENTS " + extents if extents else "")
        ok = margins == (0, 0, 0, 0) and extents in ("", "0,0,0,0")
        self.result("undecorated", "pass" if ok else "fail", figure)

    def check_not_a_task(self):
        state = self.prop(self.compass, "_NET_WM_STATE")
        m = re.search(r"_NET_WM_WINDOW_TYPE_([A-Z_]*)",
                      self.prop(self.compass, "_NET_WM_WINDOW_TYPE"))
        listed = "unknown"
        ids = [l.split()[0] for l in self.run("wmctrl", "-l", timeout=5).splitlines() if l]
        if ids:
            listed = "yes" if any(same_window(i, self.compass) for i in ids) else "no"
        flags = [f for f in ("SKIP_TASKBAR", "SKIP_PAGER") if "_NET_WM_STATE_" + f in state]
        figure = "%s; type %s, in wmctrl -l: %s" % (" ".join(flags) or "no skip flags",
                                                     m.group(1) if m else "", listed)
        ok = len(flags) == 2 or listed == "no"
        self.result("not-a-task", "pass" if ok else "fail", figure)

    def drawn_at(self, x, y):
        """The pixel at X,Y, and whether it is the compass's pivot pixel: its
        colour in the render within 56 a channel, which an inactive compass
        drawn at 80 % opacity over any background still meets."""
        seen = self.pixel(x, y)
        if not seen or not self.colour_o:
            return seen, False
        near = all(abs(int(seen[i:i + 2], 16) - int(self.colour_o[i:i + 2], 16)) <= 56
                   for i in (1, 3, 5))
        return seen, near

    def check_above(self):
        """What is on top at the compass's opaque pixel O once the xterm was
        raised over it: the screen's pixel where there are screenshots (the
        xterm's magenta means the xterm), else the X window under the pointer."""
        if self.shot != "none":
            seen, near = wait_for(lambda: (lambda s: s if s[1] else None)(self.drawn_at(*self.o)),
                                  DRAW_WAIT, 0.5) or self.drawn_at(*self.o)
            if not near:
                self.result("above", "fail", "compass not drawn; at its pivot even before the "
                            "xterm (%s)" % seen)
                return
        if not self.start_xterm():
            self.result("above", "fail", "setup: the xterm did not appear")
            return
        rect = self.x_rect(self.xterm)
        if not inside(*self.o, rect, 3):
            self.result("above", "fail", "setup: the xterm is not over the compass (at %s)"
                        % (rect,))
            return
        self.raise_window(self.xterm)
        # What must not happen (the xterm drawn over the compass) gets the settle time.
        time.sleep(SETTLE)
        if self.shot != "none":
            self.screenshot("above")
            seen = self.pixel(*self.o)
            if not seen:
                self.result("above", "fail", "setup: no screenshot")
            elif seen.lower() == "#" + XTERM_BG:
                self.result("above", "fail", "xterm on top; its colour at the compass's pivot "
                            "(%s)" % seen)
            else:
                self.result("above", "pass", "compass on top; drawn over the raised xterm (%s)"
                            % seen)
            return
        if self.no_input():
            self.result("above", "n/a", "no screenshot and " + self.input.why())
            return
        self.input.move(*self.o)
        under = (wait_for(lambda: self.x_pointer_at(*self.o), 3.0, 0.1) or {}).get("WINDOW", "0")
        top = self.x_toplevel(under)
        if same_window(top, self.compass_top):
            self.result("above", "pass", "compass on top; under the pointer over the raised "
                        "xterm (no screenshot here)")
        elif same_window(top, self.xterm_top):
            self.result("above", "fail", "xterm on top; under the pointer at the compass's "
                        "pivot (no screenshot here)")
        else:
            self.result("above", "fail", "other window on top; %s under the pointer, neither "
                        "compass nor xterm" % under)

    def move_xterm_aside(self):
        """The xterm leaves the compass's window for the checks that click the
        compass, so that a desktop that put it over the compass does not take
        their clicks too."""
        if not self.xterm or not self.compass_rect:
            return
        cx, cy, cw, ch = self.compass_rect
        self.x_place(self.xterm, cx, cy + ch + 40)
        self.log("xterm moved aside to %s" % (self.x_rect(self.xterm),))

    def clickable(self, check, point, alpha):
        """A click-through check can click there: there is input, and POINT is
        a transparent pixel (ALPHA in the render) inside the compass's window.
        Otherwise it reports the check (n/a, or a failed setup)."""
        if self.no_input():
            self.result(check, "n/a", self.input.why())
        elif alpha != 0:
            self.result(check, "fail", "setup: %d,%d is not transparent in the render (alpha %s)"
                        % (*point, alpha))
        elif not inside(*point, self.compass_rect, 2):
            self.result(check, "fail", "setup: %d,%d is outside the compass's window" % point)
        else:
            return True
        return False

    def click_through(self, check, point, counter, name):
        """Clicks there; passes when the window below, whose presses COUNTER
        counts, got one more. For an X window below, the pointer first goes
        there and the click waits until the X server has it there: on Wayland
        the X pointer moves only once the compositor gave an X surface the
        pointer, and a click before that is not the one checked."""
        before = counter()
        pointer = ""
        if name == "xev":
            self.input.move(*point)
            if not wait_for(lambda: self.x_pointer_at(*point), CLICK_WAIT, 0.1):
                got = self.x_pointer()
                pointer = ", the X pointer never came there (it is at %s,%s)" % (
                    got.get("X", "?"), got.get("Y", "?"))
        start = time.monotonic()
        self.input.click(*point)
        reached = wait_for(lambda: counter() > before, CLICK_WAIT, 0.1)
        took = time.monotonic() - start
        note = ""
        if name == "xev" and self.x_above(self.xcatcher_top, self.compass_top):
            note = " (xev lies above the compass after it: the desktop raised it)"
        if (reached and name == "xev" and self.alpha.get("O") == 255
                and inside(*self.o, self.x_rect(self.xcatcher) or (0, 0, 0, 0))):
            # The window below now has the focus; the compass must still take a
            # click on its solid base (sway 1.7 stacked the focused X window
            # above it in X's own stack, and X sent the click there).
            before = counter()
            self.input.click(*self.o)
            if wait_for(lambda: counter() > before, SETTLE, 0.1):
                self.result(check, "fail", "reached xev, but so did the next click, on the "
                            "compass's solid base at %d,%d%s" % (*self.o, note))
                return
            note += "; the compass's base at %d,%d still took its click" % self.o
        if reached:
            self.log("%s: the press reached %s %.1f s after the click began" % (check, name, took))
            self.result(check, "pass", "reached %s; the click at %d,%d%s" % (name, *point, note))
            return
        under = ""
        if name == "xev":
            got = self.x_pointer()
            if got.get("WINDOW"):
                under = ", under the X pointer at %s,%s: %s" % (
                    got.get("X"), got.get("Y"), self.window_text(got["WINDOW"]))
        self.result(check, "fail", "did not reach %s; the click at %d,%d, then %s%s%s "
                    "(%.1f s)" % (name, *point, self.focus_text(), under, pointer, took))

    def check_click_through_x(self):
        if not self.clickable("click-through-x", self.t1, self.alpha.get("T1")):
            return
        if not self.xcatcher:
            self.result("click-through-x", "fail", "setup: no X window below")
            return
        rect = self.x_rect(self.xcatcher)
        if not inside(*self.t1, rect):
            self.result("click-through-x", "fail", "setup: the X window below is not under the "
                        "point (at %s)" % (rect,))
            return
        self.click_through("click-through-x", self.t1, self.x_catcher_clicks, "xev")

    def check_click_through_wayland(self):
        if not self.wayland:
            self.result("click-through-wayland", "n/a", "X11; no Wayland windows")
            return
        if not self.clickable("click-through-wayland", self.t2, self.alpha.get("T2")):
            return
        if not self.wcatcher_origin:
            self.result("click-through-wayland", "fail", "setup: " + (
                self.wcatcher_missing or "the native window is not under %d,%d" % self.t2))
            return
        self.click_through("click-through-wayland", self.t2, self.wayland_catcher_presses,
                           "the native window")

    def opaque_o(self, check):
        if self.alpha.get("O") != 255:
            self.result(check, "fail", "setup: %d,%d is not opaque in the render (alpha %s)"
                        % (*self.o, self.alpha.get("O")))
            return False
        return True

    def check_keys_elsewhere(self):
        """Click the compass, then the xterm, and type: the xterm must get the
        text, and the compass must not (typed digits and Return would set its
        spread, which its title shows)."""
        if self.no_input():
            self.result("keys-elsewhere", "n/a", self.input.why())
            return
        if not self.xterm:
            self.result("keys-elsewhere", "fail", "setup: no xterm")
            return
        x, y, w, h = self.x_rect(self.xterm) or (0, 0, 0, 0)
        q = (x + w - 40, y + h // 2)
        if inside(*q, self.compass_rect) or not inside(*q, (x, y, w, h)):
            self.result("keys-elsewhere", "fail", "setup: no part of the xterm outside the "
                        "compass's window")
            return
        if not self.opaque_o("keys-elsewhere"):
            return
        title_before = self.title()
        self.input.click(*self.o)
        wait_for(lambda: same_window(self.active_window(), self.compass), 3.0, 0.1)
        focus_before = self.focus_text()
        self.input.click(*q)
        wait_for(lambda: same_window(self.active_window(), self.xterm), 3.0, 0.1)
        focus = "%s (after the compass's: %s)" % (self.focus_text(), focus_before)
        self.input.type_line("77")
        wait_for(lambda: "77" in self.typed(), 3.0, 0.1)
        # The compass must not take the keys as well.
        time.sleep(SETTLE)
        typed, title_after = self.typed(), self.title()
        figure = "xterm got '%s'" % typed
        if title_after != title_before:
            figure += ", compass title became '%s'" % title_after
        figure += "; after the xterm's click: " + focus
        ok = "77" in typed and title_after == title_before
        self.result("keys-elsewhere", "pass" if ok else "fail", figure)

    def check_keys_on_click(self):
        """Click the compass and type q: the program must quit and write
        Compass.ini (removed after the click, so only the quit can write it)."""
        if self.no_input():
            self.result("keys-on-click", "n/a", self.input.why())
            return
        if not self.opaque_o("keys-on-click"):
            return
        self.input.click(*self.o)
        wait_for(lambda: same_window(self.active_window(), self.compass), 3.0, 0.1)
        # A click may save the options: let that pass before the file goes.
        time.sleep(SETTLE)
        if os.path.exists(self.ini):
            os.remove(self.ini)
        self.input.key("q")
        quit = wait_for(lambda: self.proc.poll() is not None, 8.0, 0.1)
        written = os.path.exists(self.ini) and re.search(r"^X=", open(self.ini).read(), re.M)
        if quit and written:
            self.result("keys-on-click", "pass", "quit; Compass.ini written")
        elif quit:
            self.result("keys-on-click", "fail", "no Compass.ini; quit without writing it")
        else:
            self.result("keys-on-click", "fail", "did not quit; still running 8 s after q, "
                        + self.focus_text())

    # ------------------------------------------------------------ our boxes

    def program_windows(self):
        return set(self.run("xdotool", "search", "--all", "--onlyvisible", "--pid",
                            str(self.proc.pid), timeout=3).split())

    def stacking(self, box_top):
        """Whether the box lies above the compass in the window manager's stack
        (_NET_CLIENT_LIST_STACKING, bottom first) where it lists both, else
        in the X server's, which is all there is for a compass that bypasses
        the window manager; and which stack said so."""
        listed = re.findall(r"0x[0-9a-f]+", self.run("xprop", "-root",
                                                     "_NET_CLIENT_LIST_STACKING", timeout=5))
        order = [int(w, 16) for w in listed]
        box, compass = self.box_client, int(str(self.compass), 0)
        if box in order and compass in order:
            return order.index(box) > order.index(compass), "WM stack"
        return self.x_above(box_top, self.compass_top), "X stack"

    def under_box(self, rect):
        """Points of RECT, 6 px apart, where the compass is opaque."""
        x, y, w, h = rect
        dx, dy = self.box_offset
        return [(px, py) for py in range(y, y + h, 6) for px in range(x, x + w, 6)
                if 0 <= px - dx < DESKTOP_W and 0 <= py - dy < DESKTOP_H
                and self.box_mask[(py - dy) * DESKTOP_W + px - dx] == 255]

    def box_share(self, rect, points):
        """The share of POINTS where the screen shows the box's own pixels
        (its window's image)."""
        try:
            own = Shot(self.run_bytes("xwd", "-id", str(self.box_client), "-silent"))
        except (struct.error, ValueError, IndexError):
            return 0.0
        screen = self.grab()
        if not screen:
            return 0.0
        near = lambda a, b: a and b and all(abs(int(a[i:i + 2], 16) - int(b[i:i + 2], 16)) <= 24
                                            for i in (1, 3, 5))
        return sum(near(screen.pixel(px, py), own.pixel(px - rect[0], py - rect[1]))
                   for px, py in points) / len(points)

    def work_area(self):
        m = re.search(r"= (\d+), (\d+), (\d+), (\d+)",
                      self.run("xprop", "-root", "_NET_WORKAREA", timeout=5))
        return tuple(int(v) for v in m.groups()) if m else (0, 0, DESKTOP_W, DESKTOP_H)

    def check_box(self, name, call):
        """Opens one box through the bus; what is wrong with it ("" when
        nothing), and what was seen."""
        before = self.program_windows()
        call()
        new = wait_for(lambda: sorted(self.program_windows() - before), 10.0, 0.2)
        if not new:
            return "did not appear", "%s: no window" % name
        self.box_client = int(new[0], 0)
        rect = self.settled_rect(self.box_client)
        if not rect:
            return "gone at once", "%s: window %s, no geometry" % (name, new[0])
        top = self.x_toplevel(self.box_client)
        fx, fy, fw, fh = self.x_rect(top) or rect
        shadow = self.frame_shadow
        frame = (fx + shadow, fy + shadow, fw - 2 * shadow, fh - 2 * shadow)
        wrong, seen = [], []
        above, stack = self.stacking(top)
        points = self.under_box(rect)
        if self.shot == "none" or len(points) < BOX_POINTS:
            # Nothing to see on the screen: the stack says it.
            seen.append("%s in the %s" % ("above" if above else "below", stack))
            if not above:
                wrong.append("below the compass")
        else:
            shown = [0.0]

            def enough():
                # A desktop may still place or size it: where it is now counts.
                now = self.x_rect(self.box_client) or rect
                points[:] = self.under_box(now) or points
                shown[0] = self.box_share(now, points)
                return shown[0] >= BOX_SHOWN
            wait_for(enough, DRAW_WAIT, 0.5)
            seen.append("%.0f %% of it shown over the compass (%d points; %s: %s)" % (
                100 * shown[0], len(points), stack, "above" if above else "below"))
            if shown[0] < BOX_SHOWN:
                wrong.append("under the compass")
        self.screenshot("box-" + name.replace(" ", "-"))
        if points and not self.no_input():
            # The pointer over it, where the compass would be drawn, is the box's.
            point = points[len(points) // 2]
            self.input.move(*point)
            wait_for(lambda: self.x_pointer_at(*point), CLICK_WAIT, 0.1)
            under = self.x_pointer().get("WINDOW", "0")
            if not same_window(self.x_toplevel(under), top):
                wrong.append("the pointer over it reaches %s" % self.window_text(under))
        focused = wait_for(lambda: self.box_client in (
            int(self.active_window() or "0", 16),
            int(self.run("xdotool", "getwindowfocus", timeout=3).strip() or "0")), 3.0, 0.1)
        if not focused and self.no_input():
            # A seat without input devices gives no window the keyboard.
            seen.append("keyboard not checkable (%s), %s" % (self.input.why(), self.focus_text()))
        elif not focused:
            wrong.append("no keyboard")
            seen.append(self.focus_text())
        area = self.work_area()
        fx, fy, fw, fh = frame
        if not (inside(fx, fy, area) and inside(fx + fw - 1, fy + fh - 1, area)):
            wrong.append("outside the work area")
            seen.append("at %s, work area %s" % (frame, area))
        gone = lambda: str(self.box_client) not in self.program_windows()
        if not self.no_input():
            self.input.escape()
            if not wait_for(gone, 3.0, 0.1):
                wrong.append("Escape did not close it")
        if not gone():
            self.run("xdotool", "windowclose", str(self.box_client), timeout=5)
            if not wait_for(gone, 5.0, 0.1):
                seen.append("still open after xdotool windowclose")
        return ", ".join(wrong), "%s: %s" % (name, ", ".join(seen))

    def check_boxes_on_top(self):
        """The program's boxes (help, units dialog, a package's error) open
        over a compass that stands across the screen's centre: each must show
        above it, have the keyboard and lie inside the work area, and Escape
        closes it (where there is input)."""
        stop(self.proc)
        self.write_options(BOX_PIVOT, BOX_SPREAD)
        full = os.path.join(self.work, "render-boxes.png")
        expected = self.rendered_window(full)
        self.box_mask = self.run_bytes("convert", full, "-alpha", "extract", "-depth", "8",
                                       "gray:-")
        if not expected or len(self.box_mask) != DESKTOP_W * DESKTOP_H:
            self.result("boxes-on-top", "fail", "setup: no render of the compass")
            return
        self.start_program()
        if not wait_for(lambda: self.compass_call("get-property", "X"), 10.0, 0.2):
            self.result("boxes-on-top", "fail", "setup: the compass is not on the bus")
            return
        # Where the desktop put the compass elsewhere, its pixels are elsewhere too.
        self.box_offset = (self.compass_rect[0] - expected[0], self.compass_rect[1] - expected[1])
        if self.shot != "none":
            want = (BOX_PIVOT[0] + self.box_offset[0], BOX_PIVOT[1] + self.box_offset[1])
            at = wait_for(lambda: self.find_pivot(*want), DRAW_WAIT, 0.5)
            if at:
                self.box_offset = (at[0] - BOX_PIVOT[0], at[1] - BOX_PIVOT[1])
        bad = os.path.join(self.work, "not-a-package.compassskin")
        with open(bad, "w") as f:
            f.write("not a ZIP\n")
        boxes = [("help", lambda: self.compass_call("call", "ShowHelp")),
                 ("units", lambda: self.compass_call("call", "ShowCalibrationScreen")),
                 ("package error", lambda: self.compass_call(
                     "call", "InstallPackages", "as", "1", bad, path="/Orvanta",
                     interface="Compass.IOrvantaLauncher"))]
        failed, figures = [], []
        for name, call in boxes:
            wrong, seen = self.check_box(name, call)
            figures.append(seen)
            if wrong:
                failed.append("%s %s" % (name, wrong))
        short = "; ".join(failed) if failed else "%d of %d on top%s" % (
            len(boxes), len(boxes), "" if self.no_input() else ", with the keys")
        self.result("boxes-on-top", "fail" if failed else "pass",
                    "%s; %s" % (short.replace(";", ","), "; ".join(figures)))

    def shift_points(self, dx, dy):
        move = lambda p: (p[0] + dx, p[1] + dy)
        self.o, self.t1, self.t2, self.xterm_at = map(move, (self.o, self.t1, self.t2,
                                                             self.xterm_at))

    def follow_compass(self):
        """When the desktop put the compass's window elsewhere than the program
        asked, every point of it is elsewhere by as much: the windows below
        move there and the compass starts again over them, so that it is
        mapped after them, as at the first start."""
        dx, dy = self.screen_offset()
        if (dx, dy) == (0, 0):
            return
        if self.no_input():
            self.shift_points(dx, dy)  # nothing is clicked: only the pixels looked at move
            return
        self.log("the compass is off by %d,%d: the windows below follow and the compass "
                 "starts again" % (dx, dy))
        stop(self.proc)
        self.shift_points(dx, dy)
        if self.xcatcher:
            self.x_place(self.xcatcher, self.t1[0] - XCATCH[0] // 2, self.t1[1] - XCATCH[1] // 2)
        if self.wayland:
            self.move_wayland_catcher()
        self.write_options()
        self.start_program()
        # A second start may land elsewhere again: the points follow the compass.
        self.measure_offset()
        ndx, ndy = self.screen_offset()
        self.shift_points(ndx - dx, ndy - dy)

    def run_checks(self):
        """The whole sequence, once the desktop runs and the input is set."""
        self.prepare_program()
        self.expect_layout()
        # The native window first: the X window must lie above it.
        if self.wayland:
            self.place_wayland_catcher()
            if not self.wcatcher_origin:
                self.log("the native window below is not in place")
        self.start_x_catcher()
        self.start_program()
        self.screenshot("started")
        self.check_memory()
        self.check_placed()
        self.check_follows()
        self.check_undecorated()
        self.check_not_a_task()
        self.follow_compass()
        self.check_above()
        self.move_xterm_aside()
        # Before the clicks on the windows below: a desktop raises a window
        # that is clicked, and the maximised native window would then cover
        # the xterm.
        self.check_keys_elsewhere()
        self.check_click_through_x()
        self.check_click_through_wayland()
        self.check_keys_on_click()
        self.check_boxes_on_top()

    def main(self):
        """Starts the desktop and runs the checks; the checks not reached fail."""
        reason = "the run ended early"
        try:
            self.start()
            self.run_checks()
        except Abort as e:
            reason = str(e)
            self.log("abort: " + reason)
        except Exception as e:  # a fault of the harness: the checks not reached say it
            reason = "harness error: %r" % e
            traceback.print_exc()
        finally:
            for check in CHECKS:
                if check not in self.reported:
                    self.result(check, "fail", "not reached: " + reason)
            close = getattr(self.input, "close", None)
            if close:
                try:
                    close()
                except Exception as e:  # the input's end must not hide the results
                    self.log("input: %s" % e)
            self.session.close()
