# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Sourced by the environment scripts of the desktop matrix (tools/desktops/<env>.sh).
#
# An environment script is started by tools/desktop-matrix.sh as
#   <env>.sh RESULTS VERSIONS PROGRAM_DIR WORK CLIENTS
# and it: starts its desktop, defines how input and screenshots work there
# (INPUT, SHOT and the hooks below), calls run_checks, and leaves cleaning up
# to the trap set here. Every check appends "env<TAB>check<TAB>status<TAB>figure"
# to RESULTS, status pass / fail / n/a; a check that could not be set up fails
# with a figure that starts "setup:".
#
# The compass is placed at a known spot on a 1920x1080 desktop (angle 0,
# spread 150, default skin), and three points of it are used:
#   O  = the pivot, an opaque pixel of the base,
#   T1 = 100 px below the pivot, a transparent pixel inside the circle, over an
#        X window of ours (xev) that reports the clicks it gets,
#   T2 = 90 px left of and 70 px above the pivot, transparent, over a native
#        Wayland window of ours (catcher) on Wayland compositors.
# The program's own renderer (orvanta --render) confirms that O is opaque and
# T1, T2 transparent before any of them is used.

set -uo pipefail
# shellcheck source=placement.sh
source "$(dirname "${BASH_SOURCE[0]}")/placement.sh"

MATRIX_CHECKS=(placed follows undecorated not-a-task above click-through-x click-through-wayland
    keys-on-click keys-elsewhere memory)

ENV_NAME=$(basename "$0" .sh)
RESULTS=$1
VERSIONS=$2
PROGRAM_DIR=$3
WORK=$4
CLIENTS=$5
DESKTOPS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

DESKTOP_W=1920
DESKTOP_H=1080
SPREAD=150
# The default skin's pivot lies 26 right of and 28 below the compass position.
PIVOT_OFFSET_X=26
PIVOT_OFFSET_Y=28
PIVOT_X=760
PIVOT_Y=500
O_X=$PIVOT_X O_Y=$PIVOT_Y # the points below move with the compass; PIVOT_X/Y stay
T1_X=$PIVOT_X T1_Y=$((PIVOT_Y + 100))
T2_X=$((PIVOT_X - 90)) T2_Y=$((PIVOT_Y - 70))
# The X window below: 160 x 100 around T1.
XCATCH_W=160 XCATCH_H=100
# The native window below: 200 x 120 around T2, where the compositor lets us
# place it.
WCATCH_W=200 WCATCH_H=120
# The xterm raised over the compass: 100 x 4 cells of 6 x 13 (600 x 52 px),
# its text area from 60 px left of and 30 px above the pivot, reaching far
# right of the compass's window, where it is clicked (Q).
XTERM_X=$((PIVOT_X - 60)) XTERM_Y=$((PIVOT_Y - 30))
XTERM_COLUMNS=100 XTERM_ROWS=4
XTERM_BG=ff00ff

# Filled in by the environment script.
INPUT=none          # xdotool | wlr | mutter | none
SHOT=none           # x11 | grim | weston | none
WAYLAND=no          # a Wayland compositor with XWayland
SERVER_PIDS=()      # whose memory counts as the display server's
NO_INPUT_REASON=""  # why there is no input, for the figures

mkdir -p "$WORK"
: >"$WORK/pids"
CLEANUP_DIRS=()
declare -A REPORTED=()

log() { printf '[%s %s] %s\n' "$ENV_NAME" "$(date +%T)" "$*" >&2; }

