# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sourced by the tools that measure the program on a virtual X server:
# start_desktop WxH starts Xvfb with the xcompmgr compositing manager on a free
# display and exports DISPLAY; stop_desktop ends both.
#
# A display is ours once its lock file names our Xvfb (another server started
# at the same moment may have taken the number): otherwise the next one is
# tried, as the tests' launchers do (tests/xdesktop.cpp, tests/harness).
start_desktop() {
    local n=$((150 + $$ % 400)) attempt i
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        for i in $(seq 1 200); do
            kill -0 "$xvfb" 2>/dev/null || break
            [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.05
        done
        if kill -0 "$xvfb" 2>/dev/null && [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb" ]; then
            export DISPLAY=":$n"
            xcompmgr >/dev/null 2>&1 &
            comp=$!
            sleep 0.5 # xcompmgr takes the compositing selection
            return 0
        fi
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
        n=$((n + 1))
    done
    echo "start_desktop: Xvfb took no display" >&2
    return 1
}

stop_desktop() {
    kill "$comp" "$xvfb" 2>/dev/null || true
    wait "$comp" "$xvfb" 2>/dev/null || true
    comp= xvfb=
}
