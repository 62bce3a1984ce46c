#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# GNOME's compositor: mutter headless on Wayland, with XWayland. Input goes
# through mutter's RemoteDesktop interface (mutter-input.py); there is no
# screenshot without a screen-cast stream, so what is on top is read from the
# X window under the pointer.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

RUNTIME=$WORK/mutter-runtime
mkdir -p "$RUNTIME"
chmod 700 "$RUNTIME"
start_bus
spawn mutter env XDG_RUNTIME_DIR="$RUNTIME" mutter --headless --wayland \
    --wayland-display=wayland-matrix-gnome --virtual-monitor "${DESKTOP_W}x${DESKTOP_H}"
MUTTER_PID=$SPAWNED
display_from_log "$WORK/mutter.log" '.*Using public X11 display \(:[0-9]*\).*' 30 ||
    abort "mutter did not start XWayland"
export XAUTHORITY
XAUTHORITY=$(ls "$RUNTIME"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
export WAYLAND_DISPLAY=$RUNTIME/wayland-matrix-gnome
wait_until 20 x_ready || abort "XWayland $DISPLAY of mutter does not answer"
wait_until 20 wm_ready || abort "mutter does not manage XWayland's windows"
version "$(mutter --version | head -n 1) (Wayland, headless)"
xwayland_servers "$MUTTER_PID"
PROGRAM_ENV=(DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" WAYLAND_DISPLAY="$WAYLAND_DISPLAY"
    XDG_SESSION_TYPE=wayland)
INPUT=mutter
SHOT=none
WAYLAND=yes

# mutter places a native window where it likes: maximised, it lies under every
# point of the compass; the pointer then confirms it is there.
place_wayland_catcher() {
    start_wayland_catcher maximized || return 1
    sleep 0.5
    probe_wayland_catcher
}
move_wayland_catcher() { probe_wayland_catcher; }

run_checks