result() {
    local check=$1 status=$2 figure=${3:-}
    figure=${figure//$'\t'/ }
    figure=${figure//$'\n'/ }
    printf '%s\t%s\t%s\t%s\n' "$ENV_NAME" "$check" "$status" "$figure" >>"$RESULTS"
    REPORTED[$check]=1
    log "$check: $status ${figure:+($figure)}"
}

version() { printf '%s\t%s\n' "$ENV_NAME" "$*" >>"$VERSIONS"; }

package_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo "?"; }

# ---------------------------------------------------------------- processes

# spawn NAME CMD...: runs CMD in the background with its output in
# $WORK/NAME.log and remembers it for the cleanup; sets SPAWNED to its id.
# CMD must be a program, not a shell function, so that the id is its own.
spawn() {
    local name=$1
    shift
    "$@" >"$WORK/$name.log" 2>&1 </dev/null &
    SPAWNED=$!
    echo "$SPAWNED $name" >>"$WORK/pids"
}

alive() { kill -0 "$1" 2>/dev/null; }

stop_pid() {
    local pid=$1 i
    alive "$pid" || return 0
    kill "$pid" 2>/dev/null
    for i in 1 2 3 4 5 6 7 8 9 10; do
        alive "$pid" || return 0
        sleep 0.2
    done
    kill -KILL "$pid" 2>/dev/null
}

cleanup() {
    local status=$? pid name
    # A second signal (the timeout's, a user's) must not cut the cleaning short.
    trap - EXIT
    trap '' INT TERM
    # Checks not reached (a timeout, a desktop that did not start) fail.
    for name in "${MATRIX_CHECKS[@]}"; do
        [ -n "${REPORTED[$name]:-}" ] || result "$name" fail "not reached: ${ABORT_REASON:-the script ended early}"
    done
    # What we started, newest first.
    if [ -s "$WORK/pids" ]; then
        while read -r pid name; do stop_pid "$pid"; done < <(tac "$WORK/pids")
    fi
    # Whatever those started in turn (activated D-Bus services, XWayland):
    # the matrix runs each environment in a session of its own, led by the
    # timeout that is our parent, so every other process of that session is
    # ours. Run any other way, nothing more is touched.
    if [ -n "${MATRIX_OWN_SESSION:-}" ] && [ "$(ps -o sid= -p $$ | tr -d ' ')" = "$PPID" ]; then
        local left
        left=$(ps -o pid= --sid "$PPID" | tr -d ' ')
        for pid in $left; do
            [ "$pid" = "$$" ] || [ "$pid" = "$PPID" ] || kill "$pid" 2>/dev/null
        done
        sleep 0.5
        for pid in $left; do
            [ "$pid" = "$$" ] || [ "$pid" = "$PPID" ] || kill -KILL "$pid" 2>/dev/null
        done
    fi
    for name in "${CLEANUP_DIRS[@]}"; do rm -rf "$name"; done
    exit "$status"
}
trap cleanup EXIT
trap 'ABORT_REASON="stopped by a signal (timeout?)"; exit 124' INT TERM

# abort REASON: the environment cannot be used; the remaining checks fail.
abort() {
    ABORT_REASON=$1
    log "abort: $1"
    exit 1
}

# wait_until SECONDS CMD...: polls CMD every 0.2 s.
wait_until() {
    local limit=$1 i
    shift
    for ((i = 0; i < limit * 5; i++)); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# ---------------------------------------------------------------- X servers and buses

# A display number of ours (60-79) that nobody uses.
free_display() {
    local n
    for n in $(seq 60 79); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

x_ready() { timeout 3 xdpyinfo >/dev/null 2>&1; }

start_xvfb() {
    local n
    n=$(free_display) || abort "no free X display in 60-79"
    spawn xvfb Xvfb ":$n" -screen 0 "${DESKTOP_W}x${DESKTOP_H}x24" -nolisten tcp -noreset
    XVFB_PID=$SPAWNED
    export DISPLAY=":$n"
    wait_until 10 x_ready || abort "Xvfb :$n did not start"
    SERVER_PIDS=("$XVFB_PID")
    version "Xvfb $(package_version xvfb)"
}

# A session bus of our own for the desktop, the input helpers and the program.
start_bus() {
    local address=$WORK/bus-address
    spawn dbus dbus-daemon --session --nofork --print-address=3 3>"$address"
    wait_until 5 test -s "$address" || abort "dbus-daemon did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$address")
    export DBUS_SESSION_BUS_ADDRESS
}

# The X window manager's check: a _NET_SUPPORTING_WM_CHECK window on the root.
wm_ready() { timeout 3 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# ---------------------------------------------------------------- X windows

x_root() { xwininfo -root 2>/dev/null | awk '/Window id:/ { print $4; exit }'; }

# x_rect WINDOW: "X Y W H" of its inside, in root coordinates.
x_rect() {
    timeout 5 xwininfo -id "${1:-0}" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /  Width:/ { w = $2 } /  Height:/ { h = $2 }
        END { if (w != "") print x + 0, y + 0, w + 0, h + 0 }'
}

# same_window A B: the two ids (decimal or hex) name one window.
same_window() {
    local a b
    a=$(printf '%d' "${1:-}" 2>/dev/null) && b=$(printf '%d' "${2:-}" 2>/dev/null) && [ "$a" = "$b" ]
}

# x_above A B: toplevel A lies above toplevel B in the X stacking order
# (xwininfo lists the root's children from the top down).
x_above() {
    local list a b
    list=$(timeout 5 xwininfo -root -children 2>/dev/null | awk '/^ +0x[0-9a-f]+ / { print $1 }')
    a=$(grep -n -x "$(printf '0x%x' "$1")" <<<"$list" | cut -d: -f1)
    b=$(grep -n -x "$(printf '0x%x' "$2")" <<<"$list" | cut -d: -f1)
    [ -n "$a" ] && [ -n "$b" ] && ((a < b))
}

x_parent() { timeout 5 xwininfo -id "$1" -tree 2>/dev/null | awk '/Parent window id:/ { print $4; exit }'; }

# x_toplevel WINDOW: its ancestor that is a child of the root (a frame, or
# the window itself when the window manager does not reparent).
x_toplevel() {
    local w=$1 root parent i
    root=$(x_root)
    for i in 1 2 3 4 5 6 7 8; do
        parent=$(x_parent "$w")
        [ -z "$parent" ] && break
        if same_window "$parent" "$root"; then
            echo "$w"
            return 0
        fi
        w=$parent
    done
    echo "$1"
}

# x_find SECONDS XDOTOOL-SEARCH-ARGS...: the first viewable window that matches.
x_find() {
    local limit=$1 found="" i
    shift
    for ((i = 0; i < limit * 5; i++)); do
        found=$(timeout 3 xdotool search --all --onlyvisible "$@" 2>/dev/null | head -n 1)
        [ -n "$found" ] && break
        sleep 0.2
    done
    [ -n "$found" ] && echo "$found"
}

inside() { # inside PX PY X Y W H [MARGIN]
    local m=${7:-0} v
    for v in "$1" "$2" "$3" "$4" "$5" "$6"; do [[ $v =~ ^-?[0-9]+$ ]] || return 1; done
    (($1 >= $3 + m && $1 < $3 + $5 - m && $2 >= $4 + m && $2 < $4 + $6 - m))
}

# x_place WINDOW X Y: moves a window's inside to X,Y (root coordinates),
# correcting once for the frame the window manager put around it.
x_place() {
    local w=$1 x=$2 y=$3 rx ry
    place_window "$w" "$x" "$y"
    sleep 0.4
    read -r rx ry _ _ <<<"$(x_rect "$w")" || return 0
    if [ -n "${rx:-}" ] && { [ "$rx" != "$x" ] || [ "$ry" != "$y" ]; }; then
        place_window "$w" $((2 * x - rx)) $((2 * y - ry))
        sleep 0.4
    fi
}

# ---------------------------------------------------------------- hooks (overridden per environment)

# place_window WINDOW X Y: asks for the window (frame) at X,Y.
place_window() { timeout 5 xdotool windowmove "$1" "$2" "$3" 2>/dev/null; }

# raise_window WINDOW: raises and focuses a window as a user clicking on it would.
raise_window() {
    timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null || timeout 5 xdotool windowraise "$1" 2>/dev/null
}

# ---------------------------------------------------------------- input

pointer_click() { # pointer_click X Y
    case $INPUT in
    xdotool)
        timeout 10 xdotool mousemove --sync "$1" "$2" >/dev/null 2>&1
        sleep 0.2
        timeout 10 xdotool click 1
        ;;
    wlr) timeout 20 "$CLIENTS/vpointer" "$DESKTOP_W" "$DESKTOP_H" move "$1" "$2" click ;;
    mutter) timeout 20 /usr/bin/python3 "$DESKTOPS_DIR/mutter-input.py" move "$1" "$2" click ;;
    *) return 1 ;;
    esac
    sleep 0.4
}

