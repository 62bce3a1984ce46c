# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""A virtual X server (Xvfb) on a display of its own.

Tests started together may see the same display number free; the server
that comes second gives up at once, while the first one's socket makes the
display look ready to both. So a display counts as taken only once its lock
file names our own Xvfb; otherwise the next number is tried. The C++ window
tests (tests/xdesktop.cpp) follow the same rule.
"""

import os
import subprocess
import sys

from .session import stop, wait_for


def _lock(n):
    return "/tmp/.X%d-lock" % n


def _socket(n):
    return "/tmp/.X11-unix/X%d" % n


def _names(n, pid):
    try:
        with open(_lock(n)) as f:
            return f.read().strip() == str(pid) and os.path.exists(_socket(n))
    except OSError:
        return False


def start_xvfb(width, height, session=None, args=(), attempts=10):
    """Starts Xvfb with one screen of WIDTHxHEIGHTx24; returns (process,
    ":N"). With a session, the process is its to stop and DISPLAY is set in
    its environment."""
    n = 200 + os.getpid() % 500
    for _ in range(attempts):
        while os.path.exists(_lock(n)) or os.path.exists(_socket(n)):
            n += 1
        argv = ["Xvfb", ":%d" % n, "-screen", "0", "%dx%dx24" % (width, height),
                "-nolisten", "tcp", *args]
        if session is not None:
            proc = session.spawn("xvfb", argv)
        else:
            proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        wait_for(lambda: proc.poll() is not None or _names(n, proc.pid), 10.0)
        if proc.poll() is None and _names(n, proc.pid):
            display = ":%d" % n
            if session is not None:
                session.env["DISPLAY"] = display
            return proc, display
        print("Xvfb did not take display :%d, trying the next one" % n, file=sys.stderr)
        stop(proc)
        if session is not None:
            session.procs.remove(proc)
        n += 1
    raise RuntimeError("Xvfb took no display in %d tries" % attempts)
