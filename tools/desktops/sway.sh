#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# sway (headless, pixman) with XWayland. sway refuses to run as root: it runs
# as nobody, with a runtime folder of that user; root's X clients are let in
# with xhost, and root reaches the Wayland socket by its path. There are no
# input devices: keys come from wtype (virtual keyboard), the pointer from
# our vpointer (virtual pointer).
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

USER_ID=65534
SWAY_DIR=$(mktemp -d /tmp/matrix-sway.XXXXXX)
CLEANUP_DIRS+=("$SWAY_DIR")
mkdir -p "$SWAY_DIR/runtime" "$SWAY_DIR/home"
chmod 755 "$SWAY_DIR"
chmod 700 "$SWAY_DIR/runtime"
chown -R "$USER_ID:$USER_ID" "$SWAY_DIR"
cat >"$SWAY_DIR/sway.conf" <<CONF
xwayland force
output HEADLESS-1 mode ${DESKTOP_W}x${DESKTOP_H} position 0 0
exec sh -c 'echo "\$DISPLAY" > $SWAY_DIR/display.tmp && mv $SWAY_DIR/display.tmp $SWAY_DIR/display'
CONF
chmod 644 "$SWAY_DIR/sway.conf"

as_sway_user() {
    setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups env -i PATH=/usr/bin:/bin \
        HOME="$SWAY_DIR/home" XDG_RUNTIME_DIR="$SWAY_DIR/runtime" "$@"
}

start_bus
spawn sway setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups env -i PATH=/usr/bin:/bin \
    HOME="$SWAY_DIR/home" XDG_RUNTIME_DIR="$SWAY_DIR/runtime" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$SWAY_DIR/sway.conf"
SWAY_PID=$SPAWNED
wait_until 20 test -s "$SWAY_DIR/display" || abort "sway did not start (no XWayland display)"
export DISPLAY
DISPLAY=$(cat "$SWAY_DIR/display")
SOCKET=""
for f in "$SWAY_DIR"/runtime/wayland-*; do
    [ -S "$f" ] && SOCKET=$f && break
done
[ -n "$SOCKET" ] || abort "sway made no Wayland socket"
export WAYLAND_DISPLAY=$SOCKET
export SWAYSOCK
SWAYSOCK=$(ls "$SWAY_DIR"/runtime/sway-ipc.*.sock | head -n 1)
wait_until 10 as_sway_user DISPLAY="$DISPLAY" xhost +si:localuser:root >/dev/null 2>&1 ||
    abort "XWayland $DISPLAY did not let root in"
version "$(sway --version), wlroots $(package_version libwlroots10)"
xwayland_servers "$SWAY_PID"
PROGRAM_ENV=(DISPLAY="$DISPLAY" WAYLAND_DISPLAY="$SOCKET" XDG_SESSION_TYPE=wayland)
INPUT=wlr
SHOT=grim
WAYLAND=yes

swaymsg_quiet() { timeout 5 swaymsg "$@" >/dev/null 2>&1; }

# X windows tile: float them and move their container.
place_window() { swaymsg_quiet "[id=$1] floating enable, move absolute position $2 $3"; }
raise_window() { swaymsg_quiet "[id=$1] focus"; }

place_wayland_catcher() { start_wayland_catcher && move_wayland_catcher; }
move_wayland_catcher() {
    swaymsg_quiet "[app_id=matrix-catcher] floating enable, border none, resize set $WCATCH_W $WCATCH_H, move absolute position $((T2_X - WCATCH_W / 2)) $((T2_Y - WCATCH_H / 2))"
    sleep 0.5
    probe_wayland_catcher
}

# sway draws the borders and title bars of X windows itself.
check_undecorated() {
    local node
    node=$(timeout 5 swaymsg -t get_tree 2>/dev/null | python3 -c '
import json, sys
want = int(sys.argv[1], 0)
def walk(n):
    if n.get("window") == want:
        print(n.get("border"), n.get("current_border_width"), n["deco_rect"]["height"], n.get("type"))
        return True
    return any(walk(k) for k in n.get("nodes", []) + n.get("floating_nodes", []))
walk(json.load(sys.stdin))' "$COMPASS")
    local border width title kind
    read -r border width title kind <<<"$node"
    local figure="border ${border:-?}, title ${title:-?} px; as sway draws it (${width:-?} px border width, ${kind:-?})"
    if [ -z "$border" ] && xwininfo -id "$COMPASS" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
        # Placed past the window manager: sway draws nothing around it.
        result undecorated pass "override-redirect: not in sway's tree, no border"
    elif [ -z "$border" ]; then
        result undecorated fail "setup: the compass is not in sway's tree"
    elif { [ "$border" = none ] || [ "$border" = csd ]; } && [ "${title:-0}" = 0 ]; then
        result undecorated pass "$figure"
    else
        result undecorated fail "$figure"
    fi
}

run_checks