pointer_move() { # pointer_move X Y
    case $INPUT in
    xdotool) timeout 10 xdotool mousemove --sync "$1" "$2" >/dev/null 2>&1 ;;
    wlr) timeout 20 "$CLIENTS/vpointer" "$DESKTOP_W" "$DESKTOP_H" move "$1" "$2" ;;
    mutter) timeout 20 /usr/bin/python3 "$DESKTOPS_DIR/mutter-input.py" move "$1" "$2" ;;
    *) return 1 ;;
    esac
    sleep 0.3
}

# type_line TEXT: types TEXT and Return. wtype's virtual keyboard brings its
# own keymap, and XWayland loses the first key press after a keymap change:
# each wtype starts with a Shift, lost or harmless.
type_line() {
    case $INPUT in
    xdotool) timeout 10 xdotool type --delay 60 "$1" && timeout 10 xdotool key Return ;;
    wlr) timeout 10 wtype -k Shift_L -s 150 -d 60 "$1" -k Return ;;
    mutter) timeout 20 /usr/bin/python3 "$DESKTOPS_DIR/mutter-input.py" type "$1" keysym ff0d ;;
    *) return 1 ;;
    esac
    sleep 0.4
}

type_key() { # type_key CHAR
    case $INPUT in
    xdotool) timeout 10 xdotool key "$1" ;;
    wlr) timeout 10 wtype -k Shift_L -s 150 "$1" ;;
    mutter) timeout 20 /usr/bin/python3 "$DESKTOPS_DIR/mutter-input.py" key "$1" ;;
    *) return 1 ;;
    esac
}

no_input() { echo "no input injection${NO_INPUT_REASON:+; $NO_INPUT_REASON}"; }

# ---------------------------------------------------------------- screenshots

