# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""A private session for a test run: its own HOME and XDG folders, a session
bus of its own, and the processes it started, stopped newest first.

Every wait polls for what it waits for (wait_for). Where a test must see that
something does NOT happen, it gives the desktop SETTLE seconds, the one fixed
wait of the harness.
"""

import os
import subprocess
import time

SETTLE = 0.6


def wait_for(condition, timeout=8.0, interval=0.05):
    """Polls `condition` until it holds or `timeout` seconds pass; returns
    its last value."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= end:
            return value
        time.sleep(interval)


def stop(proc, grace=3.0):
    """Ends a process of ours: politely, then for sure."""
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        try:
            proc.wait(2)
        except subprocess.TimeoutExpired:
            pass


class Session:
    """Folders under `root` (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
    XDG_RUNTIME_DIR) and the environment that names them; `bus()` adds a
    private session bus. Processes started with `spawn` log to root/NAME.log
    and are stopped by `close`, newest first."""

    def __init__(self, root, base=None):
        self.root = root
        self.procs = []
        folders = {"HOME": "home", "XDG_CONFIG_HOME": "config", "XDG_DATA_HOME": "data",
                   "XDG_RUNTIME_DIR": "runtime"}
        drop = ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_DATA_DIRS",
                "DISPLAY", "XAUTHORITY", "XDG_SESSION_TYPE", "SWAYSOCK")
        self.env = {k: v for k, v in (os.environ if base is None else base).items()
                    if k not in drop}
        for var, name in folders.items():
            path = os.path.join(root, name)
            os.makedirs(path, exist_ok=True)
            self.env[var] = path
        os.chmod(self.env["XDG_RUNTIME_DIR"], 0o700)
        self.env["LC_ALL"] = "C.UTF-8"

    def spawn(self, name, args, env=None, **kw):
        """Starts `args` with its output in root/NAME.log."""
        log = open(os.path.join(self.root, name + ".log"), "ab")
        kw.setdefault("stderr", log if "stdout" in kw else subprocess.STDOUT)
        kw.setdefault("stdout", log)
        kw.setdefault("stdin", subprocess.DEVNULL)
        proc = subprocess.Popen(args, env=self.env if env is None else env, **kw)
        log.close()
        proc.name = name
        self.procs.append(proc)
        return proc

    def bus(self):
        """A session bus of our own; it hands the environment as it is now
        (DISPLAY and the folders) to the programs it activates."""
        daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                  env=self.env, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, text=True)
        daemon.name = "dbus"
        self.procs.append(daemon)
        address = daemon.stdout.readline().strip()
        daemon.stdout.close()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        return address

    def close(self):
        for proc in reversed(self.procs):
            stop(proc)
            for pipe in (proc.stdin, proc.stdout):
                if pipe:
                    pipe.close()
        self.procs.clear()
