#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# weston (headless, pixman) with XWayland. weston has no input injection, so
# the checks that click or type are n/a; screenshots come from
# weston-screenshooter, which needs weston's --debug. weston places X windows
# itself and ignores their moves: the xterm is made large enough to cover the
# compass wherever weston puts both.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

RUNTIME=$WORK/weston-runtime
mkdir -p "$RUNTIME"
chmod 700 "$RUNTIME"
start_bus
spawn weston env XDG_RUNTIME_DIR="$RUNTIME" weston --backend=headless-backend.so --use-pixman \
    --width="$DESKTOP_W" --height="$DESKTOP_H" --xwayland --socket=wayland-matrix-weston --debug
WESTON_PID=$SPAWNED
display_from_log "$WORK/weston.log" '.*xserver listening on display \(:[0-9]*\).*' 20 ||
    abort "weston did not start XWayland"
export WAYLAND_DISPLAY=$RUNTIME/wayland-matrix-weston
# XWayland starts at the first X client.
wait_until 20 x_ready || abort "XWayland $DISPLAY of weston does not answer"
version "$(weston --version)"
xwayland_servers "$WESTON_PID"
PROGRAM_ENV=(DISPLAY="$DISPLAY" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" XDG_SESSION_TYPE=wayland)
INPUT=none
NO_INPUT_REASON="weston has none"
SHOT=weston
WAYLAND=yes
XTERM_COLUMNS=300
XTERM_ROWS=75

# Nothing clicks: no native window is needed below the compass.
place_wayland_catcher() { :; }
move_wayland_catcher() { :; }

run_checks
