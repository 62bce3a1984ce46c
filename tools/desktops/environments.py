# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""The desktops of the matrix: how each starts headless, how input and
screenshots work there, and what it does differently."""

import glob
import json
import os
import re
import shutil
import subprocess
import tempfile

from desktop import (DESKTOP_H, DESKTOP_W, WCATCH, Abort, Desktop, KwinInput, MutterInput,
                     NoInput, WlrInput, XdotoolInput, package_version, wait_for)


class X11Desktop(Desktop):
    """A window manager on Xvfb with a session bus; xdotool and import."""

    shot = "x11"
    wm_timeout = 15.0

    def start(self):
        self.start_xvfb()
        self.session.bus()
        self.start_manager()
        if not wait_for(self.wm_ready, self.wm_timeout, 0.2):
            raise Abort("%s did not start" % self.name)
        self.input = XdotoolInput(self)


class Openbox(X11Desktop):
    """openbox with the xcompmgr compositing manager."""

    name = "openbox"
    packages = ["xvfb", "openbox", "xcompmgr"]

    def start_manager(self):
        self.spawn("openbox", ["openbox", "--sm-disable"])
        self.spawn("xcompmgr", ["xcompmgr"])
        out = subprocess.run(["openbox", "--version"], capture_output=True, text=True).stdout
        self.version("%s, xcompmgr %s" % (out.splitlines()[0] if out else "openbox ?",
                                          package_version("xcompmgr")))


class Xfwm4(X11Desktop):
    """xfwm4 with its own compositor."""

    name = "xfwm4"
    packages = ["xvfb", "xfwm4"]

    def start_manager(self):
        self.spawn("xfwm4", ["xfwm4", "--compositor=on", "--vblank=off", "--sm-client-disable"])
        self.version("xfwm4 " + package_version("xfwm4"))


class Kwin(X11Desktop):
    """KWin (X11) with its compositor; without the breeze theme windows get no
    frames, so it must be installed for the decorations to be real."""

    name = "kwin"
    packages = ["xvfb", "kwin-x11", "breeze"]
    wm_timeout = 30.0

    def start_manager(self):
        self.spawn("kwin", ["kwin_x11", "--replace"], env=dict(self.env, KDE_FULL_SESSION="true"))
        self.version("kwin_x11 %s, breeze %s" % (package_version("kwin-x11"),
                                                 package_version("breeze")))

    def start(self):
        super().start()
        # The compositor starts after the window manager.
        if not wait_for(self.composited, 20.0, 0.2):
            self.log("kwin_x11 took no compositing selection")


class MutterX11(X11Desktop):
    """mutter as an X11 window manager and compositor."""

    name = "mutter-x11"
    packages = ["xvfb", "mutter"]
    wm_timeout = 20.0

    def start_manager(self):
        self.spawn("mutter", ["mutter", "--x11", "--replace", "--sm-disable"])
        out = subprocess.run(["mutter", "--version"], capture_output=True, text=True).stdout
        self.version("%s (X11)" % (out.splitlines()[0] if out else "mutter ?"))

    def start(self):
        super().start()
        if not wait_for(self.composited, 20.0, 0.2):
            self.log("mutter took no compositing selection")


class GnomeWayland(Desktop):
    """GNOME's compositor: mutter headless on Wayland, with XWayland. Input
    goes through mutter's RemoteDesktop interface; there is no screenshot
    without a screen-cast stream, so what is on top is read from the X window
    under the pointer."""

    name = "gnome-wayland"
    packages = ["mutter", "xwayland", "python3-dbus", "libgl1-mesa-dri"]
    wayland = True

    def start(self):
        runtime = os.path.join(self.work, "mutter-runtime")
        os.makedirs(runtime, mode=0o700)
        self.session.bus()
        mutter = self.spawn("mutter", ["mutter", "--headless", "--wayland",
                                       "--wayland-display=wayland-matrix-gnome",
                                       "--virtual-monitor", "%dx%d" % (DESKTOP_W, DESKTOP_H)],
                            env=dict(self.env, XDG_RUNTIME_DIR=runtime))
        display = self.from_log("mutter", r"Using public X11 display (:\d+)", 30.0)
        if not display:
            raise Abort("mutter did not start XWayland")
        auth = glob.glob(os.path.join(runtime, ".mutter-Xwaylandauth.*"))
        self.env.update(DISPLAY=display, XAUTHORITY=auth[0] if auth else "",
                        WAYLAND_DISPLAY=os.path.join(runtime, "wayland-matrix-gnome"))
        if not wait_for(self.x_ready, 20.0, 0.2):
            raise Abort("XWayland %s of mutter does not answer" % display)
        if not wait_for(self.wm_ready, 20.0, 0.2):
            raise Abort("mutter does not manage XWayland's windows")
        out = subprocess.run(["mutter", "--version"], capture_output=True, text=True).stdout
        self.version("%s (Wayland, headless)" % (out.splitlines()[0] if out else "mutter ?"))
        self.xwayland_servers(mutter)
        self.program_env = {"XDG_SESSION_TYPE": "wayland"}
        self.input = MutterInput(self)

    # mutter places a native window where it likes: maximised, it lies under
    # every point of the compass; the pointer then confirms it is there.
    def place_wayland_catcher(self):
        if self.start_wayland_catcher("maximized"):
            wait_for(lambda: re.search(r"^configure [1-9]", self.read_log("catcher"), re.M),
                     5.0, 0.1)
            self.probe_wayland_catcher()

    def move_wayland_catcher(self):
        self.probe_wayland_catcher()


class Sway(Desktop):
    """sway (headless, pixman) with XWayland. sway refuses to run as root: it
    runs as nobody, with a runtime folder of that user; root's X clients are
    let in with xhost, and root reaches the Wayland socket by its path. There
    are no input devices: keys come from wtype, the pointer from vpointer."""

    name = "sway"
    packages = ["sway", "xwayland", "wtype", "grim"]
    wayland = True
    shot = "grim"
    tiles = True
    USER = 65534

    def as_user(self, *args, env=()):
        return ["setpriv", "--reuid=%d" % self.USER, "--regid=%d" % self.USER, "--clear-groups",
                "env", "-i", "PATH=/usr/bin:/bin", "HOME=" + os.path.join(self.dir, "home"),
                "XDG_RUNTIME_DIR=" + os.path.join(self.dir, "runtime"), *env, *args]

    def start(self):
        self.dir = tempfile.mkdtemp(prefix="matrix-sway.")
        for sub in ("runtime", "home"):
            os.makedirs(os.path.join(self.dir, sub))
        os.chmod(self.dir, 0o755)
        os.chmod(os.path.join(self.dir, "runtime"), 0o700)
        for path in (self.dir, *glob.glob(os.path.join(self.dir, "*"))):
            os.chown(path, self.USER, self.USER)
        display_file = os.path.join(self.dir, "display")
        conf = os.path.join(self.dir, "sway.conf")
        with open(conf, "w") as f:
            f.write("xwayland force\noutput HEADLESS-1 mode %dx%d position 0 0\n"
                    "exec sh -c 'echo \"$DISPLAY\" > %s.tmp && mv %s.tmp %s'\n"
                    % (DESKTOP_W, DESKTOP_H, display_file, display_file, display_file))
        os.chmod(conf, 0o644)
        self.session.bus()
        sway = self.spawn("sway", self.as_user("sway", "-c", conf, env=(
            "WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1")))
        if not wait_for(lambda: os.path.exists(display_file), 20.0, 0.2):
            raise Abort("sway did not start (no XWayland display)")
        with open(display_file) as f:
            display = f.read().strip()
        sockets = [p for p in glob.glob(os.path.join(self.dir, "runtime", "wayland-*"))
                   if not p.endswith(".lock")]
        ipc = glob.glob(os.path.join(self.dir, "runtime", "sway-ipc.*.sock"))
        if not sockets or not ipc:
            raise Abort("sway made no Wayland or IPC socket")
        self.env.update(DISPLAY=display, WAYLAND_DISPLAY=sockets[0], SWAYSOCK=ipc[0])
        xhost = self.as_user("xhost", "+si:localuser:root", env=("DISPLAY=" + display,))
        if not wait_for(lambda: subprocess.run(xhost, capture_output=True).returncode == 0,
                        10.0, 0.2):
            raise Abort("XWayland %s did not let root in" % display)
        wlroots = next((package_version(p) for p in ("libwlroots10", "libwlroots-0.18")
                        if package_version(p) != "?"), "?")
        out = subprocess.run(["sway", "--version"], capture_output=True, text=True).stdout
        self.version("%s, wlroots %s" % (out.strip(), wlroots))
        self.xwayland_servers(sway)
        self.program_env = {"XDG_SESSION_TYPE": "wayland"}
        vpointer = os.path.join(self.clients, "orvanta_vpointer")
        if not os.access(vpointer, os.X_OK):
            raise Abort("no virtual pointer (build orvanta_desktop_clients)")
        self.input = WlrInput(self, vpointer)

    def main(self):
        try:
            super().main()
        finally:
            shutil.rmtree(getattr(self, "dir", ""), ignore_errors=True)

    def swaymsg(self, command):
        self.run("swaymsg", command, timeout=5)

    def sway_node(self, window):
        """The node of sway's tree that holds the X window, or None."""
        try:
            tree = json.loads(self.run("swaymsg", "-t", "get_tree", timeout=5))
        except ValueError:
            return None
        want = int(str(window), 0)

        def walk(n):
            if n.get("window") == want:
                return n
            for k in n.get("nodes", []) + n.get("floating_nodes", []):
                found = walk(k)
                if found:
                    return found
            return None
        return walk(tree)

    def shown(self, window):
        return self.sway_node(window) is not None

    # X windows tile: float them and move their container. A window sway has
    # not laid out yet is not in its tree, and a command for it finds nothing.
    def place_window(self, window, x, y):
        wait_for(lambda: self.sway_node(window), 5.0, 0.1)
        self.swaymsg("[id=%s] floating enable, move absolute position %d %d" % (window, x, y))

    def raise_window(self, window):
        self.swaymsg("[id=%s] focus" % window)

    def place_wayland_catcher(self):
        if self.start_wayland_catcher():
            self.move_wayland_catcher()

    def move_wayland_catcher(self):
        w, h = WCATCH
        self.swaymsg("[app_id=matrix-catcher] floating enable, border none, resize set %d %d, "
                     "move absolute position %d %d" % (w, h, self.t2[0] - w // 2,
                                                        self.t2[1] - h // 2))
        self.probe_wayland_catcher()

    def check_undecorated(self):
        """sway draws the borders and title bars of X windows itself."""
        node = self.sway_node(self.compass)
        if node is None:
            if "Override Redirect State: yes" in self.run("xwininfo", "-id", str(self.compass)):
                # Placed past the window manager: sway draws nothing around it.
                self.result("undecorated", "pass", "override-redirect: not in sway's tree, "
                            "no border")
            else:
                self.result("undecorated", "fail", "setup: the compass is not in sway's tree")
            return
        border, title = node.get("border"), node["deco_rect"]["height"]
        figure = "border %s, title %s px; as sway draws it (%s px border width, %s)" % (
            border, title, node.get("current_border_width"), node.get("type"))
        ok = border in ("none", "csd") and title == 0
        self.result("undecorated", "pass" if ok else "fail", figure)


class Weston(Desktop):
    """weston (headless, pixman) with XWayland. weston has no input injection,
    so the checks that click or type are n/a; screenshots come from
    weston-screenshooter, which needs weston's --debug. weston places X
    windows itself and ignores their moves: the xterm is made large enough to
    cover the compass wherever weston puts both."""

    name = "weston"
    packages = ["weston", "xwayland"]
    wayland = True
    shot = "weston"
    xterm_cells = (300, 75)
    frame_shadow = 32  # its theme's margin

    def start(self):
        runtime = os.path.join(self.work, "weston-runtime")
        os.makedirs(runtime, mode=0o700)
        self.session.bus()
        weston = self.spawn("weston", ["weston", "--backend=headless-backend.so", "--use-pixman",
                                       "--width=%d" % DESKTOP_W, "--height=%d" % DESKTOP_H,
                                       "--xwayland", "--socket=wayland-matrix-weston", "--debug"],
                            env=dict(self.env, XDG_RUNTIME_DIR=runtime))
        display = self.from_log("weston", r"xserver listening on display (:\d+)", 20.0)
        if not display:
            raise Abort("weston did not start XWayland")
        self.env.update(DISPLAY=display,
                        WAYLAND_DISPLAY=os.path.join(runtime, "wayland-matrix-weston"))
        # XWayland starts at the first X client.
        if not wait_for(self.x_ready, 20.0, 0.2):
            raise Abort("XWayland %s of weston does not answer" % display)
        out = subprocess.run(["weston", "--version"], capture_output=True, text=True).stdout
        self.version(out.strip() or "weston ?")
        self.xwayland_servers(weston)
        self.program_env = {"XDG_SESSION_TYPE": "wayland"}
        self.input = NoInput("weston has none")


class KwinWayland(Desktop):
    """KWin on Wayland, virtual output, with XWayland. Input goes through
    KWin's fake-input protocol (our kwininput); without a GPU KWin draws with
    QPainter and offers no screenshot, so what is on top is read from the X
    window under the pointer."""

    name = "kwin-wayland"
    packages = ["kwin-wayland", "xwayland", "breeze", "plasma-wayland-protocols"]
    wayland = True

    def start(self):
        runtime = os.path.join(self.work, "kwin-runtime")
        os.makedirs(runtime, mode=0o700)
        self.session.bus()
        display_file = os.path.join(self.work, "kwin-display")
        # Fake input is for the clients KWin trusts: this one is a test.
        env = dict(self.env, XDG_RUNTIME_DIR=runtime, KDE_FULL_SESSION="true",
                   KWIN_WAYLAND_NO_PERMISSION_CHECKS="1")
        # KWin starts the command given once XWayland runs, with its DISPLAY.
        kwin = self.spawn("kwin", [self.kwin_binary(), "--virtual", "--xwayland", "--no-lockscreen",
                                   "--socket", "wayland-matrix-kwin",
                                   "--width", str(DESKTOP_W), "--height", str(DESKTOP_H),
                                   "sh -c 'echo $DISPLAY > %s.tmp && mv %s.tmp %s; exec sleep "
                                   "infinity'" % ((display_file,) * 3)], env=env)
        if not wait_for(lambda: os.path.exists(display_file), 30.0, 0.2):
            raise Abort("kwin_wayland did not start XWayland (%s)" % self.tail("kwin"))
        with open(display_file) as f:
            display = f.read().strip()
        auth = glob.glob(os.path.join(runtime, "xauth_*"))
        self.env.update(DISPLAY=display,
                        WAYLAND_DISPLAY=os.path.join(runtime, "wayland-matrix-kwin"))
        if auth:
            self.env["XAUTHORITY"] = auth[0]
        if not wait_for(self.x_ready, 20.0, 0.2):
            raise Abort("XWayland %s of KWin does not answer" % display)
        if not wait_for(self.wm_ready, 20.0, 0.2):
            raise Abort("KWin does not manage XWayland's windows")
        self.version("kwin_wayland " + package_version("kwin-wayland"))
        self.xwayland_servers(kwin)
        self.program_env = {"XDG_SESSION_TYPE": "wayland"}
        helper = os.path.join(self.clients, "orvanta_kwininput")
        if not os.access(helper, os.X_OK):
            raise Abort("no KWin input client (build orvanta_desktop_clients)")
        self.input = KwinInput(self, helper)

    def kwin_binary(self):
        """kwin_wayland carries the file capability CAP_SYS_RESOURCE; where our
        bounding set lacks it (in a container) the kernel refuses to run it.
        A copy without it runs; it keeps its name, which KWin's own Qt
        platform plugin asks for."""
        binary = shutil.which("kwin_wayland") or "kwin_wayland"
        with open("/proc/self/status") as f:
            bounding = next((int(l.split()[1], 16) for l in f if l.startswith("CapBnd:")), ~0)
        if bounding & (1 << 24):  # CAP_SYS_RESOURCE
            return binary
        folder = os.path.join(self.work, "kwin-bin")
        os.makedirs(folder, exist_ok=True)
        copy = os.path.join(folder, "kwin_wayland")
        shutil.copy(binary, copy)
        return copy

    # KWin places a native window where it likes: maximised, it lies under
    # every point of the compass; the pointer then confirms it is there.
    def place_wayland_catcher(self):
        if self.start_wayland_catcher("maximized"):
            wait_for(lambda: re.search(r"^configure [1-9]", self.read_log("catcher"), re.M),
                     5.0, 0.1)
            self.probe_wayland_catcher()

    def move_wayland_catcher(self):
        self.probe_wayland_catcher()


ENVIRONMENTS = {e.name: e for e in (Openbox, Xfwm4, Kwin, MutterX11, GnomeWayland, Sway, Weston,
                                    KwinWayland)}
# Installed for every environment: the X tools the checks use.
COMMON_PACKAGES = ["x11-utils", "x11-xserver-utils", "xdotool", "xterm", "imagemagick", "wmctrl",
                   "dbus-daemon", "systemd", "procps", "util-linux", "python3"]  # systemd: busctl
# Our Wayland clients, built by CMake.
CLIENT_PACKAGES = ["gcc", "libc6-dev", "libwayland-dev", "wayland-protocols", "libwayland-bin"]