# pixel X Y: "#RRGGBB" of the screen there, or nothing.
pixel() {
    local x=$1 y=$2 file
    case $SHOT in
    x11) timeout 10 import -silent -window root -crop "1x1+$x+$y" -depth 8 txt:- 2>/dev/null ;;
    grim) timeout 10 grim -g "$x,$y 1x1" - 2>/dev/null | convert png:- -depth 8 txt:- 2>/dev/null ;;
    weston)
        rm -f "$WORK"/shots/*.png
        mkdir -p "$WORK/shots"
        (cd "$WORK/shots" && timeout 10 weston-screenshooter >/dev/null 2>&1)
        file=$(ls "$WORK"/shots/*.png 2>/dev/null | head -n 1)
        [ -n "$file" ] && convert "$file" -crop "1x1+$x+$y" -depth 8 txt:- 2>/dev/null
        ;;
    esac | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# screenshot NAME: the whole screen to $WORK/NAME.png, where screenshots work,
# for a person to look at after the run.
screenshot() {
    local file=$WORK/$1.png
    case $SHOT in
    x11) timeout 15 import -silent -window root "$file" 2>/dev/null ;;
    grim) timeout 15 grim "$file" 2>/dev/null ;;
    weston)
        rm -f "$WORK"/shots/*.png
        mkdir -p "$WORK/shots"
        (cd "$WORK/shots" && timeout 10 weston-screenshooter >/dev/null 2>&1)
        mv "$(ls "$WORK"/shots/*.png 2>/dev/null | head -n 1)" "$file" 2>/dev/null
        ;;
    esac
}

# ---------------------------------------------------------------- the program

# A copy of the program folder with the compass at the pivot chosen above,
# and its own home and XDG folders.
prepare_program() {
    PROGRAM=$WORK/program
    rm -rf "$PROGRAM"
    mkdir -p "$PROGRAM/bin" "$PROGRAM/home" "$PROGRAM/config" "$PROGRAM/data" "$PROGRAM/runtime"
    chmod 700 "$PROGRAM/runtime"
    (cd "$PROGRAM_DIR" && find . -type f ! -name 'orvanta_*' ! -name 'Compass.ini' \
        ! -name '*.compassskin' -exec cp --parents {} "$PROGRAM/bin/" \;)
    PROGRAM_VARS=(HOME="$PROGRAM/home" XDG_CONFIG_HOME="$PROGRAM/config"
        XDG_DATA_HOME="$PROGRAM/data" XDG_RUNTIME_DIR="$PROGRAM/runtime" LC_ALL=C.UTF-8)
    write_options
}

# The options the compass starts with, and the lines the matrix was given
# with --option (MATRIX_OPTIONS, one a line).
write_options() {
    local line
    {
        printf '[Options]\r\nFirstTime=0\r\nHideSplash=1\r\nX=%d\r\nY=%d\r\nAngle=0\r\nMeasurement=%d\r\n' \
            $((PIVOT_X - PIVOT_OFFSET_X)) $((PIVOT_Y - PIVOT_OFFSET_Y)) "$SPREAD"
        while IFS= read -r line; do
            [ -n "$line" ] && printf '%s\r\n' "$line"
        done <<<"${MATRIX_OPTIONS:-}"
    } >"$PROGRAM/bin/Compass.ini"
}

program_env() { env "${PROGRAM_VARS[@]}" "$@"; }

# alpha_at IMAGE X Y: 0-255.
alpha_at() { convert "$1" -format "%[fx:int(255*p{$2,$3}.a+0.5)]" info: 2>/dev/null; }

# The window the program must get: the compass's layer bounds from its own
# renderer, found as the render of the whole desktop less the transparent
# border of the cropped render (whose size is the bounds' size), placed as a
# new window is (placement.sh).
expect_layout() {
    local full=$WORK/render-full.png crop=$WORK/render-crop.png a c
    EXPECTED=""
    if ! program_env QT_QPA_PLATFORM=offscreen timeout 30 "$PROGRAM/bin/orvanta" --render "$full" \
        --desktop "${DESKTOP_W}x${DESKTOP_H}" >/dev/null 2>&1 ||
        ! program_env QT_QPA_PLATFORM=offscreen timeout 30 "$PROGRAM/bin/orvanta" --render "$crop" \
            --desktop "${DESKTOP_W}x${DESKTOP_H}" --crop >/dev/null 2>&1; then
        return 1
    fi
    # "WxH DWxDH+X+Y" of the opaque part of each.
    a=$(convert "$full" -alpha extract -trim -format '%w %h %X %Y' info: 2>/dev/null | tr -d '+')
    c=$(convert "$crop" -alpha extract -trim -format '%X %Y' info: 2>/dev/null | tr -d '+')
    read -r _ _ ax ay <<<"$a"
    read -r cx cy <<<"$c"
    read -r bw bh <<<"$(identify -format '%w %h' "$crop")"
    local bx=$((ax - cx)) by=$((ay - cy))
    EXPECTED_BOUNDS="$bx $by $bw $bh"
    EXPECTED=$(expected_window "$bx" "$by" "$bw" "$bh" "$DESKTOP_W" "$DESKTOP_H")
    COLOUR_O=$(convert "$full" -crop "1x1+$O_X+$O_Y" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1)
    ALPHA_O=$(alpha_at "$full" "$O_X" "$O_Y")
    convert "$full" -crop "24x24+$((O_X - 12))+$((O_Y - 12))" +repage -background black \
        -alpha remove "$WORK/pivot-template.png" 2>/dev/null
    ALPHA_T1=$(alpha_at "$full" "$T1_X" "$T1_Y")
    ALPHA_T2=$(alpha_at "$full" "$T2_X" "$T2_Y")
    log "render: bounds $EXPECTED_BOUNDS, window $EXPECTED, alpha O=$ALPHA_O T1=$ALPHA_T1 T2=$ALPHA_T2"
}

# drawn_at X Y: the screen shows the compass's pivot pixel at X,Y: its colour
# in the render, within 56 a channel, which an inactive compass drawn at 80 %
# opacity over any background still meets. Prints the pixel seen.
drawn_at() {
    local seen i d
    seen=$(pixel "$1" "$2")
    echo "${seen:-none}"
    [ -n "$seen" ] && [ -n "${COLOUR_O:-}" ] || return 1
    for i in 1 3 5; do
        d=$((16#${seen:i:2} - 16#${COLOUR_O:i:2}))
        ((d <= 56 && d >= -56)) || return 1
    done
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }

server_rss_kb() {
    local total=0 pid
    for pid in "${SERVER_PIDS[@]}"; do total=$((total + $(rss_kb "$pid"))); done
    echo "$total"
}

mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# Extra variables of the program's environment (DISPLAY, WAYLAND_DISPLAY, ...).
PROGRAM_ENV=()

start_program() {
    SERVER_BEFORE_KB=$(server_rss_kb)
    local parts="" pid
    for pid in "${SERVER_PIDS[@]}"; do parts+=" $(rss_kb "$pid")"; done
    SERVER_PARTS_BEFORE=$parts
    # env execs the program: the id spawned is the program's.
    spawn orvanta env "${PROGRAM_VARS[@]}" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
        "${PROGRAM_ENV[@]}" "$PROGRAM/bin/orvanta"
    PROGRAM_PID=$SPAWNED
    COMPASS=$(x_find 15 --pid "$PROGRAM_PID" --name '^Compass') || COMPASS=""
    if [ -z "$COMPASS" ]; then
        local why="no X window of the program appeared"
        alive "$PROGRAM_PID" || why="the program exited ($(tail -n 2 "$WORK/orvanta.log" | tr '\n' ' '))"
        abort "$why"
    fi
    # Settled: the same place twice in a row, then time to paint.
    local before="" now i
    for i in $(seq 1 20); do
        now=$(x_rect "$COMPASS")
        [ -n "$now" ] && [ "$now" = "$before" ] && break
        before=$now
        sleep 0.3
    done
    sleep 1.5
    COMPASS_RECT=$(x_rect "$COMPASS")
    COMPASS_TOP=$(x_toplevel "$COMPASS")
    log "compass window $COMPASS (top $COMPASS_TOP) at $COMPASS_RECT"
}

# ---------------------------------------------------------------- the catchers

# The X window below T1: xev, which prints the button presses it receives.
start_x_catcher() {
    spawn xev xev -geometry "${XCATCH_W}x${XCATCH_H}+$((T1_X - XCATCH_W / 2))+$((T1_Y - XCATCH_H / 2))" \
        -name matrix-xev -event button
    XCATCHER=$(x_find 10 --name '^matrix-xev$') || XCATCHER=""
    [ -n "$XCATCHER" ] || return 1
    XCATCHER_TOP=$(x_toplevel "$XCATCHER")
    sleep 0.3
    local x y w h
    read -r x y w h <<<"$(x_rect "$XCATCHER")"
    if [ "$x $y $w $h" != "$((T1_X - XCATCH_W / 2)) $((T1_Y - XCATCH_H / 2)) $XCATCH_W $XCATCH_H" ]; then
        x_place "$XCATCHER" $((T1_X - XCATCH_W / 2)) $((T1_Y - XCATCH_H / 2))
    fi
    log "X catcher $XCATCHER at $(x_rect "$XCATCHER")"
}

x_catcher_clicks() { grep -c '^ButtonPress' "$WORK/xev.log" 2>/dev/null; }

# The native Wayland window below T2 (Wayland compositors only).
start_wayland_catcher() { # start_wayland_catcher [maximized]
    spawn catcher "$CLIENTS/catcher" "$WCATCH_W" "$WCATCH_H" 00a040 matrix-catcher "$@"
    wait_until 10 grep -qs '^ready' "$WORK/catcher.log"
}

# probe_wayland_catcher: where the native window lies, from the pointer: the
# surface position the window reports for the pointer at T2. Sets
# WCATCHER_ORIGIN, or leaves it empty when the window is not under T2.
probe_wayland_catcher() {
    WCATCHER_ORIGIN=""
    [ "$INPUT" = none ] && return 1
    local lines sx sy
    lines=$(wc -l <"$WORK/catcher.log")
    pointer_move "$T2_X" "$T2_Y"
    sleep 0.3
    read -r sx sy <<<"$(tail -n +$((lines + 1)) "$WORK/catcher.log" |
        awk '/^(enter|motion) / { x = $2; y = $3 } END { if (x != "") print x, y }')"
    [ -n "${sx:-}" ] || return 1
    WCATCHER_ORIGIN="$((T2_X - sx)) $((T2_Y - sy))"
    log "native window at $WCATCHER_ORIGIN"
}

wayland_catcher_presses() { grep -c '^button 272 pressed' "$WORK/catcher.log" 2>/dev/null; }

# ---------------------------------------------------------------- the xterm

start_xterm() {
    XTERM_FILE=$WORK/xterm-typed
    : >"$XTERM_FILE"
    spawn xterm xterm -title matrix-xterm -xrm 'XTerm*allowTitleOps: false' -bg "#$XTERM_BG" \
        -fg black -geometry "${XTERM_COLUMNS}x$XTERM_ROWS+$XTERM_X+$XTERM_Y" \
        -e sh -c "stty -icanon -echo; exec cat > '$XTERM_FILE'"
    XTERM=$(x_find 10 --name '^matrix-xterm$') || XTERM=""
    [ -n "$XTERM" ] || return 1
    sleep 0.3
    local x y w h
    read -r x y w h <<<"$(x_rect "$XTERM")"
    if [ "$x" != "$XTERM_X" ] || [ "$y" != "$XTERM_Y" ]; then
        x_place "$XTERM" "$XTERM_X" "$XTERM_Y"
    fi
    XTERM_TOP=$(x_toplevel "$XTERM")
    log "xterm $XTERM (top $XTERM_TOP) at $(x_rect "$XTERM")"
}

# ---------------------------------------------------------------- the checks

# Program RSS, and how much the display server grew when the compass started
# (the X server; on Wayland XWayland and the compositor). Absurd is more than
# 150 MB either.
signed_mb() { awk -v k="$1" 'BEGIN { printf "%+.1f", k / 1024 }'; }

check_memory() {
    local prog server growth parts="" pid i=0 before
    prog=$(rss_kb "$PROGRAM_PID")
    server=$(server_rss_kb)
    growth=$((server - SERVER_BEFORE_KB))
    read -ra before <<<"$SERVER_PARTS_BEFORE"
    for pid in "${SERVER_PIDS[@]}"; do
        parts+="${parts:+, }$(ps -o comm= -p "$pid") $(signed_mb $(($(rss_kb "$pid") - ${before[i]:-0})))"
        i=$((i + 1))
    done
    local figure
    figure="$(mb "$prog") MB, server $(signed_mb "$growth") MB; program RSS, display server growth ($parts)"
    if ((prog == 0)); then
        result memory fail "program not running"
    elif ((prog > 150 * 1024 || growth > 150 * 1024)); then
        result memory fail "$figure"
    else
        result memory pass "$figure"
    fi
}

# Where the compass is, against where the program asked for it: its X
# window's top-left (WIN_DX, WIN_DY), and where screenshots exist the pivot
# as drawn on the screen (DRAWN_DX, DRAWN_DY; empty when not found within
# DRAW_WAIT seconds, DRAWN_AFTER the seconds it took).
DRAW_WAIT=12
measure_offset() {
    local x y ex ey
    read -r x y _ _ <<<"$COMPASS_RECT"
    read -r ex ey _ _ <<<"${EXPECTED:-}"
    WIN_DX="" WIN_DY="" DRAWN_DX="" DRAWN_DY="" DRAWN_AFTER=""
    [[ ${x:-} =~ ^-?[0-9]+$ && ${ex:-} =~ ^-?[0-9]+$ ]] || return 1
    WIN_DX=$((x - ex)) WIN_DY=$((y - ey))
    [ "$SHOT" != none ] || return 0
    local start=$SECONDS found tries=0
    while :; do
        tries=$((tries + 1))
        if found=$(find_pivot $((PIVOT_X + WIN_DX)) $((PIVOT_Y + WIN_DY))); then
            read -r x y <<<"$found"
            DRAWN_DX=$((x - PIVOT_X)) DRAWN_DY=$((y - PIVOT_Y))
            ((tries > 1)) && DRAWN_AFTER=$((SECONDS - start))
            return 0
        fi
        ((SECONDS - start < DRAW_WAIT)) || return 0
        sleep 1
    done
}

# The offset the points of the compass are off by on the screen.
screen_offset() {
    if [ -n "${DRAWN_DX:-}" ]; then echo "$DRAWN_DX $DRAWN_DY"; else echo "${WIN_DX:-0} ${WIN_DY:-0}"; fi
}

# find_pivot X Y: where the compass's pivot is drawn on the screen, searched
# within 96 px of X,Y by matching the 24 x 24 opaque pixels around the pivot
# in the render (as an inactive compass is drawn a little translucent, the
# best match counts when its normalised RMSE is under 0.15).
find_pivot() {
    [ -s "$WORK/pivot-template.png" ] || return 1
    screenshot find || return 1
    [ -s "$WORK/find.png" ] || return 1
    local rx=$(($1 - 108)) ry=$(($2 - 108)) out mx my err
    ((rx < 0)) && rx=0
    ((ry < 0)) && ry=0
    convert "$WORK/find.png" -crop "216x216+$rx+$ry" +repage "$WORK/find-region.png" 2>/dev/null || return 1
    out=$(timeout 30 compare -metric RMSE -subimage-search "$WORK/find-region.png" \
        "$WORK/pivot-template.png" null: 2>&1)
    read -r err mx my <<<"$(sed -n 's/.*(\([0-9.e-]*\)) @ \([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' <<<"$out")"
    [ -n "${mx:-}" ] || return 1
    awk -v e="$err" 'BEGIN { exit !(e < 0.15) }' || return 1
    echo "$((rx + mx + 12)) $((ry + my + 12))"
}

check_placed() {
    local w h ew eh
    read -r _ _ w h <<<"$COMPASS_RECT"
    if [ -z "${EXPECTED:-}" ]; then
        result placed fail "setup: the program's --render gave no expectation"
        return
    fi
    read -r _ _ ew eh <<<"$EXPECTED"
    measure_offset
    local ok=yes window drawn="" short
    window=$(printf 'window %+d,%+d' "$WIN_DX" "$WIN_DY")
    ((WIN_DX == 0 && WIN_DY == 0)) || ok=no
    [ "$w" = "$ew" ] && [ "$h" = "$eh" ] || window+=" (size ${w}x$h, expected ${ew}x$eh)"
    short=$(printf '%+d,%+d' "$WIN_DX" "$WIN_DY")
    if [ "$SHOT" != none ]; then
        if [ -z "$DRAWN_DX" ]; then
            ok=no
            short="not seen"
            drawn=", pivot not seen on the screen within $DRAW_WAIT s"
        else
            short=$(printf '%+d,%+d' "$DRAWN_DX" "$DRAWN_DY")
            drawn=$(printf ', pivot drawn %+d,%+d' "$DRAWN_DX" "$DRAWN_DY")
            [ -n "$DRAWN_AFTER" ] && drawn+=" after $DRAWN_AFTER s"
            ((DRAWN_DX >= -1 && DRAWN_DX <= 1 && DRAWN_DY >= -1 && DRAWN_DY <= 1)) || ok=no
        fi
    else
        window+=" (no screenshot here)"
    fi
    local figure="$short; $window$drawn"
    if [ "$ok" = yes ]; then
        result placed pass "$figure"
    else
        result placed fail "$figure"
    fi
}

# The compass moved by the automation's MoveTo, as a drag moves it: the window
# goes along by the same amount and, where screenshots are taken, the pivot is
# drawn at the new place; then it goes back for the other checks.
# compass_call VERB MEMBER [SIGNATURE ARGS...], as busctl takes them.
compass_call() {
    timeout 5 busctl --user "$1" Compass.VelmoraCompass /VelmoraCompass Compass.IVelmoraCompass \
        "${@:2}" 2>/dev/null
}

# window_at ID X Y: the window's top-left is at X,Y.
window_at() { [ "$(x_rect "$1" | cut -d' ' -f1-2)" = "$2 $3" ]; }

check_follows() {
    local x y cx cy dx=150 dy=100 nx ny figure ok=yes
    read -r x y _ _ <<<"$(x_rect "$COMPASS")"
    cx=$(compass_call get-property X | awk '{ print $2 }')
    cy=$(compass_call get-property Y | awk '{ print $2 }')
    if [[ ! ${x:-} =~ ^-?[0-9]+$ || ! ${cx:-} =~ ^-?[0-9]+$ || ! ${cy:-} =~ ^-?[0-9]+$ ]]; then
        result follows fail "setup: no window or no position over D-Bus"
        return
    fi
    if ! compass_call call MoveTo ii $((cx + dx)) $((cy + dy)) >/dev/null; then
        result follows fail "setup: MoveTo refused"
        return
    fi
    wait_until 5 window_at "$COMPASS" $((x + dx)) $((y + dy)) || ok=no
    read -r nx ny _ _ <<<"$(x_rect "$COMPASS")"
    figure=$(printf 'window %+d,%+d for %+d,%+d' $((${nx:-0} - x)) $((${ny:-0} - y)) "$dx" "$dy")
    if [ "$SHOT" != none ]; then
        local sx sy at px py
        read -r sx sy <<<"$(screen_offset)"
        if at=$(find_pivot $((PIVOT_X + sx + dx)) $((PIVOT_Y + sy + dy))); then
            read -r px py <<<"$at"
            px=$((px - PIVOT_X - sx - dx)) py=$((py - PIVOT_Y - sy - dy))
            figure+=$(printf ', pivot drawn %+d,%+d off' "$px" "$py")
            ((px >= -1 && px <= 1 && py >= -1 && py <= 1)) || ok=no
        else
            ok=no
            figure+=", pivot not seen at its new place"
        fi
    fi
    compass_call call MoveTo ii "$cx" "$cy" >/dev/null
    wait_until 5 window_at "$COMPASS" "$x" "$y" || log "the compass did not come back to $x,$y"
    result follows "$([ "$ok" = yes ] && echo pass || echo fail)" "$figure"
}

# Decorations as the X side sees them: a frame larger than the window, or
# frame extents; environment scripts whose compositor draws borders of its
# own (sway) check those instead.
check_undecorated() {
    local extents fx fy fw fh x y w h
    extents=$(timeout 5 xprop -id "$COMPASS" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '=.*' | tr -d '= ')
    read -r x y w h <<<"$COMPASS_RECT"
    read -r fx fy fw fh <<<"$(x_rect "$COMPASS_TOP")"
    local l=$((x - fx)) t=$((y - fy)) r=$((fx + fw - x - w)) b=$((fy + fh - y - h))
    local figure="frame $l,$t,$r,$b; frame window's margins around the window (left, top, right, bottom)${extents:+, _NET_FRAME_EXTENTS $extents}"
    if ((l == 0 && t == 0 && r == 0 && b == 0)) && { [ -z "$extents" ] || [ "$extents" = "0,0,0,0" ]; }; then
        result undecorated pass "$figure"
    else
        result undecorated fail "$figure"
    fi
}

check_not_a_task() {
    local state type ids listed=unknown id
    state=$(timeout 5 xprop -id "$COMPASS" _NET_WM_STATE 2>/dev/null)
    type=$(timeout 5 xprop -id "$COMPASS" _NET_WM_WINDOW_TYPE 2>/dev/null |
        grep -o '_NET_WM_WINDOW_TYPE_[A-Z_]*' | head -n 1)
    if ids=$(timeout 5 wmctrl -l 2>/dev/null | awk '{ print $1 }') && [ -n "$ids" ]; then
        listed=no
        for id in $ids; do same_window "$id" "$COMPASS" && listed=yes; done
    fi
    local flags=""
    [[ $state == *_NET_WM_STATE_SKIP_TASKBAR* ]] && flags+="SKIP_TASKBAR"
    [[ $state == *_NET_WM_STATE_SKIP_PAGER* ]] && flags+="${flags:+ }SKIP_PAGER"
    local figure="${flags:-no skip flags}; type ${type#_NET_WM_WINDOW_TYPE_}, in wmctrl -l: $listed"
    if [[ $flags == *SKIP_TASKBAR* && $flags == *SKIP_PAGER* ]] || [ "$listed" = no ]; then
        result not-a-task pass "$figure"
    else
        result not-a-task fail "$figure"
    fi
}

# What is on top at the compass's opaque pixel O once the xterm was raised
# over it: the screen's pixel where there are screenshots (the xterm's
# magenta means the xterm), else the X window under the pointer there.
check_above() {
    local seen
    if [ "$SHOT" != none ] && ! seen=$(drawn_at "$O_X" "$O_Y"); then
        result above fail "compass not drawn; at its pivot even before the xterm ($seen)"
        return
    fi
    if ! start_xterm; then
        result above fail "setup: the xterm did not appear"
        return
    fi
    local x y w h
    read -r x y w h <<<"$(x_rect "$XTERM")"
    if ! inside "$O_X" "$O_Y" "$x" "$y" "$w" "$h" 3; then
        result above fail "setup: the xterm is not over the compass (at $x,$y ${w}x$h)"
        return
    fi
    raise_window "$XTERM"
    sleep 1
    if [ "$SHOT" != none ]; then
        screenshot above
        seen=$(pixel "$O_X" "$O_Y")
        if [ -z "$seen" ]; then
            result above fail "setup: no screenshot"
        elif [ "${seen,,}" = "#$XTERM_BG" ]; then
            result above fail "xterm on top; its colour at the compass's pivot ($seen)"
        else
            result above pass "compass on top; drawn over the raised xterm ($seen)"
        fi
        return
    fi
    if [ "$INPUT" = none ]; then
        result above n/a "no screenshot and $(no_input)"
        return
    fi
    pointer_move "$O_X" "$O_Y"
    local under top
    under=$(timeout 5 xdotool getmouselocation --shell 2>/dev/null | awk -F= '/^WINDOW=/ { print $2 }')
    top=$(x_toplevel "${under:-0}")
    if same_window "$top" "$COMPASS_TOP"; then
        result above pass "compass on top; under the pointer over the raised xterm (no screenshot here)"
    elif same_window "$top" "$XTERM_TOP"; then
        result above fail "xterm on top; under the pointer at the compass's pivot (no screenshot here)"
    else
        result above fail "other window on top; $under under the pointer, neither compass nor xterm"
    fi
}

# The xterm leaves the compass's window for the checks that click the
# compass, so that a desktop that put it over the compass does not take
# their clicks too.
move_xterm_aside() {
    [ -n "${XTERM:-}" ] || return 0
    local cx cy cw ch
    read -r cx cy cw ch <<<"$COMPASS_RECT"
    [ -n "${ch:-}" ] || return 0
    x_place "$XTERM" "$cx" $((cy + ch + 40))
    log "xterm moved aside to $(x_rect "$XTERM")"
}

check_click_through_x() {
    clickable click-through-x "$T1_X" "$T1_Y" "$ALPHA_T1" || return
    local x y w h
    if [ -z "${XCATCHER:-}" ]; then
        result click-through-x fail "setup: no X window below"
        return
    fi
    read -r x y w h <<<"$(x_rect "$XCATCHER")"
    if ! inside "$T1_X" "$T1_Y" "$x" "$y" "$w" "$h"; then
        result click-through-x fail "setup: the X window below is not under the point (at $x,$y ${w}x$h)"
        return
    fi
    click_through click-through-x "$T1_X" "$T1_Y" x_catcher_clicks xev
}

# click_through CHECK X Y COUNTER NAME: clicks there and passes when the
# window below, whose presses COUNTER counts, got one more.
click_through() {
    local check=$1 x=$2 y=$3 counter=$4 name=$5 before note=""
    before=$($counter)
    pointer_click "$x" "$y"
    sleep 0.5
    [ "$name" = xev ] && x_above "$XCATCHER_TOP" "$COMPASS_TOP" &&
        note=" (xev lies above the compass after it: the desktop raised it)"
    if (($($counter) > before)); then
        result "$check" pass "reached $name; the click at $x,$y$note"
    else
        result "$check" fail "did not reach $name; the click at $x,$y, then $(focus_text)"
    fi
}

# clickable CHECK X Y ALPHA: a click-through check can click there: there is
# input, and X,Y is a transparent pixel (ALPHA in the render) inside the
# compass's window. Otherwise it reports the check (n/a, or a failed setup).
clickable() {
    local cx cy cw ch
    read -r cx cy cw ch <<<"$COMPASS_RECT"
    if [ "$INPUT" = none ]; then
        result "$1" n/a "$(no_input)"
    elif [ "${4:-}" != 0 ]; then
        result "$1" fail "setup: $2,$3 is not transparent in the render (alpha ${4:-?})"
    elif ! inside "$2" "$3" "$cx" "$cy" "$cw" "$ch" 2; then
        result "$1" fail "setup: $2,$3 is outside the compass's window"
    else
        return 0
    fi
    return 1
}

check_click_through_wayland() {
    if [ "$WAYLAND" != yes ]; then
        result click-through-wayland n/a "X11; no Wayland windows"
        return
    fi
    clickable click-through-wayland "$T2_X" "$T2_Y" "$ALPHA_T2" || return
    if [ -z "${WCATCHER_ORIGIN:-}" ]; then
        result click-through-wayland fail "setup: the native window is not under $T2_X,$T2_Y"
        return
    fi
    click_through click-through-wayland "$T2_X" "$T2_Y" wayland_catcher_presses "the native window"
}

title() { timeout 5 xprop -id "$COMPASS" _NET_WM_NAME 2>/dev/null | sed -n 's/.*= "\(.*\)"/\1/p'; }

active_window() { timeout 5 xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | grep -o '0x[0-9a-f]*' | head -n 1; }

# Which window has the focus, as the X side sees it: a name for the figures.
focus_text() {
    local active
    active=$(active_window)
    if same_window "$active" "$COMPASS"; then
        echo "X focus on the compass"
    elif same_window "$active" "${XTERM:-none}"; then
        echo "X focus on the xterm"
    elif same_window "$active" "${XCATCHER:-none}"; then
        echo "X focus on xev"
    elif [ -z "$active" ] || same_window "$active" 0; then
        echo "no X window focused"
    else
        echo "X focus on $active"
    fi
}

# Click the compass, then the xterm, and type: the xterm must get the text,
# and the compass must not (typed digits and Return would set its spread,
# which its title shows).
check_keys_elsewhere() {
    if [ "$INPUT" = none ]; then
        result keys-elsewhere n/a "$(no_input)"
        return
    fi
    if [ -z "${XTERM:-}" ]; then
        result keys-elsewhere fail "setup: no xterm"
        return
    fi
    local x y w h cx cy cw ch
    read -r x y w h <<<"$(x_rect "$XTERM")"
    read -r cx cy cw ch <<<"$COMPASS_RECT"
    local qx=$((x + w - 40)) qy=$((y + h / 2))
    if inside "$qx" "$qy" "$cx" "$cy" "$cw" "$ch" || ! inside "$qx" "$qy" "$x" "$y" "$w" "$h"; then
        result keys-elsewhere fail "setup: no part of the xterm outside the compass's window"
        return
    fi
    if [ "$ALPHA_O" != 255 ]; then
        result keys-elsewhere fail "setup: $O_X,$O_Y is not opaque in the render (alpha $ALPHA_O)"
        return
    fi
    local title_before typed title_after
    title_before=$(title)
    pointer_click "$O_X" "$O_Y"
    sleep 0.5
    pointer_click "$qx" "$qy"
    sleep 0.5
    local focus
    focus=$(focus_text)
    type_line 77
    sleep 0.8
    typed=$(tr -d '\n\r' <"$XTERM_FILE")
    title_after=$(title)
    local figure="xterm got '${typed}'"
    [ "$title_after" != "$title_before" ] && figure+=", compass title became '$title_after'"
    figure+="; after the xterm's click: $focus"
    if [[ $typed == *77* ]] && [ "$title_after" = "$title_before" ]; then
        result keys-elsewhere pass "$figure"
    else
        result keys-elsewhere fail "$figure"
    fi
}

# Click the compass and type q: the program must quit and write Compass.ini
# (removed after the click, so only the quit can write it again).
check_keys_on_click() {
    if [ "$INPUT" = none ]; then
        result keys-on-click n/a "$(no_input)"
        return
    fi
    if [ "$ALPHA_O" != 255 ]; then
        result keys-on-click fail "setup: $O_X,$O_Y is not opaque in the render (alpha $ALPHA_O)"
        return
    fi
    local ini=$PROGRAM/bin/Compass.ini
    pointer_click "$O_X" "$O_Y"
    sleep 0.5
    rm -f "$ini"
    type_key q
    local quit=no
    wait_until 8 sh -c "! kill -0 $PROGRAM_PID 2>/dev/null" && quit=yes
    if [ "$quit" = yes ] && grep -q '^X=' "$ini" 2>/dev/null; then
        result keys-on-click pass "quit; Compass.ini written"
    elif [ "$quit" = yes ]; then
        result keys-on-click fail "no Compass.ini; quit without writing it"
    else
        result keys-on-click fail "did not quit; still running 8 s after q, $(focus_text)"
    fi
}

# When the desktop put the compass's window elsewhere than the program asked,
# every point of the compass is elsewhere by as much: the windows below are
# moved there and the compass is started again over them, so that it is
# mapped after them, as at the first start. The checks that follow measure
# click-through, stacking and keys, not the placement again.
follow_compass() {
    local dx dy
    read -r dx dy <<<"$(screen_offset)"
    ((dx == 0 && dy == 0)) && return 0
    if [ "$INPUT" = none ]; then
        # Nothing is clicked: only the pixels looked at move.
        shift_points "$dx" "$dy"
        return 0
    fi
    log "the compass is off by $dx,$dy: the windows below follow and the compass starts again"
    stop_pid "$PROGRAM_PID"
    shift_points "$dx" "$dy"
    [ -n "${XCATCHER:-}" ] && x_place "$XCATCHER" $((T1_X - XCATCH_W / 2)) $((T1_Y - XCATCH_H / 2))
    [ "$WAYLAND" = yes ] && { move_wayland_catcher || log "the native window below is not in place"; }
    write_options
    start_program
    # A second start may land elsewhere again: the points follow the compass;
    # the checks then say whether the windows below are still under them.
    local ndx ndy
    measure_offset
    read -r ndx ndy <<<"$(screen_offset)"
    shift_points $((ndx - dx)) $((ndy - dy))
}

shift_points() {
    O_X=$((O_X + $1)) O_Y=$((O_Y + $2))
    T1_X=$((T1_X + $1)) T1_Y=$((T1_Y + $2))
    T2_X=$((T2_X + $1)) T2_Y=$((T2_Y + $2))
    XTERM_X=$((XTERM_X + $1)) XTERM_Y=$((XTERM_Y + $2))
}

# The whole sequence, once the desktop runs and the hooks are set.
run_checks() {
    prepare_program
    expect_layout || log "the program's --render failed"
    # The native window first: the X window must lie above it.
    [ "$WAYLAND" = yes ] && { place_wayland_catcher || log "the native window below is not in place"; }
    start_x_catcher || log "the X window below did not appear"
    start_program
    screenshot started
    check_memory
    check_placed
    check_follows
    check_undecorated
    check_not_a_task
    follow_compass
    check_above
    move_xterm_aside
    # Before the clicks on the windows below: a desktop raises a window that
    # is clicked, and the maximised native window would then cover the xterm.
    check_keys_elsewhere
    check_click_through_x
    check_click_through_wayland
    check_keys_on_click
}

# display_from_log LOG PATTERN SECONDS: waits until a compositor's log names
# its XWayland display (PATTERN, a sed expression, gives it as \1) and
# exports DISPLAY.
display_from_log() {
    local i found
    for ((i = 0; i < $3 * 5; i++)); do
        found=$(sed -n "s/$2/\1/p" "$1" 2>/dev/null | head -n 1)
        if [ -n "$found" ]; then
            export DISPLAY=$found
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# The XWayland server of a display (compositors start it detached).
xwayland_pid() {
    ps -eo pid=,args= | awk -v d="$1" '$2 ~ /Xwayland$/ && $3 == d { print $1; exit }'
}

# A Wayland compositor (pid $1) and the XWayland server of $DISPLAY are the
# display servers whose memory counts; notes XWayland's version.
xwayland_servers() {
    XWAYLAND_PID=$(xwayland_pid "$DISPLAY")
    SERVER_PIDS=("$1" ${XWAYLAND_PID:+"$XWAYLAND_PID"})
    version "$(Xwayland -version 2>&1 | grep -m 1 -o 'Xwayland Version.*') on $DISPLAY"
}
