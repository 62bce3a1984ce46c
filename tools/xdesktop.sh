# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sourced by the tools that measure the program on a virtual X server:
# start_desktop WxH starts Xvfb with the xcompmgr compositing manager on a free
# display and exports DISPLAY; stop_desktop ends both.
start_desktop() {
    local n=150
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    export DISPLAY=":$n"
    Xvfb "$DISPLAY" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    xcompmgr >/dev/null 2>&1 &
    comp=$!
    sleep 0.5
}

stop_desktop() {
    kill "$comp" "$xvfb" 2>/dev/null || true
    wait "$comp" "$xvfb" 2>/dev/null || true
    comp= xvfb=
}
